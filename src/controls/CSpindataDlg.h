#pragma once

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace arx {

// "设置参数": the numeric entry of a spin knob. The operator edits a number in display
// units and confirms with "确定" or leaves with "取消". Only a number is accepted: while the
// text is anything else "确定" is disabled, a hint says so, and confirming is refused.
class CSpindataDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int EditId = 1006;
    static constexpr int OkId = 1;
    static constexpr int CancelId = 2;

    explicit CSpindataDlg(QWidget *parent = nullptr);

    // Runs the dialog modally, starting from `shown`; the confirmed number, or nullopt.
    static std::optional<float> ask(QWidget *parent, float shown);

    // Shows `value` as the entry box shows a float: up to six significant digits.
    void setValue(float value);
    // The number confirmed (or shown, before the operator confirms).
    float value() const { return value_; }

    QLineEdit *edit() const { return edit_; }
    QPushButton *okButton() const { return ok_; }
    QPushButton *cancelButton() const { return cancel_; }
    QLabel *hint() const { return hint_; }

public slots:
    void accept() override;

private:
    void textEdited();

    float value_ = 0;
    QLineEdit *edit_;
    QPushButton *ok_;
    QPushButton *cancel_;
    QLabel *hint_;
};

} // namespace arx
