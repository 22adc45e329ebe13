#pragma once

#include "controls/SelectorLogic.h"
#include "mic/CInputDlg.h"
#include "mic/StripSelection.h"
#include "model/DeviceRecord.h"
#include "model/RoomObserver.h"

#include <QWidget>

#include <array>
#include <vector>

class QScrollBar;

namespace arx {

class Room;

// The microphone page: a black page that scrolls vertically through a column of one strip
// per slot of the unit table. It follows the room: a unit shown, changed, heard or freed
// shows, refreshes or hides its strip; the strips keep which of them are shown. A strip is
// made when its slot is first asked for, so that a page of few units holds few strips.
// The operator selects strips by their family pictures (Shift for a range, Ctrl+A for every
// shown strip, Escape for none); a change on one strip of a selection of several goes to
// every selected unit.
class CMicDlg final : public QWidget, private RoomObserver {
    Q_OBJECT
public:
    // The scroll range spans this many client heights.
    static constexpr int pageCount = 10;
    // Strip k sits at (StripLeft, StripPitch * k + StripTop), client width - 2 * StripLeft
    // wide, StripPitch high.
    static constexpr int StripLeft = 5;
    static constexpr int StripTop = 10;
    static constexpr int StripPitch = 80;

    CMicDlg(Room &room, Prompts &prompts, QWidget *parent = nullptr);
    ~CMicDlg() override;

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

    // What the page says while it shows no strip: how to start, or why nothing came.
    enum class EmptyHint { None, PressSearch, NoAnswer };
    // `ownAddress` is the address the units are told to answer to; empty when there is none.
    void setEmptyHint(EmptyHint hint, const QString &ownAddress);
    // The text drawn on the page now; empty while a strip is shown or there is no hint.
    QString emptyHintText() const;

    // The selection, by slot: a click on a strip's picture, Ctrl+A and Escape.
    void clickStrip(int slot, bool shift);
    void selectAllStrips();
    void clearSelection();
    const StripSelection &selection() const { return selection_; }
    int selectionCount() const { return selection_.count(); }

    QScrollBar *verticalScrollBar() const { return bar_; }
    // The position the contents were last scrolled to.
    int scrollPos() const { return scrollPos_; }

signals:
    void selectionCountChanged(int count);
    // A change on a selected strip went to several units.
    void selectionChangeApplied(int changed, int leftAlone);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // RoomObserver
    void unitShown(int slot) override { ShowStrip(slot); }
    void unitFreed(int slot) override { hideStrip(slot); }
    void unitChanged(int slot, UnitFields) override { refreshStrip(slot); }
    void unitLevel(int slot) override { updateMeter(slot); }
    void unitCheckChanged(int slot, const UnitCheck &check) override;

    void answerDifference(int slot, DifferenceAnswer answer);
    void scrollContentsTo(int position);
    // A wheel event of the page's gesture: one notch scrolls one strip.
    void scrollByWheel(QWheelEvent *event);

    // The strip of a slot if it has been made.
    CInputDlg *madeStrip(int slot) const;
    // A strip was shown or hidden: the page repaints when its hint comes or goes.
    void stripShownOrHidden();
    // The strips wear the selection's mark; the window hears the count.
    void showSelection();

    Room &room_;
    Prompts &prompts_;
    EqualiserOpener equaliserOpener_;
    QScrollBar *bar_;
    int scrollPos_ = 1;
    WheelAccumulator wheel_;
    WheelGesture gesture_;
    std::array<CInputDlg *, UnitSlotCount> strips_ {};
    StripSelection selection_;
    bool ready_ = false;
    EmptyHint hint_ = EmptyHint::None;
    bool hintDrawn_ = false; // as last painted or asked to be
    QString ownAddress_;
};

} // namespace arx
