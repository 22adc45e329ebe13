#pragma once

#include "speaker/SpeakerEditing.h"

#include <QWidget>

#include <functional>
#include <map>

class QLineEdit;

namespace arx {

class CBitmapSlider;
class CComBoxBtn;
class CSpinBtn;
class CStaticST;
class Clock;
class Discovery;
class PngButton;
class SpeakerResponseView;

// Ids of the page's own additions to its documented controls.
constexpr int SendAllButtonId = 1140;
constexpr int ResponseButtonId = 1141;
constexpr int ConnectionLineId = 1142;

// The SPEAKER page: both processor channels with their equalisers, crossovers, phases,
// limiters and levels, the main level, the processor's name and address, the preset
// buttons, SEND ALL and the response view. It places the controls and forwards what the
// operator does to its SpeakerEditor; the store is the only state.
class CSpeakerDlg final : public QWidget, private SpeakerPageView {
    Q_OBJECT
public:
    CSpeakerDlg(Store &store, Link &link, const Clock &clock, Prompts &prompts,
        Discovery &discovery, QWidget *parent = nullptr);
    ~CSpeakerDlg() override;

    // Copies every store value into the controls, sending nothing.
    void refreshPage() override;
    // The line that says whether changes reach a processor; the main window calls it
    // whenever the processor list or the connection changes.
    void showConnection();

    // What RESET (1131), SAVE (1132) and RECALL (1133) do; nothing until set.
    void setPresetHandlers(std::function<void()> deviceReset, std::function<void()> save,
        std::function<void()> recall);

    SpeakerEditor &editor() { return editor_; }
    // The response view's window, shown and hidden by RESPONSE.
    QWidget *responseWindow() const { return responseWindow_; }
    SpeakerResponseView *responseView() const { return responseView_; }
    void setResponseShown(bool shown);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // SpeakerPageView
    void showCrossover(int channel, CrossoverPass pass) override;
    void showLevel(LevelTarget target) override;
    void showPhase(int channel) override;
    void processorRenamed(const std::string &name) override;

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

    Store &store_;
    Discovery &discovery_;
    SpeakerEditor editor_;
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
    std::function<void()> deviceReset_;
    std::function<void()> save_;
    std::function<void()> recall_;
};

} // namespace arx
