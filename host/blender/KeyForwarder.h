#pragma once
// Keys typed into Blender's own windows, which Qt never sees, handed to the core's keyboard
// hook as Qt key events sent through the application, so the core's hot keys and its keyboard
// device see them exactly like keys typed into its own windows.
#include <string>

namespace qvn::host::blender {

class KeyForwarder {
public:
    // Blender names a key by its event type ("A", "SPACE", "LEFT_ARROW", "NUMPAD_4" ...).
    // Answers whether the core took the key (Blender should then not act on it); false for a key
    // without a Qt counterpart or when no Qt application runs.
    static bool forward(const std::string& blenderType, bool press, bool ctrl, bool alt,
                        bool shift);
    // The Qt key of a Blender event type, 0 when there is none.
    static int qtKeyOf(const std::string& blenderType, bool& keypad);
};

} // namespace qvn::host::blender
