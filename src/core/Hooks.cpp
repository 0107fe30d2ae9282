#include "core/Hooks.h"

#include "platform/KeyboardHook.h"
#include "unidevice/InputLayer.h"
#include "util/Log.h"

#include <algorithm>
#include <array>
#include <vector>

namespace mvk::qvn::core::Hooks {

namespace {

struct Entry {
    int32_t keyCode = -1;
    int32_t flags = 0;
};

struct State {
    uint32_t startCount = 0;
    platform::KeyboardHook* hook = nullptr;
    bool capture = false;
    bool shiftDown = false;
    bool ctrlDown = false;
    bool altDown = false;
    std::vector<KeyEventCallback*> callbacks;
    std::array<Entry, 256> table{};
};

State& state() {
    static State hooks;
    return hooks;
}

bool passesThrough(const Entry& entry, const State& s) {
    bool ok = true;
    if (entry.flags & RequiresCtrl)
        ok = s.ctrlDown;
    if (entry.flags & RequiresAlt)
        ok = ok && s.altDown;
    if (entry.flags & RequiresShift)
        return s.shiftDown && ok;
    return ok;
}

} // namespace

void startHooks() {
    State& s = state();
    if (s.startCount > 0) {
        ++s.startCount;
        return;
    }
    // A failed installation (no application object) leaves the keys to the host.
    s.hook = platform::KeyboardHook::install([](const platform::KeyStroke& stroke) {
        return processKey(stroke.virtualKey, stroke.down, stroke.alt);
    });
    s.startCount = 1;
}

void stopHooks() {
    State& s = state();
    if (s.startCount == 0)
        return;
    if (--s.startCount > 0)
        return;
    platform::KeyboardHook::uninstall(s.hook);
    s.hook = nullptr;
}

uint32_t startCount() { return state().startCount; }

bool isInstalled() { return state().hook != nullptr; }

void addKeyEventCallback(KeyEventCallback* callback) { state().callbacks.push_back(callback); }

void removeKeyEventCallback(KeyEventCallback* callback) {
    auto& list = state().callbacks;
    const auto found = std::find(list.begin(), list.end(), callback);
    if (found != list.end())
        list.erase(found);
}

int callbackCount() { return static_cast<int>(state().callbacks.size()); }

void setCapture(bool capture) {
    State& s = state();
    // The modifiers are only followed while capturing: a Ctrl released between two takes was
    // never seen, and would turn a bare Z in the next take into Ctrl+Z. Each capture starts
    // with none held; one held across the start counts from its next press.
    if (capture && !s.capture) {
        s.shiftDown = false;
        s.ctrlDown = false;
        s.altDown = false;
    }
    s.capture = capture;
}

bool isCapturing() { return state().capture; }

void setUnlockedKeys(const UnlockedKeys& keys) {
    State& s = state();
    util::Log::instance()->write("Setting unlocked keys", util::Log::Notice);
    s.table.fill(Entry{});
    for (const auto& [keyCode, flags] : keys) {
        if (keyCode < 0 || keyCode > 255)
            continue;
        s.table[static_cast<size_t>(keyCode)] = Entry{keyCode, flags};
        unidevice::unlockKey(keyCode);
    }
    for (const Entry& entry : s.table) {
        if (entry.keyCode == -1)
            continue;
        util::Log::instance()->write("key " + std::to_string(entry.keyCode) + " flags " +
                                         std::to_string(entry.flags),
                                     util::Log::Notice);
    }
}

std::pair<int32_t, int32_t> unlockedEntry(int32_t virtualKey) {
    if (virtualKey < 0 || virtualKey > 255)
        return {-1, 0};
    const Entry& entry = state().table[static_cast<size_t>(virtualKey)];
    return {entry.keyCode, entry.flags};
}

bool processKey(int32_t virtualKey, bool down, bool alt) {
    State& s = state();
    if (!s.capture)
        return false;
    // A key the platform could not name still belongs to the take: it must not reach host
    // shortcuts, and no callback could tell it from another such key.
    if (virtualKey == 0)
        return true;
    if (virtualKey == 16)
        s.shiftDown = down;
    if (virtualKey == 17)
        s.ctrlDown = down;
    s.altDown = alt;
    if (virtualKey >= 0 && virtualKey <= 255) {
        const Entry& entry = s.table[static_cast<size_t>(virtualKey)];
        if (entry.keyCode != -1 && passesThrough(entry, s))
            return false;
    }
    // A callback may unregister itself while being called: walk a copy.
    const std::vector<KeyEventCallback*> callbacks = s.callbacks;
    for (KeyEventCallback* callback : callbacks)
        callback->onKey(virtualKey, down, s.ctrlDown, s.altDown, s.shiftDown);
    return true;
}

} // namespace mvk::qvn::core::Hooks
