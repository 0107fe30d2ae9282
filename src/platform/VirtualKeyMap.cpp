#include "platform/VirtualKeyMap.h"

#include <initializer_list>
#include <unordered_map>

namespace mvk::platform {

namespace {

// Codes of the printing keys that differ between layouts, on a US keyboard.
constexpr int32_t OemSemicolon = 0xBA;
constexpr int32_t OemPlus = 0xBB;
constexpr int32_t OemComma = 0xBC;
constexpr int32_t OemMinus = 0xBD;
constexpr int32_t OemPeriod = 0xBE;
constexpr int32_t OemSlash = 0xBF;
constexpr int32_t OemGrave = 0xC0;
constexpr int32_t OemOpenBracket = 0xDB;
constexpr int32_t OemBackslash = 0xDC;
constexpr int32_t OemCloseBracket = 0xDD;
constexpr int32_t OemQuote = 0xDE;
constexpr int32_t Oem102 = 0xE2;

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
    default: return VirtualKeyMap::NoCode;
    }
}

// Keys whose meaning does not depend on the layout.
const std::unordered_map<int, int32_t>& namedKeys() {
    static const std::unordered_map<int, int32_t> table = {
        {Qt::Key_Cancel, 3},          {Qt::Key_Backspace, 8},      {Qt::Key_Tab, 9},
        {Qt::Key_Backtab, 9},         {Qt::Key_Clear, 12},         {Qt::Key_Return, 13},
        {Qt::Key_Enter, 13},          {Qt::Key_Shift, 16},         {Qt::Key_Control, 17},
        {Qt::Key_Alt, 18},            {Qt::Key_AltGr, 18},         {Qt::Key_Mode_switch, 18},
        {Qt::Key_Pause, 19},          {Qt::Key_CapsLock, 20},      {Qt::Key_Hangul, 0x15},
        {Qt::Key_Hangul_Hanja, 0x19}, {Qt::Key_Kanji, 0x19},       {Qt::Key_Escape, 27},
        {Qt::Key_Henkan, 0x1C},       {Qt::Key_Muhenkan, 0x1D},    {Qt::Key_Space, 32},
        {Qt::Key_PageUp, 33},         {Qt::Key_PageDown, 34},      {Qt::Key_End, 35},
        {Qt::Key_Home, 36},           {Qt::Key_Left, 37},          {Qt::Key_Up, 38},
        {Qt::Key_Right, 39},          {Qt::Key_Down, 40},          {Qt::Key_Select, 41},
        {Qt::Key_Printer, 42},        {Qt::Key_Execute, 43},       {Qt::Key_Print, 44},
        {Qt::Key_Insert, 45},         {Qt::Key_Delete, 46},        {Qt::Key_Help, 47},
        {Qt::Key_Meta, 91},           {Qt::Key_Super_L, 91},       {Qt::Key_Super_R, 92},
        {Qt::Key_Menu, 93},           {Qt::Key_Sleep, 95},         {Qt::Key_NumLock, 144},
        {Qt::Key_ScrollLock, 145},
        // Browser, volume, media and launch keys.
        {Qt::Key_Back, 0xA6},         {Qt::Key_Forward, 0xA7},     {Qt::Key_Refresh, 0xA8},
        {Qt::Key_Stop, 0xA9},         {Qt::Key_Search, 0xAA},      {Qt::Key_Favorites, 0xAB},
        {Qt::Key_HomePage, 0xAC},     {Qt::Key_VolumeMute, 0xAD},  {Qt::Key_VolumeDown, 0xAE},
        {Qt::Key_VolumeUp, 0xAF},     {Qt::Key_MediaNext, 0xB0},   {Qt::Key_MediaPrevious, 0xB1},
        {Qt::Key_MediaStop, 0xB2},    {Qt::Key_MediaPlay, 0xB3},   {Qt::Key_MediaPause, 0xB3},
        {Qt::Key_MediaTogglePlayPause, 0xB3},                      {Qt::Key_LaunchMail, 0xB4},
        {Qt::Key_LaunchMedia, 0xB5},  {Qt::Key_Launch0, 0xB6},     {Qt::Key_Launch1, 0xB7},
        {Qt::Key_Calculator, 0xB7},   {Qt::Key_Play, 0xFA},        {Qt::Key_Zoom, 0xFB},
    };
    return table;
}

// Printing keys by the character they produce on a US layout: only used for events that carry
// no scan code (keys a host forwards from a window of its own, synthetic events).
const std::unordered_map<int, int32_t>& characterKeys() {
    static const std::unordered_map<int, int32_t> table = {
        {Qt::Key_Semicolon, OemSemicolon},   {Qt::Key_Colon, OemSemicolon},
        {Qt::Key_Equal, OemPlus},            {Qt::Key_Plus, OemPlus},
        {Qt::Key_Comma, OemComma},           {Qt::Key_Less, OemComma},
        {Qt::Key_Minus, OemMinus},           {Qt::Key_Underscore, OemMinus},
        {Qt::Key_Period, OemPeriod},         {Qt::Key_Greater, OemPeriod},
        {Qt::Key_Slash, OemSlash},           {Qt::Key_Question, OemSlash},
        {Qt::Key_QuoteLeft, OemGrave},       {Qt::Key_AsciiTilde, OemGrave},
        {Qt::Key_BracketLeft, OemOpenBracket}, {Qt::Key_BraceLeft, OemOpenBracket},
        {Qt::Key_Backslash, OemBackslash},   {Qt::Key_Bar, OemBackslash},
        {Qt::Key_BracketRight, OemCloseBracket}, {Qt::Key_BraceRight, OemCloseBracket},
        {Qt::Key_Apostrophe, OemQuote},      {Qt::Key_QuoteDbl, OemQuote},
        // Shifted digits.
        {Qt::Key_Exclam, '1'},    {Qt::Key_At, '2'},       {Qt::Key_NumberSign, '3'},
        {Qt::Key_Dollar, '4'},    {Qt::Key_Percent, '5'},  {Qt::Key_AsciiCircum, '6'},
        {Qt::Key_Ampersand, '7'}, {Qt::Key_Asterisk, '8'}, {Qt::Key_ParenLeft, '9'},
        {Qt::Key_ParenRight, '0'},
    };
    return table;
}

// What the key at each position of the main block produces on a US keyboard, by xkb keycode
// (the evdev code + 8), row by row; the keys of other layouts are told by where they sit.
const std::unordered_map<quint32, int32_t>& positions() {
    static const std::unordered_map<quint32, int32_t> table = [] {
        std::unordered_map<quint32, int32_t> made;
        auto row = [&made](quint32 first, std::initializer_list<int32_t> codes) {
            for (int32_t code : codes)
                made[first++] = code;
        };
        row(10, {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0', OemMinus, OemPlus});
        row(24, {'Q', 'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'P', OemOpenBracket,
                 OemCloseBracket});
        row(38, {'A', 'S', 'D', 'F', 'G', 'H', 'J', 'K', 'L', OemSemicolon, OemQuote, OemGrave});
        row(51, {OemBackslash, 'Z', 'X', 'C', 'V', 'B', 'N', 'M', OemComma, OemPeriod, OemSlash});
        row(94, {Oem102});  // the extra key beside left Shift on ISO keyboards
        row(133, {91, 92, 93});  // left and right Super, Menu (also when remapped to Compose)
        return made;
    }();
    return table;
}

int32_t lookUp(const std::unordered_map<int, int32_t>& table, int key) {
    const auto found = table.find(key);
    return found == table.end() ? VirtualKeyMap::NoCode : found->second;
}

bool isLetterOrDigit(int key) {
    return (key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9);
}

} // namespace

int32_t VirtualKeyMap::codeAtPosition(quint32 nativeScanCode) {
    const auto& table = positions();
    const auto found = table.find(nativeScanCode);
    return found == table.end() ? NoCode : found->second;
}

int32_t VirtualKeyMap::codeOf(int qtKey, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode) {
    if (modifiers & Qt::KeypadModifier) {
        const int32_t code = keypadCode(qtKey);
        if (code != NoCode)
            return code;
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 112 + (qtKey - Qt::Key_F1);
    if (const int32_t named = lookUp(namedKeys(), qtKey); named != NoCode)
        return named;
    // Qt's letter and digit keys are the upper-case ASCII values.
    if (isLetterOrDigit(qtKey))
        return static_cast<int32_t>(qtKey);
    if (const int32_t placed = codeAtPosition(nativeScanCode); placed != NoCode)
        return placed;
    return lookUp(characterKeys(), qtKey);
}

} // namespace mvk::platform
