#pragma once

#include "model/SpeakerStore.h"
#include "speaker/SpeakerResponse.h"

#include <QWidget>

namespace arx {

// Both processor channels' responses, from the designs that are sent (SpeakerResponse), on a
// log frequency axis, evaluated at every pixel column and every band's centre. refresh() reads
// the store and recomputes; painting only draws.
class SpeakerResponseView final : public QWidget {
    Q_OBJECT
public:
    static constexpr double TopDb = 18.0;
    static constexpr double BottomDb = -30.0;

    explicit SpeakerResponseView(const SpeakerStore &speaker, QWidget *parent = nullptr);

    void refresh();
    // The points the curves are drawn through.
    const SpeakerResponsePoints &response() const { return response_; }
    // The plot area inside the widget, beside the axis labels.
    QRect plotArea() const;

    QSize sizeHint() const override { return { 720, 360 }; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    ResponseAxes axes() const;

    const SpeakerStore &speaker_;
    SpeakerResponsePoints response_;
};

} // namespace arx
