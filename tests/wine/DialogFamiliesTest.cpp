// Every routed editing dialog shows its table (caption, labels, entries,
// defaults), and the list, SmartEdit and spell-checker dialogs operated by
// real clicks and keys write back what the author did.
#include <gtest/gtest.h>

#include "EditDialogDriver.h"
#include "HostEmulator.h"
#include "ListTestSupport.h"
#include "host/ActionCatalogue.h"
#include "host/EditRoutes.h"

using qorhost::HostEmulator;
using namespace qortest;

namespace {

using Texts = std::vector<std::string>;
using Replaced = std::vector<bool>;

class DialogFamilies : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.Load()); }

    // Runs the steps, all on the dialog captioned `caption` unless a step names another.
    bool Edit(int32_t id, Texts& params, const std::string& caption, std::vector<std::function<void(HWND)>> acts,
              std::vector<DialogStep> nested = {}) {
        std::vector<DialogStep> steps;
        for (auto& act : acts) steps.push_back({caption, std::move(act)});
        steps.insert(steps.end() - 1, nested.begin(), nested.end()); // nested windows before the last step
        bool completed = false;
        const bool result = EditWithSteps(host, id, params, std::move(steps), &completed);
        EXPECT_TRUE(completed) << caption;
        return result;
    }

    HostEmulator host;
};

std::string ExpectedCaption(int32_t id) {
    if (id == 57) return "FindItemEx Properties";
    if (id == 63) return "FolderDialog Properties";
    return std::string(qor::FindAction(id)->name).substr(3) + " Properties";
}

std::string Fault(int32_t id, const qor::FieldSpec& f) { return std::to_string(id) + " \"" + f.label + "\""; }

TEST_F(DialogFamilies, EveryRoutedDialogShowsItsTable) {
    host.subroutineList = "Sub1\r\nSub2";
    for (const qor::EditRoute& route : qor::EditRoutes()) {
        const qor::DialogSpec spec = route.dialog(route.id);
        Texts params(qor::FindAction(route.id)->count, "");
        const size_t requestsBefore = host.requests.size();
        bool eventFields = false, topMost = false;
        const bool ok = Edit(route.id, params, ExpectedCaption(route.id), {[&](HWND d) {
            topMost = (GetWindowLongA(d, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
            for (const qor::FieldSpec& f : spec.fields) {
                using qor::FieldKind;
                if (!f.visible) continue;
                if (f.kind == FieldKind::Radio || f.kind == FieldKind::Options) {
                    for (size_t k = 0; k < f.choices.size(); ++k) {
                        HWND entry = Entry(d, f.label, static_cast<int>(k));
                        // The create dialogs name the second result entry after the mode.
                        if (f.label != "Result variable contain") {
                            EXPECT_EQ(TextOf(entry), f.choices[k]) << Fault(route.id, f);
                        }
                        if (f.kind == FieldKind::Radio) {
                            EXPECT_EQ(CheckOf(entry), std::to_string(k) == f.initial ? "checked" : "clear")
                                << Fault(route.id, f) << " entry " << k;
                        }
                    }
                    continue;
                }
                HWND control = f.kind == FieldKind::Note ? Labelled(d, f.label) : Field(d, f.label);
                ASSERT_NE(control, nullptr) << Fault(route.id, f);
                Texts hints;
                for (int bit = 0; bit < 8; ++bit)
                    if (f.pickers & (1u << bit)) hints.push_back(qor::PickerHint(f, static_cast<qor::Picker>(1u << bit)));
                if (f.kind != FieldKind::Note && f.kind != FieldKind::Check && f.kind != FieldKind::TriState &&
                    !(f.pickers & qor::PickCustom)) {
                    EXPECT_EQ(PickerHints(d, control), hints) << Fault(route.id, f);
                }
                switch (f.kind) {
                case FieldKind::Text: EXPECT_EQ(TextOf(control), f.initial) << Fault(route.id, f); break;
                case FieldKind::Check:
                    EXPECT_EQ(CheckOf(control), f.initial == "True" ? "checked" : "clear") << Fault(route.id, f);
                    break;
                case FieldKind::TriState: EXPECT_EQ(CheckOf(control), "grey") << Fault(route.id, f); break;
                case FieldKind::Choice:
                    if (route.id != 57) {
                        EXPECT_EQ(ComboTexts(control), f.choices) << Fault(route.id, f);
                    }
                    EXPECT_EQ(Selected(control), f.choices[std::stoi(f.initial)]) << Fault(route.id, f);
                    break;
                case FieldKind::Colour: EXPECT_EQ(Selected(control), f.initial) << Fault(route.id, f); break;
                case FieldKind::Event:
                    eventFields = true;
                    EXPECT_EQ(ComboTexts(control), (Texts{f.choicePrefix + "Sub1", f.choicePrefix + "Sub2"}))
                        << Fault(route.id, f);
                    break;
                default: break;
                }
            }
            Press(d, IDCANCEL);
        }});
        EXPECT_FALSE(ok) << route.id;
        EXPECT_EQ(topMost, spec.topMost) << route.id;
        EXPECT_EQ(host.lastEditReplaced, Replaced(params.size(), false)) << route.id;
        size_t subroutineRequests = 0;
        for (size_t i = requestsBefore; i < host.requests.size(); ++i) subroutineRequests += host.requests[i].first == 5;
        EXPECT_EQ(subroutineRequests, eventFields ? 1u : 0u) << route.id << ": one subroutine list per dialog shown";
    }
}

TEST(DialogsWithoutInterfaceAccess, PickersDoNothingAndEventListsStayEmpty) {
    HostEmulator host;
    host.supplyInterfaceAccess = false;
    host.pickObject = host.pickVariable = [](std::string& name) {
        name = "picked";
        return true;
    };
    host.subroutineList = "Sub1";
    ASSERT_TRUE(host.Load());
    Texts params = {"Rect1", "", "", ""};
    std::string afterPickers;
    Texts choices = {"?"};
    bool completed = false;
    EXPECT_TRUE(EditWithSteps(host, 15, params,
                              {{"DropDownCaptureEvents Properties",
                                [&](HWND d) {
                                    HWND field = Field(d, "&Rectangle");
                                    SendMessageA(Picker(d, field, "Select a Rectangle"), BM_CLICK, 0, 0);
                                    SendMessageA(Picker(d, field, "Select a Variable"), BM_CLICK, 0, 0);
                                    afterPickers = TextOf(field);
                                    choices = ComboTexts(Field(d, "On change:"));
                                    Press(d, IDOK);
                                }}},
                              &completed));
    EXPECT_TRUE(completed);
    EXPECT_EQ(afterPickers, "Rect1");
    EXPECT_TRUE(choices.empty());
    EXPECT_TRUE(host.requests.empty());
    EXPECT_EQ(params, (Texts{"Rect1", "", "", ""}));
}

TEST_F(DialogFamilies, CreateListDialogsCodeTheirItemsAndFollowTheMode) {
    for (int32_t id : {5, 18}) {
        Texts params(10, "");
        const std::string caption = id == 5 ? "CreateDropDown Properties" : "CreateListBox Properties";
        const std::string group = id == 5 ? "Dropdown items setting" : "Listbox items setting";
        bool enabledBefore = true, enabledAfter = false;
        std::string resultEntry;
        const bool ok = Edit(id, params, caption,
                             {[&](HWND d) {
                                  enabledBefore = IsWindowEnabled(Field(d, "Delimit char:"));
                                  ClickCentre(host, Entry(d, group, 1)); // "Array"
                                  SetFocus(Field(d, "&Items:"));
                                  QueueText("say \"hi\"");
                                  QueueKey(VK_RETURN); // a new line, not OK
                                  QueueText("two");
                              },
                              [&](HWND d) {
                                  enabledAfter = IsWindowEnabled(Field(d, "Display no:")) &&
                                                 IsWindowEnabled(Field(d, "Delimit char:")) &&
                                                 IsWindowEnabled(Picker(d, Field(d, "Delimit char:"), "Select a Variable"));
                                  resultEntry = TextOf(Entry(d, "Result variable contain", 1));
                                  SetFocus(Field(d, "Delimit char:"));
                                  QueueText(";");
                              },
                              [&](HWND d) {
                                  ClickCentre(host, Field(d, "Sort"));
                                  PickComboItem(host, Field(d, "&Style:"), 1);
                                  Press(d, IDOK);
                              }});
        EXPECT_TRUE(ok) << id;
        EXPECT_FALSE(enabledBefore);
        EXPECT_TRUE(enabledAfter);
        EXPECT_EQ(resultEntry, "Array");
        const std::string items = id == 5 ? "say [#34]hi[#34][#13][#10]two" : "say \"hi\"[#13][#10]two";
        EXPECT_EQ(params, (Texts{"", "True", "False", items, "1", "0", ";", "1", "1", ""})) << id;
    }
}

TEST_F(DialogFamilies, ThreeStateBoxesColoursAndTheFontPicker) {
    Texts params = {"Memo1", "[ro]", "", "True", "", "'DejaVu Sans', 12, (Bold), (clRed)", "[c]", "1", "9"};
    std::string readOnly, wordWrap, scrollBars, alignment, scriptListEnabled = "?", font;
    const bool ok = Edit(
        25, params, "SmartEditSetProperties Properties",
        {[&](HWND d) {
             readOnly = CheckOf(Field(d, "Read only"));
             wordWrap = CheckOf(Field(d, "Word wrap"));
             scrollBars = Selected(Field(d, "Scroll bars"));
             alignment = Selected(Field(d, "Alignment"));
             ClickCentre(host, Field(d, "Word wrap")); // grey -> clear
             ClickCentre(host, Field(d, "Allow tab to cycle object focus")); // checked -> grey
             PickComboItem(host, Field(d, "Color:"), 3);
             SendMessageA(Picker(d, Field(d, "Font:"), "Select  a Font"), BM_CLICK, 0, 0);
         },
         [&](HWND d) {
             font = TextOf(Field(d, "Font:"));
             Press(d, IDOK);
         }},
        {{"Font", [&](HWND f) {
              scriptListEnabled = IsWindowEnabled(GetDlgItem(f, 0x474)) ? "enabled" : "disabled";
              SendMessageA(f, WM_COMMAND, IDOK, 0);
          }}});
    EXPECT_TRUE(ok);
    EXPECT_EQ(readOnly, "grey");
    EXPECT_EQ(wordWrap, "grey");
    EXPECT_EQ(scrollBars, "Horizontal ");
    EXPECT_EQ(alignment, "");
    EXPECT_EQ(scriptListEnabled, "disabled");
    EXPECT_EQ(font, "'DejaVu Sans', 12, (Bold), (clRed)") << "the font dialog started from the field's spec";
    EXPECT_EQ(params, (Texts{"Memo1", "[ro]", "False", "", "", font, qor::ColourChoices()[3], "1", "-1"}));
    EXPECT_EQ(host.lastEditReplaced, (Replaced{true, false, true, true, true, true, true, true, true}));
}

TEST_F(DialogFamilies, EventFieldsOfferTheSubroutinesAndTakeTypedNames) {
    host.subroutineList = "OnChange\r\nOnClick\r\n";
    Texts params = {"Memo1", "None", "", "[Sub]", ""};
    const bool ok = Edit(26, params, "SmartEditCaptureEvents Properties",
                         {[&](HWND d) {
                              PickComboItem(host, Field(d, "On click:"), 1);
                              SetFocus(Field(d, "On double click:"));
                              QueueText("Typed");
                          },
                          [&](HWND d) { Press(d, IDOK); }});
    EXPECT_TRUE(ok);
    EXPECT_EQ(params, (Texts{"Memo1", "None", "Typed", "[Sub]", "OnClick"}));
    size_t lists = 0;
    for (const auto& request : host.requests) lists += request.first == 5;
    EXPECT_EQ(lists, 1u);
}

TEST_F(DialogFamilies, TheItemsEditorShowsLinesAndCodesThemBack) {
    Texts params = {"List1", "one[#13][#10]two", "1"};
    std::string shown, field;
    const bool ok = Edit(21, params, "ListBoxSelect Properties",
                         {[&](HWND d) { SendMessageA(Picker(d, Field(d, "&Item:"), "Add Items"), BM_CLICK, 0, 0); },
                          [&](HWND d) {
                              field = TextOf(Field(d, "&Item:"));
                              Press(d, IDOK);
                          }},
                         {{"Items Properties",
                           [&](HWND e) {
                               HWND box = Field(e, "Items:");
                               shown = TextOf(box);
                               SetFocus(box);
                               SendMessageA(box, EM_SETSEL, shown.size(), shown.size());
                               QueueKey(VK_RETURN);
                               QueueText("say \"3\"");
                           }},
                          {"Items Properties", [](HWND e) { Press(e, IDOK); }}});
    EXPECT_TRUE(ok);
    EXPECT_EQ(shown, "one\r\ntwo");
    EXPECT_EQ(field, "one[#13][#10]two[#13][#10]say [#34]3[#34]");
    EXPECT_EQ(params, (Texts{"List1", field, "1"}));
}

TEST_F(DialogFamilies, FindItemExRefillsItsSearchTypes) {
    Texts params = {"List1", "0", "1", "2", "x", "[V]"};
    Texts typesForArray;
    bool columnShown = false, columnHiddenAgain = false;
    std::string typeAfterString;
    const bool ok = Edit(57, params, "FindItemEx Properties",
                         {[&](HWND d) { PickComboItem(host, Field(d, "Search in:"), 1); },
                          [&](HWND d) {
                              typesForArray = ComboTexts(Field(d, "Search type:"));
                              PickComboItem(host, Field(d, "Search type:"), 2);
                          },
                          [&](HWND d) {
                              columnShown = IsWindowVisible(Field(d, "Column no: (0 = First Column)"));
                              PickComboItem(host, Field(d, "Search in:"), 0);
                          },
                          [&](HWND d) {
                              columnHiddenAgain = !IsWindowVisible(Field(d, "Column no: (0 = First Column)"));
                              typeAfterString = Selected(Field(d, "Search type:"));
                              Press(d, IDOK);
                          }});
    EXPECT_TRUE(ok);
    EXPECT_EQ(typesForArray, (Texts{"Exact match", "Partial match", "In specific column"}));
    EXPECT_TRUE(columnShown);
    EXPECT_TRUE(columnHiddenAgain);
    EXPECT_EQ(typeAfterString, "Exact match");
    EXPECT_EQ(params, (Texts{"List1", "0", "0", "2", "x", "[V]"}));
}

TEST_F(DialogFamilies, SpellCheckerOptionsAndTwoNumberFields) {
    Texts options = {"Memo1", "", "True,maybe,True"};
    Texts ticks;
    EXPECT_TRUE(Edit(73, options, "SmartEditActiveSpellChecker Properties", {[&](HWND d) {
                         for (int k = 0; k < 4; ++k) ticks.push_back(CheckOf(Entry(d, "Options:", k)));
                         ClickCentre(host, Entry(d, "Options:", 3));
                         Press(d, IDOK);
                     }}));
    EXPECT_EQ(ticks, (Texts{"checked", "clear", "clear", "clear"}));
    EXPECT_EQ(options, (Texts{"Memo1", "", "True,False,False,True"}));

    for (int32_t id : {11, 40, 41, 43}) {
        Texts params = {"", "", "[n]"};
        Texts shown;
        EXPECT_TRUE(Edit(id, params, ExpectedCaption(id), {[&](HWND d) {
                             for (int field = 1; field <= 2; ++field) shown.push_back(TextOf(GetDlgItem(d, 101 + 20 * field)));
                             Press(d, IDOK);
                         }}));
        EXPECT_EQ(shown, (Texts{"1", "[n]"})) << id;
        EXPECT_EQ(params, (Texts{"", "1", "[n]"})) << id;
    }
}

} // namespace
