#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

#include <array>

namespace arx {

// The dialog ids of the main window's controls, by which tests and parents address them.
enum MainWindowControlId : int {
    StaticPictureId = 1000,
    MicPageButtonId = 1001,
    SpeakerPageButtonId = 1002,
    RoutingPageButtonId = 1003,
    HelpPageButtonId = 1004,
    UnitListId = 1005,
    SearchButtonId = 1006,
    HelpButtonId = 1007,
    DanteListId = 1008,
    ProcessorListId = 1009,
    // Ours: the processor address field, its "Add" button and the local address line.
    ProcessorAddressFieldId = 1401,
    AddProcessorButtonId = 1402,
    LocalAddressLabelId = 1403,
    // Ours: the room check's button and the room's status line, on the MIC page.
    CheckButtonId = 1404,
    RoomStatusLabelId = 1405,
    // Ours: the actions on every unit, and the line that says where a strip's change goes.
    MuteAllButtonId = 1406,
    UnmuteAllButtonId = 1407,
    LocateOffButtonId = 1408,
    SelectionLineId = 1409,
};

// The window's outer size at start, frame included.
constexpr QSize MainWindowStartSize { 1280, 768 };
// The client area that gives the start size with this frame around it.
QSize mainWindowClientSize(QMargins frame);
constexpr int BannerHeight = 50;
constexpr QRect StaticPictureGeometry { 0, 0, 300, BannerHeight };

// Where every control of the main window goes for a client area of this size. The window
// lays itself out once, on its first size, and never moves the controls again.
struct MainWindowGeometry {
    std::array<QRect, 4> pageButtons; // MIC, SPEAKER, ROUTING, HELP
    QRect searchButton;
    QRect helpButton;
    QRect localAddressLabel;
    // In the band between the page buttons and the page, shown with the MIC page: CHECK, the
    // room's status line, the selection line and, at the right end, the actions on every
    // unit ("Mute all", "Unmute all", "Locate off").
    QRect checkButton;
    QRect roomStatusLabel;
    QRect roomStatusBesideSelection; // narrowed while the selection line shows
    QRect selectionLine;
    std::array<QRect, 3> roomActionButtons;
    QRect pageArea; // the microphone, speaker and routing pages
    QRect unitList;
    QRect processorList;
    QRect processorAddressField;
    QRect addProcessorButton;
    QRect danteList;
};

MainWindowGeometry mainWindowGeometry(QSize client);

} // namespace arx
