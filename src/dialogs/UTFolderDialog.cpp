// The shell's browse-for-folder dialog.
#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <vector>

#include "core/ComHandles.h"
#include "core/ScriptError.h"
#include "core/ThemedLook.h"
#include "core/WinHandles.h"
#include "dialogs/DialogActions.h"
#include "dialogs/DialogOwner.h"
#include "dialogs/DialogValues.h"
#include "host/HostServices.h"

namespace qor {

namespace {

constexpr UINT kFolderOptions[] = {BIF_EDITBOX, BIF_NONEWFOLDERBUTTON, BIF_BROWSEINCLUDEFILES};

// The dialog's new style came with version 5 of the shell.
void RequireModernShell() {
    DLLVERSIONINFO version{};
    version.cbSize = sizeof version;
    HMODULE shell = GetModuleHandleA("shell32.dll");
    auto getVersion = shell ? reinterpret_cast<DLLGETVERSIONPROC>(
                                  reinterpret_cast<void*>(GetProcAddress(shell, "DllGetVersion")))
                            : nullptr;
    if (!getVersion || FAILED(getVersion(&version)) || version.dwMajorVersion < 5)
        throw ScriptError("Shell not compatible with BrowseForFolder");
}

// The root folder's item id list; none (the desktop) for an empty text or a
// folder the shell cannot name.
UniqueTaskMem<ITEMIDLIST> RootList(const std::string& root) {
    if (root.empty()) return {};
    ComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.put())) || !desktop) return {};
    const int length = MultiByteToWideChar(CP_ACP, 0, root.c_str(), -1, nullptr, 0);
    std::vector<wchar_t> wide(static_cast<size_t>(length > 0 ? length : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, root.c_str(), -1, wide.data(), length);
    ITEMIDLIST* list = nullptr;
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, &list, nullptr))) return {};
    return UniqueTaskMem<ITEMIDLIST>(list);
}

int CALLBACK SelectInitialFolder(HWND dialog, UINT message, LPARAM, LPARAM data) {
    const auto& initial = *reinterpret_cast<const std::string*>(data);
    if (message == BFFM_INITIALIZED && !initial.empty())
        SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(initial.c_str()));
    return 0;
}

} // namespace

// params: title, status text, root folder, options list, result variable.
bool qorFolderBoxDialog(const Params& params) {
    const std::string title = FolderDialogTitle(params.at(0), params.at(1));
    const std::vector<bool> chosen = ReadOptionList(params.at(3), std::size(kFolderOptions));
    const std::string& resultVariable = params.at(4);
    std::string initial = GetHostVariable(resultVariable + "_InitialDir");
    if (initial.empty() && !resultVariable.empty()) initial = GetHostVariable(resultVariable);
    initial = StartFolderOf(initial);

    UINT flags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    for (size_t i = 0; i < chosen.size(); ++i)
        if (chosen[i]) flags |= kFolderOptions[i];

    RequireModernShell();
    OleApartment ole; // for the dialog's duration: its new style needs OLE
    const UniqueTaskMem<ITEMIDLIST> root = RootList(params.at(2));
    char displayName[MAX_PATH] = {};
    BROWSEINFOA browse{};
    browse.hwndOwner = DialogOwner();
    browse.pidlRoot = root.get();
    browse.pszDisplayName = displayName;
    browse.lpszTitle = title.c_str();
    browse.ulFlags = flags;
    browse.lpfn = SelectInitialFolder;
    browse.lParam = reinterpret_cast<LPARAM>(&initial);
    const ThemedLookScope themed;
    const UniqueTaskMem<ITEMIDLIST> picked(SHBrowseForFolderA(&browse));
    if (!picked) return true; // cancelled

    char path[MAX_PATH] = {};
    if (!SHGetPathFromIDListA(picked.get(), path))
        throw ScriptError("The chosen item is not a folder or file of the file system.");
    if (!resultVariable.empty()) SetHostVariable(resultVariable, path);
    return true;
}

} // namespace qor
