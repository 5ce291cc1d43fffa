#pragma once
// The Win32 face of an editing dialog (core/EditDialog.h): a modal dialog with
// a fixed border, centred on the screen, Arial 9 points, the fields stacked
// from the top in tab order, picker buttons with their hints at the right end
// of their fields, and "OK" (Enter) and "Cancel" (Escape) at the bottom right.
//
// Control ids, for automation: field i owns the ids 100 + 20*i to 119 + 20*i:
// +0 its label (the group box of Radio and Options fields), +1 the control
// (+1.. the buttons of Radio and Options fields, one per entry), +12.. its
// picker buttons in Picker bit order. Every picker is a tool of the dialog's
// tooltip window, whose text is the picker's hint.
#include <windows.h>

#include <string>

#include "core/EditDialog.h"

namespace qor {

constexpr int kFieldIdBase = 100;
constexpr int kFieldIdStride = 20;
constexpr int kPickerIdOffset = 12;

// Shows the model modally, owned by `owner`. True when the author pressed OK;
// the model then holds what the author set. Throws nothing.
bool ShowEditDialog(HWND owner, const std::string& caption, DialogModel& model) noexcept;

} // namespace qor
