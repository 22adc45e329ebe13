#include "app/QtPrompts.h"

#include "model/RingColours.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace arx {

namespace {
const QString Caption = QStringLiteral("ARX");

// A file dialog takes milliseconds to make and as many to show. It is made, then shown on a
// later turn of the event loop, so that timers and meters never wait for both at once.
std::optional<std::string> askFileName(QWidget *parent, QFileDialog::AcceptMode mode,
    const std::string &filter, const std::string &startFolder)
{
    QFileDialog dialog(
        parent, QString(), QString::fromStdString(startFolder), QString::fromStdString(filter));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(
        mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QString fileName = dialog.selectedFiles().value(0);
    if (fileName.isEmpty())
        return std::nullopt;
    return fileName.toStdString();
}
} // namespace

void QtPrompts::message(const std::string &text)
{
    QMessageBox::information(parent_, Caption, QString::fromStdString(text), QMessageBox::Ok);
}

bool QtPrompts::confirm(const std::string &text)
{
    QMessageBox box(QMessageBox::Warning, Caption, QString::fromStdString(text),
        QMessageBox::Ok | QMessageBox::Cancel, parent_);
    return box.exec() == QMessageBox::Ok;
}

std::optional<std::string> QtPrompts::openFileName(
    const std::string &filter, const std::string &startFolder)
{
    return askFileName(parent_, QFileDialog::AcceptOpen, filter, startFolder);
}

std::optional<std::string> QtPrompts::saveFileName(
    const std::string &filter, const std::string &startFolder)
{
    // Qt's dialog asks before overwriting an existing file unless told not to.
    return askFileName(parent_, QFileDialog::AcceptSave, filter, startFolder);
}

std::optional<std::uint32_t> QtPrompts::chooseColour(std::uint32_t initial)
{
    const QColor start(redOf(initial), greenOf(initial), blueOf(initial));
    const QColor picked = QColorDialog::getColor(start, parent_, QStringLiteral("Colour"));
    if (!picked.isValid())
        return std::nullopt;
    return wideColour(static_cast<std::uint8_t>(picked.red()),
        static_cast<std::uint8_t>(picked.green()), static_cast<std::uint8_t>(picked.blue()));
}

} // namespace arx
