#pragma once
// Key combinations as numbers (hot key values) and as text (shortcut text).
//
// A hot key value holds the virtual-key code in bits 0-7 and the modifiers
// below; 0 means no combination. Shortcut text is "Shift+", "Ctrl+", "Alt+"
// (in this order, each optional) followed by a key name, e.g. "Shift+Ctrl+A".
#include <cstdint>
#include <string>

namespace qor {

constexpr uint32_t kHotKeyCodeMask = 0xFF;
constexpr uint32_t kHotKeyShift = 0x2000;
constexpr uint32_t kHotKeyCtrl = 0x4000;
constexpr uint32_t kHotKeyAlt = 0x8000;
constexpr uint32_t kHotKeyWin = 0x10000;

// Modifier flags of the system's hot key calls (MOD_ALT ... MOD_WIN).
constexpr uint32_t kModAlt = 1;
constexpr uint32_t kModControl = 2;
constexpr uint32_t kModShift = 4;
constexpr uint32_t kModWin = 8;

struct SplitHotKeyValue {
    uint32_t keyCode;
    uint32_t modFlags;
};

// Value -> key code and MOD_ flags, and back (other MOD_ bits are ignored).
SplitHotKeyValue SplitHotKey(uint32_t value);
uint32_t JoinHotKey(uint32_t keyCode, uint32_t modFlags);

// The name of a key code (low byte used): the fixed names ("BkSp", "F1", "A", ...)
// or, for other codes, the keyboard layout's name; empty when there is none.
std::string KeyName(uint32_t keyCode);

// Keys whose scan code carries the extended prefix (the navigation block,
// the arrows, the right-hand Ctrl and Alt, the Windows and browser keys...):
// without that mark their scan code names the keypad key.
bool IsExtendedKey(uint32_t keyCode);

std::string ShortCutToText(uint32_t value);
uint32_t TextToShortCut(const std::string& text);

// Names for codes outside the fixed table. On Windows the default asks the
// keyboard layout; elsewhere the default knows no names. A null provider
// knows no names either. Returns the provider that was in place.
using KeyNameProvider = std::string (*)(uint32_t keyCode);
KeyNameProvider SetKeyNameProvider(KeyNameProvider provider);

} // namespace qor
