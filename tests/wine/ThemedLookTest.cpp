// The plug-in's windows use version 6 of the common controls (the themed
// look) in a host without a manifest, and the host's own windows stay as the
// host made them.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "AllKinds.h"
#include "EditDialogDriver.h"
#include "HostEmulator.h"
#include "host/ActionCatalogue.h"

using qorhost::HostEmulator;
using namespace qortest;

namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The file of the module whose code runs the window's class, in lower case.
std::string ClassModule(HWND window) {
    const auto procedure = reinterpret_cast<LPCSTR>(GetClassLongPtrW(window, GCLP_WNDPROC));
    HMODULE module = nullptr;
    char path[MAX_PATH] = {};
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           procedure, &module))
        GetModuleFileNameA(module, path, MAX_PATH);
    return Lower(path);
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A control of the system's standard or common classes (the dialog class
// itself aside): its class runs in the window manager or the common controls.
bool IsSystemControl(HWND window) {
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (std::string(cls) == "#32770") return false;
    const std::string module = ClassModule(window);
    return EndsWith(module, "\\user32.dll") || EndsWith(module, "\\comctl32.dll");
}

// Version 6: the class is run by the common controls library of the side-by-
// side version 6 assembly, and a button answers a message only that version
// knows. (The version number the library itself reports is no help: Wine's
// says 5.81 in every place it is loaded from.)
bool IsVersion6(HWND window) {
    if (ClassModule(window).find("common-controls_6595b64144ccf1df_6.") == std::string::npos) return false;
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (_stricmp(cls, "Button") != 0) return true;
    SIZE ideal{};
    return SendMessageA(window, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)) != 0;
}

BOOL CALLBACK CollectSystemControl(HWND child, LPARAM lParam) {
    if (IsSystemControl(child)) reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(child);
    return TRUE;
}

std::vector<HWND> SystemControlsIn(HWND root) {
    std::vector<HWND> found;
    EnumChildWindows(root, CollectSystemControl, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Whether version 6 of this system has a class of that name of its own: a
// window of it made inside a context from the plug-in's manifest is version
// 6. (Wine 8's common controls have no scroll bar, which file dialogs use
// for their size grip.)
bool Version6Has(HMODULE plugIn, const std::string& cls) {
    static std::map<std::string, bool> known;
    if (auto it = known.find(cls); it != known.end()) return it->second;
    ACTCTXA request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.hModule = plugIn;
    request.lpResourceName = MAKEINTRESOURCEA(2);
    const HANDLE context = CreateActCtxA(&request);
    bool has = false;
    ULONG_PTR cookie = 0;
    if (context != INVALID_HANDLE_VALUE && ActivateActCtx(context, &cookie)) {
        if (HWND probe = CreateWindowExA(0, cls.c_str(), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                         nullptr)) {
            has = IsVersion6(probe);
            DestroyWindow(probe);
        }
        DeactivateActCtx(0, cookie);
    }
    if (context != INVALID_HANDLE_VALUE) ReleaseActCtx(context);
    return known[cls] = has;
}

// Describes every system control under root that is not version 6 although
// version 6 has its class.
std::string OldControlsIn(HMODULE plugIn, HWND root) {
    std::string old;
    for (HWND control : SystemControlsIn(root)) {
        if (IsVersion6(control)) continue;
        char cls[64] = {};
        GetClassNameA(control, cls, sizeof cls);
        if (!Version6Has(plugIn, cls)) continue;
        old += std::string(cls) + " (" + ClassModule(control) + ") ";
    }
    return old;
}

HANDLE CurrentContext() {
    HANDLE context = nullptr;
    GetCurrentActCtx(&context);
    if (context) ReleaseActCtx(context);
    return context;
}

class ThemedLook : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Load());
        ASSERT_TRUE(Version6Has(host.module(), "Button")) << "the plug-in carries the manifest for version 6";
        contextBefore = CurrentContext();
    }
    void TearDown() override {
        EXPECT_EQ(CurrentContext(), contextBefore) << "the thread's context is left as it was";
        // A control the host makes after the plug-in ran keeps the process's
        // default look (version 5: the window manager's own class).
        HWND own = CreateWindowExA(0, "BUTTON", "host", WS_CHILD | BS_PUSHBUTTON, 0, 0, 50, 20, host.window(),
                                   nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(own, nullptr);
        EXPECT_TRUE(IsSystemControl(own));
        EXPECT_FALSE(IsVersion6(own)) << ClassModule(own);
        DestroyWindow(own);
    }

    // Runs a call that shows a modal dialog, checks the dialog's controls and
    // cancels it.
    void CheckDialog(const std::string& what, std::function<bool()> call) {
        SCOPED_TRACE(what);
        size_t controls = 0;
        std::string old = "(not seen)";
        bool completed = false;
        RunWithSteps(host, call, {{"", [&](HWND dialog) {
                                       controls = SystemControlsIn(dialog).size();
                                       old = OldControlsIn(host.module(), dialog);
                                       PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                                   }}},
                     &completed);
        EXPECT_TRUE(completed);
        EXPECT_GT(controls, 0u);
        EXPECT_EQ(old, "");
    }

    HostEmulator host;
    HANDLE contextBefore = nullptr;
};

TEST_F(ThemedLook, EveryKindsControlsAreVersion6) {
    int y = 10;
    for (const auto& kind : AllKinds()) {
        host.AddRectangle(kind.rect, 10, y, 200, 60);
        y += 70;
        ASSERT_TRUE(host.Exec(kind.action, kind.params)) << kind.action << ": " << host.LastError();
        EXPECT_EQ(CurrentContext(), contextBefore) << kind.action;
    }
    for (const auto& late : LateWindowActions()) ASSERT_TRUE(host.Exec(late.action, late.params)) << late.action;
    size_t total = 0;
    for (const auto& kind : AllKinds()) {
        SCOPED_TRACE(kind.rect);
        HWND control = host.ControlWindow(kind.rect);
        ASSERT_NE(control, nullptr);
        total += SystemControlsIn(control).size();
        EXPECT_EQ(OldControlsIn(host.module(), control), "");
    }
    // Drop-downs, lists, editors, the search strip and the hot key field.
    EXPECT_GE(total, 9u);
}

TEST_F(ThemedLook, EditingDialogsAboutBoxAndSystemDialogsAreVersion6) {
    // One editing dialog of each family.
    for (int32_t id : {1, 5, 18, 24, 44, 46, 51, 57, 61, 64}) {
        std::vector<std::string> params(qor::FindAction(id)->count, "");
        CheckDialog("editing dialog " + std::to_string(id), [&] { return host.Edit(id, params); });
    }
    CheckDialog("About box", [&] {
        host.About();
        return true;
    });
    const std::vector<KindCase> dialogs = {
        {"", "qorColorDialog", {"", "", "", "", "[Color]", "[Custom]"}},
        {"", "qorFontDialog", {"'Tahoma', 10, (), (clBlack)", "", "[Font]"}},
        {"", "qorFileOpenDialog", {"", "", "", "", "C:\\windows", "", "[File]"}},
        {"", "qorFileSaveDialog", {"", "txt", "name", "", "C:\\windows", "", "[File]"}},
        {"", "qorFolderBoxDialog", {"Pick", "", "", "", "[Folder]"}},
    };
    for (const auto& dialog : dialogs)
        CheckDialog(dialog.action, [&] { return host.Exec(dialog.action, dialog.params); });
}

} // namespace
