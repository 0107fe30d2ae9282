#include "platform/KeyboardHook.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace mvk::platform {

namespace {

std::vector<KeyboardHook*>& hooks() {
    static std::vector<KeyboardHook*> installed;
    return installed;
}

int32_t keypadCode(int key) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return 96 + (key - Qt::Key_0);
    switch (key) {
    case Qt::Key_Asterisk: return 106;
    case Qt::Key_Plus: return 107;
    case Qt::Key_Enter: return 13;
    case Qt::Key_Minus: return 109;
    case Qt::Key_Period:
    case Qt::Key_Comma: return 110;
    case Qt::Key_Slash: return 111;
    default: return -1;
    }
}

const std::unordered_map<int, int32_t>& namedKeys() {
    static const std::unordered_map<int, int32_t> table = {
        {Qt::Key_Backspace, 8},   {Qt::Key_Tab, 9},        {Qt::Key_Backtab, 9},
        {Qt::Key_Clear, 12},      {Qt::Key_Return, 13},    {Qt::Key_Enter, 13},
        {Qt::Key_Shift, 16},      {Qt::Key_Control, 17},   {Qt::Key_Alt, 18},
        {Qt::Key_AltGr, 18},      {Qt::Key_Pause, 19},     {Qt::Key_CapsLock, 20},
        {Qt::Key_Escape, 27},     {Qt::Key_Space, 32},     {Qt::Key_PageUp, 33},
        {Qt::Key_PageDown, 34},   {Qt::Key_End, 35},       {Qt::Key_Home, 36},
        {Qt::Key_Left, 37},       {Qt::Key_Up, 38},        {Qt::Key_Right, 39},
        {Qt::Key_Down, 40},       {Qt::Key_Select, 41},    {Qt::Key_Print, 44},
        {Qt::Key_Insert, 45},     {Qt::Key_Delete, 46},    {Qt::Key_Help, 47},
        {Qt::Key_Meta, 91},       {Qt::Key_Menu, 93},      {Qt::Key_Sleep, 95},
        {Qt::Key_NumLock, 144},   {Qt::Key_ScrollLock, 145},
        {Qt::Key_Semicolon, 186}, {Qt::Key_Colon, 186},    {Qt::Key_Equal, 187},
        {Qt::Key_Plus, 187},      {Qt::Key_Comma, 188},    {Qt::Key_Less, 188},
        {Qt::Key_Minus, 189},     {Qt::Key_Underscore, 189}, {Qt::Key_Period, 190},
        {Qt::Key_Greater, 190},   {Qt::Key_Slash, 191},    {Qt::Key_Question, 191},
        {Qt::Key_QuoteLeft, 192}, {Qt::Key_AsciiTilde, 192}, {Qt::Key_BracketLeft, 219},
        {Qt::Key_BraceLeft, 219}, {Qt::Key_Backslash, 220}, {Qt::Key_Bar, 220},
        {Qt::Key_BracketRight, 221}, {Qt::Key_BraceRight, 221}, {Qt::Key_Apostrophe, 222},
        {Qt::Key_QuoteDbl, 222},
        // Shifted digits on a US layout, so a press without a scan code still maps.
        {Qt::Key_Exclam, '1'},    {Qt::Key_At, '2'},       {Qt::Key_NumberSign, '3'},
        {Qt::Key_Dollar, '4'},    {Qt::Key_Percent, '5'},  {Qt::Key_AsciiCircum, '6'},
        {Qt::Key_Ampersand, '7'}, {Qt::Key_Asterisk, '8'}, {Qt::Key_ParenLeft, '9'},
        {Qt::Key_ParenRight, '0'},
    };
    return table;
}

int32_t codeOf(const QKeyEvent& event) {
    const int key = event.key();
    if (event.modifiers() & Qt::KeypadModifier) {
        const int32_t code = keypadCode(key);
        if (code >= 0)
            return code;
    }
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return static_cast<int32_t>(key);  // Qt's codes are the upper-case ASCII values
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 112 + (key - Qt::Key_F1);
    const auto& table = namedKeys();
    const auto found = table.find(key);
    return found == table.end() ? 0 : found->second;
}

} // namespace

KeyboardHook::KeyboardHook(KeyProcedure procedure) : procedure(std::move(procedure)) {}

KeyboardHook::~KeyboardHook() = default;

KeyboardHook* KeyboardHook::install(KeyProcedure procedure) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr)
        return nullptr;
    auto* hook = new KeyboardHook(std::move(procedure));
    app->installEventFilter(hook);
    hooks().push_back(hook);
    return hook;
}

void KeyboardHook::uninstall(KeyboardHook* hook) {
    auto& list = hooks();
    const auto found = std::find(list.begin(), list.end(), hook);
    if (hook == nullptr || found == list.end())
        return;
    list.erase(found);
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(hook);
    delete hook;
}

int KeyboardHook::installedCount() { return static_cast<int>(hooks().size()); }

int32_t KeyboardHook::virtualKeyOf(const QKeyEvent& event) { return codeOf(event); }

bool KeyboardHook::forward(QKeyEvent& event) {
    const std::vector<KeyboardHook*> chain = hooks();
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        if ((*it)->feed(event))
            return true;
    return false;
}

bool KeyboardHook::feed(QKeyEvent& event) {
    const bool down = event.type() == QEvent::KeyPress;
    // Some window systems report a held key as release/press pairs; only the presses repeat,
    // as they do for a hook, so a held key never reads as released.
    if (!down && event.isAutoRepeat())
        return false;
    KeyStroke stroke;
    stroke.virtualKey = codeOf(event);
    stroke.down = down;
    stroke.alt = (event.modifiers() & Qt::AltModifier) != 0;
    const quint32 scan = event.nativeScanCode();
    if (scan != 0) {
        if (down) {
            heldKeys[scan] = stroke.virtualKey;
        } else {
            const auto held = heldKeys.find(scan);
            if (held != heldKeys.end()) {
                stroke.virtualKey = held->second;
                heldKeys.erase(held);
            }
        }
    }
    if (stroke.virtualKey == 0)
        return false;
    const bool swallow = procedure && procedure(stroke);
    if (swallow)
        swallowedKeys.insert(event.key());
    else if (!down)
        swallowedKeys.erase(event.key());
    return swallow;
}

bool KeyboardHook::isPropagation(const QKeyEvent* event, QObject* receiver) const {
    if (event != lastEvent || lastReceiver.isNull())
        return false;
    // A window hands its key events to the focus widget.
    if (lastReceiver->isWindowType())
        return receiver->isWidgetType();
    if (!lastReceiver->isWidgetType() || !receiver->isWidgetType())
        return false;
    return static_cast<QWidget*>(lastReceiver.data())->parentWidget() == receiver;
}

bool KeyboardHook::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        // Accepting the override without delivering it keeps a swallowed key from firing a
        // shortcut.
        auto* key = static_cast<QKeyEvent*>(event);
        if (swallowedKeys.count(key->key()) != 0) {
            event->accept();
            return true;
        }
        return false;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        // The filter sees one event once per receiver (the window, the focus widget, then its
        // parents while nobody accepts it); only the first delivery goes to the procedure.
        if (isPropagation(key, watched)) {
            lastReceiver = watched;
            return false;
        }
        lastEvent = key;
        lastReceiver = watched;
        return feed(*key);
    }
    default:
        return false;
    }
}

} // namespace mvk::platform
