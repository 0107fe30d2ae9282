#include "platform/KeyboardHook.h"
#include "platform/VirtualKeyMap.h"

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
using mvk::platform::VirtualKeyMap;

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
        windowActive = QTest::qWaitForWindowActive(edit.get());
    }
    static QApplication* app;
    std::unique_ptr<QLineEdit> edit;
    bool windowActive = false;
};

QApplication* KeyboardHookTest::app = nullptr;

// Native scan codes as an X server or a Wayland compositor reports them (evdev code + 8).
constexpr quint32 Evdev = 8;

TEST_F(KeyboardHookTest, KeysGoByTheirMeaningOrElseByTheirPositionOnAUsKeyboard) {
    const struct {
        int key;
        quint32 scanCode;
        Qt::KeyboardModifiers modifiers;
        int32_t code;
    } cases[] = {
        // Layout-free keys go by their meaning.
        {Qt::Key_A, 0, Qt::NoModifier, 'A'},
        {Qt::Key_Left, 0, Qt::NoModifier, 37},
        {Qt::Key_F24, 0, Qt::NoModifier, 135},
        {Qt::Key_Super_R, 0, Qt::NoModifier, 92},
        {Qt::Key_VolumeDown, 0, Qt::NoModifier, 0xAE},
        {Qt::Key_5, 0, Qt::KeypadModifier, 101},
        {Qt::Key_Slash, 0, Qt::KeypadModifier, 111},
        // A German keyboard: umlauts, sharp s, the dead circumflex, the key beside left Shift,
        // and characters typed with Shift on the digit row.
        {Qt::Key_Adiaeresis, 40 + Evdev, Qt::NoModifier, 0xDE},
        {Qt::Key_Dead_Circumflex, 41 + Evdev, Qt::NoModifier, 0xC0},
        {Qt::Key_Less, 86 + Evdev, Qt::NoModifier, 0xE2},
        {Qt::Key_Slash, 8 + Evdev, Qt::NoModifier, '7'},
        {Qt::Key_Z, 21 + Evdev, Qt::NoModifier, 'Z'}, // letters follow the layout, as typed
        // A layout without Latin letters falls back to the letter at that place.
        {0x0424, 30 + Evdev, Qt::NoModifier, 'A'},
        // Without a scan code the character decides, as on a US layout.
        {Qt::Key_Exclam, 0, Qt::NoModifier, '1'},
        // Neither the key nor its place gives a code.
        {Qt::Key_Adiaeresis, 0, Qt::NoModifier, VirtualKeyMap::NoCode},
        {Qt::Key_Hyper_L, 250, Qt::NoModifier, VirtualKeyMap::NoCode},
    };
    for (const auto& c : cases) {
        QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers, c.scanCode, 0, 0);
        EXPECT_EQ(KeyboardHook::virtualKeyOf(event), c.code)
            << std::hex << "key " << c.key << " scan code " << c.scanCode;
    }
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

TEST_F(KeyboardHookTest, SwallowedKeysFireNoShortcutEvenWithoutACode) {
    int fired = 0;
    std::vector<int32_t> seen;
    std::vector<std::unique_ptr<QShortcut>> shortcuts;
    for (int key : {Qt::Key_F5, Qt::Key_Launch5}) {
        shortcuts.push_back(std::make_unique<QShortcut>(QKeySequence(key), edit.get()));
        shortcuts.back()->setContext(Qt::ApplicationShortcut);
        QObject::connect(shortcuts.back().get(), &QShortcut::activated, [&] { ++fired; });
    }
    QTest::keyClick(edit.get(), Qt::Key_F5);
    QTest::keyClick(edit.get(), Qt::Key_Launch5);
    ASSERT_TRUE(windowActive);
    ASSERT_EQ(fired, 2);
    KeyboardHook* hook = KeyboardHook::install([&](const KeyStroke& stroke) {
        seen.push_back(stroke.virtualKey);
        return true;
    });
    QTest::keyClick(edit.get(), Qt::Key_F5);
    // A key no table knows still reaches the procedure, with no code.
    QTest::keyClick(edit.get(), Qt::Key_Launch5);
    KeyboardHook::uninstall(hook);
    EXPECT_EQ(fired, 2);
    EXPECT_EQ(seen, (std::vector<int32_t>{116, 116, VirtualKeyMap::NoCode, VirtualKeyMap::NoCode}));
    EXPECT_TRUE(edit->text().isEmpty());
}

} // namespace
