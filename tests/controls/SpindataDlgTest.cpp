#include "controls/CSpinBtn.h"
#include "controls/CSpindataDlg.h"
#include "controls/ControlId.h"
#include "seams/Clock.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>

namespace arx {
namespace {

void typeInto(CSpindataDlg *dialog, const QString &text)
{
    dialog->edit()->selectAll();
    QTest::keyClicks(dialog->edit(), text);
}

class EntryDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog.setValue(3.0f);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }

    CSpindataDlg dialog;
    QSignalSpy accepted { &dialog, &QDialog::accepted };
    QSignalSpy rejected { &dialog, &QDialog::rejected };
};

TEST_F(EntryDialog, CarriesItsTitleLabelEditAndButtons)
{
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("设置参数"));
    EXPECT_EQ(findControl<QLineEdit>(&dialog, 1006), dialog.edit());
    EXPECT_EQ(dialog.okButton()->text(), QStringLiteral("确定"));
    EXPECT_EQ(dialog.cancelButton()->text(), QStringLiteral("取消"));
    bool hasValueLabel = false;
    for (const QLabel *label : dialog.findChildren<QLabel *>())
        hasValueLabel = hasValueLabel || label->text() == QStringLiteral("值");
    EXPECT_TRUE(hasValueLabel) << "a label reads 值";
    EXPECT_TRUE(dialog.isModal());
}

TEST_F(EntryDialog, ShowsTheValueAsAFloatWithSixDigits)
{
    EXPECT_EQ(dialog.edit()->text(), QStringLiteral("3"));
    dialog.setValue(2.3f);
    EXPECT_EQ(dialog.edit()->text(), QStringLiteral("2.3"));
    dialog.setValue(-103.0f);
    EXPECT_EQ(dialog.edit()->text(), QStringLiteral("-103"));
    dialog.setValue(-0.0f);
    EXPECT_EQ(dialog.edit()->text(), QStringLiteral("0"));
    dialog.setValue(19999.5f);
    EXPECT_EQ(dialog.edit()->text(), QStringLiteral("19999.5"));
}

TEST_F(EntryDialog, TypedNumberIsConfirmedWithOk)
{
    typeInto(&dialog, QStringLiteral("-12.5"));
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_EQ(accepted.count(), 1);
    EXPECT_EQ(dialog.value(), -12.5f);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(EntryDialog, EnterConfirmsAndEscapeCancels)
{
    typeInto(&dialog, QStringLiteral("7"));
    QTest::keyClick(dialog.edit(), Qt::Key_Return);
    EXPECT_EQ(accepted.count(), 1);
    EXPECT_EQ(dialog.value(), 7.0f);

    dialog.show();
    typeInto(&dialog, QStringLiteral("9"));
    QTest::keyClick(dialog.edit(), Qt::Key_Escape);
    EXPECT_EQ(rejected.count(), 1);
    EXPECT_EQ(dialog.value(), 7.0f) << "a cancelled entry keeps the last confirmed value";
}

TEST_F(EntryDialog, AnythingButANumberIsRefused)
{
    for (const QString &text : { QStringLiteral("abc"), QStringLiteral("3dB"), QStringLiteral(""),
             QStringLiteral("1,5"), QStringLiteral("-") }) {
        typeInto(&dialog, text);
        if (text.isEmpty())
            dialog.edit()->clear();
        EXPECT_FALSE(dialog.okButton()->isEnabled())
            << "OK is off for \"" << text.toStdString() << '"';
        EXPECT_TRUE(dialog.hint()->isVisibleTo(&dialog)) << "the hint explains why";
        QTest::keyClick(dialog.edit(), Qt::Key_Return);
        dialog.accept(); // even asked directly, the dialog refuses
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(accepted.count(), 0);
        EXPECT_EQ(dialog.value(), 3.0f) << "the value stays";
    }
    typeInto(&dialog, QStringLiteral("4"));
    EXPECT_TRUE(dialog.okButton()->isEnabled()) << "a number is welcome again";
    EXPECT_FALSE(dialog.hint()->isVisibleTo(&dialog));
}

// The knob's own entry, modal and all: the operator types into the real dialog.
class KnobWithDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        setControlId(knob, 1014);
        knob->setRange(0, 300);
        knob->setValueKind(ValueKind::Gain);
        knob->setValue(150);
        window.resize(200, 60);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    // Runs `operate` on the modal dialog as soon as it is up, from inside its own loop.
    void whenDialogOpens(std::function<void(CSpindataDlg *)> operate)
    {
        QTimer::singleShot(0, &window, [this, operate] {
            auto *dialog = qobject_cast<CSpindataDlg *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr) << "the entry dialog is open";
            ++dialogsOperated;
            operate(dialog);
        });
    }

    ManualClock clock;
    QWidget window;
    CSpinBtn *knob = new CSpinBtn(clock, &window);
    QSignalSpy changed { knob, &CSpinBtn::spinChanged };
    int dialogsOperated = 0;
};

TEST_F(KnobWithDialog, MiddlePressOpensTheEntryAndTakesTheTypedGain)
{
    QString shown;
    whenDialogOpens([&](CSpindataDlg *dialog) {
        shown = dialog->edit()->text();
        typeInto(dialog, QStringLiteral("2.3"));
        QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    });
    QTest::mouseClick(knob, Qt::LeftButton, {}, QPoint(45, 10));
    EXPECT_EQ(dialogsOperated, 1);
    EXPECT_EQ(shown, QStringLiteral("0")) << "code 150 is 0 dB";
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toInt(), 1014);
    EXPECT_EQ(changed.at(0).at(1).toInt(), 173);
    EXPECT_EQ(knob->text(), QStringLiteral("G:2.3"));
}

TEST_F(KnobWithDialog, TextThatIsNoNumberLeavesTheKnobAlone)
{
    whenDialogOpens([](CSpindataDlg *dialog) {
        typeInto(dialog, QStringLiteral("loud"));
        QTest::keyClick(dialog->edit(), Qt::Key_Return);
        EXPECT_TRUE(dialog->isVisible()) << "Enter does not confirm a non-number";
        QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    });
    QTest::mouseClick(knob, Qt::LeftButton, {}, QPoint(45, 10));
    EXPECT_EQ(dialogsOperated, 1);
    EXPECT_EQ(knob->value(), 150);
    EXPECT_EQ(changed.count(), 0);
}

TEST_F(KnobWithDialog, ConfirmingTheShownValueKeepsTheCode)
{
    knob->setValue(173);
    whenDialogOpens([](CSpindataDlg *dialog) {
        EXPECT_EQ(dialog->edit()->text(), QStringLiteral("2.3"));
        QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    });
    QTest::mouseClick(knob, Qt::LeftButton, {}, QPoint(45, 10));
    EXPECT_EQ(dialogsOperated, 1);
    ASSERT_EQ(changed.count(), 1) << "a confirmed entry always notifies";
    EXPECT_EQ(changed.at(0).at(1).toInt(), 173);
}

} // namespace
} // namespace arx
