#include "platform/KeyboardHook.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using mvk::platform::KeyboardHook;
using mvk::platform::KeyStroke;

namespace {

class KeyboardHookTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 0;
        if (QApplication::instance() == nullptr)
            app = new QApplication(argc, nullptr);
    }
    void SetUp() override {
        edit = std::make_unique<QLineEdit>();
        edit->show();
        edit->activateWindow();
        edit->setFocus();
    }
    static QApplication* app;
    std::unique_ptr<QLineEdit> edit;
};

QApplication* KeyboardHookTest::app = nullptr;

TEST_F(KeyboardHookTest, VirtualKeyNumberingFollowsTheHookTable) {
    auto code = [](int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        return KeyboardHook::virtualKeyOf(event);
    };
    EXPECT_EQ(code(Qt::Key_A), 'A');
    EXPECT_EQ(code(Qt::Key_7), '7');
    EXPECT_EQ(code(Qt::Key_Left), 37);
    EXPECT_EQ(code(Qt::Key_Down), 40);
    EXPECT_EQ(code(Qt::Key_F1), 112);
    EXPECT_EQ(code(Qt::Key_F24), 135);
    EXPECT_EQ(code(Qt::Key_5, Qt::KeypadModifier), 101);
    EXPECT_EQ(code(Qt::Key_Shift), 16);
    EXPECT_EQ(code(Qt::Key_Control), 17);
    EXPECT_EQ(code(Qt::Key_Alt), 18);
    EXPECT_EQ(code(Qt::Key_Space), 32);
    EXPECT_EQ(code(Qt::Key_Escape), 27);
}

TEST_F(KeyboardHookTest, PassedKeysReachTheWidgetAndSwallowedOnesDoNot) {
    std::vector<KeyStroke> seen;
    bool swallow = false;
    KeyboardHook* hook = KeyboardHook::install([&](const KeyStroke& stroke) {
        seen.push_back(stroke);
        return swallow;
    });
    ASSERT_NE(hook, nullptr);
    QTest::keyClick(edit.get(), Qt::Key_A);
    swallow = true;
    QTest::keyClick(edit.get(), Qt::Key_B);
    KeyboardHook::uninstall(hook);
    KeyboardHook::uninstall(nullptr); // unknown handles are ignored
    QTest::keyClick(edit.get(), Qt::Key_C);
    EXPECT_EQ(edit->text(), "ac");
    // One press and one release per key while installed, each seen once.
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].virtualKey, 'A');
    EXPECT_TRUE(seen[0].down);
    EXPECT_FALSE(seen[1].down);
    EXPECT_EQ(seen[2].virtualKey, 'B');
    EXPECT_EQ(KeyboardHook::installedCount(), 0);
}

TEST_F(KeyboardHookTest, TheNewestHookSeesKeysFirstAndCanHideThemFromOlderOnes) {
    std::vector<std::string> order;
    KeyboardHook* older = KeyboardHook::install([&](const KeyStroke&) {
        order.push_back("older");
        return false;
    });
    KeyboardHook* newer = KeyboardHook::install([&](const KeyStroke& stroke) {
        order.push_back("newer");
        return stroke.virtualKey == 'X';
    });
    QTest::keyPress(edit.get(), Qt::Key_Y);
    QTest::keyPress(edit.get(), Qt::Key_X);
    KeyboardHook::uninstall(newer);
    KeyboardHook::uninstall(older);
    EXPECT_EQ(order, (std::vector<std::string>{"newer", "older", "newer"}));
}

TEST_F(KeyboardHookTest, SwallowedKeysFireNoShortcut) {
    int fired = 0;
    QShortcut shortcut(QKeySequence(Qt::Key_F5), edit.get());
    shortcut.setContext(Qt::ApplicationShortcut);
    QObject::connect(&shortcut, &QShortcut::activated, [&] { ++fired; });
    QTest::keyClick(edit.get(), Qt::Key_F5);
    const int firedWithoutHook = fired;
    KeyboardHook* hook = KeyboardHook::install([](const KeyStroke&) { return true; });
    QTest::keyClick(edit.get(), Qt::Key_F5);
    KeyboardHook::uninstall(hook);
    EXPECT_EQ(fired, firedWithoutHook);
}

} // namespace
