#pragma once
// The Windows side of the shared value encodings: fonts made from a font spec
// (points converted at the screen's DPI) and colour values as COLORREFs.
#include <windows.h>

#include <cstdint>
#include <string>

#include "core/ValueEncodings.h"
#include "core/WinHandles.h"

namespace qor {

// A font with the font spec's face, size in points and styles (its colour is
// the text colour; it is not part of an HFONT).
UniqueFont CreateFontFromSpec(const FontSpec& spec);
// Face, size in points and styles of a font; the colour is passed in.
FontSpec SpecFromFont(HFONT font, int32_t color = 0);

// The controls' own font until a script gives one: MS Sans Serif, 8 points,
// in the window text colour.
FontSpec DefaultControlFont();

// Plain colours as they are, system colours through GetSysColor; clNone,
// clDefault and unknown system colours give the fallback.
COLORREF ToColorRef(int32_t color, COLORREF fallback);

// The screen's pixels per logical inch (96 at 100 %).
int ScreenPixelsPerInch();
// A length in pixels at 96 DPI, at the screen's DPI (rounded): glyphs and
// other drawn sizes grow with the system's text size.
int ScaledToScreen(int pixelsAt96);

// Height in pixels of a font's text (tmHeight) on the screen.
int FontTextHeight(HFONT font);

// Repaints the whole window, background included; nothing for a null window
// (InvalidateRect of null repaints every window of the desktop).
void RepaintWindow(HWND window);

// The window handle in the host's answer to an object-window request (or any
// other handle text): TextToHandleValue's 32 bits, sign-extended as 64-bit
// Windows extends handles. Throws the integer message for other texts.
HWND WindowFromHandleText(const std::string& text);
// A window handle as the plug-in writes it: its 32 bits as an unsigned
// decimal (a 64-bit build's sign-extended handles included), which
// WindowFromHandleText reads back.
std::string HandleText(HWND window);

} // namespace qor
