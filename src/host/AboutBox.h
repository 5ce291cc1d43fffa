#pragma once
#include <windows.h>

namespace qor {

// Shows the About box modally over parent; returns when it is closed.
void ShowAboutBox(HWND parent) noexcept;

// Addresses shown in the About box.
extern const char kSupportAddress[];
extern const char kWebAddress[];

} // namespace qor
