#include "controls/CSpindataDlg.h"

#include "controls/ControlId.h"
#include "format/NumericEntry.h"

#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>

namespace arx {

namespace {

// 188 x 109 dialog units in the dialog's 9-point font.
constexpr QSize DialogSize(282, 164);

std::optional<float> parse(const QString &text)
{
    return parseEntry(text.toStdString());
}

} // namespace

CSpindataDlg::CSpindataDlg(QWidget *parent)
    : QDialog(parent)
    , edit_(new QLineEdit(this))
    , ok_(new QPushButton(QStringLiteral("确定"), this))
    , cancel_(new QPushButton(QStringLiteral("取消"), this))
    , hint_(new QLabel(QStringLiteral("请输入数字"), this))
{
    setWindowTitle(QStringLiteral("设置参数"));
    setModal(true);
    QFont face;
    face.setFamilies({ QStringLiteral("SimSun"), QStringLiteral("宋体"),
        QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans CJK") });
    face.setPointSize(9);
    setFont(face);
    setFixedSize(DialogSize);

    setControlId(edit_, EditId);
    setControlId(ok_, OkId);
    setControlId(cancel_, CancelId);
    ok_->setDefault(true);
    hint_->setStyleSheet(QStringLiteral("color: #c0392b;"));
    hint_->setVisible(false);

    auto *label = new QLabel(QStringLiteral("值"), this);
    auto *form = new QGridLayout;
    form->setHorizontalSpacing(12);
    form->addWidget(label, 0, 0);
    form->addWidget(edit_, 0, 1);
    form->addWidget(hint_, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 16);
    layout->addStretch();
    layout->addLayout(form);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(edit_, &QLineEdit::textChanged, this, &CSpindataDlg::textEdited);
    connect(ok_, &QPushButton::clicked, this, &CSpindataDlg::accept);
    connect(cancel_, &QPushButton::clicked, this, &CSpindataDlg::reject);
}

std::optional<float> CSpindataDlg::ask(QWidget *parent, float shown)
{
    CSpindataDlg dialog(parent);
    dialog.setValue(shown);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.value();
}

void CSpindataDlg::setValue(float value)
{
    value_ = value;
    const double shown = value == 0 ? 0.0 : double(value); // no "-0" for a threshold of 0 dB
    edit_->setText(QString::number(shown, 'g', 6));
    edit_->selectAll();
}

void CSpindataDlg::textEdited()
{
    const bool number = parse(edit_->text()).has_value();
    ok_->setEnabled(number);
    hint_->setVisible(!number);
}

void CSpindataDlg::accept()
{
    const std::optional<float> number = parse(edit_->text());
    if (!number) {
        // Refused: the dialog stays open with the text selected for correction.
        hint_->setVisible(true);
        edit_->setFocus();
        edit_->selectAll();
        return;
    }
    value_ = *number;
    QDialog::accept();
}

} // namespace arx
