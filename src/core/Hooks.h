#pragma once
// The core's keyboard hook. While a recording runs the keyboard belongs to the core: keys are
// taken away from the host (so steering keys do not trigger host shortcuts) and handed to the
// key-event callbacks, except the keys the adaptor unlocked.
#include "sdk/CoreInterface.h"

#include <cstdint>

namespace mvk::qvn::core::Hooks {

class KeyEventCallback {
public:
    virtual void onKey(int32_t virtualKey, bool down, bool ctrl, bool alt, bool shift) = 0;

protected:
    ~KeyEventCallback() = default;
};

// Pass-through flags of an unlocked key.
constexpr int32_t RequiresCtrl = 1;
constexpr int32_t RequiresAlt = 2;
constexpr int32_t RequiresShift = 4;

// Installs the hook on the first start; later starts only count.
void startHooks();
// Counts down; removes the hook when the count reaches 0. A surplus stop is ignored.
void stopHooks();
uint32_t startCount();
bool isInstalled();

void addKeyEventCallback(KeyEventCallback* callback);
void removeKeyEventCallback(KeyEventCallback* callback);
int callbackCount();

// On while recording; off lets every key through untouched. Turning it on forgets the modifiers.
void setCapture(bool capture);
bool isCapturing();

// Fills the pass-through table from (key code, flags) pairs and tells the keyboard device about
// each unlocked key; codes outside 0..255 are ignored.
void setUnlockedKeys(const UnlockedKeys& keys);
// The entry of a key: its code (-1 when not unlocked) and flags.
std::pair<int32_t, int32_t> unlockedEntry(int32_t virtualKey);

// The hook procedure: true swallows the key (the host never sees it).
bool processKey(int32_t virtualKey, bool down, bool alt);

} // namespace mvk::qvn::core::Hooks
