#pragma once

#include "mic/MicEqualiser.h"

#include <QDialog>
#include <QTimer>

#include <array>

class QFrame;

namespace arx {

class CBitmapSlider;
class CMultiColorPlotCtrl;
class CSpinBtn;
class CStaticST;
class PngButton;

// The equaliser of one PXL2 unit: four parametric bands and a low cut on knobs, thin
// sliders under them and the response plot. A thin window over MicEqualiser, which holds
// the behaviour; this dialog only shows the record and forwards the controls' signals.
// Run it modally with exec(); the strip that opens it refreshes itself afterwards. Given the
// room's observers, it announces its changes there and reloads when the unit's equaliser is
// changed from elsewhere (a command) while it is open.
class CInputeqDlg : public QDialog, private MicEqualiserView, private RoomObserver {
    Q_OBJECT

public:
    static constexpr int DialogWidth = 900;
    static constexpr int DialogHeight = 500;
    static constexpr int TimerMs = 100;

    CInputeqDlg(Store &store, Link &link, const Clock &clock, int deviceIndex,
        QWidget *parent = nullptr, RoomObservers *observers = nullptr);
    ~CInputeqDlg() override;

    CMultiColorPlotCtrl *plot() const { return plot_; }
    const MicEqualiser &equaliser() const { return equaliser_; }

    // Closing sends a band still waiting for its rest, which no tick would send any more.
    void done(int result) override;

public slots:
    // The 100 ms timer's work; tests call it after moving their clock.
    void timerTick();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void showBand(int band, int exceptId) override;
    void showPlotBands() override;
    void showPlot() override;
    void unitChanged(int slot, UnitFields changed) override;

    void createControls();
    void configurePlot();
    void layOut();
    void loadPlotBands();

    RoomObservers *observers_;
    MicEqualiser equaliser_;
    const Clock &clock_;
    const DeviceRecord &record_;
    bool initialised_ = false;
    QTimer timer_;

    CMultiColorPlotCtrl *plot_ = nullptr;
    std::array<QFrame *, 5> frames_ {};
    std::array<CStaticST *, 4> rowTitles_ {};
    std::array<CStaticST *, 5> columnTitles_ {};
    std::array<CSpinBtn *, 13> knobs_ {}; // in the order of eqControls()' knob rows
    std::array<CBitmapSlider *, 13> sliders_ {};
    PngButton *lowCutSwitch_ = nullptr;
    PngButton *resetButton_ = nullptr;
};

} // namespace arx
