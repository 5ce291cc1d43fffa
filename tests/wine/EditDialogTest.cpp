// nbEditAction: the dialog frame every editing dialog shares, and the dialog
// families operated as an author would, with the parameter blocks checked.
#include <gtest/gtest.h>

#include <fstream>

#include "EditDialogDriver.h"
#include "HostEmulator.h"

using qorhost::HostEmulator;
using namespace qortest;

namespace {

using Texts = std::vector<std::string>;
using Replaced = std::vector<bool>;

class EditDialogs : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.Load()); }

    // Opens id's dialog, runs `steps` on it, and answers nbEditAction's result.
    bool Edit(int32_t id, Texts& params, const std::string& caption, std::function<void(HWND)> act,
              std::vector<DialogStep> more = {}) {
        std::vector<DialogStep> steps = {{caption, std::move(act)}};
        steps.insert(steps.end(), more.begin(), more.end());
        bool completed = false;
        const bool result = EditWithSteps(host, id, params, std::move(steps), &completed);
        EXPECT_TRUE(completed) << caption << " did not run every step";
        return result;
    }

    HostEmulator host;
};

TEST_F(EditDialogs, IdsOutsideTheCatalogueShowNothingAndTouchNothing) {
    for (int32_t id : {0, 74, -1}) {
        Texts params = {"Rect1", "x"};
        EXPECT_FALSE(host.Edit(id, params));
        EXPECT_EQ(params, (Texts{"Rect1", "x"}));
        EXPECT_EQ(host.lastEditReplaced, (Replaced{false, false}));
    }
}

TEST_F(EditDialogs, TheFrameIsModalFixedCentredArialNineWithOkAndCancel) {
    struct Seen {
        HWND owner = nullptr;
        LONG style = 0, exStyle = 0;
        std::string face;
        LONG fontHeight = 0;
        RECT window{}, ok{}, cancel{};
        bool okIsDefault = false, hostDisabled = false;
        std::vector<std::string> tabOrder;
    } seen;
    Texts params = {"C:\\keys.txt", "True"};
    const bool ok = Edit(3, params, "LoadHotKeys Properties", [&](HWND d) {
        seen.owner = GetWindow(d, GW_OWNER);
        seen.style = GetWindowLongA(d, GWL_STYLE);
        seen.exStyle = GetWindowLongA(d, GWL_EXSTYLE);
        LOGFONTA font{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(d, WM_GETFONT, 0, 0)), sizeof font, &font);
        seen.face = font.lfFaceName;
        seen.fontHeight = font.lfHeight;
        GetWindowRect(d, &seen.window);
        GetWindowRect(GetDlgItem(d, IDOK), &seen.ok);
        GetWindowRect(GetDlgItem(d, IDCANCEL), &seen.cancel);
        seen.okIsDefault = (GetWindowLongA(GetDlgItem(d, IDOK), GWL_STYLE) & 0xF) == BS_DEFPUSHBUTTON;
        seen.hostDisabled = !IsWindowEnabled(host.window());
        HWND first = Field(d, "&File");
        HWND item = first;
        do {
            const std::string hint = HintOf(d, item);
            seen.tabOrder.push_back(hint.empty() ? TextOf(item) : hint);
            item = GetNextDlgTabItem(d, item, FALSE);
        } while (item && item != first);
        Press(d, IDCANCEL);
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(seen.owner, host.window()) << "owned by the window active at the call";
    EXPECT_TRUE(seen.hostDisabled) << "modal";
    EXPECT_TRUE(seen.style & WS_CAPTION);
    EXPECT_FALSE(seen.style & WS_THICKFRAME) << "a fixed border";
    EXPECT_TRUE(seen.exStyle & WS_EX_DLGMODALFRAME);
    EXPECT_EQ(seen.face, "Arial");
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(seen.fontHeight, -MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72));
    ReleaseDC(nullptr, screen);
    const int cx = (seen.window.left + seen.window.right) / 2, cy = (seen.window.top + seen.window.bottom) / 2;
    EXPECT_NEAR(cx, GetSystemMetrics(SM_CXSCREEN) / 2, 2);
    EXPECT_NEAR(cy, GetSystemMetrics(SM_CYSCREEN) / 2, 2);
    EXPECT_TRUE(seen.okIsDefault);
    EXPECT_LT(seen.ok.right, seen.cancel.left) << "OK, then Cancel";
    EXPECT_GT(seen.ok.top, seen.window.bottom - 3 * (seen.ok.bottom - seen.ok.top)) << "at the bottom";
    EXPECT_GT(seen.cancel.right, seen.window.right - 3 * (seen.ok.bottom - seen.ok.top)) << "at the right";
    EXPECT_EQ(seen.tabOrder, (Texts{"C:\\keys.txt", "Select a Variable", "Select a File", "Decrypt before load", "OK", "Cancel"}));
}

// The shared file dialog and the rectangle-only dialog, for every id they serve:
// caption, labels, pickers and what OK without changes writes.
struct FamilyCase {
    int32_t id;
    std::string caption;
    Texts params;
    std::string fieldLabel;
    Texts pickers;
    std::string checkLabel; // empty: no check box
    Texts written;
    Replaced replaced;
};

TEST_F(EditDialogs, SharedDialogsServeEachCallerWithItsCaption) {
    std::vector<FamilyCase> cases;
    const Texts filePickers = {"Select a Variable", "Select a File"};
    const Texts rectPickers = {"Select a Rectangle", "Select a Variable"};
    for (auto [id, name, check] : std::vector<std::tuple<int, const char*, const char*>>{
             {3, "LoadHotKeys", "Decrypt before load"},
             {4, "SaveHotKeys", "Encrypt before save"},
             {66, "LoadHotKeyManager", "Decrypt before load"},
             {67, "SaveHotKeyManager", "Encrypt before save"},
             {70, "LoadLocalKeyManager", "Decrypt before load"},
             {71, "SaveLocalKeyManager", "Encrypt before save"}})
        cases.push_back({id, std::string(name) + " Properties", {"[File]", "1"}, "&File", filePickers, check,
                         {"[File]", "True"}, {true, true}});
    const char* commands[] = {"Undo", "Redo", "ClearUndo", "Cut", "Copy", "Paste", "Delete",
                              "SelectAll", "DeselectAll", "Focus", "ScrollToCaret"};
    for (int id = 29; id <= 39; ++id)
        cases.push_back({id, std::string("SmartEdit") + commands[id - 29] + " Properties", {"Rect1"}, "&Rectangle",
                         rectPickers, "", {"Rect1"}, {true}});
    cases.push_back({72, "FocusHotKey Properties", {"Rect1", "Ctrl+K"}, "&Rectangle", rectPickers, "",
                     {"Rect1", "Ctrl+K"}, {true, false}});
    for (FamilyCase& c : cases) {
        std::string fieldText, check;
        Texts pickers;
        Texts params = c.params;
        const bool ok = Edit(c.id, params, c.caption, [&](HWND d) {
            HWND field = Field(d, c.fieldLabel);
            fieldText = TextOf(field);
            pickers = PickerHints(d, field);
            if (!c.checkLabel.empty()) check = CheckOf(Field(d, c.checkLabel));
            QueueKey(VK_RETURN); // Enter is OK
        });
        EXPECT_TRUE(ok) << c.id;
        EXPECT_EQ(fieldText, c.params[0]) << c.id;
        EXPECT_EQ(pickers, c.pickers) << c.id;
        if (!c.checkLabel.empty()) {
            EXPECT_EQ(check, "checked") << c.id;
        }
        EXPECT_EQ(params, c.written) << c.id;
        EXPECT_EQ(host.lastEditReplaced, c.replaced) << c.id;
    }
    EXPECT_EQ(host.Blocks().handedOverNotReleased, 0u);
}

TEST_F(EditDialogs, TheAuthorTypesWithMnemonicsClicksAndConfirms) {
    Texts params = {"old.txt", "False"};
    std::string focusedAfterAlt;
    const std::string caption = "SaveHotKeys Properties";
    const bool ok = Edit(
        4, params, caption,
        [&](HWND d) {
            SetFocus(Field(d, "Encrypt before save"));
            QueueKey('F', true); // Alt+F: the "&File" field, which selects its text
        },
        {{caption,
          [&](HWND d) {
              focusedAfterAlt = GetFocus() == Field(d, "&File") ? "file" : "elsewhere";
              QueueText("new.dat");
          }},
         {caption, [&](HWND d) { ClickCentre(host, Field(d, "Encrypt before save")); }},
         {caption, [&](HWND d) { ClickCentre(host, GetDlgItem(d, IDOK)); }}});
    EXPECT_TRUE(ok);
    EXPECT_EQ(focusedAfterAlt, "file");
    EXPECT_EQ(params, (Texts{"new.dat", "True"}));
}

TEST_F(EditDialogs, CancelEscapeAndClosingLeaveEveryBlock) {
    const std::vector<std::function<void(HWND)>> closers = {
        [](HWND d) { Press(d, IDCANCEL); },
        [](HWND) { QueueKey(VK_ESCAPE); },
        [](HWND d) { SendMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    for (size_t k = 0; k < closers.size(); ++k) {
        Texts params = {"a.txt", "True"};
        const bool ok = Edit(3, params, "LoadHotKeys Properties", [&](HWND d) {
            SetWindowTextA(Field(d, "&File"), "changed");
            SendMessageA(Field(d, "Decrypt before load"), BM_CLICK, 0, 0);
            closers[k](d);
        });
        EXPECT_FALSE(ok) << k;
        EXPECT_EQ(params, (Texts{"a.txt", "True"})) << k;
        EXPECT_EQ(host.lastEditReplaced, (Replaced{false, false})) << k;
    }
}

TEST_F(EditDialogs, AFlagItCannotShowSurvivesUntilTheBoxIsClicked) {
    for (bool click : {false, true}) {
        Texts params = {"keys.txt", "[Encrypt]"};
        std::string shown;
        EXPECT_TRUE(Edit(4, params, "SaveHotKeys Properties", [&](HWND d) {
            shown = CheckOf(Field(d, "Encrypt before save"));
            if (click) ClickCentre(host, Field(d, "Encrypt before save"));
            Press(d, IDOK);
        }));
        EXPECT_EQ(shown, "clear");
        EXPECT_EQ(params, (Texts{"keys.txt", click ? "True" : "[Encrypt]"})) << click;
        EXPECT_EQ(host.lastEditReplaced, (Replaced{true, click})) << click;
    }
}

TEST_F(EditDialogs, PickersAskTheHostWithTheFieldsText) {
    host.pickObject = [](std::string& name) {
        name = "Rect9";
        return true;
    };
    host.pickVariable = [](std::string&) { return false; }; // the author cancels the picker
    Texts params = {"Rect1"};
    std::string afterObject, afterCancelledVariable;
    EXPECT_TRUE(Edit(38, params, "SmartEditFocus Properties", [&](HWND d) {
        HWND field = Field(d, "&Rectangle");
        SendMessageA(Picker(d, field, "Select a Rectangle"), BM_CLICK, 0, 0);
        afterObject = TextOf(field);
        SendMessageA(Picker(d, field, "Select a Variable"), BM_CLICK, 0, 0);
        afterCancelledVariable = TextOf(field);
        host.pickVariable = [](std::string& name) {
            name = "[Target]";
            return true;
        };
        SendMessageA(Picker(d, field, "Select a Variable"), BM_CLICK, 0, 0);
        Press(d, IDOK);
    }));
    EXPECT_EQ(afterObject, "Rect9");
    EXPECT_EQ(afterCancelledVariable, "Rect9");
    EXPECT_EQ(params, (Texts{"[Target]"}));
    const std::vector<std::pair<int32_t, std::string>> asked = {{8, "Rect1"}, {14, "Rect9"}, {14, "Rect9"}};
    EXPECT_EQ(host.requests, asked) << "no subroutine list for a dialog without event fields";
}

TEST_F(EditDialogs, TheFilePickerPutsTheChosenPathIntoTheField) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "qordialogs.hk";
    std::ofstream(path) << "Rect1=Ctrl+A\r\n";
    Texts params = {"", "False"};
    std::string filter;
    const bool ok = Edit(
        70, params, "LoadLocalKeyManager Properties",
        [&](HWND d) { SendMessageA(Picker(d, Field(d, "&File"), "Select a File"), BM_CLICK, 0, 0); },
        {{"Open",
          [&](HWND open) {
              HWND types = GetDlgItem(open, 0x470); // the file type list
              filter = Selected(types);
              HWND name = GetDlgItem(open, 0x47c);
              if (!name) name = GetDlgItem(open, 0x480);
              SetWindowTextA(name, path.c_str());
              SendMessageA(open, WM_COMMAND, IDOK, 0);
          }},
         {"LoadLocalKeyManager Properties", [](HWND d) { Press(d, IDOK); }}});
    DeleteFileA(path.c_str());
    EXPECT_TRUE(ok);
    EXPECT_EQ(filter, "Any files *.*");
    EXPECT_EQ(_stricmp(params[0].c_str(), path.c_str()), 0) << params[0];
    EXPECT_EQ(params[1], "False");
}

} // namespace

namespace {

// The engine's features for the key manager, track bar and file drop dialogs,
// on the test build's own dialog (id 1101): hot key capture with a holder,
// focus events, notes, option lists, enabling by a check box.
TEST_F(EditDialogs, CaptureFieldsNotesOptionsAndEnablingWork) {
    Texts params = {"ctrl+a", "True,x", "[f]", "True"};
    const std::string caption = "Engine Test Properties";
    struct {
        WPARAM loadedKey = 0, typedKey = 0, afterEntering = 1;
        std::string variableAfterKey = "?", options;
        bool flagDisabled = false, flagEnabledAgain = false;
        LONG orWeight = 0;
        COLORREF noteColour = 0;
    } seen;
    const bool ok = Edit(
        1101, params, caption,
        [&](HWND d) {
            HWND capture = Field(d, "HotKey:");
            seen.loadedKey = SendMessageA(capture, HKM_GETHOTKEY, 0, 0);
            for (int k = 0; k < 3; ++k) seen.options += CheckOf(Entry(d, "Options:", k)) + " ";
            seen.flagDisabled = !IsWindowEnabled(Field(d, "Show caption:"));
            LOGFONTA font{};
            GetObjectA(reinterpret_cast<HFONT>(SendMessageA(Labelled(d, "OR"), WM_GETFONT, 0, 0)), sizeof font, &font);
            seen.orWeight = font.lfWeight;
            HWND note = Labelled(d, "This variable will contain ERROR on hotkey registration failure. ");
            RECT r{};
            GetClientRect(note, &r);
            HDC dc = GetDC(note);
            seen.noteColour = GetPixel(dc, r.right - 2, r.bottom - 2);
            ReleaseDC(note, dc);
            SetFocus(capture);
            QueueKey('K', false, true, true); // Ctrl+Shift+K
        },
        {{caption,
          [&](HWND d) {
              seen.typedKey = SendMessageA(Field(d, "HotKey:"), HKM_GETHOTKEY, 0, 0);
              seen.variableAfterKey = TextOf(Field(d, "Variable:"));
              ClickCentre(host, Field(d, "Variable:"));
          }},
         {caption,
          [&](HWND d) {
              seen.afterEntering = SendMessageA(Field(d, "HotKey:"), HKM_GETHOTKEY, 0, 0);
              QueueText("[V]");
          }},
         {caption,
          [&](HWND d) {
              ClickCentre(host, Field(d, "Attach to windows volume slider"));
              seen.flagEnabledAgain = IsWindowEnabled(Field(d, "Show caption:"));
              Press(d, IDOK);
          }}});
    EXPECT_TRUE(ok);
    EXPECT_EQ(seen.loadedKey, static_cast<WPARAM>('A' | (HOTKEYF_CONTROL << 8)));
    EXPECT_EQ(seen.typedKey, static_cast<WPARAM>('K' | ((HOTKEYF_CONTROL | HOTKEYF_SHIFT) << 8)));
    EXPECT_EQ(seen.variableAfterKey, "");
    EXPECT_EQ(seen.afterEntering, 0u) << "entering the variable field clears the key";
    EXPECT_EQ(seen.options, "clear clear clear ") << "an unreadable list keeps the stored text";
    EXPECT_TRUE(seen.flagDisabled);
    EXPECT_TRUE(seen.flagEnabledAgain);
    EXPECT_EQ(seen.orWeight, FW_BOLD);
    EXPECT_EQ(seen.noteColour, RGB(255, 251, 240));
    EXPECT_EQ(params, (Texts{"[V]", "True,x", "[f]", "False"}));
    EXPECT_EQ(host.lastEditReplaced, (Replaced{true, false, false, true}));
}

TEST_F(EditDialogs, AHolderThatIsNoShortcutShowsInTheVariableField) {
    for (const std::string& stored : {std::string("[HotKeyVar]"), std::string("Alt+F5")}) {
        Texts params = {stored, "", "", ""};
        std::string variable;
        WPARAM key = 0;
        EXPECT_TRUE(Edit(1101, params, "Engine Test Properties", [&](HWND d) {
            variable = TextOf(Field(d, "Variable:"));
            key = SendMessageA(Field(d, "HotKey:"), HKM_GETHOTKEY, 0, 0);
            Press(d, IDOK);
        }));
        const bool isKey = stored == "Alt+F5";
        EXPECT_EQ(variable, isKey ? "" : stored);
        EXPECT_EQ(key, isKey ? static_cast<WPARAM>(VK_F5 | (HOTKEYF_ALT << 8)) : 0u);
        EXPECT_EQ(params[0], stored);
        EXPECT_EQ(params[1], "False,False,False");
        EXPECT_EQ(params[2], "");
        EXPECT_EQ(params[3], "False");
    }
}

} // namespace

namespace {

TEST_F(EditDialogs, FolderAndCustomPickersFillTheirFields) {
    Texts params = {"", "", "", ""};
    const std::string caption = "Engine Test Properties";
    std::string folder, custom, hint;
    const bool ok = Edit(
        1101, params, caption,
        [&](HWND d) {
            HWND field = Field(d, "Custom:");
            SetWindowTextA(field, "x");
            hint = PickerHints(d, field).at(0);
            SendMessageA(Picker(d, field, "Mark the text"), BM_CLICK, 0, 0);
            custom = TextOf(field);
            SendMessageA(Picker(d, Field(d, "Root Dir:"), "Select a Directory"), BM_CLICK, 0, 0);
        },
        {{"Browse for Folder", [](HWND b) { SendMessageA(b, WM_COMMAND, IDOK, 0); }},
         {caption, [&](HWND d) {
              folder = TextOf(Field(d, "Root Dir:"));
              Press(d, IDCANCEL);
          }}});
    EXPECT_FALSE(ok);
    EXPECT_EQ(hint, "Mark the text");
    EXPECT_EQ(custom, "<x>");
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) << folder;
}

} // namespace
