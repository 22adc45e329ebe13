#pragma once

#include "model/RoomObserver.h"
#include "speaker/SpeakerEditing.h"

#include <QWidget>

#include <map>

class QLineEdit;

namespace arx {

class CBitmapSlider;
class CComBoxBtn;
class CSpinBtn;
class CStaticST;
class Clock;
class PngButton;
class Room;
class SpeakerResponseView;

// Ids of the page's own additions to its documented controls.
constexpr int SendAllButtonId = 1140;
constexpr int ResponseButtonId = 1141;
constexpr int ConnectionLineId = 1142;

// The SPEAKER page: both processor channels with their equalisers, crossovers, phases,
// limiters and levels, the main level, the processor's name and address, the preset
// buttons, SEND ALL and the response view. It places the controls, forwards what the
// operator does to the room's SpeakerEditor and PresetController, and shows every change
// the room announces, whoever made it; the store is the only state.
class CSpeakerDlg final : public QWidget, private RoomObserver {
    Q_OBJECT
public:
    CSpeakerDlg(Room &room, Prompts &prompts, QWidget *parent = nullptr);
    ~CSpeakerDlg() override;

    // Copies every store value into the controls, sending nothing.
    void refreshPage();
    // The line that says whether changes reach a processor.
    void showConnection();

    SpeakerEditor &editor();
    // The response view's window, shown and hidden by RESPONSE.
    QWidget *responseWindow() const { return responseWindow_; }
    SpeakerResponseView *responseView() const { return responseView_; }
    void setResponseShown(bool shown);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // RoomObserver
    void speakerChanged(const SpeakerChange &change) override;
    void processorListChanged() override { showConnection(); }
    void connectionStarted() override { showConnection(); }
    void connectionChanged() override { showConnection(); }

    // The filter's type, frequency and Q from the store; Q shown only for "Variable".
    void showCrossover(const CrossoverSelector &selector);
    void showLevel(LevelTarget target);
    void showPhase(int channel);

    void createTitles();
    void createGrid(const Clock &clock);
    void createButtons();
    void createLevels();
    void createDeviceLine();
    void createResponseWindow();
    void connectControls();
    void settingChanged();
    void setName();

    template <class Control> Control *control(int id) const;

    Room &room_;
    Store &store_;
    Prompts &prompts_;
    std::map<int, CSpinBtn *> knobs_;
    std::map<int, CComBoxBtn *> selectors_; // by drop list id
    std::map<int, CBitmapSlider *> sliders_;
    std::map<int, CStaticST *> levelLabels_; // by slider id
    std::map<int, PngButton *> phaseButtons_; // by channel
    QLineEdit *nameEdit_ = nullptr;
    QLineEdit *addressEdit_ = nullptr;
    CStaticST *connectionLine_ = nullptr;
    PngButton *responseButton_ = nullptr;
    QWidget *responseWindow_ = nullptr;
    SpeakerResponseView *responseView_ = nullptr;
};

} // namespace arx
