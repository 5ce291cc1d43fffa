// The five system dialog actions driven like a user: a driver thread finds
// the dialog the action shows over the host window, types and clicks in it,
// and the action's result variables are checked afterwards.
#include <gtest/gtest.h>

#include <windows.h>
#include <colordlg.h>
#include <objbase.h>
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "DropTestSupport.h"
#include "HostEmulator.h"

using qorhost::HostEmulator;
using Strings = std::vector<std::string>;

namespace {

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

struct DialogSearch {
    HWND owner;
    bool anyOwner;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM lParam) {
    auto& search = *reinterpret_cast<DialogSearch*>(lParam);
    if (!IsWindowVisible(window) || ClassOf(window) != "#32770") return TRUE;
    if (!search.anyOwner && GetWindow(window, GW_OWNER) != search.owner) return TRUE;
    if (GetWindowThreadProcessId(window, nullptr) != GetWindowThreadProcessId(search.owner, nullptr)) return TRUE;
    search.found = window;
    return FALSE;
}

struct ChildSearch {
    std::function<bool(HWND)> match;
    HWND found;
};

BOOL CALLBACK MatchChild(HWND child, LPARAM lParam) {
    auto& search = *reinterpret_cast<ChildSearch*>(lParam);
    if (!search.match(child)) return TRUE;
    search.found = child;
    return FALSE;
}

HWND FindChild(HWND dialog, std::function<bool(HWND)> match) {
    ChildSearch search{std::move(match), nullptr};
    EnumChildWindows(dialog, MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string TreeItemText(HWND tree, WPARAM which) {
    char text[MAX_PATH] = {};
    TVITEMA item{};
    item.mask = TVIF_TEXT;
    item.hItem = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, which, 0));
    item.pszText = text;
    item.cchTextMax = MAX_PATH;
    if (item.hItem) SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return text;
}

HWND TreeOf(HWND dialog) {
    return FindChild(dialog, [](HWND c) { return ClassOf(c) == WC_TREEVIEWA; });
}

// The folder dialog's selected folder (its name), once it is `name` or after
// a while.
std::string WaitForSelection(HWND dialog, const std::string& name) {
    std::string selected;
    for (int i = 0; i < 60 && selected != name; ++i) {
        selected = TreeItemText(TreeOf(dialog), TVGN_CARET);
        if (selected != name) Sleep(50);
    }
    return selected;
}

// Drives, from a thread of its own, the dialog that the next action shows
// over `owner`. A dialog that does not come up owned by the host window is
// cancelled after a while (and the test fails) so that no test hangs.
class DialogDriver {
public:
    using Steps = std::function<void(HWND dialog)>;
    DialogDriver(HWND owner, Steps steps) : owner_(owner), steps_(std::move(steps)), thread_([this] { Run(); }) {}
    ~DialogDriver() {
        if (thread_.joinable()) thread_.join();
    }
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // After the action returned.
    bool Found() {
        if (thread_.joinable()) thread_.join();
        return found_;
    }
    bool ownerWasDisabled = false;
    bool forced = false; // the dialog had to be cancelled after the steps

private:
    void Run() {
        DialogSearch search{owner_, false, nullptr};
        for (int i = 0; i < 200 && !search.found; ++i) {
            EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
            if (!search.found) Sleep(50);
        }
        if (!search.found) {
            // Whatever dialog came up instead must not hold the test.
            DialogSearch any{owner_, true, nullptr};
            for (int i = 0; i < 40 && !any.found; ++i) {
                EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&any));
                if (!any.found) Sleep(50);
            }
            if (any.found) PostMessageA(any.found, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        found_ = true;
        Sleep(300); // the dialog finishes its start-up
        ownerWasDisabled = !IsWindowEnabled(owner_);
        SetForegroundWindow(search.found);
        Sleep(100);
        steps_(search.found);
        // A dialog the steps did not close (or a message box it raised) would
        // hold the test for ever: every dialog of the thread is cancelled then.
        for (int i = 0; i < 100 && IsWindow(search.found); ++i) Sleep(50);
        for (int i = 0; i < 100 && IsWindow(search.found); ++i) {
            forced = true;
            DialogSearch any{owner_, true, nullptr};
            EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&any));
            if (any.found) PostMessageA(any.found, WM_COMMAND, IDCANCEL, 0);
            Sleep(100);
        }
    }

    HWND owner_;
    Steps steps_;
    bool found_ = false;
    std::thread thread_;
};

// How the calling thread stands with COM: S_OK when it has no apartment,
// RPC_E_CHANGED_MODE when one was left behind for it, S_FALSE when it has a
// multithreaded one. Leaves the thread as it found it.
HRESULT ComStateOfThisThread() {
    const HRESULT result = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(result)) CoUninitialize();
    return result;
}

void Command(HWND dialog, int id, int code = BN_CLICKED) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    Sleep(50);
}

int CALLBACK CollectFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD type, LPARAM lParam) {
    if ((type & TRUETYPE_FONTTYPE) && font->lfFaceName[0] != '@')
        reinterpret_cast<Strings*>(lParam)->push_back(font->lfFaceName);
    return 1;
}

// A TrueType face the font dialog lists on this system.
std::string InstalledFace() {
    Strings faces;
    HDC screen = GetDC(nullptr);
    LOGFONTA any{};
    any.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExA(screen, &any, CollectFace, reinterpret_cast<LPARAM>(&faces), 0);
    ReleaseDC(nullptr, screen);
    for (const char* preferred : {"Tahoma", "Arial", "DejaVu Sans", "Liberation Sans"})
        for (const auto& face : faces)
            if (face == preferred) return face;
    return faces.empty() ? "Tahoma" : faces.front();
}

void Confirm(HWND dialog) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK))); }

class SystemDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Load());
        host.Activate();
        host.SetVar("[Result]", "unchanged");
    }

    // Runs the action while the driver works the dialog; the action's result.
    bool Run(const std::string& action, const Strings& params, DialogDriver::Steps steps) {
        DialogDriver driver(host.window(), std::move(steps));
        const bool result = host.Exec(action, params);
        EXPECT_TRUE(driver.Found()) << action << ": no dialog owned by the host window";
        EXPECT_TRUE(driver.ownerWasDisabled) << action << ": the host window stays usable under the dialog";
        EXPECT_FALSE(driver.forced) << action << ": the dialog did not close";
        host.Activate();
        return result;
    }

    // Its key input helpers touch nothing of the emulator's state, so the
    // driver thread types through them too.
    HostEmulator host;
    qortest::ScratchFolder scratch{"qorDialogs"};
};

// ---- open and save --------------------------------------------------------

TEST_F(SystemDialogs, OpenDialogTypingANameAndConfirmingWritesItsPath) {
    const std::string a = scratch.File("alpha.txt");
    scratch.File("beta.txt");
    std::string title;
    bool readOnlyBoxShown = true;
    EXPECT_TRUE(Run("qorFileOpenDialog", {"Pick one", "", "", "Text files|*.txt|Any File|*.*", scratch.path() + "\\", "", "[Result]"},
                    [&](HWND dialog) {
                        title = TextOf(dialog);
                        readOnlyBoxShown = IsWindowVisible(GetDlgItem(dialog, chx1));
                        host.TypeText("alpha.txt");
                        host.KeyPress(VK_RETURN);
                    }));
    EXPECT_EQ(title, "Pick one");
    EXPECT_FALSE(readOnlyBoxShown);
    EXPECT_EQ(host.Var("[Result]"), a);
    // Position 4 asks for the old look: a plain name field and no shell view.
    host.SetVar("[Result]", "");
    bool oldLook = false;
    EXPECT_TRUE(Run("qorFileOpenDialog", {"", "", "", "", scratch.path(), "False,False,False,True", "[Result]"},
                    [&](HWND dialog) {
                        oldLook = ClassOf(GetDlgItem(dialog, edt1)) == "Edit" &&
                                  !FindChild(dialog, [](HWND c) { return ClassOf(c) == "SHELLDLL_DefView"; });
                        host.TypeText("alpha.txt");
                        host.KeyPress(VK_RETURN);
                    }));
    EXPECT_TRUE(oldLook);
    EXPECT_EQ(host.Var("[Result]"), a);
    EXPECT_EQ(host.Var("[Result]"), a);
}

TEST_F(SystemDialogs, OpenDialogWithMultipleSelectionWritesBothPathsJoinedBySemicolons) {
    const std::string a = scratch.File("alpha.txt");
    const std::string b = scratch.File("beta.txt");
    EXPECT_TRUE(Run("qorFileOpenDialog", {"Pick two", "", "", "", scratch.path(), "True,True,True", "[Result]"},
                    [&](HWND) {
                        host.TypeText("\"alpha.txt\" \"beta.txt\"");
                        host.KeyPress(VK_RETURN);
                    }));
    EXPECT_EQ(host.Var("[Result]"), a + ";" + b);
}

TEST_F(SystemDialogs, CancellingAnyDialogWritesNothingAndSucceeds) {
    const struct {
        const char* action;
        Strings params;
    } dialogs[] = {
        {"qorFileOpenDialog", {"", "", "", "", scratch.path(), "", "[Result]"}},
        {"qorFileSaveDialog", {"", "txt", "name", "", scratch.path(), "", "[Result]"}},
        {"qorFolderBoxDialog", {"Pick", "", "", "", "[Result]"}},
        {"qorFontDialog", {"'Tahoma', 10, (), (clBlack)", "", "[Result]"}},
        {"qorColorDialog", {"clRed", "", "True", "False", "[Result]", "[Result]"}},
    };
    for (const auto& d : dialogs) {
        host.ClearLog();
        EXPECT_TRUE(Run(d.action, d.params, [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); }))
            << d.action << ": " << host.LastError();
        EXPECT_EQ(host.WritesTo("[Result]"), Strings{}) << d.action;
        EXPECT_EQ(host.Var("[Result]"), "unchanged") << d.action;
    }
}

// Cancels, from a thread of its own, every dialog the thread of `owner` shows
// until it is stopped; counts them.
class Canceller {
public:
    explicit Canceller(HWND owner) : owner_(owner), thread_([this] { Run(); }) {}
    ~Canceller() { Stop(); }
    int Stop() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        return cancelled_;
    }

private:
    void Run() {
        while (!stop_) {
            DialogSearch any{owner_, true, nullptr};
            EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&any));
            if (any.found && any.found != last_) {
                last_ = any.found;
                ++cancelled_;
            }
            if (any.found) PostMessageA(any.found, WM_COMMAND, IDCANCEL, 0);
            Sleep(50);
        }
    }
    HWND owner_;
    HWND last_ = nullptr;
    std::atomic<bool> stop_{false};
    int cancelled_ = 0;
    std::thread thread_;
};

// Every text of every dialog action a megabyte long: each call returns. An
// initial folder beyond the path limit is left out, so its dialog still shows.
TEST_F(SystemDialogs, MegabyteTextsNeverHoldACall) {
    const std::string huge(1 << 20, 'x');
    const std::string hugeFolder = "C:\\" + huge;
    const struct {
        const char* action;
        Strings params;
        const char* initialDir; // for [Result]_InitialDir
        bool shows;             // the dialog must come up
    } calls[] = {
        {"qorFileOpenDialog", {"", "", "", "", hugeFolder, "", "[Result]"}, "", true},
        {"qorFileSaveDialog", {"", "", "", "", hugeFolder + "\\", "", "[Result]"}, "", true},
        {"qorFileOpenDialog", {huge, huge, huge, huge + "|*.*", "", huge, "[Result]"}, "", false},
        {"qorFileSaveDialog", {huge, huge, huge, huge + "|*.*", "", huge, "[Result]"}, "", false},
        {"qorFolderBoxDialog", {"Pick", "", "", "", "[Result]"}, hugeFolder.c_str(), true},
        {"qorFolderBoxDialog", {huge, huge, hugeFolder, huge, "[Result]"}, "", false},
        {"qorFontDialog", {"'" + huge + "', 10, (), (clBlack)", huge, "[Result]"}, "", false},
        {"qorColorDialog", {"", "ColorA=" + huge, huge, huge, "[Result]", "[Result]"}, "", false},
    };
    for (const auto& call : calls) {
        host.SetVar("[Result]_InitialDir", call.initialDir);
        Canceller canceller(host.window());
        const bool result = host.Exec(call.action, call.params);
        const int shown = canceller.Stop();
        host.Activate();
        EXPECT_EQ(host.Var("[Result]"), "unchanged") << call.action;
        if (!call.shows) continue;
        EXPECT_TRUE(result) << call.action << ": " << host.LastError();
        EXPECT_EQ(shown, 1) << call.action;
    }
}

TEST_F(SystemDialogs, SaveDialogAddsTheDefaultExtensionToATypedName) {
    for (const std::string extension : {".txt", "txt"}) {
        EXPECT_TRUE(Run("qorFileSaveDialog", {"Save it", extension, "", "", scratch.path() + "\\", "", "[Result]"},
                        [&](HWND) {
                            host.TypeText("readme");
                            host.KeyPress(VK_RETURN);
                        }));
        EXPECT_EQ(host.Var("[Result]"), scratch.path() + "\\readme.txt") << extension;
    }
    // The suggested name is confirmed as it stands, with the extension added.
    EXPECT_TRUE(Run("qorFileSaveDialog", {"", "txt", "notes", "", scratch.path(), "", "[Result]"},
                    [&](HWND) { host.KeyPress(VK_RETURN); }));
    EXPECT_EQ(host.Var("[Result]"), scratch.path() + "\\notes.txt");
}

// ---- folder ----------------------------------------------------------------

TEST_F(SystemDialogs, FolderDialogStartsInTheInitialFolderAndShowsTheStatusOnASecondLine) {
    const std::string data = scratch.Folder("Data");
    const std::string other = scratch.Folder("Other");
    const HRESULT comBefore = ComStateOfThisThread(); // and as it is left after each dialog
    host.SetVar("[Folder]", data);
    // Under Wine the first folder dialog of a process that is given a start
    // folder stops on the way to it (later ones get there): one is opened
    // and cancelled first.
    host.SetVar("[Warm]", data);
    Run("qorFolderBoxDialog", {"", "", "", "", "[Warm]"}, [](HWND dialog) {
        WaitForSelection(dialog, "Data");
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    // The variable itself names the start when its _InitialDir is empty.
    host.SetVar("[Folder]", data);
    host.SetVar("[Folder]_InitialDir", "");
    bool titleShown = false, editShown = true, newFolderButton = false;
    std::string selected;
    EXPECT_TRUE(Run("qorFolderBoxDialog", {"Choose a folder", "Then press OK", "", "", "[Folder]"}, [&](HWND dialog) {
        selected = WaitForSelection(dialog, "Data");
        titleShown = FindChild(dialog, [](HWND c) { return TextOf(c) == "Choose a folder\r\nThen press OK"; }) != nullptr;
        editShown = FindChild(dialog, [](HWND c) { return ClassOf(c) == "Edit" && IsWindowVisible(c); }) != nullptr;
        newFolderButton = FindChild(dialog, [](HWND c) {
                              return TextOf(c).find("New Folder") != std::string::npos && IsWindowVisible(c);
                          }) != nullptr;
        Confirm(dialog);
    })) << host.LastError();
    EXPECT_EQ(selected, "Data");
    EXPECT_TRUE(titleShown);
    EXPECT_FALSE(editShown) << "no edit field without the option";
    EXPECT_TRUE(newFolderButton) << "a new-folder button without the option";
    EXPECT_EQ(host.Var("[Folder]"), data);
    // _InitialDir wins when it is not empty.
    host.SetVar("[Folder]", data);
    host.SetVar("[Folder]_InitialDir", other);
    selected.clear();
    EXPECT_TRUE(Run("qorFolderBoxDialog", {"Choose", "", "", "", "[Folder]"}, [&](HWND dialog) {
        selected = WaitForSelection(dialog, "Other");
        Confirm(dialog);
    }));
    EXPECT_EQ(selected, "Other");
    EXPECT_EQ(host.Var("[Folder]"), other);
    // The tree starts at the root folder.
    std::string rootItem;
    EXPECT_TRUE(Run("qorFolderBoxDialog", {"Choose", "", scratch.path(), "", "[Folder]"}, [&](HWND dialog) {
        WaitForSelection(dialog, "Other");
        rootItem = TreeItemText(TreeOf(dialog), TVGN_ROOT);
        Confirm(dialog);
    }));
    EXPECT_EQ(rootItem, scratch.path().substr(scratch.path().rfind('\\') + 1));
    EXPECT_EQ(host.Var("[Folder]"), other);
    // The edit field comes with the option, the new-folder button goes with the next.
    bool newFolderShown = true;
    EXPECT_TRUE(Run("qorFolderBoxDialog", {"Choose", "", "", "True,True", "[Folder]"}, [&](HWND dialog) {
        editShown = FindChild(dialog, [](HWND c) { return ClassOf(c) == "Edit" && IsWindowVisible(c); }) != nullptr;
        newFolderShown = FindChild(dialog, [](HWND c) {
                             return TextOf(c).find("New Folder") != std::string::npos && IsWindowVisible(c);
                         }) != nullptr;
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
    EXPECT_TRUE(editShown);
    EXPECT_FALSE(newFolderShown);
    EXPECT_EQ(ComStateOfThisThread(), comBefore) << "COM is left as it was found";
}

// ---- font ------------------------------------------------------------------

TEST_F(SystemDialogs, FontDialogReturnsTheChosenFontAndKeepsEffectsItDoesNotOffer) {
    const std::string installed = InstalledFace();
    bool scriptListEnabled = true;
    std::string face;
    auto chooseSize12 = [&](HWND dialog) {
        scriptListEnabled = IsWindowEnabled(GetDlgItem(dialog, cmb5));
        face = TextOf(GetDlgItem(dialog, cmb1));
        SendDlgItemMessageA(dialog, cmb3, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("12"));
        Command(dialog, cmb3, CBN_SELCHANGE);
        Confirm(dialog);
    };
    EXPECT_TRUE(Run("qorFontDialog", {"'" + installed + "', 10, (Bold|Underline), (clRed)", "", "[Result]"},
                    chooseSize12))
        << host.LastError();
    EXPECT_FALSE(scriptListEnabled);
    EXPECT_EQ(face, installed) << "the dialog starts at the given face";
    EXPECT_EQ(host.Var("[Result]"), "'" + installed + "', 12, (Bold|Underline), (clRed)");

    // With the effects group the dialog's underline and colour count.
    EXPECT_TRUE(Run("qorFontDialog", {"'" + installed + "', 10, (Italic), (clRed)", "False,False,True", "[Result]"},
                    [&](HWND dialog) {
                        CheckDlgButton(dialog, chx2, BST_CHECKED);
                        Command(dialog, chx2);
                        chooseSize12(dialog);
                    }));
    EXPECT_EQ(host.Var("[Result]"), "'" + installed + "', 12, (Italic|Underline), (clRed)");

    EXPECT_FALSE(host.Exec("qorFontDialog", {"'Tahoma', x, (), (clBlack)", "", "[Result]"}));
    EXPECT_EQ(host.LastError(), "'x' is not a valid integer value");
}

// ---- colour ----------------------------------------------------------------

TEST_F(SystemDialogs, ColorDialogRoundTripsTheCustomColourList) {
    bool mixEnabled = true;
    // The current colour goes into the first free custom slot, A.
    EXPECT_TRUE(Run("qorColorDialog", {"clRed", "Note=kept\r\nColorB=00ff00", "True", "False", "[Color]", "[Custom]"},
                    [&](HWND dialog) {
                        Command(dialog, COLOR_ADD);
                        Confirm(dialog);
                    }))
        << host.LastError();
    EXPECT_EQ(host.Var("[Color]"), "clRed");
    std::string expected = "Note=kept\r\nColorB=00ff00\r\nColorA=0000ff";
    for (char slot = 'C'; slot <= 'P'; ++slot) expected += std::string("\r\nColor") + slot + "=ffffffff";
    EXPECT_EQ(host.Var("[Custom]"), expected);

    // The written list goes in again unchanged; the panel's button can be locked.
    EXPECT_TRUE(Run("qorColorDialog", {"$00FF0000", host.Var("[Custom]"), "False", "True", "[Color]", "[Custom]"},
                    [&](HWND dialog) {
                        mixEnabled = IsWindowEnabled(GetDlgItem(dialog, COLOR_MIX));
                        Confirm(dialog);
                    }));
    EXPECT_FALSE(mixEnabled);
    EXPECT_EQ(host.Var("[Color]"), "clBlue");
    EXPECT_EQ(host.Var("[Custom]"), expected);

    // Unreadable values fail before any dialog shows.
    EXPECT_FALSE(host.Exec("qorColorDialog", {"", "ColorA=12345g", "", "", "[Color]", "[Custom]"}));
    EXPECT_EQ(host.LastError(), "'12345g' is not a valid integer value");
    EXPECT_FALSE(host.Exec("qorColorDialog", {"reddish", "", "", "", "[Color]", "[Custom]"}));
    EXPECT_EQ(host.LastError(), "'reddish' is not a valid integer value");
}

} // namespace
