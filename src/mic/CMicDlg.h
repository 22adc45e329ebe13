#pragma once

#include "controls/SelectorLogic.h"
#include "mic/CInputDlg.h"
#include "model/DeviceRecord.h"

#include <QWidget>

#include <array>
#include <vector>

class QScrollBar;

namespace arx {

// The microphone page: a black page that scrolls vertically through a column of one strip
// per slot of the unit table. The unit list and the reply parser ask it to show, refresh
// and hide the strip of a slot; the strips keep which of them are shown. A strip is made
// when its slot is first asked for, so that a page of few units holds few strips.
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

    CMicDlg(
        Store &store, Link &link, const Clock &clock, Prompts &prompts, QWidget *parent = nullptr);

    // Every strip's equaliser button runs this (the modal equaliser dialog of a record
    // index); until it is set the button opens nothing.
    void setEqualiserOpener(const EqualiserOpener &opener);

    // Shows the strip of slot 0..63: a strip shown for the first time is placed at its slot
    // in the column as it is scrolled now and initialised; a strip already shown stays where
    // it is and only lists its COPY sources again. Both are then refreshed. Slots outside
    // 0..63 are ignored.
    void ShowStrip(int slot);
    // Hides the strip (the search stopped); the next ShowStrip initialises it again.
    void hideStrip(int slot);
    // The unit's record or level changed: a shown strip shows it.
    void refreshStrip(int slot);
    void updateMeter(int slot);

    bool isStripShown(int slot) const;
    std::vector<int> shownStrips() const;
    // The strip of slot 0..63, made hidden if it did not exist yet; null outside 0..63.
    CInputDlg *strip(int slot);

    // Where strip `slot` lies in the unscrolled column, in page coordinates.
    QRect stripGeometry(int slot) const;
    int clientWidth() const;

    QScrollBar *verticalScrollBar() const { return bar_; }
    // The position the contents were last scrolled to.
    int scrollPos() const { return scrollPos_; }

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void scrollContentsTo(int position);
    // The strip of a slot if it has been made.
    CInputDlg *madeStrip(int slot) const;
    // A wheel event of the page's gesture: one notch scrolls one strip.
    void scrollByWheel(QWheelEvent *event);

    Store &store_;
    Link &link_;
    const Clock &clock_;
    Prompts &prompts_;
    EqualiserOpener equaliserOpener_;
    QScrollBar *bar_;
    int scrollPos_ = 1;
    WheelAccumulator wheel_;
    WheelGesture gesture_;
    std::array<CInputDlg *, UnitSlotCount> strips_ {};
    bool ready_ = false;
};

} // namespace arx
