#include "hotkeys/ShortCutText.h"

#include "core/AnsiText.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace qor {

namespace {

#ifdef _WIN32
std::string LayoutKeyName(uint32_t keyCode)
{
    const UINT scanCode = MapVirtualKeyA(keyCode, MAPVK_VK_TO_VSC);
    // No key on this layout: no name (scan code 0 may itself have one).
    if (scanCode == 0)
        return std::string();
    char name[64] = {};
    const int length = GetKeyNameTextA(static_cast<LONG>(scanCode << 16), name, sizeof name);
    return length > 0 ? std::string(name, static_cast<size_t>(length)) : std::string();
}
KeyNameProvider g_keyNameProvider = LayoutKeyName;
#else
KeyNameProvider g_keyNameProvider = nullptr;
#endif

struct NamedKey {
    uint32_t code;
    const char* name;
};

const NamedKey kNamedKeys[] = {
    {0x08, "BkSp"}, {0x09, "Tab"}, {0x0D, "Enter"}, {0x1B, "Esc"}, {0x20, "Space"},
    {0x21, "PgUp"}, {0x22, "PgDn"}, {0x23, "End"}, {0x24, "Home"}, {0x25, "Left"},
    {0x26, "Up"}, {0x27, "Right"}, {0x28, "Down"}, {0x2D, "Ins"}, {0x2E, "Del"},
};

constexpr uint32_t kFirstSearchedCode = 0x08;
constexpr uint32_t kLastSearchedCode = 0x255;

struct ModifierPrefix {
    const char* text;
    uint32_t bit;
};

// Written in this order; read in the order of kReadPrefixes.
const ModifierPrefix kWritePrefixes[] = {
    {"Shift+", kHotKeyShift}, {"Ctrl+", kHotKeyCtrl}, {"Alt+", kHotKeyAlt},
};
const ModifierPrefix kReadPrefixes[] = {
    {"Shift+", kHotKeyShift}, {"^", kHotKeyCtrl}, {"Ctrl+", kHotKeyCtrl}, {"Alt+", kHotKeyAlt},
};

struct ModifierFlag {
    uint32_t bit;
    uint32_t modFlag;
};

const ModifierFlag kModifierFlags[] = {
    {kHotKeyAlt, kModAlt}, {kHotKeyCtrl, kModControl}, {kHotKeyShift, kModShift}, {kHotKeyWin, kModWin},
};

std::string FixedKeyName(uint32_t code)
{
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z'))
        return std::string(1, static_cast<char>(code));
    if (code >= 0x60 && code <= 0x69)   // numeric keypad digits
        return std::string(1, static_cast<char>('0' + code - 0x60));
    if (code >= 0x70 && code <= 0x87)   // F1 to F24
        return "F" + std::to_string(code - 0x70 + 1);
    for (const NamedKey& key : kNamedKeys)
        if (key.code == code)
            return key.name;
    return std::string();
}

// Strips the modifier prefixes at the front of `text`; returns where the rest starts.
size_t ReadModifiers(const std::string& text, uint32_t& modifiers)
{
    const std::string upper = AnsiUpperCase(text);
    size_t pos = 0;
    for (bool stripped = true; stripped;) {
        stripped = false;
        for (const ModifierPrefix& prefix : kReadPrefixes) {
            const std::string word = AnsiUpperCase(prefix.text);
            if (upper.compare(pos, word.size(), word) == 0) {
                modifiers |= prefix.bit;
                pos += word.size();
                stripped = true;
                break;
            }
        }
    }
    return pos;
}

} // namespace

SplitHotKeyValue SplitHotKey(uint32_t value)
{
    SplitHotKeyValue split{value & kHotKeyCodeMask, 0};
    for (const ModifierFlag& flag : kModifierFlags)
        if (value & flag.bit)
            split.modFlags |= flag.modFlag;
    return split;
}

uint32_t JoinHotKey(uint32_t keyCode, uint32_t modFlags)
{
    uint32_t value = keyCode & kHotKeyCodeMask;
    for (const ModifierFlag& flag : kModifierFlags)
        if (modFlags & flag.modFlag)
            value |= flag.bit;
    return value;
}

KeyNameProvider SetKeyNameProvider(KeyNameProvider provider)
{
    const KeyNameProvider previous = g_keyNameProvider;
    g_keyNameProvider = provider;
    return previous;
}

std::string KeyName(uint32_t keyCode)
{
    const uint32_t code = keyCode & kHotKeyCodeMask;
    const std::string name = FixedKeyName(code);
    if (!name.empty() || !g_keyNameProvider)
        return name;
    return g_keyNameProvider(code);
}

bool IsExtendedKey(uint32_t keyCode)
{
    const uint32_t code = keyCode & kHotKeyCodeMask;
    if (code >= 0x21 && code <= 0x28)   // PgUp, PgDn, End, Home, arrows
        return true;
    if (code >= 0xA6 && code <= 0xB7)   // browser, volume, media and launch keys
        return true;
    switch (code) {
    case 0x03:                          // Break
    case 0x2C: case 0x2D: case 0x2E:    // PrtSc, Ins, Del
    case 0x5B: case 0x5C: case 0x5D:    // Windows keys, Apps
    case 0x5F:                          // Sleep
    case 0x6F:                          // keypad /
    case 0x90:                          // Num Lock
    case 0xA3: case 0xA5:               // right Ctrl, right Alt
        return true;
    }
    return false;
}

std::string ShortCutToText(uint32_t value)
{
    const std::string name = KeyName(value);
    if (name.empty())
        return name;
    std::string text;
    for (const ModifierPrefix& prefix : kWritePrefixes)
        if (value & prefix.bit)
            text += prefix.text;
    return text + name;
}

uint32_t TextToShortCut(const std::string& text)
{
    uint32_t modifiers = 0;
    const size_t start = ReadModifiers(text, modifiers);
    if (start == text.size())
        return 0;
    const std::string rest = text.substr(start);
    for (uint32_t code = kFirstSearchedCode; code <= kLastSearchedCode; ++code)
        if (SameTextAnsi(rest, ShortCutToText(code)))
            return code | modifiers;
    return 0;
}

} // namespace qor
