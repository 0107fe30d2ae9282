#pragma once
// The application-wide keyboard hook: an event filter on the Qt application that hands every
// key press and release to one procedure before any widget sees it.
#include <QObject>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <optional>
#include <unordered_map>

class QKeyEvent;

namespace mvk::platform {

// What the procedure is told about one key event, in the numbering the hook procedures expect
// (Windows virtual-key codes: letters and digits as their capitals, arrows 37-40, F1-F24
// 112-135, keypad 96-111, Shift 16, Ctrl 17, Alt 18 ..., see VirtualKeyMap). A key that has no
// code comes with VirtualKeyMap::NoCode: a procedure may swallow it, but it names no key, so it
// is nobody's input.
struct KeyStroke {
    int32_t virtualKey = 0;
    bool down = false;
    bool alt = false;
};

// The procedure answers true to swallow the event (the application never sees it) or false to
// pass it on.
using KeyProcedure = std::function<bool(const KeyStroke&)>;

// Several hooks may be installed at once; like a hook chain, the most recently installed one
// sees an event first, and an event it swallows reaches no earlier hook and no widget.
class KeyboardHook : public QObject {
    Q_OBJECT
public:
    // Installs a hook on the current application and returns its handle; null (nothing
    // installed) when no application object exists.
    static KeyboardHook* install(KeyProcedure procedure);
    // Removes and deletes a hook; null is ignored.
    static void uninstall(KeyboardHook* hook);
    // Number of hooks installed right now.
    static int installedCount();

    // The virtual-key code of a Qt key event (VirtualKeyMap::NoCode when it has none).
    static int32_t virtualKeyOf(const QKeyEvent& event);
    // Hands a key event of a window Qt does not see (a host's own window) to the installed hooks,
    // newest first; answers whether one of them swallowed it.
    static bool forward(QKeyEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit KeyboardHook(KeyProcedure procedure);
    ~KeyboardHook() override;
    bool feed(const QKeyEvent& event, bool down);
    bool isPendingPress(const QKeyEvent& event) const;
    bool isPropagation(const QKeyEvent* event, QObject* receiver) const;

    KeyProcedure procedure;
    // Held keys by native scan code: Qt reports Shift+1 as "!" on press and "1" on release, so
    // a release is matched to the code its press produced.
    std::unordered_map<quint32, int32_t> heldKeys;
    // A press already decided on when it was offered to the shortcuts, and the decision.
    struct PendingPress {
        int key;
        quint32 scanCode;
        bool autoRepeat;
        bool swallow;
    };
    std::optional<PendingPress> pending;
    // The event last handed to the procedure and the object it was delivered to, to tell a
    // new event from the same one propagating to a parent widget.
    const QKeyEvent* lastEvent = nullptr;
    QPointer<QObject> lastReceiver;
};

} // namespace mvk::platform
