#include "app/QtPrompts.h"

#include "model/RingColours.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace arx {

namespace {
const QString Caption = QStringLiteral("ARX");

// Lets the event loop turn once, input held back: timers and meters get their turn between
// two costly steps of a dialog.
void letTheEventLoopTurn()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// A file dialog takes milliseconds to make, to show and to take apart (it writes its
// settings then); each of the three comes on a turn of the event loop of its own.
std::optional<std::string> askFileName(QWidget *parent, QFileDialog::AcceptMode mode,
    const std::string &filter, const std::string &startFolder)
{
    QString fileName;
    {
        QFileDialog dialog(
            parent, QString(), QString::fromStdString(startFolder), QString::fromStdString(filter));
        dialog.setAcceptMode(mode);
        dialog.setFileMode(
            mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        letTheEventLoopTurn();
        if (dialog.exec() == QDialog::Accepted)
            fileName = dialog.selectedFiles().value(0);
    }
    letTheEventLoopTurn();
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
