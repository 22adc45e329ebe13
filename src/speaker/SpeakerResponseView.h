#pragma once

#include "dsp/FrequencyGrid.h"
#include "model/SpeakerStore.h"

#include <QWidget>

#include <array>

namespace arx {

// Both processor channels' responses, from the designs that are sent (SpeakerResponse), on a
// log frequency axis. refresh() reads the store and recomputes; painting only draws.
class SpeakerResponseView final : public QWidget {
    Q_OBJECT
public:
    static constexpr double TopDb = 18.0;
    static constexpr double BottomDb = -30.0;

    explicit SpeakerResponseView(const SpeakerStore &speaker, QWidget *parent = nullptr);

    void refresh();
    const ResponseCurve &curve(int channel) const
    {
        return curves_[static_cast<std::size_t>(channel)];
    }
    // The plot area inside the widget, beside the axis labels.
    QRect plotArea() const;

    QSize sizeHint() const override { return { 720, 360 }; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const SpeakerStore &speaker_;
    std::array<ResponseCurve, SpeakerChannelCount> curves_ {};
};

} // namespace arx
