#include "unidevice/WINHOOK_KeyboardDevice.h"

#include "platform/KeyboardHook.h"
#include "platform/VirtualKeyMap.h"
#include "unidevice/DeviceHandler.h"
#include "unidevice/Driver.h"

namespace mvk::unidevice {

namespace {

WINHOOK_KeyboardDevice* liveDevice = nullptr;

struct KeyName {
    int32_t code;
    const char* name;
};

// Named keys that are not digits, letters, keypad digits or function keys, in registration
// order around those runs (see registerStandardKeys).
constexpr KeyName leadingKeys[] = {
    {37, "Left_Arrow"}, {38, "Up_Arrow"},  {39, "Right_Arrow"}, {40, "Down_Arrow"},
    {8, "Backspace"},   {9, "Tab"},        {12, "Clear"},       {13, "RETUR"},
    {16, "Shift"},      {17, "CTRL"},      {18, "ALT"},         {19, "PAUSE"},
    {20, "Caps_lock"},  {27, "Escape"},    {32, "Space"},       {33, "Page_UP"},
    {34, "Page_DOWN"},  {35, "End"},       {36, "Home"},        {45, "Insert"},
    {46, "Delete"},
};
constexpr KeyName punctuationKeys[] = {
    {187, "+"}, {189, "-"}, {190, "."}, {188, ","},
    {91, "Left_Windows_key"}, {92, "Right_Windows_key"},
};
constexpr KeyName keypadOperatorKeys[] = {
    {106, "Num_*"}, {107, "Num_+"}, {109, "Num_-"}, {110, "Num_,"}, {111, "Num_/"},
};
constexpr KeyName menuKeys[] = {{164, "Left_MENU"}, {165, "Right_MENU"}};

} // namespace

WINHOOK_KeyboardDevice::WINHOOK_KeyboardDevice(platform::ModuleHandle module)
    : Device(DeviceName, 0, true), moduleHandle(module) {
    if (Driver* dummy = handler() != nullptr ? handler()->driver("dummydriver") : nullptr)
        dummy->addDevice(this);
    for (auto& entry : table)
        entry = std::make_unique<Control>(nullptr, ControlKind::Finite, 0.1);
    registerStandardKeys();
    liveDevice = this;
}

WINHOOK_KeyboardDevice::~WINHOOK_KeyboardDevice() {
    deactivate(0);
    if (liveDevice == this)
        liveDevice = nullptr;
}

WINHOOK_KeyboardDevice* WINHOOK_KeyboardDevice::live() { return liveDevice; }

void WINHOOK_KeyboardDevice::registerStandardKeys() {
    for (const KeyName& key : leadingKeys)
        addKey(key.code, key.name);
    for (char digit = '0'; digit <= '9'; ++digit)
        addKey(digit, std::string(1, digit));
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        addKey(letter, std::string(1, letter));
    for (const KeyName& key : punctuationKeys)
        addKey(key.code, key.name);
    for (int32_t digit = 0; digit <= 9; ++digit)
        addKey(96 + digit, "Num_" + std::to_string(digit));
    for (const KeyName& key : keypadOperatorKeys)
        addKey(key.code, key.name);
    for (int32_t number = 1; number <= 24; ++number)
        addKey(111 + number, "F" + std::to_string(number));
    for (const KeyName& key : menuKeys)
        addKey(key.code, key.name);
}

void WINHOOK_KeyboardDevice::addKey(int32_t code, const std::string& name) {
    if (code < 0 || code >= TableSize || used[static_cast<size_t>(code)])
        return;
    used[static_cast<size_t>(code)] = true;
    Control* entry = table[static_cast<size_t>(code)].get();
    // A nameless key keeps its empty type in bindings; only the dialogs show it by its code.
    entry->setType(name);
    entry->setDescription(name.empty() ? "Key_" + std::to_string(code) : name);
    entry->setIndex(0);
    registered.push_back(entry);
}

void WINHOOK_KeyboardDevice::unlockKey(int32_t code) { addKey(code, ""); }

Control* WINHOOK_KeyboardDevice::key(int32_t code) const {
    if (code < 0 || code >= TableSize)
        return nullptr;
    return table[static_cast<size_t>(code)].get();
}

int32_t WINHOOK_KeyboardDevice::controlCount() const {
    return static_cast<int32_t>(registered.size());
}

Control* WINHOOK_KeyboardDevice::control(int32_t index) const {
    if (index < 0 || index >= controlCount())
        return nullptr;
    return registered[static_cast<size_t>(index)];
}

bool WINHOOK_KeyboardDevice::update(uintptr_t) { return true; }

bool WINHOOK_KeyboardDevice::prepareDetection(uintptr_t) {
    reset();
    activate(0);
    return true;
}

Control* WINHOOK_KeyboardDevice::detect(uintptr_t, int32_t) {
    update(0);
    ControlList moved;
    const DeviceHandler* owner = handler();
    for (Control* candidate : registered)
        if (candidate->hasMoved() && (owner == nullptr || !owner->isExcluded(candidate)))
            moved.push_back(candidate);
    return largestChange(moved);
}

void WINHOOK_KeyboardDevice::reset() {
    for (Control* entry : registered)
        entry->reset();
}

bool WINHOOK_KeyboardDevice::activate(uintptr_t) {
    reset();
    if (hook == nullptr)
        hook = platform::KeyboardHook::install(
            [this](const platform::KeyStroke& stroke) { return onKeyStroke(stroke); });
    return true;
}

bool WINHOOK_KeyboardDevice::deactivate(uintptr_t) {
    platform::KeyboardHook::uninstall(hook);
    hook = nullptr;
    return true;
}

bool WINHOOK_KeyboardDevice::onKeyStroke(const platform::KeyStroke& stroke) {
    // A key without a code is no key of ours, even when code 0 was unlocked.
    if (stroke.virtualKey == platform::VirtualKeyMap::NoCode)
        return false;
    if (Control* entry = key(stroke.virtualKey))
        entry->feed(stroke.down ? 1.0 : 0.0);
    return false;
}

} // namespace mvk::unidevice
