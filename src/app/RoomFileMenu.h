#pragma once

#include <QString>

class QMenu;
class QWidget;

namespace arx {

class Room;

inline const QString SaveRoomMenuText = QStringLiteral("Save room…");
inline const QString OpenRoomMenuText = QStringLiteral("Open room…");

// "Save room…" (Ctrl+S) and "Open room…" (Ctrl+O) in the window's menu. Both file dialogs
// start where the preset dialogs start. Saving writes the whole installation as ARX sees it;
// opening shows the file beside the room and sends nothing.
void addRoomFileActions(QWidget &window, QMenu &menu, Room &room);

} // namespace arx
