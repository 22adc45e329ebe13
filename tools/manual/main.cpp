// arx-manual: turns the operator's manual from Markdown into the PDF shipped next to arx.
//   arx-manual SOURCE.md OUTPUT.pdf
// Images are found relative to the Markdown file and scaled down to the page width.
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

#include <cstdio>

namespace {

// Shrinks every image that is wider than the text to the text's width, keeping its shape.
void fitImages(QTextDocument &document, qreal textWidth)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            QTextCharFormat format = fragment.fragment().charFormat();
            if (!format.isImageFormat())
                continue;
            QTextImageFormat image = format.toImageFormat();
            const QImage picture = document.resource(QTextDocument::ImageResource,
                                                     QUrl(image.name())).value<QImage>();
            if (picture.isNull() || picture.width() <= textWidth)
                continue;
            image.setWidth(textWidth);
            image.setHeight(textWidth * picture.height() / picture.width());
            QTextCursor cursor(&document);
            cursor.setPosition(fragment.fragment().position());
            cursor.setPosition(fragment.fragment().position() + fragment.fragment().length(),
                               QTextCursor::KeepAnchor);
            cursor.setCharFormat(image);
        }
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: arx-manual SOURCE.md OUTPUT.pdf\n");
        return 2;
    }
    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "arx-manual: cannot read %s\n", argv[1]);
        return 1;
    }

    QPdfWriter writer(QString::fromLocal8Bit(argv[2]));
    writer.setTitle(QStringLiteral("ARX 软件功能介绍"));
    writer.setCreator(QStringLiteral("arx-manual"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter));
    writer.setResolution(144);

    QTextDocument document;
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSizeF(11);
    document.setDefaultFont(font);
    document.setDefaultStyleSheet(QStringLiteral("h1 { color: #1d5f9c; } h2 { color: #1d5f9c; }"));
    document.setBaseUrl(QUrl::fromLocalFile(QFileInfo(source).absolutePath() + QLatin1Char('/')));
    document.setMarkdown(QString::fromUtf8(source.readAll()));

    const QRect page = writer.pageLayout().paintRectPixels(writer.resolution());
    document.setPageSize(page.size());
    fitImages(document, document.textWidth() - 2 * document.documentMargin());
    document.print(&writer);
    return 0;
}
