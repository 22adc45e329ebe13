#pragma once

#include "app/Pages.h"
#include "protocol/DanteList.h"
#include "protocol/Discovery.h"
#include "routing/CMatrixDlg.h"
#include "speaker/CSpeakerDlg.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <cstddef>

class QColor;
class QLabel;
class QLineEdit;
class QMenu;
class QTimer;

namespace arx {

class CListCtrlCl;
class CMicDlg;
class CStaticST;
class PngButton;
class Room;

// The one top-level window, "ARX 1.2": the banner, the page buttons and the page area
// (microphone, speaker and routing pages), the search and help buttons, and the device
// column with the unit list or the processor list. It shows what the room's Discovery keeps
// and passes the operator's clicks to it; its pages follow the room themselves.
class CARNDlg final : public QWidget, private RoomObserver {
    Q_OBJECT
public:
    // Complete: the constructor makes everything. ShellFirst: it makes only what the first
    // paint shows (the black window at its start size); buildContents() makes the banner,
    // the controls and the pages, once the window has been seen.
    enum class Construction { Complete, ShellFirst };

    // `link` and `clock` are the equaliser dialog's; `ownAddress` names the address that the
    // search and connection requests carry, which the window shows.
    CARNDlg(Room &room, Link &link, const Clock &clock, Prompts &prompts,
        OwnAddressLookup ownAddress = {}, QWidget *parent = nullptr,
        Construction construction = Construction::Complete);
    ~CARNDlg() override;

    // Makes the controls and pages of a window made ShellFirst, and starts following the
    // room; does nothing the second time. A close asked for before is carried out afterwards.
    void buildContents();

    Room &room() { return room_; }
    Discovery &discovery();

    Page currentPage() const { return page_; }
    CMicDlg *micPage() const { return micPage_; }
    CSpeakerDlg *speakerPage() const { return speakerPage_; }
    CMatrixDlg *routingPage() const { return routingPage_; }
    // Every device of the installation, as the ROUTING page's device column lists them.
    const DanteListModel &danteList() const { return danteModel_; }
    // The menu of the banner, which holds the about, journal and room file items.
    QMenu *windowMenu() const { return windowMenu_; }

    // The document the help buttons open: the manual found at start (see ManualFile.h) unless
    // set; empty when there was none.
    void setManualPath(const QString &path) { manualPath_ = path; }
    QString manualPath() const { return manualPath_; }

    void selectPage(Page page);
    void showAboutBox();

    // The line under the search button tells that the link refuses frames (its queue is
    // full), with the count so far, until the next press of the search button.
    void showFramesDropped(std::size_t dropped);
    QString statusLine() const;
    // The room's status line on the MIC page, beside CHECK.
    QString roomStatusLine() const;

    // How long a search runs without an answer before the MIC page says what to check.
    static constexpr int NoAnswerHintMs = 3000;

signals:
    // The operator closed the window; the receive thread must stop before anything else.
    void closing();
    // The operator asked for the traffic journal ("Journal…" or Ctrl+J).
    void journalRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    // RoomObserver
    void searchChanged(bool pressed) override;
    void connectionStarted() override;
    void unitListChanged() override;
    void processorListChanged() override;
    void unitCheckChanged(int slot, const UnitCheck &check) override;
    void roomCheckChanged(RoomCheckEvent event, const RoomCheckSummary &summary) override;
    void roomActionTaken(const RoomActionOutcome &outcome) override;

    void createControls();
    void setUpListsAndPages();
    void layOutOnce();
    void connectControls();
    void pageButtonPressed(int controlId);
    void searchPressed();
    void addProcessor();
    void openManual();
    void showLocalAddress();
    void refreshDanteList();
    void openNetworkSettings(int row);
    void fitStartSizeToFrame();
    void setStatusLine(const QString &text, const QColor &colour);
    // The room's status line: what the last change to several units did, then the check's
    // summary.
    void showRoomStatus();
    void showChangeOutcome(const QString &text);
    void showSelectionCount(int count);
    // The selection line while several strips of the shown MIC page are selected.
    void showSelectionLine();
    void updateEmptyHint();
    // The unit list marks the rows of units that do not answer.
    void markSilentUnits();

    Room &room_;
    Store &store_;
    Link &link_;
    const Clock &clock_;
    Prompts &prompts_;
    DanteListModel danteModel_;
    OwnAddressLookup ownAddress_;

    CStaticST *picture_ = nullptr;
    std::array<PngButton *, 4> pageButtons_ {};
    CListCtrlCl *unitList_ = nullptr;
    PngButton *searchButton_ = nullptr;
    PngButton *helpButton_ = nullptr;
    CListCtrlCl *danteList_ = nullptr;
    CListCtrlCl *rdaList_ = nullptr;
    QLineEdit *processorAddress_ = nullptr;
    PngButton *addProcessorButton_ = nullptr;
    QLabel *localAddress_ = nullptr;
    PngButton *checkButton_ = nullptr;
    QLabel *roomStatus_ = nullptr;
    QLabel *selectionLine_ = nullptr;
    std::array<PngButton *, 3> roomActionButtons_ {};
    CMicDlg *micPage_ = nullptr;
    CSpeakerDlg *speakerPage_ = nullptr;
    CMatrixDlg *routingPage_ = nullptr;
    QTimer *noAnswerTimer_ = nullptr; // runs for the first seconds of a search
    QMenu *windowMenu_ = nullptr;

    QImage banner_;
    Page page_ = Page::Mic;
    QString manualPath_;
    // The room's status line alone in the band, and beside the selection line.
    QRect roomStatusPlace_;
    QRect roomStatusBesideSelectionPlace_;
    QString checkStatusText_; // the room check's summary
    QString changeOutcome_; // until the next check starts
    QString ownAddressText_; // as the status line last showed it; empty when there is none
    bool initialised_ = false;
    bool laidOut_ = false;
    bool frameFitted_ = false;
    bool closeRequested_ = false; // before the contents were built
};

} // namespace arx
