#pragma once
// Shortcut text for the editing dialogs' hot key capture fields.
#include "core/EditDialog.h"

namespace qor {

// Reads shortcut text into a capture value and back (canonical text, empty
// for no key); a text that is no shortcut reads as no key.
HotKeyCodec ShortCutCaptureCodec();

} // namespace qor
