#pragma once

#include "model/DeviceRecord.h"

#include <QWidget>

#include <array>
#include <vector>

class QScrollBar;

namespace arx {

// The microphone page: a black page that scrolls vertically through a column of one strip
// per slot of the unit table. The unit list and the reply parser ask it to show, refresh
// and hide the strip of a slot; it keeps which slots it shows.
class CMicDlg final : public QWidget {
    Q_OBJECT
public:
    // The scroll range spans this many client heights.
    static constexpr int pageCount = 10;
    // Strip k sits at (StripLeft, StripPitch * k + StripTop), client width - 2 * StripLeft
    // wide, StripPitch high.
    static constexpr int StripLeft = 5;
    static constexpr int StripTop = 10;
    static constexpr int StripPitch = 80;

    explicit CMicDlg(QWidget *parent = nullptr);

    // Shows the strip of slot 0..63; a strip already shown stays where it is and is only
    // refreshed. Slots outside 0..63 are ignored.
    void ShowStrip(int slot);
    // Hides the strip (the search stopped); the slot is unassigned until shown again.
    void hideStrip(int slot);
    // The unit's record or level changed: a shown strip redraws.
    void refreshStrip(int slot);
    void updateMeter(int slot);

    bool isStripShown(int slot) const;
    std::vector<int> shownStrips() const;

    // Where a strip shown for the first time is placed, in page coordinates.
    QRect stripGeometry(int slot) const;
    int clientWidth() const;

    QScrollBar *verticalScrollBar() const { return bar_; }
    // The position the contents were last scrolled to.
    int scrollPos() const { return scrollPos_; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void scrollContentsTo(int position);

    QScrollBar *bar_;
    int scrollPos_ = 1;
    int wheelRemainder_ = 0;
    std::array<bool, UnitSlotCount> shown_ {};
};

} // namespace arx
