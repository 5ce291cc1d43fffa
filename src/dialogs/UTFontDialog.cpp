// The font dialog.
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include "core/ThemedLook.h"
#include "core/WinHandles.h"
#include "core/WinValues.h"
#include "dialogs/DialogActions.h"
#include "dialogs/DialogOwner.h"
#include "dialogs/DialogValues.h"
#include "host/HostServices.h"

namespace qor {

namespace {

constexpr DWORD kFontOptions[] = {CF_ANSIONLY, CF_TTONLY, CF_EFFECTS};

// The script list is switched off as soon as the dialog is up.
UINT_PTR CALLBACK DisableScriptList(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        EnableWindow(GetDlgItem(dialog, cmb5), FALSE);
        return TRUE;
    }
    return FALSE;
}

} // namespace

// params: initial font spec, options list, result variable.
bool qorFontDialog(const Params& params) {
    FontSpec font = DefaultControlFont();
    if (!params.at(0).empty()) SpecToFont(params.at(0), font);
    const std::vector<bool> chosen = ReadOptionList(params.at(1), std::size(kFontOptions));
    const std::string& resultVariable = params.at(2);

    DWORD options = 0;
    for (size_t i = 0; i < chosen.size(); ++i)
        if (chosen[i]) options |= kFontOptions[i];

    LOGFONTA logFont{};
    {
        const UniqueFont initial = CreateFontFromSpec(font);
        GetObjectA(initial.get(), sizeof logFont, &logFont);
    }
    CHOOSEFONTA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = DialogOwner();
    dialog.lpLogFont = &logFont;
    dialog.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_ENABLEHOOK | options;
    dialog.rgbColors = ToColorRef(font.color, 0);
    dialog.lpfnHook = DisableScriptList;
    const ThemedLookScope themed;
    if (!ChooseFontA(&dialog)) {
        CheckCommonDialogOutcome("font dialog");
        return true;
    }

    FontSpec result = font;
    const UniqueFont picked(CreateFontIndirectA(&logFont));
    const FontSpec read = SpecFromFont(picked.get());
    result.faceName = read.faceName;
    result.size = dialog.iPointSize > 0 ? (dialog.iPointSize + 5) / 10 : read.size;
    result.bold = read.bold;
    result.italic = read.italic;
    // Without the effects group the dialog offers no colour, underline or
    // strikeout: the initial ones stay.
    if (options & CF_EFFECTS) {
        result.underline = read.underline;
        result.strikeout = read.strikeout;
        result.color = static_cast<int32_t>(dialog.rgbColors);
    }
    if (!resultVariable.empty()) SetHostVariable(resultVariable, FontToSpec(result));
    return true;
}

} // namespace qor
