#include "hotkeys/ShortCutCapture.h"

#include "hotkeys/ShortCutText.h"

namespace qor {

namespace {

struct ModifierPair {
    uint32_t shortCut, capture;
};
constexpr ModifierPair kModifiers[] = {
    {kHotKeyShift, kCaptureShift}, {kHotKeyCtrl, kCaptureCtrl}, {kHotKeyAlt, kCaptureAlt}};

std::string CaptureToText(uint32_t captured) {
    uint32_t value = captured & kHotKeyCodeMask;
    for (const ModifierPair& m : kModifiers)
        if (captured & m.capture) value |= m.shortCut;
    return value & kHotKeyCodeMask ? ShortCutToText(value) : std::string();
}

uint32_t TextToCapture(const std::string& text) {
    const uint32_t value = TextToShortCut(text);
    if (!(value & kHotKeyCodeMask)) return 0;
    uint32_t captured = value & kHotKeyCodeMask;
    if (IsExtendedKey(captured)) captured |= kCaptureExtended;
    for (const ModifierPair& m : kModifiers)
        if (value & m.shortCut) captured |= m.capture;
    return captured;
}

} // namespace

HotKeyCodec ShortCutCaptureCodec() {
    HotKeyCodec codec;
    codec.toText = CaptureToText;
    codec.fromText = TextToCapture;
    return codec;
}

} // namespace qor
