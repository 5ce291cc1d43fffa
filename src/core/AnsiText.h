#pragma once
// Byte-string helpers that follow the system's 8-bit ANSI code page.
// On Windows the case mapping and the decimal separator come from the system;
// elsewhere (the native unit tests) they follow Windows-1252 and ".".
#include <string>
#include <string_view>

namespace qor {

// Upper/lower case of one byte and of a whole text under the ANSI mapping.
// The length never changes, so positions in the mapped text match the original.
char AnsiUpperChar(char c);
char AnsiLowerChar(char c);
std::string AnsiUpperCase(std::string text);
std::string AnsiLowerCase(std::string text);

// Comparisons against a text already mapped once by the caller, without
// copying the item: `text` lowered equals `lowered`; `text` raised contains
// `raised` (an empty `raised` is contained in everything).
bool LowersTo(std::string_view text, std::string_view lowered);
bool RaisedContains(std::string_view text, std::string_view raised);

// True when both texts are equal after upper-casing them with the ANSI mapping.
bool SameTextAnsi(const std::string& a, const std::string& b);

// The user's decimal separator for reading floating-point numbers.
char DecimalSeparator();

// Case-insensitive comparison for rectangle names: a-z equal A-Z, every other
// byte must match exactly, and the lengths must be equal.
bool SameNameAscii(const std::string& a, const std::string& b);

// a-z mapped to A-Z, every other byte unchanged.
char AsciiUpperChar(char c);

} // namespace qor
