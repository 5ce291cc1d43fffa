#include "dialogs/DialogOwner.h"

#include <commdlg.h>
#include <cderr.h>

#include <cstdio>

#include "core/ScriptError.h"

namespace qor {

void CheckCommonDialogOutcome(const char* dialog) {
    const DWORD error = CommDlgExtendedError();
    if (error == 0) return; // cancelled
    if (error == FNERR_BUFFERTOOSMALL)
        throw ScriptError(std::string("The ") + dialog + " cannot return that many files at once.");
    char code[16];
    std::snprintf(code, sizeof code, "%04lX", static_cast<unsigned long>(error));
    throw ScriptError(std::string("The ") + dialog + " could not be shown (error " + code + ").");
}

} // namespace qor
