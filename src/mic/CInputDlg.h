#pragma once

#include "mic/UnitController.h"
#include "model/UnitCheck.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <functional>
#include <vector>

class QLabel;
class QToolButton;

namespace arx {

class CColourButton;
class CComBoxBtn;
class CPeakMeterCtrl;
class CStaticST;
class MyComboBox;
class PngButton;
class Prompts;

// The operator's answers to a unit whose settings differ from what ARX shows.
enum class DifferenceAnswer { TakeUnitSettings, SendSettingsAgain };

// Opens the equaliser dialog of a unit (record index 0..63) and returns once it is closed.
using EqualiserOpener = std::function<void(int deviceIndex)>;
// The units (record indexes) a change made on the strip of `deviceIndex` goes to.
using ChangeTargets = std::function<std::vector<int>(int deviceIndex)>;

// One microphone strip: the operator's view of one unit. It shows the unit's family, name,
// address and level, and edits its settings through the room's UnitController, which
// announces every change; the page then refreshes the strip. Every control carries its
// dialog id.
class CInputDlg final : public QWidget {
    Q_OBJECT
public:
    static constexpr int StripHeight = 80;

    CInputDlg(UnitController &units, Prompts &prompts, QWidget *parent = nullptr);
    ~CInputDlg() override;

    // Resolves the fonts strips paint with, so that the first strip shown does not wait for
    // them.
    static void prepareFonts();

    // 1..64; the record shown is slotIndex - 1.
    void setSlotIndex(int slotIndex);
    int slotIndex() const { return slotIndex_; }
    bool isStripShown() const { return stripShown_; }
    bool isStripReady() const { return stripReady_; }

    // Runs when the equaliser button is pressed; the strip refreshes afterwards.
    void setEqualiserOpener(EqualiserOpener opener) { openEqualiser_ = std::move(opener); }
    // Until it is set, a change goes to this strip's unit alone.
    void setChangeTargets(ChangeTargets targets) { changeTargets_ = std::move(targets); }

    // A selected strip wears a frame and a lit picture.
    void setSelected(bool selected);
    bool isSelected() const { return selected_; }

    // First showing: the COPY list, captions, the controls of the unit's type.
    void InitStrip();
    void RebuildCopyList();
    void RefreshFromRecord();
    void UpdateMeter();
    // The search stopped, or the close button: hidden, not shown.
    void closeStrip();
    // What the room check says of the unit: a unit that differs gets a mark whose tooltip
    // lists the differences and whose menu offers the two answers; one that does not answer
    // is dimmed, says since when, and its meter shows nothing.
    void showCheck(const UnitCheck &check);
    const UnitCheck &shownCheck() const { return check_; }

    // The selectors that step on the mouse wheel (gain, mode, COPY, colour boxes).
    std::vector<QWidget *> wheelSelectors() const;
    int deviceIndex() const { return slotIndex_ - 1; }
    // The name bytes of each COPY list entry after "NULL".
    const std::vector<CopyEntry> &copyEntries() const { return copyEntries_; }

    QColor stripColour() const;

signals:
    // Chosen in the mark's menu: (record index, answer).
    void differenceAnswered(int deviceIndex, DifferenceAnswer answer);
    // A left click on the family picture, with or without Shift.
    void pictureClicked(int deviceIndex, bool shift);
    // A change went to several units: how many took it and how many were left alone.
    void appliedToUnits(int changed, int leftAlone);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildCheckControls();
    void toggled(int controlId);
    void listChosen(int listId, int index);
    void colourIndexChosen(RingColour colour, int index);
    void colourPicked(int controlId);
    void copyFromUnit();
    void equaliserPressed();
    void applyStripColour();
    const DeviceRecord &record() const;
    // The change goes to this unit, or to every unit of the selection it belongs to; where
    // this unit did not take it, the controls show the record again.
    void change(UnitSetting setting, std::int32_t value);

    UnitController &units_;
    Prompts &prompts_;
    EqualiserOpener openEqualiser_;
    ChangeTargets changeTargets_;
    bool selected_ = false;
    int slotIndex_ = 1;
    bool stripShown_ = false;
    bool stripReady_ = false;
    QImage panels_[2]; // odd, even slot

    CStaticST *familyImage_ = nullptr;
    CStaticST *nameLabel_ = nullptr;
    CStaticST *ipLabel_ = nullptr;
    std::vector<CStaticST *> captions_; // every label with a fixed caption
    std::array<CStaticST *, 3> colourLabels_ {};
    CPeakMeterCtrl *meter_ = nullptr;
    CComBoxBtn *copySelector_ = nullptr;
    CComBoxBtn *gainSelector_ = nullptr;
    CComBoxBtn *modeSelector_ = nullptr;
    PngButton *okButton_ = nullptr;
    PngButton *closeButton_ = nullptr;
    PngButton *equaliserButton_ = nullptr;
    std::array<PngButton *, 4> toggles_ {};
    std::array<MyComboBox *, 3> colourCombos_ {};
    std::array<CColourButton *, 3> colourButtons_ {};
    std::vector<CopyEntry> copyEntries_;
    UnitCheck check_;
    QToolButton *differsMark_ = nullptr;
    QWidget *silenceVeil_ = nullptr; // dims the strip of a unit that does not answer
    QLabel *silenceLabel_ = nullptr;
};

} // namespace arx
