#pragma once
// The system dialogs a running publication shows: open and save file,
// choose folder, font and colour. Each call builds its dialog, shows it
// modally over the host's active window, writes the result variables only
// when the user confirms, and answers true whether confirmed or cancelled.
#include "host/PlugInUtils.h"

namespace qor {

bool qorFileOpenDialog(const Params& params);
bool qorFileSaveDialog(const Params& params);
bool qorFolderBoxDialog(const Params& params);
bool qorFontDialog(const Params& params);
bool qorColorDialog(const Params& params);

} // namespace qor
