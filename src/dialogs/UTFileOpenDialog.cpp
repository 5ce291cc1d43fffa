// The open and save file dialogs.
#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "core/ThemedLook.h"
#include "dialogs/DialogActions.h"
#include "dialogs/DialogOwner.h"
#include "dialogs/DialogValues.h"
#include "host/HostServices.h"

namespace qor {

namespace {

// What one position of the options list switches on.
struct FileOption {
    DWORD flags;
    DWORD flagsEx;
    bool oldStyle;
};

constexpr FileOption kMultiSelect{OFN_ALLOWMULTISELECT, 0, false};
constexpr FileOption kOldStyle{0, 0, true};
constexpr FileOption kEnableSizing{OFN_ENABLESIZING, 0, false};
constexpr FileOption kDontAddToRecent{OFN_DONTADDTORECENT, 0, false};
constexpr FileOption kForceShowHidden{OFN_FORCESHOWHIDDEN, 0, false};
constexpr FileOption kNoPlacesBar{0, OFN_EX_NOPLACESBAR, false};

const std::vector<FileOption> kOpenOptions = {
    kMultiSelect, {OFN_PATHMUSTEXIST, 0, false}, {OFN_FILEMUSTEXIST, 0, false}, kOldStyle,
    kEnableSizing, kDontAddToRecent, kForceShowHidden, kNoPlacesBar,
};
const std::vector<FileOption> kSaveOptions = {
    kMultiSelect, {OFN_OVERWRITEPROMPT, 0, false}, kOldStyle, kEnableSizing,
    kDontAddToRecent, kForceShowHidden, kNoPlacesBar,
};

// Room for a multiple selection of many thousands of files.
constexpr size_t kResultBufferSize = 1 << 20;

// Without the explorer flag the system still shows the explorer look unless
// the dialog has a hook: the old look comes with this one, which leaves every
// message to the dialog.
UINT_PTR CALLBACK KeepOldLook(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG ? TRUE : FALSE; }

const char* TextOrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

// params: title, default extension, initial file name, filter, initial
// folder, options list, result variable.
bool RunFileDialog(const Params& params, const std::vector<FileOption>& table, bool save) {
    const std::string& title = params.at(0);
    const std::string extension = DefaultExtensionOf(params.at(1));
    const std::string& fileName = params.at(2);
    const std::string filter = FilterBlockOf(params.at(3));
    const std::string folder = InitialFolderOf(params.at(4));
    const std::vector<bool> chosen = ReadOptionList(params.at(5), table.size());
    const std::string& resultVariable = params.at(6);

    DWORD flags = OFN_HIDEREADONLY, flagsEx = 0;
    bool explorerLook = true;
    for (size_t i = 0; i < table.size(); ++i) {
        if (!chosen[i]) continue;
        flags |= table[i].flags;
        flagsEx |= table[i].flagsEx;
        if (table[i].oldStyle) explorerLook = false;
    }
    if (explorerLook) flags |= OFN_EXPLORER;
    else flags |= OFN_ENABLEHOOK;

    std::vector<char> buffer(kResultBufferSize, '\0');
    fileName.copy(buffer.data(), std::min(fileName.size(), buffer.size() - 2));

    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = DialogOwner();
    dialog.lpstrFilter = filter.empty() ? nullptr : filter.data();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrInitialDir = TextOrNull(folder);
    dialog.lpstrTitle = TextOrNull(title);
    dialog.Flags = flags;
    dialog.FlagsEx = flagsEx;
    dialog.lpstrDefExt = TextOrNull(extension);
    if (!explorerLook) dialog.lpfnHook = KeepOldLook;
    const ThemedLookScope themed;
    const BOOL confirmed = save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
    if (!confirmed) {
        CheckCommonDialogOutcome(save ? "save dialog" : "open dialog");
        return true;
    }
    if (!resultVariable.empty())
        SetHostVariable(resultVariable, ChosenFilesOf(buffer.data(), buffer.size(),
                                                      (flags & OFN_ALLOWMULTISELECT) != 0, explorerLook,
                                                      dialog.nFileOffset));
    return true;
}

} // namespace

bool qorFileOpenDialog(const Params& params) { return RunFileDialog(params, kOpenOptions, false); }

bool qorFileSaveDialog(const Params& params) { return RunFileDialog(params, kSaveOptions, true); }

} // namespace qor
