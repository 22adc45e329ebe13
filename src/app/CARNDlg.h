#pragma once

#include "app/Pages.h"
#include "protocol/Discovery.h"

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
    // `ownAddress` names the address that the search and connection requests carry; the
    // window also shows it.
    CARNDlg(Store &store, Link &link, Clock &clock, Prompts &prompts,
        OwnAddressLookup ownAddress = {}, QWidget *parent = nullptr);
    ~CARNDlg() override;

    Discovery &discovery() { return discovery_; }

    Page currentPage() const { return page_; }
    CMicDlg *micPage() const { return micPage_; }
    QWidget *speakerPage() const { return speakerPage_; }
    QWidget *routingPage() const { return routingPage_; }
    QTimer *connectionTimer() const { return connectionTimer_; }
    // The menu of the banner, which holds the about item.
    QMenu *windowMenu() const { return windowMenu_; }

    // The document the help buttons open; the manual next to the program unless set.
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

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
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
    void setStatusLine(const QString &text, const QColor &colour);

    Discovery discovery_;
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
    QWidget *speakerPage_ = nullptr;
    QWidget *routingPage_ = nullptr;
    QTimer *connectionTimer_ = nullptr;
    QMenu *windowMenu_ = nullptr;

    QImage banner_;
    Page page_ = Page::Mic;
    QString manualPath_;
    bool initialised_ = false;
    bool laidOut_ = false;
};

} // namespace arx
