#include "app/QtPrompts.h"

#include "model/RingColours.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace arx {

namespace {
const QString Caption = QStringLiteral("ARX");

std::optional<std::string> chosen(const QString &fileName)
{
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
    return chosen(QFileDialog::getOpenFileName(
        parent_, QString(), QString::fromStdString(startFolder), QString::fromStdString(filter)));
}

std::optional<std::string> QtPrompts::saveFileName(
    const std::string &filter, const std::string &startFolder)
{
    // Qt's dialog asks before overwriting an existing file unless told not to.
    return chosen(QFileDialog::getSaveFileName(
        parent_, QString(), QString::fromStdString(startFolder), QString::fromStdString(filter)));
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
