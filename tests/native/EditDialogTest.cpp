// The editing dialogs' loading and writing rules, on the model alone.
#include <gtest/gtest.h>

#include "core/EditDialog.h"
#include "core/SharedDialogs.h"

using namespace qor;

namespace {

using Writes = std::vector<std::optional<std::string>>;

// One field on parameter 0: what the stored text loads as, and what OK writes
// back without any change by the author.
struct RuleCase {
    const char* name;
    FieldSpec field;
    std::string stored;
    bool keep;
    std::optional<std::string> written;
};

std::string Show(const std::optional<std::string>& s) { return s ? '"' + *s + '"' : "nothing"; }

HotKeyCodec FakeKeys() {
    HotKeyCodec codec;
    codec.fromText = [](const std::string& t) -> uint32_t { return t == "Ctrl+A" ? 'A' | kCaptureCtrl : 0; };
    codec.toText = [](uint32_t v) -> std::string { return v == ('A' | kCaptureCtrl) ? "Ctrl+A" : "?"; };
    return codec;
}

TEST(EditDialogRules, EachFieldKindLoadsAndWritesBackUnchanged) {
    const std::vector<RuleCase> cases = {
        {"text if set keeps its initial content", TextField("F", 0, 0, "'Arial', 10, (), (clBlack)"), "", false,
         std::string("'Arial', 10, (), (clBlack)")},
        {"text if set takes a stored text", TextField("F", 0, 0, "x"), "[Font]", false, std::string("[Font]")},
        {"text always empties", TextField("F", 0, 0, "x").Always(), "", false, std::string()},
        {"items with every escape", MultiLineField("I", 0, TextCodec::ParamText), "a[#34]b[#13][#10]c[#9]d", false,
         std::string("a[#34]b[#13][#10]c[#9]d")},
        {"items with line breaks", MultiLineField("I", 0, TextCodec::LineBreaks), "say \"x\"[#13][#10]y", false,
         std::string("say \"x\"[#13][#10]y")},
        {"check box, empty: initial", CheckField("C", 0), "", false, std::string("False")},
        {"check box, initial ticked", CheckField("C", 0, true), "", false, std::string("True")},
        {"check box, a number", CheckField("C", 0), "2", false, std::string("True")},
        {"check box, lower case", CheckField("C", 0, true), "false", false, std::string("False")},
        {"check box, a variable keeps", CheckField("C", 0), "[Flag]", true, std::nullopt},
        {"three states, empty: greyed", TriStateField("T", 0), "", false, std::string()},
        {"three states, a flag", TriStateField("T", 0), "TRUE", false, std::string("True")},
        {"three states, a variable keeps", TriStateField("T", 0), "[Flag]", true, std::nullopt},
        {"radio, a number", RadioField("R", 0, {"a", "b"}), "1", false, std::string("1")},
        {"radio, empty: initial", RadioField("R", 0, {"a", "b"}, 1), "", false, std::string("1")},
        {"choice, not a number", ChoiceField("L", 0, {"a", "b"}), "abc", false, std::nullopt},
        {"choice, out of range", ChoiceField("L", 0, {"a", "b"}), "2", false, std::nullopt},
        {"choice, negative", ChoiceField("L", 0, {"a", "b"}), "-1", false, std::nullopt},
        {"choice writing -1", ChoiceField("L", 0, {"a", "b"}).WritesWhenNone(), "x", false, std::string("-1")},
        {"colour, a name", ColourField("C", 0), "clred", false, std::string("clRed")},
        {"colour, a number", ColourField("C", 0), "$000000FF", false, std::string("clRed")},
        {"colour, unnamed number", ColourField("C", 0), "$00123456", false, std::string("$00123456")},
        {"colour, empty: initial", ColourField("C", 0, "clBlack"), "", false, std::string("clBlack")},
        {"colour, a variable keeps", ColourField("C", 0), "[Colour]", true, std::nullopt},
        {"options, fewer parts", OptionsField("O", 0, {"a", "b", "c"}), "True,1", false,
         std::string("True,True,False")},
        {"options, empty", OptionsField("O", 0, {"a", "b"}), "", false, std::string("False,False")},
        {"options, unreadable keeps", OptionsField("O", 0, {"a", "b"}), "True,[x]", true, std::nullopt},
        {"options, too many keep", OptionsField("O", 0, {"a"}), "True,True", true, std::nullopt},
        {"options stopping at a non-flag", OptionsField("O", 0, {"a", "b", "c"}, OptionsRule::Stop), "True,x,True",
         false, std::string("True,False,False")},
        {"options stopping after the last entry", OptionsField("O", 0, {"a", "b"}, OptionsRule::Stop),
         "True,True,True", false, std::string("True,True")},
        {"event box", EventField("E", 0), "None", false, std::string("None")},
        {"hot key", HotKeyField("H", 0, FakeKeys()), "Ctrl+A", false, std::string("Ctrl+A")},
        {"hot key, empty", HotKeyField("H", 0, FakeKeys()), "", false, std::string()},
        {"hot key, a variable keeps", HotKeyField("H", 0, FakeKeys()), "[Key]", true, std::nullopt},
    };
    for (const RuleCase& c : cases) {
        DialogSpec spec;
        spec.fields = {c.field};
        DialogModel model(spec, {c.stored});
        EXPECT_EQ(model[0].keep, c.keep) << c.name;
        const Writes out = model.Write(1);
        EXPECT_EQ(out[0], c.written) << c.name << ": wrote " << Show(out[0]);
    }
}

TEST(EditDialogRules, LoadedStatesAreWhatTheControlsShow) {
    DialogSpec spec;
    spec.fields = {TriStateField("T", 0), TriStateField("T", 1), CheckField("C", 2), RadioField("R", 3, {"a", "b"}),
                   ColourField("K", 4), MultiLineField("M", 5, TextCodec::ParamText),
                   OptionsField("O", 6, {"a", "b", "c"}), HotKeyField("H", 7, FakeKeys())};
    DialogModel m(spec, {"[v]", "0", "[v]", "abc", "[v]", "x[#13][#10]y", "False,True", "Ctrl+A"});
    EXPECT_EQ(m[0].check, 2);
    EXPECT_EQ(m[1].check, 0);
    EXPECT_EQ(m[2].check, 0);
    EXPECT_EQ(m[3].selection, -1);
    EXPECT_EQ(m[4].text, "clNone");
    EXPECT_EQ(m[5].text, "x\r\ny");
    EXPECT_EQ(m[6].ticks, (std::vector<bool>{false, true, false}));
    EXPECT_EQ(m[7].hotKey, 'A' | kCaptureCtrl);
    EXPECT_EQ(m[4].choices.back(), "clNone");
    EXPECT_EQ(m[4].choices.front(), "clBlack");
}

TEST(EditDialogRules, TheAuthorsFirstChangeClearsTheKeepMark) {
    DialogSpec spec;
    spec.fields = {CheckField("C", 0), TriStateField("T", 1), ColourField("K", 2), OptionsField("O", 3, {"a"}),
                   HotKeyField("H", 4, FakeKeys())};
    DialogModel m(spec, {"[a]", "[b]", "[c]", "[d]", "[e]"});
    EXPECT_EQ(m.Write(5), Writes(5));
    m[0].check = 1;
    m[1].check = 0;
    m[2].text = "clBlue";
    m[3].ticks = {true};
    m[4].hotKey = 0;
    for (int i = 0; i < 5; ++i) m.Change(i);
    EXPECT_EQ(m.Write(5), (Writes{std::string("True"), std::string("False"), std::string("clBlue"),
                                  std::string("True"), std::string()}));
}

TEST(EditDialogRules, ParametersWithoutFieldsAreLeftAlone) {
    DialogSpec spec = RectangleOnlyDialog();
    DialogModel m(spec, {"Rect1", "Ctrl+K"});
    EXPECT_EQ(m.Write(2), (Writes{std::string("Rect1"), std::nullopt}));
    // A field whose parameter the action does not have writes nothing.
    spec.fields.push_back(TextField("X", 5));
    DialogModel extra(spec, {"Rect1"});
    EXPECT_EQ(extra.Write(1), (Writes{std::string("Rect1")}));
}

TEST(EditDialogRules, TwoNumberDialogShowsOneForEmptyNumbers) {
    const DialogSpec spec = TwoNumberDialog("A:", "B:");
    DialogModel m(spec, {"", "", ""});
    EXPECT_EQ(m.Write(3), (Writes{std::string(), std::string("1"), std::string("1")}));
    DialogModel set(spec, {"R", "[x]", "7"});
    EXPECT_EQ(set.Write(3), (Writes{std::string("R"), std::string("[x]"), std::string("7")}));
}

// A behaviour of the kind the create dialogs use: relabel and enable by a choice.
void ModeBehaviour(DialogModel& m, DialogEvent event, int field) {
    if (event == DialogEvent::Changed && field != 0) return;
    const bool second = m[0].selection == 1;
    m[1].enabled = second;
    m[2].label = second ? "Second" : "First";
    RefillChoices(m[3], second ? std::vector<std::string>{"x", "y", "z"} : std::vector<std::string>{"x", "y"},
                  event == DialogEvent::Changed, event == DialogEvent::Changed ? 0 : -1);
}

TEST(EditDialogRules, BehavioursRunWhenShownAndOnChanges) {
    DialogSpec spec;
    spec.behaviour = ModeBehaviour;
    spec.fields = {RadioField("Mode", 0, {"a", "b"}), TextField("T", 1), TextField("L", 2),
                   ChoiceField("C", 3, {"x", "y", "z"})};
    DialogModel m(spec, {"0", "", "", "2"});
    m.Show();
    EXPECT_FALSE(m[1].enabled);
    EXPECT_EQ(m[2].label, "First");
    EXPECT_EQ(m[3].selection, -1) << "the stored choice is gone from the refilled list";
    m[0].selection = 1;
    m[3].selection = -1;
    m.Change(0);
    EXPECT_TRUE(m[1].enabled);
    EXPECT_EQ(m[2].label, "Second");
    EXPECT_EQ(m[3].selection, 0) << "no previous choice: the first entry";
    m[3].selection = 2;
    m[0].selection = 0;
    m.Change(0);
    EXPECT_EQ(m[3].choices.size(), 2u);
    EXPECT_EQ(m[3].selection, 0) << "the previous choice is gone";
    m[3].selection = 1;
    m[0].selection = 1;
    m.Change(0);
    EXPECT_EQ(m[3].selection, 1) << "the previous choice is kept";
}

TEST(EditDialogRules, SubroutineNamesFillEveryEventField) {
    DialogSpec spec;
    FieldSpec prefixed = EventField("A", 1);
    prefixed.choicePrefix = ":";
    spec.fields = {EventField("E", 0), prefixed, TextField("T", 2)};
    DialogModel m(spec, {"", "", ""});
    m.SetSubroutines(SplitHostLines("One\r\nTwo\r\n\r\nThree"));
    EXPECT_EQ(m[0].choices, (std::vector<std::string>{"One", "Two", "Three"}));
    EXPECT_EQ(m[1].choices, (std::vector<std::string>{":One", ":Two", ":Three"}));
    EXPECT_TRUE(m[2].choices.empty());
    EXPECT_EQ(SplitHostLines(""), std::vector<std::string>{});
    EXPECT_EQ(SplitHostLines("A\nB\r\n"), (std::vector<std::string>{"A", "B"}));
}

TEST(EditDialogRules, CaptionsAndHints) {
    EXPECT_EQ(DialogCaption("qorCreateDropDown"), "CreateDropDown Properties");
    EXPECT_EQ(DialogCaption("qorSmartEditUndo"), "SmartEditUndo Properties");
    EXPECT_EQ(std::string(PickerHint(PickFont)), "Select  a Font");
    EXPECT_EQ(std::string(PickerHint(PickRectangle)), "Select a Rectangle");
    EXPECT_EQ(std::string(PickerHint(PickVariable)), "Select a Variable");
}

} // namespace

#include "hotkeys/ShortCutCapture.h"

namespace {

// The hot key field of qorSetHotKey with the real shortcut texts: a stored text
// that is no shortcut (a variable, say) keeps the mark and survives OK.
TEST(EditDialogRules, HotKeyFieldsReadAndWriteShortcutText) {
    DialogSpec spec;
    spec.fields = {HotKeyField("HotKey to set:", 0, ShortCutCaptureCodec())};
    const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {
        {"ctrl+shift+k", std::string("Shift+Ctrl+K")},
        {"Alt+F5", std::string("Alt+F5")},
        {"", std::string()},
        {"[HotKey]", std::nullopt},
        {"Ctrl+", std::nullopt},
    };
    for (const auto& [stored, written] : cases) {
        DialogModel m(spec, {stored});
        EXPECT_EQ(m.Write(1)[0], written) << stored;
    }
    DialogModel m(spec, {"[HotKey]"});
    m[0].hotKey = 'K' | kCaptureCtrl | kCaptureAlt;
    m.Change(0);
    EXPECT_EQ(m.Write(1)[0], std::optional<std::string>("Ctrl+Alt+K"));
}

} // namespace
