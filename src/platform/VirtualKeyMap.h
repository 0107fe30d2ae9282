#pragma once
// Turns a Qt key event into the Windows virtual-key numbering that the keyboard hook procedures
// and the stored key bindings use.
#include <QtGlobal>
#include <Qt>

#include <cstdint>

namespace mvk::platform {

class VirtualKeyMap {
public:
    // The code of a key without one: no virtual key uses 0.
    static constexpr int32_t NoCode = 0;

    // Keys that do not depend on the layout (arrows, function keys, keypad, modifiers, media
    // keys) go by Qt's key; letters and digits by the character the layout produces; every
    // other printing key, and a letter or digit key the layout gives another character, by
    // its position: the native scan code (an xkb keycode, the evdev code + 8) names the key at
    // that place on a US keyboard. NoCode when neither tells.
    static int32_t codeOf(int qtKey, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode);

    // The code of the key at a position (an xkb keycode), or NoCode.
    static int32_t codeAtPosition(quint32 nativeScanCode);
};

} // namespace mvk::platform
