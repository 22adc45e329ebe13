#pragma once

#include "mic/StripController.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <functional>
#include <vector>

class QTimer;

namespace arx {

class CColourButton;
class CComBoxBtn;
class CPeakMeterCtrl;
class CStaticST;
class MyComboBox;
class PngButton;
class Prompts;

// Opens the equaliser dialog of a unit (record index 0..63) and returns once it is closed.
using EqualiserOpener = std::function<void(int deviceIndex)>;

// One microphone strip: the operator's view of one unit. It shows the unit's family, name,
// address and level, and edits its settings through its StripController; every control
// carries its dialog id.
class CInputDlg final : public QWidget, private StripView {
    Q_OBJECT
public:
    static constexpr int StripHeight = 80;
    static constexpr int LocateTickMs = 100;

    CInputDlg(
        Store &store, Link &link, const Clock &clock, Prompts &prompts, QWidget *parent = nullptr);
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

    // First showing: the COPY list, captions, the controls of the unit's type, timer 2.
    void InitStrip();
    void RebuildCopyList();
    void RefreshFromRecord();
    void UpdateMeter();
    // The search stopped, or the close button: hidden, timer stopped, not shown.
    void closeStrip();

    // The selectors that step on the mouse wheel (gain, mode, COPY, colour boxes).
    std::vector<QWidget *> wheelSelectors() const;
    QTimer *locateTimer() const { return locateTimer_; }
    StripController &controller() { return controller_; }
    // The name bytes of each COPY list entry after "NULL".
    const std::vector<CopyEntry> &copyEntries() const { return copyEntries_; }

    QColor stripColour() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // StripView
    void refreshFromRecord() override { RefreshFromRecord(); }
    void locateTimedOut() override;

    void buildControls();
    void toggled(int controlId);
    void listChosen(int listId, int index);
    void colourIndexChosen(RingColour colour, int index);
    void colourPicked(int controlId);
    void copyFromUnit();
    void equaliserPressed();
    void applyStripColour();
    DeviceRecord &record() { return controller_.record(); }

    StripController controller_;
    Prompts &prompts_;
    EqualiserOpener openEqualiser_;
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
    QTimer *locateTimer_ = nullptr;
};

} // namespace arx
