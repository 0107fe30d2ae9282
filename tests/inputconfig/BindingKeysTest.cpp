// Keys in the binding window, sent where the keyboard focus is, as a user's keys go: while the
// window waits, Return and Space are controls to bind rather than presses of its buttons; once a
// control is found, Return takes it.
#include "InputSettingsFixture.h"
#include "core/windows/BindingDialog.h"
#include "core/windows/ControlDetector.h"
#include "core/windows/PropertyManager.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace qvn::test {
namespace {

class BindingKeysTest : public InputSettingsFixture {
protected:
    // Binds `row` by typing `control` into the binding window, then types `confirm` once the
    // window shows what it found. What the window showed then is kept.
    void bindByTyping(int32_t row, Qt::Key control, Qt::Key confirm) {
        BindingDialog& binding = dialog->propertyManager()->bindingDialog();
        int typed = 0;
        QElapsedTimer clock;
        clock.start();
        QTimer user;
        QObject::connect(&user, &QTimer::timeout, [&] {
            ControlDetector* detection = binding.detector();
            if (detection == nullptr)
                return;
            QWidget* window = binding.getRoot()->getWidget();
            QWidget* focus = window->focusWidget() != nullptr ? window->focusWidget() : window;
            if (clock.elapsed() > 5000) {
                click(binding.getRoot(), BindingDialog::CancelButton);
            } else if (typed == 0 && detection->label() == ControlDetector::PressText) {
                QTest::keyClick(focus, control);
                typed = 1;
            } else if (typed == 1 && detection->label() == ControlDetector::ConfirmText) {
                found = binding.getRoot()->findById(BindingDialog::CandidateLabel)->getLabel();
                useHadFocus =
                    focus == binding.getRoot()->findById(BindingDialog::UseButton)->getWidget();
                QTest::keyClick(focus, confirm);
                typed = 2;
            }
        });
        user.start(10);
        click(Rows::RowBase + Rows::RowStride * row + Rows::BindPart);
        user.stop();
    }

    std::string found;
    bool useHadFocus = false;
};

TEST_F(BindingKeysTest, ReturnAndSpaceAreBoundWhileWaitingAndReturnTakesTheControlFound) {
    ASSERT_TRUE(dialog->open(make()));

    bindByTyping(1, Qt::Key_Return, Qt::Key_Return);
    // The keyboard's own name of the key.
    EXPECT_EQ(found, "RETUR");
    EXPECT_TRUE(useHadFocus);
    EXPECT_EQ(part(1, Rows::BindingPart)->getLabel(), "RETUR");
    // The column may cut a description off; the tooltip holds it whole.
    EXPECT_EQ(part(1, Rows::BindingPart)->getWidget()->toolTip(), "RETUR");
    EXPECT_EQ(part(0, Rows::BindingPart)->getWidget()->toolTip(), "") << "nothing bound";

    found.clear();
    bindByTyping(1, Qt::Key_Space, Qt::Key_Return);
    EXPECT_EQ(found, "Space");
    EXPECT_EQ(part(1, Rows::BindingPart)->getLabel(), "Space");
}

} // namespace
} // namespace qvn::test
