#include "FakeInput.h"
#include "unidevice/DummyDriver.h"
#include "unidevice/InputLayer.h"
#include "unidevice/WINHOOK_KeyboardDevice.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace qvn::test {
namespace {

// A widget that counts the key events that reach it.
class KeyCounter : public QWidget {
public:
    int presses = 0;
    int releases = 0;

protected:
    void keyPressEvent(QKeyEvent*) override { ++presses; }
    void keyReleaseEvent(QKeyEvent*) override { ++releases; }
};

class KeyboardTest : public InputTest {
protected:
    void SetUp() override {
        if (QCoreApplication::instance() == nullptr) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            static int argc = 1;
            static char name[] = "test_unidevice";
            static char* argv[] = {name, nullptr};
            new QApplication(argc, argv);
        }
        InputTest::SetUp();
        target = std::make_unique<KeyCounter>();
        new DummyDriver();
        keyboard = new WINHOOK_KeyboardDevice(reinterpret_cast<void*>(0x1234));
    }

    void send(QEvent::Type type, int key, bool autoRepeat = false) {
        static quint64 stamp = 0;
        QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
        event.setTimestamp(++stamp);
        QCoreApplication::sendEvent(target.get(), &event);
    }
    void press(int key, bool autoRepeat = false) { send(QEvent::KeyPress, key, autoRepeat); }
    Control* key(int code) const { return keyboard->key(code); }

    std::unique_ptr<KeyCounter> target;
    WINHOOK_KeyboardDevice* keyboard = nullptr;
};

TEST_F(KeyboardTest, RegistersTheStandardKeysInOrderAndTheirBindingsHaveNoDevicePart) {
    ASSERT_EQ(keyboard->controlCount(), 104);
    const std::pair<int, const char*> expected[] = {
        {0, "Left_Arrow"}, {7, "RETUR"}, {57, "+"}, {76, "Num_,"}, {103, "Right_MENU"}};
    for (const auto& [index, name] : expected) {
        EXPECT_EQ(keyboard->control(index)->type(), name) << index;
        EXPECT_EQ(keyboard->control(index)->description(), name) << index;
    }
    EXPECT_EQ(keyboard->control(31), key('A'));
    EXPECT_EQ(keyboard->control(78), key(112));
    EXPECT_EQ(keyboard->control(57), key(187));
    EXPECT_EQ(key('A')->kind(), ControlKind::Finite);
    const auto element = key('A')->toXML();
    EXPECT_EQ(element.toString("", "", ""),
              "<control type=\"A\" index=\"0\"><description>A</description></control>");
    EXPECT_EQ(handler()->findControl(element), key('A'));
}

TEST_F(KeyboardTest, PressHoldAndReleaseAndTheKeyAlwaysPassesOn) {
    keyboard->activate(0);
    ASSERT_TRUE(keyboard->isHooked());
    press(Qt::Key_Print);  // unregistered: its table entry moves, but it is never detected
    EXPECT_DOUBLE_EQ(key(44)->current(), 1.0);
    press(Qt::Key_A);
    EXPECT_DOUBLE_EQ(key('A')->current(), 1.0);
    EXPECT_DOUBLE_EQ(key('A')->previous(), 0.0);
    press(Qt::Key_A, true);  // auto-repeat
    EXPECT_DOUBLE_EQ(key('A')->current(), 1.0);
    EXPECT_DOUBLE_EQ(key('A')->previous(), 1.0);
    EXPECT_EQ(keyboard->detect(0, 0), nullptr);
    send(QEvent::KeyRelease, Qt::Key_A);
    EXPECT_DOUBLE_EQ(key('A')->current(), 0.0);
    EXPECT_DOUBLE_EQ(key('A')->previous(), 1.0);
    EXPECT_EQ(keyboard->detect(0, 0), key('A'));
    EXPECT_EQ(target->presses, 3);
    EXPECT_EQ(target->releases, 1);
}

TEST_F(KeyboardTest, UnlockedKeysBecomeBindableOnceAndSuperKeysMoveTheWindowsKeys) {
    keyboard->unlockKey(200);
    ASSERT_EQ(keyboard->controlCount(), 105);
    EXPECT_EQ(keyboard->control(104), key(200));
    for (int code : {65, 200, 300, -1})  // a standard key, one unlocked already, out of range
        mvk::unidevice::unlockKey(code);
    EXPECT_EQ(keyboard->controlCount(), 105);
    mvk::unidevice::unlockKey(0);
    EXPECT_EQ(keyboard->controlCount(), 106);
    EXPECT_EQ(key(0)->toXML().toString("", "", ""),
              "<control type=\"\" index=\"0\"><description>Key_0</description></control>");

    keyboard->activate(0);
    press(Qt::Key_Super_R);
    EXPECT_EQ(keyboard->detect(0, 0), keyboard->control(62));  // "Right_Windows_key"
    press(Qt::Key_Super_L);
    EXPECT_DOUBLE_EQ(key(91)->current(), 1.0);
    // A key without a code moves none, not even the unlocked key 0.
    press(Qt::Key_Launch5);
    send(QEvent::KeyRelease, Qt::Key_Launch5);
    EXPECT_DOUBLE_EQ(key(0)->current(), 0.0);
    EXPECT_DOUBLE_EQ(key(0)->previous(), 0.0);
    EXPECT_EQ(target->presses, 3);  // everything still passes on
}

} // namespace
} // namespace qvn::test
