// The SDL gamepad driver library, loaded the way the core loads it, driven by SDL's virtual
// controllers.
#include "FakeInput.h"
#include "unidevice/DriverLoader.h"
#include "unidevice/Property.h"

#include <SDL2/SDL.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace qvn::test {
namespace {

using mvk::util::xml::Element;
using mvk::util::xml::Tag;

const std::string library = std::string(QVN_DRIVER_DIR) + "/sdl_gamepad.so";

struct VirtualPad {
    SDL_Joystick* joystick = nullptr;
    SDL_JoystickID instance = -1;
};

class SdlDriverTest : public InputTest {
protected:
    void SetUp() override {
        InputTest::SetUp();
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER), 0);
    }
    void TearDown() override {
        while (!pads.empty())
            unplug(pads.back());
        InputTest::TearDown();
        loader.freeAll();
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
    }

    void load() {
        ASSERT_EQ(loader.loadLibrary(library, DriverContext()), DriverLoader::Loaded);
        ASSERT_NE(handler()->driver("sdlgamepad"), nullptr);
    }

    VirtualPad plug(const char* name) {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
        desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
        desc.name = name;
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        VirtualPad pad;
        pad.joystick = SDL_JoystickOpen(index);
        pad.instance = SDL_JoystickInstanceID(pad.joystick);
        pads.push_back(pad);
        return pad;
    }

    void unplug(const VirtualPad& pad) {
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == pad.instance)
                SDL_JoystickDetachVirtual(i);
        SDL_JoystickClose(pad.joystick);
        pads.erase(std::remove_if(pads.begin(), pads.end(),
                                  [&](const VirtualPad& p) { return p.instance == pad.instance; }),
                   pads.end());
    }

    static Element binding(const char* device, int devindex, const char* type, int index) {
        Element element = Tag("control");
        element.attribute("device") = device;
        if (devindex != 0)
            element.attribute("devindex") = std::to_string(devindex);
        element.attribute("type") = type;
        element.attribute("index") = std::to_string(index);
        return element;
    }
    Control* find(int devindex, const char* type, int index) {
        return handler()->findControl(binding("Virtual Pad", devindex, type, index));
    }

    DriverLoader loader;
    std::vector<VirtualPad> pads;
};

TEST_F(SdlDriverTest, ControllersOfOneNameAreToldApartByDevindex) {
    plug("Virtual Pad");  // present before the library loads
    load();
    plug("Virtual Pad");
    plug("Other Pad");
    EXPECT_EQ(handler()->deviceCount(), 1);
    handler()->updateAll();
    ASSERT_EQ(handler()->deviceCount(), 3);
    EXPECT_NE(handler()->device("Virtual Pad", 0), nullptr);
    EXPECT_NE(handler()->device("Virtual Pad", 1), nullptr);
    EXPECT_NE(handler()->device("Other Pad", 0), nullptr);
    EXPECT_EQ(handler()->driver("sdlgamepad")->deviceCount(), 3);
    EXPECT_EQ(handler()->device("Virtual Pad", 1)->driver(), handler()->driver("sdlgamepad"));
}

TEST_F(SdlDriverTest, ControlsAreNormalisedByKind) {
    load();
    const VirtualPad pad = plug("Virtual Pad");
    handler()->updateAll();
    Control* leftX = find(0, "axis", SDL_CONTROLLER_AXIS_LEFTX);
    Control* leftY = find(0, "axis", SDL_CONTROLLER_AXIS_LEFTY);
    Control* trigger = find(0, "axis", SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
    Control* a = find(0, "button", SDL_CONTROLLER_BUTTON_A);
    Control* dpadX = find(0, "dpad", 0);
    Control* dpadY = find(0, "dpad", 1);
    ASSERT_TRUE(leftX && leftY && trigger && a && dpadX && dpadY);
    EXPECT_EQ(find(0, "button", SDL_CONTROLLER_BUTTON_DPAD_UP), nullptr);  // part of the D-pad
    EXPECT_EQ(leftX->kind(), ControlKind::Finite);
    EXPECT_EQ(a->kind(), ControlKind::Binary);
    EXPECT_EQ(dpadX->kind(), ControlKind::Trinary);
    EXPECT_EQ(leftX->toXML().child("description").text(), "Virtual Pad: Left Stick X");

    SDL_JoystickSetVirtualAxis(pad.joystick, SDL_CONTROLLER_AXIS_LEFTX, 16384);
    SDL_JoystickSetVirtualAxis(pad.joystick, SDL_CONTROLLER_AXIS_LEFTY, -32768);
    SDL_JoystickSetVirtualAxis(pad.joystick, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    SDL_JoystickSetVirtualButton(pad.joystick, SDL_CONTROLLER_BUTTON_A, 1);
    SDL_JoystickSetVirtualButton(pad.joystick, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1);
    SDL_JoystickSetVirtualButton(pad.joystick, SDL_CONTROLLER_BUTTON_DPAD_DOWN, 1);
    handler()->updateAll();
    EXPECT_NEAR(leftX->current(), 0.5, 1e-4);
    EXPECT_DOUBLE_EQ(leftX->previous(), 0.0);
    EXPECT_DOUBLE_EQ(leftY->current(), -1.0);
    EXPECT_DOUBLE_EQ(trigger->current(), 1.0);
    EXPECT_DOUBLE_EQ(a->current(), 1.0);
    EXPECT_DOUBLE_EQ(dpadX->current(), -1.0);
    EXPECT_DOUBLE_EQ(dpadY->current(), 1.0);
    handler()->updateAll();
    EXPECT_NEAR(leftX->previous(), 0.5, 1e-4);

    SDL_JoystickSetVirtualAxis(pad.joystick, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
    SDL_JoystickSetVirtualButton(pad.joystick, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 1);
    handler()->updateAll();
    EXPECT_DOUBLE_EQ(trigger->current(), 0.0);
    EXPECT_DOUBLE_EQ(dpadX->current(), 0.0);  // both directions held cancel out
}

TEST_F(SdlDriverTest, AControllerPluggedBackGetsItsDevindexAndItsBindingsBack) {
    load();
    const VirtualPad first = plug("Virtual Pad");
    const VirtualPad second = plug("Virtual Pad");
    handler()->updateAll();
    Property steer("steer", ControlKind::Finite);
    Property zoom("zoom", ControlKind::Finite);
    steer.setDeadzone(0);
    zoom.setDeadzone(0);
    steer.bind(find(0, "axis", SDL_CONTROLLER_AXIS_LEFTX));
    zoom.bind(find(1, "axis", SDL_CONTROLLER_AXIS_LEFTX));
    ASSERT_NE(steer.control(), nullptr);
    ASSERT_NE(zoom.control(), nullptr);
    SDL_JoystickSetVirtualAxis(second.joystick, SDL_CONTROLLER_AXIS_LEFTX, 32767);

    unplug(first);
    handler()->updateAll();
    EXPECT_EQ(handler()->device("Virtual Pad", 0), nullptr);
    EXPECT_EQ(steer.control(), nullptr);
    EXPECT_DOUBLE_EQ(steer.value(), 0.0);
    EXPECT_EQ(zoom.control()->device(), handler()->device("Virtual Pad", 1));
    EXPECT_DOUBLE_EQ(zoom.value(), 1.0);
    // The first controller's binding carries no devindex: meanwhile it names the first
    // controller of that name that is left.
    EXPECT_EQ(handler()->findControl(steer.binding()), zoom.control());

    const VirtualPad back = plug("Virtual Pad");
    handler()->updateAll();
    ASSERT_NE(handler()->device("Virtual Pad", 0), nullptr);
    EXPECT_LT(handler()->deviceIndex(handler()->device("Virtual Pad", 0)),
              handler()->deviceIndex(handler()->device("Virtual Pad", 1)));
    EXPECT_EQ(zoom.control(), handler()->findControl(zoom.binding()));
    Control* found = handler()->findControl(steer.binding());
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->device(), handler()->device("Virtual Pad", 0));
    steer.bind(found);
    SDL_JoystickSetVirtualAxis(back.joystick, SDL_CONTROLLER_AXIS_LEFTX, -32768);
    handler()->updateAll();
    EXPECT_DOUBLE_EQ(steer.value(), -1.0);
}

TEST_F(SdlDriverTest, DetectionHonoursEachControlsThresholdAndMeasuresFromTheBaseline) {
    load();
    const VirtualPad first = plug("Virtual Pad");
    const VirtualPad second = plug("Virtual Pad");
    SDL_JoystickSetVirtualAxis(first.joystick, SDL_CONTROLLER_AXIS_RIGHTY, 8000);  // resting off centre
    ASSERT_TRUE(handler()->prepareDetectionAll());
    EXPECT_EQ(handler()->detectControl(), nullptr);

    SDL_JoystickSetVirtualAxis(first.joystick, SDL_CONTROLLER_AXIS_RIGHTY, 8000 + 6000);
    EXPECT_EQ(handler()->detectControl(), nullptr);  // below the sticks' threshold
    // A slow push adds up: the change counts from the baseline, not from the last poll.
    SDL_JoystickSetVirtualAxis(first.joystick, SDL_CONTROLLER_AXIS_RIGHTY, 8000 + 12000);
    EXPECT_EQ(handler()->detectControl(), find(0, "axis", SDL_CONTROLLER_AXIS_RIGHTY));

    SDL_JoystickSetVirtualButton(second.joystick, SDL_CONTROLLER_BUTTON_B, 1);
    EXPECT_EQ(handler()->detectControl(), find(1, "button", SDL_CONTROLLER_BUTTON_B));
    const ControlList excluded{find(1, "button", SDL_CONTROLLER_BUTTON_B)};
    EXPECT_EQ(handler()->detectControl(&excluded), find(0, "axis", SDL_CONTROLLER_AXIS_RIGHTY));
}

TEST_F(SdlDriverTest, ShutDownLeavesOtherUsersOfSdlAlone) {
    load();
    plug("Virtual Pad");
    handler()->updateAll();
    dropHandler();
    loader.freeAll();
    EXPECT_NE(SDL_WasInit(SDL_INIT_JOYSTICK), 0u);
    EXPECT_EQ(SDL_NumJoysticks(), 1);
}

} // namespace
} // namespace qvn::test
