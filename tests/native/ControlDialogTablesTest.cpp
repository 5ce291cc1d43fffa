// The editing-dialog tables of the check list, file drop, track bar, hot key
// and system dialog actions, on the model: routing of every id, what a new
// action accepted at once writes, what stored texts survive, the behaviours.
#include <gtest/gtest.h>

#include <map>

#include "core/EditDialog.h"
#include "core/ValueEncodings.h"
#include "host/ActionCatalogue.h"
#include "host/EditRoutes.h"
#include "hotkeys/HotKeyDialogs.h"
#include "hotkeys/ShortCutCapture.h"
#include "hotkeys/ShortCutText.h"

using namespace qor;

namespace {

using Texts = std::vector<std::string>;

const EditRoute* RouteOf(int32_t id) {
    for (const EditRoute& route : EditRoutes())
        if (route.id == id) return &route;
    return nullptr;
}

// A model of id's dialog over these texts, shown.
struct Shown {
    Shown(int32_t id, Texts stored) : spec(RouteOf(id)->dialog(id)), params(std::move(stored)), model(spec, params) {
        model.Show();
    }
    FieldState& at(int param) { return model[model.FieldOf(param)]; }
    // The texts after OK; entries OK does not write keep theirs.
    Texts Confirm() const {
        Texts out = params;
        const auto writes = model.Write(params.size());
        for (size_t i = 0; i < out.size(); ++i)
            if (writes[i]) out[i] = *writes[i];
        return out;
    }
    DialogSpec spec;
    Texts params;
    DialogModel model;
};

Texts Empty(int32_t id) { return Texts(FindAction(id)->count, ""); }

TEST(ControlDialogTables, EveryIdOfTheCatalogueHasItsDialog) {
    for (int32_t id = 1; id <= 73; ++id) {
        const EditRoute* route = RouteOf(id);
        ASSERT_NE(route, nullptr) << id;
        EXPECT_FALSE(route->dialog(id).fields.empty()) << id;
    }
    EXPECT_EQ(EditRoutes().size(), 73u);
}

TEST(ControlDialogTables, ANewActionConfirmedAtOnceWritesTheDefaults) {
    const std::map<int32_t, Texts> expected = {
        {1, {"", "'Arial', 10, (), (clBlack)", "", ""}},
        {23, {"", ""}},
        {44, {"", "", "clBlack", "True", "", "", "", ""}},
        {46, {"", "20", "16", "0", "100", "0", "0", "False", ""}},
        {47, {"", "", "", "", "clNone", "clNone", "clNone", "clNone"}},
        {48, {"", "", "", ""}},
        {49, {"", "", "0"}},
        {51, {"", "False", "False", "", "0", "False", "", "", "", ""}},
        {52, {"", "", "clNone"}},
        {54, {"", "", "0"}},
        {55, {"", "", "0", "0"}},
        {59, {"", "", "", "Any File|*.*", "", "False,False,False,False,False,False,False,False", ""}},
        {62, {"", "", "", "Any File|*.*", "", "False,False,False,False,False,False,False", ""}},
        {60, {"", "False,False,False", ""}},
        {61, {"", "", "False", "False", "", ""}},
        {63, {"", "", "", "False,False,False", ""}},
        {64, {"", ""}},
        {65, {""}},
        {68, {"", ""}},
        {69, {""}},
    };
    for (const auto& [id, texts] : expected) EXPECT_EQ(Shown(id, Empty(id)).Confirm(), texts) << id;
}

TEST(ControlDialogTables, StoredTextsTheFieldsCannotShowSurvive) {
    const std::vector<std::pair<int32_t, Texts>> kept = {
        {51, {"R", "[m]", "[g]", "a", "[k]", "[i]", "c", "u", "g", "s"}},
        {52, {"R", "[f]", "[c]"}},
        {55, {"R", "[i]", "[s]", "[b]"}},
        {44, {"R", "T", "[c]", "[d]", "a", "b", "c", "Sub"}},
        {46, {"R", "[w]", "1", "2", "3", "4", "[o]", "[v]", "[V]"}},
        {47, {"R", "[a]", "[b]", "[c]", "[1]", "[2]", "[3]", "[4]"}}, // three-state boxes keep too (mended)
        {49, {"R", "[n]", "[o]"}},
        {23, {"R", "[K]"}},                                           // the hot key field keeps (mended)
        {59, {"t", "e", "n", "m", "d", "True,[x]", "V"}},
        {61, {"[c]", "[l]", "[p]", "[d]", "a", "b"}},
        {63, {"t", "s", "r", "True,True,True,True", "V"}},
        {60, {"[f]", "x", "V"}},
        {64, {"[V]", "a[#13][#10]b"}},
        {68, {"[K]", "[#34]x[#34]"}},
    };
    for (const auto& [id, texts] : kept) EXPECT_EQ(Shown(id, texts).Confirm(), texts) << id;
    // Texts the fields can show come back in their canonical form.
    EXPECT_EQ(Shown(47, {"R", "true", "0", "", "clred", "$000000FF", "clNone", "clBlack"}).Confirm(),
              (Texts{"R", "True", "False", "", "clRed", "clRed", "clNone", "clBlack"}));
    EXPECT_EQ(Shown(23, {"R", "ctrl+shift+k"}).Confirm(), (Texts{"R", "Shift+Ctrl+K"}));
    EXPECT_EQ(Shown(64, {"ctrl+a", ""}).Confirm(), (Texts{"ctrl+a", ""})) << "the holder keeps the stored text";
}

TEST(ControlDialogTables, ItemsAndActionRowsAreCodedAsParameterText) {
    Shown create(51, {"R", "", "", "one[#13][#10]say [#34]two[#34]", "", "", "", "", "", ""});
    EXPECT_EQ(create.at(3).text, "one\r\nsay \"two\"");
    create.at(3).text += "\r\nthree";
    create.model.Change(create.model.FieldOf(3));
    EXPECT_EQ(create.Confirm()[3], "one[#13][#10]say [#34]two[#34][#13][#10]three");
    Shown add(68, {"Ctrl+A", "say [#34]hi[#34]"});
    EXPECT_EQ(add.at(1).text, "say \"hi\"");
    add.model.SetSubroutines({"Sub1", "Sub2"});
    EXPECT_EQ(add.at(1).choices, (Texts{":Sub1", ":Sub2"}));
}

// A check box that disables fields: which fields are enabled before and after it changes.
TEST(ControlDialogTables, CheckBoxesAndChoicesEnableTheirFields) {
    struct Case {
        int32_t id;
        int controller;        // parameter of the box or list
        std::vector<int> led;  // parameters it disables
        bool enabledAtFirst;   // with an empty action
    };
    for (const Case& c : std::vector<Case>{{44, 3, {1, 2}, true}, {46, 7, {3, 4, 5}, true}}) {
        Shown d(c.id, Empty(c.id));
        for (int p : c.led) EXPECT_EQ(d.at(p).enabled, c.enabledAtFirst) << c.id << " " << p;
        d.at(c.controller).check = d.at(c.controller).check ? 0 : 1;
        d.model.Change(d.model.FieldOf(c.controller));
        for (int p : c.led) EXPECT_EQ(d.at(p).enabled, !c.enabledAtFirst) << c.id << " " << p;
        EXPECT_EQ(d.Confirm()[c.led[0]], c.id == 46 ? "0" : "") << "disabled fields are still written";
    }
    Shown stored(46, {"R", "", "", "", "", "", "", "true", ""});
    EXPECT_FALSE(stored.at(3).enabled) << "a stored volume slider disables the range when shown";
}

TEST(ControlDialogTables, RadioButtonsRelabelAndDisableTheCreateCheckList) {
    Shown d(51, Empty(51));
    const std::vector<int> led = {2, 5, 7, 8};
    const auto expectKind = [&](int kind, bool radio) {
        d.at(4).selection = kind;
        d.model.Change(d.model.FieldOf(4));
        for (int p : led) EXPECT_EQ(d.at(p).enabled, !radio) << kind << " " << p;
        EXPECT_EQ(d.at(6).label, radio ? "Store the checked item in this variable:"
                                        : "Store the checked items in this variable (Optional):");
    };
    expectKind(2, true);
    expectKind(1, false);
    expectKind(2, true);
    EXPECT_EQ(d.Confirm(), (Texts{"", "False", "False", "", "2", "False", "", "", "", ""}));
    Shown stored(51, {"R", "", "", "", "2", "", "", "", "", ""});
    EXPECT_FALSE(stored.at(2).enabled);
}

TEST(ControlDialogTables, GlobalKeyDialogsHoldEitherACombinationOrAVariable) {
    constexpr int capture = 0, variable = 2;
    Shown key(64, {"Ctrl+A", ""});
    EXPECT_EQ(key.model[capture].hotKey, 'A' | kCaptureCtrl);
    EXPECT_EQ(key.model[variable].text, "");
    EXPECT_EQ(key.model.focus, capture);
    Shown name(65, {"[Key]"});
    EXPECT_EQ(name.model[capture].hotKey, 0u);
    EXPECT_EQ(name.model[variable].text, "[Key]");
    EXPECT_EQ(name.model.focus, variable);
    // Capturing replaces the variable; typing a variable replaces the capture.
    name.model[capture].hotKey = 'K' | kCaptureShift | kCaptureCtrl;
    name.model.Change(capture);
    EXPECT_EQ(name.model[variable].text, "");
    EXPECT_EQ(name.Confirm(), (Texts{"Shift+Ctrl+K"}));
    name.model[variable].text = "[Other]";
    name.model.Change(variable);
    EXPECT_EQ(name.model[capture].hotKey, 0u);
    EXPECT_EQ(name.Confirm(), (Texts{"[Other]"}));
    // Entering a field clears the other; OK writes what shows.
    Shown lower(64, {"ctrl+a", ""});
    lower.model.Enter(capture);
    EXPECT_EQ(lower.Confirm()[0], "ctrl+a") << "nothing cleared, the holder stays";
    name.model.Enter(capture);
    EXPECT_EQ(name.Confirm(), (Texts{""}));
    key.model.Enter(variable);
    EXPECT_EQ(key.model[capture].hotKey, 0u);
    EXPECT_EQ(key.Confirm(), (Texts{"", ""}));
}

TEST(ControlDialogTables, TheLocalKeyFieldShowsPressedKeys) {
    const KeyNameProvider before = SetKeyNameProvider([](uint32_t code) -> std::string {
        return code == 0x11 ? "Ctrl" : code == 0x10 ? "SHIFT" : "";
    });
    struct Case {
        uint32_t key;
        bool ctrl, alt, shift;
        const char* down;
        const char* up;
    };
    for (const Case& c : std::vector<Case>{{'K', true, false, true, "Ctrl+Shift+K", "Shift+Ctrl+K"},
                                           {0x11, true, false, false, "Ctrl+", ""},
                                           {0x10, false, true, true, "Alt+Shift+", ""},
                                           {0x70, false, true, false, "Alt+F1", "Alt+F1"},
                                           {'A', false, false, false, "A", "A"}}) {
        EXPECT_EQ(KeyDownText(c.key, c.ctrl, c.alt, c.shift), c.down);
        EXPECT_EQ(KeyUpText(c.down), c.up);
    }
    SetKeyNameProvider(before);
    EXPECT_EQ(ShortCutCaptureCodec().toText('K' | kCaptureAlt | kCaptureCtrl), "Ctrl+Alt+K");
    EXPECT_EQ(ShortCutCaptureCodec().fromText("Shift+"), 0u) << "modifiers alone are no key";
    // Navigation keys carry the field's extended flag, else it shows their keypad twins.
    EXPECT_EQ(ShortCutCaptureCodec().fromText("ctrl+left"), 0x25u | kCaptureCtrl | kCaptureExtended);
    EXPECT_EQ(ShortCutCaptureCodec().fromText("Del"), 0x2Eu | kCaptureExtended);
    EXPECT_EQ(ShortCutCaptureCodec().fromText("Alt+F1"), 0x70u | kCaptureAlt);
    EXPECT_EQ(ShortCutCaptureCodec().toText(0x2E | kCaptureExtended | kCaptureShift), "Shift+Del");
}

} // namespace

// The colour dialog's custom colour list field: its picker reads and writes
// the list the way the action does, through the escaped text the field shows,
// and the field writes that text as it stands.
TEST(ControlDialogTables, TheCustomColourListPickerCodesTheFieldsList) {
    Shown d(61, {"", "ColorB=ff[#13][#10]Other=1", "", "", "", ""});
    const FieldSpec& field = d.spec.fields[d.model.FieldOf(1)];
    EXPECT_EQ(field.pickers, unsigned(PickCustom | PickVariable));
    EXPECT_EQ(PickerHint(field, PickCustom), "Select a CustomColorList");
    ASSERT_EQ(field.custom.chooser, Chooser::ColourList);
    ASSERT_TRUE(field.custom.readColours && field.custom.writeColours);

    EXPECT_EQ(d.at(1).text, "ColorB=ff[#13][#10]Other=1") << "shown as stored";
    const std::string list = UnescapeLineBreaks(d.at(1).text);
    ColourSlots colours = field.custom.readColours(list);
    EXPECT_EQ(colours[0], -1);
    EXPECT_EQ(colours[1], 0xff);
    colours[0] = 0x00ff00;
    d.at(1).text = EscapeLineBreaks(field.custom.writeColours(list, colours));
    d.model.Change(d.model.FieldOf(1));
    std::string expected = "ColorB=0000ff[#13][#10]Other=1[#13][#10]ColorA=00ff00";
    for (char slot = 'C'; slot <= 'P'; ++slot) expected += std::string("[#13][#10]Color") + slot + "=ffffffff";
    EXPECT_EQ(d.Confirm()[1], expected);
    // One malformed line leaves only its own slot unused for the chooser.
    colours = field.custom.readColours("ColorA=xyz\r\nColorB=ff\r\nColorC=12g\r\nColorP=1");
    ColourSlots expectedSlots;
    expectedSlots.fill(-1);
    expectedSlots[1] = 0xff;
    expectedSlots[15] = 1;
    EXPECT_EQ(colours, expectedSlots);
}

// The system dialog actions' options lists tick what the action itself reads
// at run time (blanks around items, unreadable items as false); a list that
// does not read strictly is still kept until the author changes it.
TEST(ControlDialogTables, DialogActionOptionListsTickWhatTheActionReads) {
    const struct {
        int32_t id;
        int param;
        std::string list;
        std::vector<bool> ticks;
    } cases[] = {
        {59, 5, "True, True", {true, true, false, false, false, false, false, false}},
        {62, 5, " False ,\tTrue", {false, true, false, false, false, false, false}},
        {59, 5, "True,[x],True", {true, false, true, false, false, false, false, false}},
        {60, 1, "1, yes, true", {true, false, true}},
        {63, 3, "True,True,True,True", {true, true, true}},
    };
    for (const auto& c : cases) {
        Texts stored = Empty(c.id);
        stored[c.param] = c.list;
        Shown d(c.id, stored);
        EXPECT_EQ(d.at(c.param).ticks, c.ticks) << c.list;
        EXPECT_EQ(d.Confirm()[c.param], c.list) << "kept until changed";
    }
}
