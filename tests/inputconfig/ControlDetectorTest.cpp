// Detection scripted the way a user works the detection dialog: press or move, confirm, retry,
// cancel; with a real game-controller driver on SDL's virtual joysticks and the keyboard device.
#include "core/windows/ControlDetector.h"
#include "core/recording/TimerManager.h"
#include "gui/Toolkit.h"
#include "unidevice/DeviceHandler.h"
#include "unidevice/DriverLoader.h"
#include "unidevice/DummyDriver.h"
#include "unidevice/EmulatedTrinaryDevice.h"
#include "unidevice/Property.h"
#include "unidevice/WINHOOK_KeyboardDevice.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QWidget>

#include <SDL2/SDL.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace qvn::test {
namespace {

using namespace mvk::unidevice;
using mvk::qvn::core::ControlDetector;
using mvk::qvn::core::TimerManager;

class ControlDetectorTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The toolkit's application object, which a core attached later in the process
        // reuses; an application of our own would meet a second one made by that core.
        mvk::gui::Toolkit::start();
        focus = std::make_unique<QWidget>();
        dropHandler();
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER), 0);
        // The order the core starts its input layer in.
        new DummyDriver();
        keyboard = new WINHOOK_KeyboardDevice(reinterpret_cast<void*>(0x1234));
        ASSERT_EQ(
            loader.loadLibrary(std::string(QVN_DRIVER_DIR) + "/sdl_gamepad.so", DriverContext()),
            DriverLoader::Loaded);
        new EmulatedTrinaryDevice();
    }
    void TearDown() override {
        detector.reset();
        while (!pads.empty())
            unplug(pads.back());
        dropHandler();
        loader.freeAll();
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
    }
    static void dropHandler() {
        if (DeviceHandler* handler = DeviceHandler::existing())
            handler->destroy();
    }
    static DeviceHandler* handler() { return DeviceHandler::instance(); }

    SDL_Joystick* plug() {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
        desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
        desc.name = "Virtual Pad";
        pads.push_back(SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&desc)));
        handler()->updateAll();
        return pads.back();
    }
    void unplug(SDL_Joystick* pad) {
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == SDL_JoystickInstanceID(pad))
                SDL_JoystickDetachVirtual(i);
        SDL_JoystickClose(pad);
        std::erase(pads, pad);
    }

    ControlDetector& detect(Property& property) {
        detector = std::make_unique<ControlDetector>(&property);
        detector->start();
        return *detector;
    }
    // Lets the timer service run until `done` holds; false after two seconds without it.
    static bool runUntil(const std::function<bool()>& done) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return done();
    }
    // The Qt timers the service runs, by interval.
    static QList<int> runningIntervals() {
        QList<int> intervals;
        for (const auto& timer :
             QAbstractEventDispatcher::instance()->registeredTimers(&TimerManager::service()))
            intervals.push_back(static_cast<int>(timer.interval));
        return intervals;
    }
    void press(int key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(focus.get(), &event);
    }

    DriverLoader loader;
    WINHOOK_KeyboardDevice* keyboard = nullptr;
    std::vector<SDL_Joystick*> pads;
    std::unique_ptr<ControlDetector> detector;
    std::unique_ptr<QWidget> focus;
};

TEST_F(ControlDetectorTest, TwoButtonsMakeOneTrinaryControlWithTheFirstAsPositive) {
    SDL_Joystick* pad = plug();
    Property steer("steer", ControlKind::Trinary);
    steer.setDeadzone(0);
    ControlDetector& detection = detect(steer);
    EXPECT_EQ(detection.label(), ControlDetector::PressText);
    EXPECT_EQ(runningIntervals(), QList<int>{30});

    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_X, 1);
    ASSERT_TRUE(runUntil([&] { return detection.firstButton() != nullptr; }));
    Control* first = detection.firstButton();
    EXPECT_EQ(first->type(), "button");
    EXPECT_EQ(detection.label(), ControlDetector::AnotherText);
    EXPECT_EQ(detection.candidateLabel(), "Virtual Pad: X");
    EXPECT_EQ(detection.secondExclusions(), ControlList{first});
    EXPECT_TRUE(detection.isWaiting());
    EXPECT_EQ(runningIntervals(), QList<int>{30});

    // The first button again is not the second one, even when it is pressed anew.
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_X, 0);
    handler()->updateAll();
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_X, 1);
    detection.onTimer(ControlDetector::SecondTimerId, 0);
    EXPECT_EQ(detection.secondControl(), nullptr);

    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_B, 1);
    ASSERT_TRUE(runUntil([&] { return detection.secondControl() != nullptr; }));
    EXPECT_TRUE(runningIntervals().isEmpty());
    EXPECT_EQ(detection.label(), ControlDetector::ConfirmText);
    Control* emulated = detection.candidate();
    ASSERT_NE(emulated, nullptr);
    EXPECT_EQ(emulated->device()->name(), "TrinaryEmulator");
    EXPECT_EQ(detection.candidateLabel(),
              "TrinaryEmulator: emulated control (Virtual Pad:X, Virtual Pad:B)");

    ASSERT_TRUE(detection.accept());
    EXPECT_EQ(steer.control(), emulated);
    EXPECT_EQ(steer.binding().attribute("device"), "TrinaryEmulator");
    // X drives the positive direction, B the negative.
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_B, 0);
    handler()->updateAll();
    EXPECT_EQ(steer.value(), 1.0);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_X, 0);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_B, 1);
    handler()->updateAll();
    EXPECT_EQ(steer.value(), -1.0);
}

TEST_F(ControlDetectorTest, AxisDirectionRetryAndCancelKeepWhatTheUserDidNotConfirm) {
    SDL_Joystick* pad = plug();
    Property zoom("zoom", ControlKind::Finite);
    Control* old = keyboard->key('Z');
    zoom.bind(old);
    zoom.setBinding(old->toXML());
    ControlDetector& detection = detect(zoom);

    // A stick pushed down: its value falls.
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTY, -32768);
    ASSERT_TRUE(runUntil([&] { return detection.candidate() != nullptr; }));
    EXPECT_FALSE(detection.isPositive());
    EXPECT_EQ(detection.candidateLabel(), "Virtual Pad: Left Stick Y");
    EXPECT_EQ(detection.firstButton(), nullptr); // an axis is accepted as it is

    // Retry forgets it and waits again; the stick held still is not found a second time.
    detection.retry();
    EXPECT_EQ(detection.candidateLabel(), ControlDetector::NoControlText);
    detection.onTimer(ControlDetector::FirstTimerId, 0);
    EXPECT_EQ(detection.candidate(), nullptr);
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_RIGHTX, 32767);
    ASSERT_TRUE(runUntil([&] { return detection.candidate() != nullptr; }));
    EXPECT_TRUE(detection.isPositive());

    detection.cancel();
    EXPECT_TRUE(runningIntervals().isEmpty());
    EXPECT_EQ(zoom.control(), old);
    EXPECT_EQ(zoom.binding().attribute("type"), "Z");
}

TEST_F(ControlDetectorTest, AKeyForAThreeWayInputWaitsForTheOtherKeyAndWithoutADeviceNothingPolls) {
    // A key reports itself as a one-way axis; an input that takes axes is offered it as it is.
    Property zoom("zoom", ControlKind::Finite);
    ControlDetector& axisDetection = detect(zoom);
    press(Qt::Key_Left);
    axisDetection.onTimer(ControlDetector::FirstTimerId, 0);
    ASSERT_EQ(axisDetection.candidate(), keyboard->key(37));
    EXPECT_EQ(axisDetection.label(), ControlDetector::ConfirmText);
    EXPECT_EQ(axisDetection.firstButton(), nullptr);
    EXPECT_FALSE(keyboard->isHooked()); // switched off until recording switches it on
    EXPECT_EQ(axisDetection.candidateLabel(), "Left_Arrow");
    axisDetection.cancel();

    // An input that turns both ways and takes no buttons cannot be driven by one key: the key
    // is the first of two, and the keyboard stays on for the second.
    Property pan("pan", ControlKind::Trinary);
    ControlDetector& detection = detect(pan);
    ASSERT_EQ(detection.label(), ControlDetector::PressText); // the keyboard is always ready
    press(Qt::Key_Right);
    detection.onTimer(ControlDetector::FirstTimerId, 0);
    EXPECT_EQ(detection.label(), ControlDetector::AnotherText);
    EXPECT_EQ(detection.firstButton(), keyboard->key(39));
    EXPECT_TRUE(keyboard->isHooked());

    // No keyboard and no controller: nothing to wait for, nothing to confirm.
    keyboard->destroy();
    detection.retry();
    EXPECT_EQ(detection.label(), ControlDetector::NoDeviceText);
    EXPECT_TRUE(runningIntervals().isEmpty());
    EXPECT_FALSE(detection.accept());
    EXPECT_EQ(pan.control(), nullptr);
}

TEST_F(ControlDetectorTest, AControllerUnpluggedBetweenTheTwoButtonsIsUsedAgainWhenItReturns) {
    SDL_Joystick* pad = plug();
    Property steer("steer", ControlKind::Trinary);
    ControlDetector& detection = detect(steer);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_Y, 1);
    ASSERT_TRUE(runUntil([&] { return detection.firstButton() != nullptr; }));
    unplug(pad);
    handler()->updateAll();
    pad = plug();
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 1);
    ASSERT_TRUE(runUntil([&] { return detection.secondControl() != nullptr; }));
    ASSERT_TRUE(detection.accept());
    handler()->updateAll();
    EXPECT_EQ(steer.value(), -1.0);
    // The binding written down names both buttons and finds the same control again.
    EXPECT_EQ(handler()->findControl(steer.binding()), steer.control());
}

} // namespace
} // namespace qvn::test
