// arx-gallery: every custom control in each of its states, to look at and to photograph.
//   arx-gallery [--screenshot FILE] [--page N]
#include "GallerySection.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QPalette>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace arx::gallery {

namespace {
std::vector<Section> &sections()
{
    static std::vector<Section> all;
    return all;
}
} // namespace

bool registerSection(Section section)
{
    sections().push_back(std::move(section));
    return true;
}

} // namespace arx::gallery

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("arx-gallery"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Every ARX control in each of its states."));
    parser.addHelpOption();
    const QCommandLineOption screenshotOption(
        QStringLiteral("screenshot"), QStringLiteral("Save the shown page to FILE and quit."),
        QStringLiteral("FILE"));
    const QCommandLineOption pageOption(QStringLiteral("page"),
                                        QStringLiteral("Show page N first (0-based)."),
                                        QStringLiteral("N"), QStringLiteral("0"));
    parser.addOption(screenshotOption);
    parser.addOption(pageOption);
    parser.process(application);

    auto &all = arx::gallery::sections();
    std::sort(all.begin(), all.end(),
              [](const auto &a, const auto &b) { return a.order < b.order; });

    QTabWidget window;
    window.setWindowTitle(QStringLiteral("ARX controls"));
    // Only the pages are black, as the application's pages are; the tabs keep the desktop's
    // look so that their titles stay readable.
    QPalette black = window.palette();
    black.setColor(QPalette::Window, Qt::black);
    black.setColor(QPalette::Base, Qt::black);
    black.setColor(QPalette::WindowText, Qt::white);
    for (const auto &section : all) {
        auto *scroll = new QScrollArea;
        scroll->setWidget(section.make());
        scroll->setWidgetResizable(false);
        scroll->setPalette(black);
        window.addTab(scroll, QString::fromUtf8(section.title));
    }
    window.setCurrentIndex(parser.value(pageOption).toInt());
    window.resize(1200, 800);
    window.show();

    if (parser.isSet(screenshotOption)) {
        QTimer::singleShot(300, &window, [&] {
            window.grab().save(parser.value(screenshotOption));
            application.quit();
        });
    }
    return application.exec();
}
