#include "speaker/PresetButtons.h"

#include <QDir>
#include <QStandardPaths>

namespace arx {

std::string presetDocumentsFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return folder.toStdString();
}

PresetButtons::PresetButtons(Store &store, Link &link, Prompts &prompts)
    : controller_(store, link, prompts, files_, presetDocumentsFolder())
{
}

std::function<void()> PresetButtons::deviceResetHandler()
{
    return [this] { controller_.deviceReset(); };
}

std::function<void()> PresetButtons::saveHandler()
{
    return [this] { controller_.save(); };
}

std::function<void()> PresetButtons::recallHandler()
{
    return [this] { controller_.recall(); };
}

void PresetButtons::setRefreshPage(std::function<void()> refreshPage)
{
    controller_.setRefreshPage(std::move(refreshPage));
}

} // namespace arx
