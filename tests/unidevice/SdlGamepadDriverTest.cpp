// The SDL gamepad driver library, loaded the way the core loads it, driven by SDL's virtual
// controllers.
#include "FakeInput.h"
#include "unidevice/Property.h"

#include <SDL2/SDL.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace qvn::test {
namespace {

using mvk::util::xml::Element;
using mvk::util::xml::Tag;

class SdlDriverTest : public DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER), 0);
    }
    void TearDown() override {
        while (!pads.empty())
            unplug(pads.back());
        DriverTest::TearDown();
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
    }

    void load() {
        ASSERT_EQ(loader.loadLibrary(std::string(QVN_DRIVER_DIR) + "/sdl_gamepad.so",
                                     DriverContext()),
                  DriverLoader::Loaded);
    }

    // A virtual controller; another vendor and product make another model of the same name.
    SDL_Joystick* plug(const char* name, uint16_t vendor = 0, uint16_t product = 0) {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
        desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
        desc.name = name;
        desc.vendor_id = vendor;
        desc.product_id = product;
        pads.push_back(SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&desc)));
        return pads.back();
    }

    void unplug(SDL_Joystick* pad) {
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == SDL_JoystickInstanceID(pad))
                SDL_JoystickDetachVirtual(i);
        SDL_JoystickClose(pad);
        pads.erase(std::find(pads.begin(), pads.end(), pad));
    }

    Control* find(int devindex, const char* type, int index) {
        Element element = Tag("control");
        element.attribute("device") = "Virtual Pad";
        if (devindex != 0)
            element.attribute("devindex") = std::to_string(devindex);
        element.attribute("type") = type;
        element.attribute("index") = std::to_string(index);
        return handler()->findControl(element);
    }

    std::vector<SDL_Joystick*> pads;
};

TEST_F(SdlDriverTest, ControlsAreNormalisedByKindAndShutDownLeavesSdlAlone) {
    load();
    SDL_Joystick* pad = plug("Virtual Pad");
    handler()->updateAll();
    EXPECT_EQ(find(0, "button", SDL_CONTROLLER_BUTTON_DPAD_UP), nullptr);  // part of the D-pad
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, 16384);
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTY, -32768);
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 1);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN, 1);
    handler()->updateAll();
    const std::tuple<const char*, int, uint32_t, double> expected[] = {
        {"axis", SDL_CONTROLLER_AXIS_LEFTX, ControlKind::Finite, 0.5},
        {"axis", SDL_CONTROLLER_AXIS_LEFTY, ControlKind::Finite, -1.0},
        {"axis", SDL_CONTROLLER_AXIS_TRIGGERRIGHT, ControlKind::Finite, 1.0},
        {"button", SDL_CONTROLLER_BUTTON_A, ControlKind::Binary, 1.0},
        {"dpad", 0, ControlKind::Trinary, -1.0},
        {"dpad", 1, ControlKind::Trinary, 1.0}};
    for (const auto& [type, index, kind, value] : expected) {
        Control* control = find(0, type, index);
        ASSERT_NE(control, nullptr) << type << index;
        EXPECT_EQ(control->kind(), kind) << type << index;
        EXPECT_NEAR(control->current(), value, 1e-4) << type << index;
    }
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 1);
    handler()->updateAll();
    EXPECT_NEAR(find(0, "axis", SDL_CONTROLLER_AXIS_LEFTX)->previous(), 0.5, 1e-4);
    EXPECT_EQ(find(0, "axis", SDL_CONTROLLER_AXIS_TRIGGERRIGHT)->current(), 0.0);
    EXPECT_EQ(find(0, "dpad", 0)->current(), 0.0);  // both directions held cancel out
    // Shutting down leaves other users of SDL alone.
    dropHandler();
    loader.freeAll();
    EXPECT_NE(SDL_WasInit(SDL_INIT_JOYSTICK), 0u);
    EXPECT_EQ(SDL_NumJoysticks(), 1);
}

TEST_F(SdlDriverTest, AnUnpluggedControllerRestsAndTheOnePluggedBackResumesItsBindings) {
    load();
    SDL_Joystick* pad = plug("Virtual Pad");
    plug("Other Pad");
    handler()->updateAll();
    ASSERT_TRUE(handler()->activateAll());
    // Bound the way a profile binds: by the stored element, which names no devindex.
    Property steer("steer", ControlKind::Finite);
    steer.setDeadzone(0);
    steer.setBinding(find(0, "axis", SDL_CONTROLLER_AXIS_LEFTX)->toXML());
    steer.bind(handler()->findControl(steer.binding()));
    Control* const bound = steer.control();
    ASSERT_NE(bound, nullptr);
    Device* const device = bound->device();
    const int32_t devices = handler()->deviceCount();

    std::vector<double> values;
    for (int frame = 0; frame < 6; ++frame) {
        if (frame == 2)
            unplug(pad);
        if (frame == 4)
            pad = plug("Virtual Pad");
        if (pad != nullptr)
            SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, frame % 2 ? 32767 : -32768);
        if (frame == 2)
            pad = nullptr;
        handler()->updateAll();
        values.push_back(steer.value());
        EXPECT_EQ(steer.control(), bound) << frame;
        EXPECT_EQ(handler()->deviceCount(), devices) << frame;
        EXPECT_EQ(handler()->device("Virtual Pad", 0), device) << frame;
    }
    EXPECT_EQ(values, (std::vector<double>{-1.0, 1.0, 0.0, 0.0, -1.0, 1.0}));
    // Pulled out while held, the stick drops to rest: no movement to detect. Only connected
    // controllers are ready for detection; the waiting device is not one of them.
    ASSERT_TRUE(handler()->prepareDetectionAll());
    unplug(pad);
    EXPECT_EQ(handler()->detectControl(), nullptr);
    EXPECT_EQ(handler()->driver("sdlgamepad")->prepareDetection(), 1);
}

TEST_F(SdlDriverTest, IdenticalControllersKeepTheirOwnBindingsAcrossReconnections) {
    SDL_Joystick* first = plug("Virtual Pad");  // present before the library loads
    load();
    SDL_Joystick* second = plug("Virtual Pad");
    EXPECT_EQ(handler()->deviceCount(), 1);
    handler()->updateAll();
    ASSERT_EQ(handler()->driver("sdlgamepad")->deviceCount(), 2);
    Property steer("steer", ControlKind::Finite);
    Property zoom("zoom", ControlKind::Finite);
    steer.setDeadzone(0);
    zoom.setDeadzone(0);
    steer.bind(find(0, "axis", SDL_CONTROLLER_AXIS_LEFTX));
    zoom.bind(find(1, "axis", SDL_CONTROLLER_AXIS_LEFTX));
    ASSERT_TRUE(steer.control() && zoom.control());
    auto follow = [&](SDL_Joystick* forSteer, SDL_Joystick* forZoom) {
        SDL_JoystickSetVirtualAxis(forSteer, SDL_CONTROLLER_AXIS_LEFTX, 32767);
        SDL_JoystickSetVirtualAxis(forZoom, SDL_CONTROLLER_AXIS_LEFTX, -32768);
        handler()->updateAll();
        return std::pair(steer.value(), zoom.value());
    };
    EXPECT_EQ(follow(first, second), std::pair(1.0, -1.0));

    // The second goes away and comes back: it takes the second device, not the first.
    unplug(second);
    handler()->updateAll();
    EXPECT_EQ(zoom.value(), 0.0);
    second = plug("Virtual Pad");
    EXPECT_EQ(follow(first, second), std::pair(1.0, -1.0));

    // Both go; whichever comes first takes the lower devindex.
    unplug(first);
    unplug(second);
    handler()->updateAll();
    EXPECT_EQ(std::pair(steer.value(), zoom.value()), std::pair(0.0, 0.0));
    first = plug("Virtual Pad");
    second = plug("Virtual Pad");
    EXPECT_EQ(follow(first, second), std::pair(1.0, -1.0));
    EXPECT_EQ(handler()->driver("sdlgamepad")->deviceCount(), 2);

    // Same name, another model (another GUID): a device of its own.
    unplug(second);
    plug("Virtual Pad", 0x1234, 0x5678);
    handler()->updateAll();
    EXPECT_NE(handler()->device("Virtual Pad", 2), nullptr);
    EXPECT_EQ(zoom.control()->device(), handler()->device("Virtual Pad", 1));
    EXPECT_EQ(zoom.value(), 0.0);
}

TEST_F(SdlDriverTest, DetectionHonoursEachControlsThresholdAndMeasuresFromTheBaseline) {
    load();
    SDL_Joystick* first = plug("Virtual Pad");
    SDL_Joystick* second = plug("Virtual Pad");
    SDL_JoystickSetVirtualAxis(first, SDL_CONTROLLER_AXIS_RIGHTY, 8000);  // resting off centre
    ASSERT_TRUE(handler()->prepareDetectionAll());
    EXPECT_EQ(handler()->detectControl(), nullptr);
    SDL_JoystickSetVirtualAxis(first, SDL_CONTROLLER_AXIS_RIGHTY, 8000 + 6000);
    EXPECT_EQ(handler()->detectControl(), nullptr);  // below the sticks' threshold
    // A slow push adds up: the change counts from the baseline, not from the last poll.
    SDL_JoystickSetVirtualAxis(first, SDL_CONTROLLER_AXIS_RIGHTY, 8000 + 12000);
    EXPECT_EQ(handler()->detectControl(), find(0, "axis", SDL_CONTROLLER_AXIS_RIGHTY));
    SDL_JoystickSetVirtualButton(second, SDL_CONTROLLER_BUTTON_B, 1);
    EXPECT_EQ(handler()->detectControl(), find(1, "button", SDL_CONTROLLER_BUTTON_B));
    const ControlList excluded{find(1, "button", SDL_CONTROLLER_BUTTON_B)};
    EXPECT_EQ(handler()->detectControl(&excluded), find(0, "axis", SDL_CONTROLLER_AXIS_RIGHTY));
}

} // namespace
} // namespace qvn::test
