#pragma once

#include "controls/SelectorLogic.h"
#include "dsp/PlotBands.h"
#include "dsp/PlotHandles.h"

#include <QImage>
#include <QWidget>

#include <array>

namespace arx {

// The response plot: every band's curve filled in its own translucent colour on a log
// frequency axis, the summed curve on top and one draggable handle per band. The parent
// writes the bands and the handle positions; the plot reports presses, moves and releases of
// a handle, double clicks and wheel turns over the selected handle. It never talks to a
// device.
class CMultiColorPlotCtrl : public QWidget {
    Q_OBJECT

public:
    explicit CMultiColorPlotCtrl(QWidget *parent = nullptr);

    // Set-up before the plot is first shown, which builds one handle per band.
    void setBandCount(int count);
    int bandCount() const { return bandCount_; }
    void setDefaultKind(int band, int kind);
    int defaultKind(int band) const { return defaultKinds_.at(std::size_t(band)); }
    void setDbRange(double dBmax, double dBmin);
    void setFramed(bool framed);
    void setLabelsShown(bool shown);

    // The parent's view of the bands and handle positions; refreshHandles applies them.
    PlotBand &band(int index) { return bands_.at(std::size_t(index)); }
    const PlotBand &band(int index) const { return bands_.at(std::size_t(index)); }
    void setHandlePosition(int index, double frequency, double gain);
    double handleFrequency(int index) const { return handleFrequencies_.at(std::size_t(index)); }
    double handleGain(int index) const { return handleGains_.at(std::size_t(index)); }

    void relayout();
    // Moves every handle to its handle position, recomputes the curves and repaints.
    void refreshHandles();
    // Recomputes the curves from the bands and repaints, leaving the handles where they are.
    void refreshCurves();

    bool isDragging() const { return dragFlag_; }
    const PlotAxes &axes() const { return axes_; }
    const PlotHandles &handles() const { return handles_; }
    // The curves as last computed for painting.
    const ResponseCurve &totalCurve() const { return total_; }
    const ResponseCurve &bandCurve(int index) const { return curves_.at(std::size_t(index)); }
    // The readout beside the dragged point, empty while nothing is dragged.
    QString readout() const;

signals:
    // A handle was pressed (dragging false), moved (true) or released (false). The handle
    // arrays already hold its new position.
    void pointMoved(int band, bool dragging);
    // A double click while a handle is selected: put the band back at 0 dB.
    void pointReset(int band);
    // Whole wheel notches over the selected handle, positive away from the operator.
    void qWheeled(int band, int notches);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildHandles();
    void updateCurves();
    // The plot's own step before every notification: the drag flag, and the selected
    // handle's values copied into the handle arrays.
    void takePointMessage(bool move);
    void notifyPoint(bool move);

    int bandCount_ = 4;
    std::array<int, PlotBandCapacity> defaultKinds_;
    std::array<PlotBand, PlotBandCapacity> bands_ {};
    std::array<double, PlotBandCapacity> handleFrequencies_ {};
    std::array<double, PlotBandCapacity> handleGains_ {};
    PlotBandCurves curves_ {};
    ResponseCurve total_ {};
    PlotAxes axes_;
    bool framed_ = true;
    bool labelsShown_ = true;
    PlotHandles handles_;
    std::array<QImage, 5> handleImages_;
    bool dragFlag_ = false;
    WheelAccumulator wheel_;
};

} // namespace arx
