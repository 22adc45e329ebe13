#pragma once

namespace arx {

// The main window's dark greys with its light text, for the windows beside it (the journal,
// the room comparison).
inline constexpr const char *DarkWindowStyle = R"(
QWidget { background: #2E2E2E; color: #E6E6E6; }
QTableView { background: #3A3A3A; alternate-background-color: #525252; gridline-color: #2E2E2E;
             selection-background-color: #4F6F9F; }
QHeaderView::section { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #6A6A6A,
                       stop:1 #404040); color: #FFFFFF; border: 0; border-right: 1px solid #2E2E2E;
                       padding: 3px 6px; }
QLineEdit, QComboBox, QPushButton, QPlainTextEdit { background: #404040;
    border: 1px solid #6A6A6A; border-radius: 2px; padding: 3px 8px; }
QPushButton:checked { background: #4F6F9F; }
QPushButton:hover, QComboBox:hover { border-color: #9A9A9A; }
QCheckBox::indicator { width: 13px; height: 13px; border: 1px solid #9A9A9A; background: #404040; }
QCheckBox::indicator:checked { background: #4FB0E0; }
QScrollBar:vertical { background: #2E2E2E; width: 14px; margin: 0; }
QScrollBar::handle:vertical { background: #6A6A6A; min-height: 24px; border-radius: 3px; margin: 2px; }
QScrollBar:horizontal { background: #2E2E2E; height: 14px; margin: 0; }
QScrollBar::handle:horizontal { background: #6A6A6A; min-width: 24px; border-radius: 3px; margin: 2px; }
QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; }
QScrollBar::add-page, QScrollBar::sub-page { background: none; }
QProgressBar { background: #404040; border: 1px solid #6A6A6A; border-radius: 2px; text-align: center; }
QProgressBar::chunk { background: #4F6F9F; }
)";

} // namespace arx
