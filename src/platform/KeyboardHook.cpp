#include "platform/KeyboardHook.h"

#include "platform/VirtualKeyMap.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace mvk::platform {

namespace {

std::vector<KeyboardHook*>& hooks() {
    static std::vector<KeyboardHook*> installed;
    return installed;
}

int32_t codeOf(const QKeyEvent& event) {
    return VirtualKeyMap::codeOf(event.key(), event.modifiers(), event.nativeScanCode());
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
    const bool down = event.type() == QEvent::KeyPress;
    if (!down && event.type() != QEvent::KeyRelease)
        return false;
    const std::vector<KeyboardHook*> chain = hooks();
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        if ((*it)->feed(event, down))
            return true;
    return false;
}

bool KeyboardHook::feed(const QKeyEvent& event, bool down) {
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
    // A key without a code still goes to the procedures: while the keyboard is taken from the
    // host it must be swallowed like any other, or it reaches the host's shortcuts.
    return procedure && procedure(stroke);
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

bool KeyboardHook::isPendingPress(const QKeyEvent& event) const {
    // The press follows its override at once; a press that fired a shortcut never comes, and
    // its pending entry goes with the next override or the key's release.
    return pending.has_value() && pending->key == event.key() &&
           pending->scanCode == event.nativeScanCode() &&
           pending->autoRepeat == event.isAutoRepeat();
}

bool KeyboardHook::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    // The filter sees one event once per receiver (the window, the focus widget, then its
    // parents while nobody accepts it); only the first delivery goes to the procedure.
    if (isPropagation(key, watched)) {
        lastReceiver = watched;
        return false;
    }
    lastEvent = key;
    lastReceiver = watched;
    if (type == QEvent::ShortcutOverride) {
        // A press is offered to the shortcuts before it is delivered, and one that fires a
        // shortcut is never delivered at all: the procedure decides on the press here.
        // Accepting the override tells the shortcuts the key is taken. The same press offered
        // again keeps the first decision.
        if (!isPendingPress(*key)) {
            const bool decided = feed(*key, true);
            pending = PendingPress{key->key(), key->nativeScanCode(), key->isAutoRepeat(), decided};
        }
        const bool swallow = pending->swallow;
        if (swallow)
            event->accept();
        return swallow;
    }
    if (type == QEvent::KeyPress && isPendingPress(*key)) {
        const bool swallow = pending->swallow;
        pending.reset();
        return swallow;
    }
    if (pending.has_value() && pending->key == key->key())
        pending.reset();
    return feed(*key, type == QEvent::KeyPress);
}

} // namespace mvk::platform
