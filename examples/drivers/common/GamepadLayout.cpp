#include "GamepadLayout.h"

#include "unidevice/Control.h"

namespace mvk::examples {

using unidevice::ControlKind::Binary;
using unidevice::ControlKind::Finite;
using unidevice::ControlKind::Trinary;

// Sticks rest a little off centre on real hardware, so they need a larger push than a button
// before detection takes them.
constexpr double StickThreshold = 0.25;
constexpr double ButtonThreshold = 0.5;

const std::vector<GamepadControlSpec>& standardGamepadControls() {
    static const std::vector<GamepadControlSpec> controls = {
        {GamepadSource::Stick, "axis", 0, "Left Stick X", "leftx", Finite, StickThreshold},
        {GamepadSource::Stick, "axis", 1, "Left Stick Y", "lefty", Finite, StickThreshold},
        {GamepadSource::Stick, "axis", 2, "Right Stick X", "rightx", Finite, StickThreshold},
        {GamepadSource::Stick, "axis", 3, "Right Stick Y", "righty", Finite, StickThreshold},
        {GamepadSource::Trigger, "axis", 4, "Left Trigger", "lefttrigger", Finite, StickThreshold},
        {GamepadSource::Trigger, "axis", 5, "Right Trigger", "righttrigger", Finite, StickThreshold},
        {GamepadSource::Button, "button", 0, "A", "a", Binary, ButtonThreshold},
        {GamepadSource::Button, "button", 1, "B", "b", Binary, ButtonThreshold},
        {GamepadSource::Button, "button", 2, "X", "x", Binary, ButtonThreshold},
        {GamepadSource::Button, "button", 3, "Y", "y", Binary, ButtonThreshold},
        {GamepadSource::Button, "button", 4, "Back", "back", Binary, ButtonThreshold},
        {GamepadSource::Button, "button", 5, "Guide", "guide", Binary, ButtonThreshold},
        {GamepadSource::Button, "button", 6, "Start", "start", Binary, ButtonThreshold},
        {GamepadSource::Button, "button", 7, "Left Stick Click", "leftstick", Binary, ButtonThreshold},
        {GamepadSource::Button, "button", 8, "Right Stick Click", "rightstick", Binary, ButtonThreshold},
        {GamepadSource::Button, "button", 9, "Left Shoulder", "leftshoulder", Binary, ButtonThreshold},
        {GamepadSource::Button, "button", 10, "Right Shoulder", "rightshoulder", Binary, ButtonThreshold},
        {GamepadSource::Button, "button", 15, "Misc", "misc", Binary, ButtonThreshold},
        {GamepadSource::Button, "button", 16, "Paddle 1", "paddle1", Binary, ButtonThreshold},
        {GamepadSource::Button, "button", 17, "Paddle 2", "paddle2", Binary, ButtonThreshold},
        {GamepadSource::Button, "button", 18, "Paddle 3", "paddle3", Binary, ButtonThreshold},
        {GamepadSource::Button, "button", 19, "Paddle 4", "paddle4", Binary, ButtonThreshold},
        {GamepadSource::Button, "button", 20, "Touchpad", "touchpad", Binary, ButtonThreshold},
        {GamepadSource::DpadX, "dpad", 0, "D-Pad X", "dpadx", Trinary, ButtonThreshold},
        {GamepadSource::DpadY, "dpad", 1, "D-Pad Y", "dpady", Trinary, ButtonThreshold},
    };
    return controls;
}

} // namespace mvk::examples
