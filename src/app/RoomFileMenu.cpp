#include "app/RoomFileMenu.h"

#include "room/Room.h"
#include "roomfile/RoomComparisonDialog.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace arx {

void addRoomFileActions(QWidget &window, QMenu &menu, Room &room)
{
    QAction *save = menu.addAction(SaveRoomMenuText);
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    QObject::connect(save, &QAction::triggered, &window,
        [&room] { room.roomFiles().saveAsked(room.presets().dialogFolder()); });
    QAction *open = menu.addAction(OpenRoomMenuText);
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    QObject::connect(open, &QAction::triggered, &window, [&window, &room] {
        std::string path;
        std::optional<RoomFile> file
            = room.roomFiles().openAsked(room.presets().dialogFolder(), &path);
        if (!file)
            return;
        auto *dialog = new RoomComparisonDialog(
            room, std::move(*file), QString::fromStdString(path), &window);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->show();
    });
    // So that the shortcuts work while the menu is closed.
    window.addAction(save);
    window.addAction(open);
}

} // namespace arx
