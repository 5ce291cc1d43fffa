// The colour dialog with its sixteen custom colours.
#include <windows.h>
#include <commdlg.h>

#include "core/ThemedLook.h"
#include "core/ValueEncodings.h"
#include "core/WinValues.h"
#include "dialogs/DialogActions.h"
#include "dialogs/DialogOwner.h"
#include "dialogs/DialogValues.h"
#include "host/HostServices.h"

namespace qor {

// params: initial colour, custom colour list, open the custom panel, lock
// the custom panel's button, colour variable, custom colour list variable.
bool qorColorDialog(const Params& params) {
    const int32_t initial = params.at(0).empty() ? 0 : TextToColor(params.at(0));
    CustomColors custom;
    custom.fill(-1);
    if (!params.at(1).empty()) custom = ReadCustomColors(params.at(1));

    DWORD flags = CC_RGBINIT;
    if (FlagOrFalse(params.at(2))) flags |= CC_FULLOPEN;
    if (FlagOrFalse(params.at(3))) flags |= CC_PREVENTFULLOPEN;

    COLORREF slots[16];
    for (size_t i = 0; i < custom.size(); ++i) slots[i] = static_cast<COLORREF>(custom[i]);
    CHOOSECOLORA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = DialogOwner();
    dialog.rgbResult = ToColorRef(initial, 0);
    dialog.lpCustColors = slots;
    dialog.Flags = flags;
    const ThemedLookScope themed;
    if (!ChooseColorA(&dialog)) {
        CheckCommonDialogOutcome("colour dialog");
        return true;
    }
    for (size_t i = 0; i < custom.size(); ++i) custom[i] = static_cast<int32_t>(slots[i]);
    if (!params.at(4).empty()) SetHostVariable(params.at(4), ColorToText(static_cast<int32_t>(dialog.rgbResult)));
    if (!params.at(5).empty()) SetHostVariable(params.at(5), WriteCustomColors(params.at(1), custom));
    return true;
}

} // namespace qor
