#include "KeyForwarder.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include <unordered_map>

namespace qvn::host::blender {

namespace {

const std::unordered_map<std::string, int>& namedKeys() {
    static const std::unordered_map<std::string, int> keys = {
        {"ZERO", Qt::Key_0},
        {"ONE", Qt::Key_1},
        {"TWO", Qt::Key_2},
        {"THREE", Qt::Key_3},
        {"FOUR", Qt::Key_4},
        {"FIVE", Qt::Key_5},
        {"SIX", Qt::Key_6},
        {"SEVEN", Qt::Key_7},
        {"EIGHT", Qt::Key_8},
        {"NINE", Qt::Key_9},
        {"SPACE", Qt::Key_Space},
        {"ESC", Qt::Key_Escape},
        {"RET", Qt::Key_Return},
        {"TAB", Qt::Key_Tab},
        {"BACK_SPACE", Qt::Key_Backspace},
        {"DEL", Qt::Key_Delete},
        {"INSERT", Qt::Key_Insert},
        {"HOME", Qt::Key_Home},
        {"END", Qt::Key_End},
        {"PAGE_UP", Qt::Key_PageUp},
        {"PAGE_DOWN", Qt::Key_PageDown},
        {"LEFT_ARROW", Qt::Key_Left},
        {"RIGHT_ARROW", Qt::Key_Right},
        {"UP_ARROW", Qt::Key_Up},
        {"DOWN_ARROW", Qt::Key_Down},
        {"LEFT_SHIFT", Qt::Key_Shift},
        {"RIGHT_SHIFT", Qt::Key_Shift},
        {"LEFT_CTRL", Qt::Key_Control},
        {"RIGHT_CTRL", Qt::Key_Control},
        {"LEFT_ALT", Qt::Key_Alt},
        {"RIGHT_ALT", Qt::Key_Alt},
        {"MINUS", Qt::Key_Minus},
        {"EQUAL", Qt::Key_Equal},
        {"COMMA", Qt::Key_Comma},
        {"PERIOD", Qt::Key_Period},
        {"SLASH", Qt::Key_Slash},
        {"BACK_SLASH", Qt::Key_Backslash},
        {"SEMI_COLON", Qt::Key_Semicolon},
        {"QUOTE", Qt::Key_Apostrophe},
        {"ACCENT_GRAVE", Qt::Key_QuoteLeft},
        {"LEFT_BRACKET", Qt::Key_BracketLeft},
        {"RIGHT_BRACKET", Qt::Key_BracketRight},
        {"PAUSE", Qt::Key_Pause},
    };
    return keys;
}

const std::unordered_map<std::string, int>& keypadKeys() {
    static const std::unordered_map<std::string, int> keys = {
        {"NUMPAD_PERIOD", Qt::Key_Period},    {"NUMPAD_SLASH", Qt::Key_Slash},
        {"NUMPAD_ASTERIX", Qt::Key_Asterisk}, {"NUMPAD_MINUS", Qt::Key_Minus},
        {"NUMPAD_PLUS", Qt::Key_Plus},        {"NUMPAD_ENTER", Qt::Key_Enter},
    };
    return keys;
}

} // namespace

int KeyForwarder::qtKeyOf(const std::string& type, bool& keypad) {
    keypad = false;
    if (type.size() == 1 && type[0] >= 'A' && type[0] <= 'Z')
        return Qt::Key_A + (type[0] - 'A');
    if (type.size() >= 2 && type[0] == 'F' &&
        type.find_first_not_of("0123456789", 1) == std::string::npos) {
        const int number = std::stoi(type.substr(1));
        return number >= 1 && number <= 24 ? Qt::Key_F1 + number - 1 : 0;
    }
    if (type.size() == 8 && type.rfind("NUMPAD_", 0) == 0 && type[7] >= '0' && type[7] <= '9') {
        keypad = true;
        return Qt::Key_0 + (type[7] - '0');
    }
    if (const auto found = keypadKeys().find(type); found != keypadKeys().end()) {
        keypad = true;
        return found->second;
    }
    const auto found = namedKeys().find(type);
    return found != namedKeys().end() ? found->second : 0;
}

bool KeyForwarder::forward(const std::string& type, bool press, bool ctrl, bool alt, bool shift) {
    QCoreApplication* application = QCoreApplication::instance();
    bool keypad = false;
    const int key = qtKeyOf(type, keypad);
    if (application == nullptr || key == 0)
        return false;
    Qt::KeyboardModifiers modifiers;
    modifiers.setFlag(Qt::ControlModifier, ctrl);
    modifiers.setFlag(Qt::AltModifier, alt);
    modifiers.setFlag(Qt::ShiftModifier, shift);
    modifiers.setFlag(Qt::KeypadModifier, keypad);
    QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, key, modifiers);
    // The hook watches every event the application delivers; the application itself is a
    // receiver that no widget or shortcut acts on.
    return QCoreApplication::sendEvent(application, &event);
}

} // namespace qvn::host::blender
