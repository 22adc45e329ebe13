#pragma once

#include "app/Pages.h"
#include "protocol/DanteList.h"
#include "protocol/Discovery.h"
#include "routing/CMatrixDlg.h"
#include "speaker/CSpeakerDlg.h"
#include "speaker/PresetButtons.h"

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

// The one top-level window, "ARX 1.2": the banner, the page buttons and the page area
// (microphone, speaker and routing pages), the search and help buttons, and the device
// column with the unit list or the processor list. It shows what Discovery keeps and passes
// the operator's clicks to it.
class CARNDlg final : public QWidget, private DiscoveryView {
    Q_OBJECT
public:
    // Complete: the constructor makes everything. ShellFirst: it makes only what the first
    // paint shows (the black window at its start size) and writes the store's start values;
    // buildContents() makes the banner, the controls and the pages, once the window has been
    // seen.
    enum class Construction { Complete, ShellFirst };

    // `ownAddress` names the address that the search and connection requests carry; the
    // window also shows it.
    CARNDlg(Store &store, Link &link, Clock &clock, Prompts &prompts,
        OwnAddressLookup ownAddress = {}, QWidget *parent = nullptr,
        Construction construction = Construction::Complete);
    ~CARNDlg() override;

    // Makes the controls and pages of a window made ShellFirst; does nothing the second time.
    // A close asked for before is carried out afterwards.
    void buildContents();

    Discovery &discovery() { return discovery_; }

    Page currentPage() const { return page_; }
    CMicDlg *micPage() const { return micPage_; }
    CSpeakerDlg *speakerPage() const { return speakerPage_; }
    CMatrixDlg *routingPage() const { return routingPage_; }
    // Every device of the installation, as the ROUTING page's device column lists them.
    const DanteListModel &danteList() const { return danteModel_; }
    QTimer *connectionTimer() const { return connectionTimer_; }
    // The menu of the banner, which holds the about and journal items.
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

    // The period of the connection timer.
    static constexpr int ConnectionTickMs = 250;

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
    // DiscoveryView
    void setSearchPressed(bool pressed) override;
    void showStrip(int slot) override;
    void refreshStrip(int slot) override;
    void updateMeter(int slot) override;
    void hideStrip(int slot) override;
    void selectSpeakerPage() override;
    void unitListChanged() override;
    void processorListChanged() override;
    void setConnectionTimerRunning(bool running) override;

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

    Store &store_;
    Link &link_;
    Clock &clock_;
    Prompts &prompts_;
    Discovery discovery_;
    PresetButtons presets_;
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
    CMicDlg *micPage_ = nullptr;
    CSpeakerDlg *speakerPage_ = nullptr;
    CMatrixDlg *routingPage_ = nullptr;
    QTimer *connectionTimer_ = nullptr;
    QMenu *windowMenu_ = nullptr;

    QImage banner_;
    Page page_ = Page::Mic;
    QString manualPath_;
    bool initialised_ = false;
    bool laidOut_ = false;
    bool frameFitted_ = false;
    bool closeRequested_ = false; // before the contents were built
};

} // namespace arx
