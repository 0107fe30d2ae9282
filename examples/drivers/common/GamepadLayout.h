#pragma once
// The controls of a standard gamepad as the sample driver libraries expose them. Indices follow
// the common gamepad numbering (axes: left stick X/Y, right stick X/Y, left and right trigger;
// buttons: A, B, X, Y, Back, Guide, Start, stick clicks, shoulders, Misc, paddles, touchpad),
// so a binding made on one of the sample drivers reads naturally on the other.
#include <cstdint>
#include <vector>

namespace mvk::examples {

enum class GamepadSource {
    Stick,    // -1 .. 1
    Trigger,  // 0 .. 1
    Button,   // 0 or 1
    DpadX,    // -1 left, 0, +1 right
    DpadY,    // -1 up, 0, +1 down (like the sticks)
};

struct GamepadControlSpec {
    GamepadSource source;
    const char* type;         // "axis", "button" or "dpad"
    int32_t index;
    const char* description;
    const char* scriptName;   // name used by the simulated gamepad's script files
    uint32_t kind;
    double threshold;
};

// Sticks, triggers, the buttons other than the D-pad's, then the D-pad's two directions.
const std::vector<GamepadControlSpec>& standardGamepadControls();

} // namespace mvk::examples
