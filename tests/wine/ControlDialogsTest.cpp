// Editing dialogs of the check list, file drop, track bar, hot key, key manager
// and system dialog actions, operated as an author would: the fields read back,
// real clicks and keys, OK, and the parameter blocks that were replaced.
#include <gtest/gtest.h>

#include "EditDialogDriver.h"
#include "HostEmulator.h"
#include "ListTestSupport.h"

using qorhost::HostEmulator;
using namespace qortest;

namespace {

using Texts = std::vector<std::string>;
using Replaced = std::vector<bool>;
using Act = std::function<void(HWND)>;

class ControlDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Load());
        host.subroutineList = "Sub1\r\nSub2";
    }

    // Every step acts on the dialog captioned `caption`; true when OK closed it.
    bool Edit(int32_t id, Texts& params, const std::string& caption, std::vector<Act> acts) {
        std::vector<DialogStep> steps;
        for (Act& act : acts) steps.push_back({caption, std::move(act)});
        bool completed = false;
        const bool ok = EditWithSteps(host, id, params, std::move(steps), &completed);
        EXPECT_TRUE(completed) << caption;
        return ok;
    }

    HostEmulator host;
};

bool Enabled(HWND control) { return control && IsWindowEnabled(control); }

TEST_F(ControlDialogs, CheckListCreateFollowsTheCheckKindAndCodesItsItems) {
    Texts params = {"CLB1", "[m]", "", "", "", "", "C", "U", "G", "S"};
    std::string multi, kind;
    bool radioLabel = false, disabled = false, restored = false;
    const bool ok = Edit(51, params, "CreateCheckListBox Properties",
                         {[&](HWND d) {
                              multi = CheckOf(Field(d, "Multi select"));
                              kind = Selected(Field(d, "Check kind:"));
                              PickComboItem(host, Field(d, "Check kind:"), 2);
                          },
                          [&](HWND d) {
                              radioLabel = Field(d, "Store the checked item in this variable:") != nullptr;
                              HWND unchecked = Field(d, "Store the unchecked items in this variable (Optional):");
                              disabled = !Enabled(Field(d, "Allow gray")) &&
                                         !Enabled(Field(d, "Create individual variables for each item.")) &&
                                         !Enabled(unchecked) && !Enabled(Picker(d, unchecked, "Select a Variable")) &&
                                         !Enabled(Field(d, "Store the grayed items in this variable (Optional):")) &&
                                         Enabled(Field(d, "Store the selected items in this variable (Optional):"));
                              SetFocus(Field(d, "&Items:"));
                              QueueText("one");
                              QueueKey(VK_RETURN);
                              QueueText("say \"two\"");
                          },
                          [&](HWND d) { PickComboItem(host, Field(d, "Check kind:"), 1); },
                          [&](HWND d) {
                              restored = Enabled(Field(d, "Allow gray")) &&
                                         Enabled(Field(d, "Store the checked items in this variable (Optional):")) &&
                                         Enabled(Field(d, "Store the grayed items in this variable (Optional):"));
                              ClickCentre(host, Field(d, "Allow gray"));
                              Press(d, IDOK);
                          }});
    EXPECT_TRUE(ok);
    EXPECT_EQ(multi, "clear");
    EXPECT_EQ(kind, "CheckBoxes");
    EXPECT_TRUE(radioLabel);
    EXPECT_TRUE(disabled);
    EXPECT_TRUE(restored);
    EXPECT_EQ(params, (Texts{"CLB1", "[m]", "True", "one[#13][#10]say [#34]two[#34]", "1", "False", "C", "U", "G", "S"}));
    EXPECT_EQ(host.lastEditReplaced, (Replaced{true, false, true, true, true, true, true, true, true, true}));
}

// A check box that enables or disables other fields, clicked once.
TEST_F(ControlDialogs, CheckBoxesEnableAndDisableTheirFields) {
    struct Case {
        int32_t id;
        std::string caption, box;
        Texts dependents;
        bool enabledBefore;
        Texts params, written;
        Replaced replaced;
    };
    const std::vector<Case> cases = {
        {44, "CreateFileDragDrop Properties", "Default", {"Text:", "Text color:"}, false,
         {"R", "Drop here", "[c]", "False", "", "F", "", "[Sub]"},
         {"R", "Drop here", "[c]", "True", "", "F", "", "[Sub]"},
         {true, true, false, true, true, true, true, true}},
        {46, "CreateTrackBar Properties", "Attach to windows volume slider", {"Minimum:", "Maximum:", "Value:"}, true,
         {"TB", "", "", "5", "50", "7", "1", "", "V"},
         {"TB", "20", "16", "5", "50", "7", "1", "True", "V"},
         Replaced(9, true)},
    };
    for (const Case& c : cases) {
        Texts params = c.params;
        std::vector<bool> before, after;
        const auto states = [&](HWND d, std::vector<bool>& out) {
            for (const std::string& label : c.dependents) out.push_back(Enabled(Field(d, label)));
        };
        const bool ok = Edit(c.id, params, c.caption,
                             {[&](HWND d) {
                                  states(d, before);
                                  ClickCentre(host, Field(d, c.box));
                              },
                              [&](HWND d) {
                                  states(d, after);
                                  Press(d, IDOK);
                              }});
        EXPECT_TRUE(ok) << c.id;
        EXPECT_EQ(before, std::vector<bool>(c.dependents.size(), c.enabledBefore)) << c.id;
        EXPECT_EQ(after, std::vector<bool>(c.dependents.size(), !c.enabledBefore)) << c.id;
        EXPECT_EQ(params, c.written) << c.id;
        EXPECT_EQ(host.lastEditReplaced, c.replaced) << c.id;
    }
}

TEST_F(ControlDialogs, TrackBarGreyBoxesKeepWhatTheyCannotShow) {
    Texts params = {"TB", "[s]", "True", "", "clRed", "[b]", "", ""};
    Texts checks, colours;
    const bool ok = Edit(47, params, "TrackBarSetProperties Properties",
                         {[&](HWND d) {
                              for (const char* box : {"Show caption:", "Back border", "Track border"})
                                  checks.push_back(CheckOf(Field(d, box)));
                              for (const char* list : {"Background color:", "Border color:", "Thumb color:"})
                                  colours.push_back(Selected(Field(d, list)));
                              ClickCentre(host, Field(d, "Track border")); // grey -> clear
                              Press(d, IDOK);
                          }});
    EXPECT_TRUE(ok);
    EXPECT_EQ(checks, (Texts{"grey", "checked", "grey"}));
    EXPECT_EQ(colours, (Texts{"clRed", "clNone", "clNone"}));
    EXPECT_EQ(params, (Texts{"TB", "[s]", "True", "False", "clRed", "[b]", "clNone", "clNone"}));
    EXPECT_EQ(host.lastEditReplaced, (Replaced{true, false, true, true, true, false, true, true}));
}

TEST_F(ControlDialogs, HotKeyFieldsKeepVariablesAndCaptureRealKeys) {
    const auto hotKey = [](HWND d, const char* label) { return SendMessageA(Field(d, label), HKM_GETHOTKEY, 0, 0); };
    // A variable in the set dialog's hot key field survives OK.
    Texts kept = {"HK1", "[K]"};
    LRESULT shown = -1;
    EXPECT_TRUE(Edit(23, kept, "SetHotKey Properties", {[&](HWND d) {
                         shown = hotKey(d, "HotKey to set:");
                         Press(d, IDOK);
                     }}));
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(kept, (Texts{"HK1", "[K]"}));
    EXPECT_EQ(host.lastEditReplaced, (Replaced{true, false}));

    // A stored shortcut shows; a pressed one replaces it.
    Texts set = {"HK1", "ctrl+a"};
    EXPECT_TRUE(Edit(23, set, "SetHotKey Properties",
                     {[&](HWND d) {
                          shown = hotKey(d, "HotKey to set:");
                          SetFocus(Field(d, "HotKey to set:"));
                          QueueKey('K', false, true);
                      },
                      [&](HWND d) { Press(d, IDOK); }}));
    EXPECT_EQ(shown, 'A' | (HOTKEYF_CONTROL << 8));
    EXPECT_EQ(set, (Texts{"HK1", "Shift+K"}));

    // A navigation key is shown as itself, not as its keypad twin, and kept.
    Texts arrow = {"HK1", "ctrl+left"};
    EXPECT_TRUE(Edit(23, arrow, "SetHotKey Properties", {[&](HWND d) {
                         shown = hotKey(d, "HotKey to set:");
                         Press(d, IDOK);
                     }}));
    EXPECT_EQ(shown, VK_LEFT | ((HOTKEYF_CONTROL | HOTKEYF_EXT) << 8));
    EXPECT_EQ(arrow[1], "Ctrl+Left");

    // The global manager: a variable goes to the variable field, which has the
    // focus; pressing a combination clears it.
    Texts add = {"[V]", "a[#13][#10]b"};
    std::string variableBefore, variableOnEntry, variableAfter;
    bool variableFocused = false;
    Texts actions;
    EXPECT_TRUE(Edit(64, add, "AddHotKeyInManager Properties",
                     {[&](HWND d) {
                          variableBefore = TextOf(Field(d, "Variable:"));
                          variableFocused = GetFocus() == Field(d, "Variable:");
                          shown = hotKey(d, "HotKey:");
                          actions = ComboTexts(Field(d, "Action:"));
                          SetFocus(Field(d, "HotKey:"));
                          variableOnEntry = TextOf(Field(d, "Variable:"));
                          QueueKey('K', false, true);
                      },
                      [&](HWND d) {
                          variableAfter = TextOf(Field(d, "Variable:"));
                          Press(d, IDOK);
                      }}));
    EXPECT_EQ(variableBefore, "[V]");
    EXPECT_TRUE(variableFocused);
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(actions, (Texts{":Sub1", ":Sub2"}));
    EXPECT_EQ(variableOnEntry, "") << "entering the capture field clears the variable";
    EXPECT_EQ(variableAfter, "");
    EXPECT_EQ(add, (Texts{"Shift+K", "a[#13][#10]b"}));

    // A combination has the focus; entering the variable field clears it.
    Texts del = {"Ctrl+A"};
    bool captureFocused = false;
    LRESULT after = -1;
    EXPECT_TRUE(Edit(65, del, "DeleteHotKeyFromManager Properties",
                     {[&](HWND d) {
                          captureFocused = GetFocus() == Field(d, "HotKey:");
                          shown = hotKey(d, "HotKey:");
                          SetFocus(Field(d, "Variable:"));
                          QueueText("x");
                      },
                      [&](HWND d) {
                          after = hotKey(d, "HotKey:");
                          Press(d, IDOK);
                      }}));
    EXPECT_TRUE(captureFocused);
    EXPECT_EQ(shown, 'A' | (HOTKEYF_CONTROL << 8));
    EXPECT_EQ(after, 0);
    EXPECT_EQ(del, (Texts{"x"}));
}

TEST_F(ControlDialogs, TheLocalKeyFieldTurnsPressesIntoShortcutText) {
    struct Case {
        int32_t id;
        std::string caption;
        bool alt, shift;
        Texts params, written;
    };
    const std::vector<Case> cases = {
        {68, "AddLocalKeyInManager Properties", false, true, {"[Old]", "[#34]go[#34]"}, {"Shift+F2", "[#34]go[#34]"}},
        {69, "DeleteLocalKeyFromManager Properties", true, false, {"[Old]"}, {"Alt+F2"}},
    };
    for (const Case& c : cases) {
        Texts params = c.params;
        std::string action, key;
        EXPECT_TRUE(Edit(c.id, params, c.caption,
                         {[&](HWND d) {
                              if (c.id == 68) action = TextOf(Field(d, "Action:"));
                              SetFocus(Field(d, "LocalKey:"));
                              QueueKey(VK_F2, c.alt, c.shift);
                          },
                          [&](HWND d) {
                              key = TextOf(Field(d, "LocalKey:"));
                              Press(d, IDOK);
                          }}))
            << c.id;
        if (c.id == 68) {
            EXPECT_EQ(action, "\"go\"");
        }
        EXPECT_EQ(key, c.written[0]) << c.id;
        EXPECT_EQ(params, c.written) << c.id;
    }
}

// The dialog manager takes the key-down of Tab and Shift+Tab and moves the
// focus; the key-ups then reach the capture field, which must leave the
// stored text alone: it acts on a key-up only after it saw the key-down.
TEST_F(ControlDialogs, TheLocalKeyFieldIgnoresKeyUpsOfKeysPressedElsewhere) {
    for (int32_t id : {68, 69}) {
        Texts params = id == 68 ? Texts{"[KeyVar]", "[#34]go[#34]"} : Texts{"[KeyVar]"};
        const Texts stored = params;
        const std::string caption = id == 68 ? "AddLocalKeyInManager Properties" : "DeleteLocalKeyFromManager Properties";
        bool arrived = false;
        std::string shown;
        EXPECT_TRUE(Edit(id, params, caption,
                         {[&](HWND d) {
                              // From the field's picker back into the field.
                              SetFocus(Picker(d, Field(d, "LocalKey:"), "Select a Variable"));
                              QueueKey(VK_TAB, false, true);
                          },
                          [&](HWND d) {
                              arrived = GetFocus() == Field(d, "LocalKey:");
                              shown = TextOf(Field(d, "LocalKey:"));
                              Press(d, IDOK);
                          }}))
            << id;
        EXPECT_TRUE(arrived) << id;
        EXPECT_EQ(shown, "[KeyVar]") << id;
        EXPECT_EQ(params, stored) << id;
    }
}

// OK makes every new parameter block before it gives up an old one: when the
// system has no memory for one of them, no parameter is replaced or lost and
// the call answers false.
TEST_F(ControlDialogs, OkThatCannotMakeEveryBlockReplacesNoParameter) {
    for (int madeBeforeFailure : {0, 3, 6}) {
        Texts params = {"T", "txt", "n", "m", "C:\\", "True", "V"};
        const Texts stored = params;
        const size_t alive = host.Blocks().pluginBlocksAlive;
        const bool ok = Edit(59, params, "FileOpenDialog Properties",
                             {[&](HWND d) {
                                  SetWindowTextA(Field(d, "Title"), "New title");
                                  host.globalAllocsBeforeFailure = madeBeforeFailure;
                                  Press(d, IDOK);
                              }});
        host.globalAllocsBeforeFailure = -1;
        EXPECT_FALSE(ok) << madeBeforeFailure;
        EXPECT_EQ(params, stored) << madeBeforeFailure;
        EXPECT_EQ(host.lastEditReplaced, Replaced(7, false)) << madeBeforeFailure;
        EXPECT_EQ(host.Blocks().pluginBlocksAlive, alive) << "the blocks made go again";
    }
    // With memory, the same OK writes all seven.
    Texts params = {"T", "txt", "n", "m", "C:\\", "True", "V"};
    EXPECT_TRUE(Edit(59, params, "FileOpenDialog Properties", {[&](HWND d) { Press(d, IDOK); }}));
    EXPECT_EQ(host.lastEditReplaced, Replaced(7, true));
}

TEST_F(ControlDialogs, OptionListsKeepWhatTheyCannotReadUntilTicked) {
    Texts params = {"T", "txt", "", "", "C:\\", "True,[x]", "V"};
    Texts ticks;
    EXPECT_TRUE(Edit(59, params, "FileOpenDialog Properties",
                     {[&](HWND d) {
                          for (int k = 0; k < 8; ++k) ticks.push_back(CheckOf(Entry(d, "Options:", k)));
                          ClickCentre(host, Entry(d, "Options:", 2));
                          Press(d, IDOK);
                      }}));
    // Ticked as the action reads the list: the unreadable item counts as false.
    Texts expectedTicks(8, "clear");
    expectedTicks[0] = "checked";
    EXPECT_EQ(ticks, expectedTicks);
    EXPECT_EQ(params, (Texts{"T", "txt", "", "Any File|*.*", "C:\\", "True,False,True,False,False,False,False,False", "V"}));
    EXPECT_EQ(host.lastEditReplaced, Replaced(7, true));
}

TEST_F(ControlDialogs, TheColourChooserStartsFromTheFieldsColour) {
    Texts params = {"clred", "", "[p]", "", "", ""};
    std::string chosen, panelBox;
    bool completed = false;
    const std::string caption = "ColorDialog Properties";
    const bool ok = EditWithSteps(
        host, 61, params,
        {{caption,
          [&](HWND d) {
              panelBox = CheckOf(Field(d, "Show custom color panel"));
              SendMessageA(Picker(d, Field(d, "Color:"), "Select a Color"), BM_CLICK, 0, 0);
          }},
         {"Color", [](HWND c) { SendMessageA(c, WM_COMMAND, IDOK, 0); }},
         {caption,
          [&](HWND d) {
              chosen = TextOf(Field(d, "Color:"));
              Press(d, IDOK);
          }}},
        &completed);
    EXPECT_TRUE(completed);
    EXPECT_TRUE(ok);
    EXPECT_EQ(panelBox, "clear");
    EXPECT_EQ(chosen, "clRed") << "confirmed at once, the chooser gives back the colour it started from";
    EXPECT_EQ(params, (Texts{"clRed", "", "[p]", "False", "", ""}));
    EXPECT_EQ(host.lastEditReplaced, (Replaced{true, true, false, true, true, true}));
}

} // namespace

namespace {

// The chooser's "Define Custom Colors" button, found by its text.
BOOL CALLBACK FindDefineButton(HWND child, LPARAM found) {
    if (TextOf(child).find("Define") == std::string::npos) return TRUE;
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
}

constexpr int kAddToCustomColours = 712;

TEST_F(ControlDialogs, TheCustomColourListChooserWritesTheListBack) {
    Texts params = {"", "ColorB=ff[#13][#10]Other=1", "", "", "", ""};
    std::string shown;
    HWND define = nullptr;
    bool defineEnabled = true;
    bool completed = false;
    const std::string caption = "ColorDialog Properties";
    const bool ok = EditWithSteps(
        host, 61, params,
        {{caption,
          [&](HWND d) {
              SendMessageA(Picker(d, Field(d, "Custom color list:"), "Select a CustomColorList"), BM_CLICK, 0, 0);
          }},
         {"Color",
          [&](HWND c) {
              EnumChildWindows(c, FindDefineButton, reinterpret_cast<LPARAM>(&define));
              defineEnabled = IsWindowEnabled(define);
              // The chooser's colour (black) goes into the first custom slot.
              SendMessageA(c, WM_COMMAND, MAKEWPARAM(kAddToCustomColours, BN_CLICKED),
                           reinterpret_cast<LPARAM>(GetDlgItem(c, kAddToCustomColours)));
              SendMessageA(c, WM_COMMAND, IDOK, 0);
          }},
         {caption,
          [&](HWND d) {
              shown = TextOf(Field(d, "Custom color list:"));
              Press(d, IDOK);
          }}},
        &completed);
    EXPECT_TRUE(completed);
    EXPECT_TRUE(ok);
    EXPECT_NE(define, nullptr);
    EXPECT_FALSE(defineEnabled) << "the custom colour panel is locked open";
    std::string expected = "ColorB=0000ff[#13][#10]Other=1[#13][#10]ColorA=000000";
    for (char slot = 'C'; slot <= 'P'; ++slot) expected += std::string("[#13][#10]Color") + slot + "=ffffffff";
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(params[1], expected) << "written as the field shows it";
    EXPECT_TRUE(host.lastEditReplaced[1]);
}

} // namespace
