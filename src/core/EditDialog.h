#pragma once
// Editing dialogs as data. A dialog is a DialogSpec: a caption and a list of
// fields from top to bottom. Each field names its kind, its label, the
// parameter it loads from and writes to, its loading rule, its initial
// content and the picker buttons at its right end. The few behaviours beyond
// copying (enabling, relabelling, refilling a choice list) are one hook per
// dialog that works on the DialogModel, never on windows.
//
// This header and EditDialog.cpp are platform-free: loading a model from
// parameter texts, the author's changes and writing the texts back are tested
// natively. core/EditDialogView shows a model as a modal Win32 dialog.
//
// Adding a dialog: write a function returning a DialogSpec in the kind's own
// folder (see hotkeys/HotKeyDialogs.cpp) and route its ids in host/EditRoutes.cpp.
//
// Loading (LoadModel), per kind:
//   Text, Event     Always: the parameter text. IfSet: only a non-empty text
//                   replaces `initial`.
//   MultiLine       the parameter decoded by `codec` (Always or IfSet as above).
//   Check           IfSet: a flag text checks or clears the box; a text that is
//                   not a flag leaves `initial` and sets the keep mark.
//   TriState        empty: greyed. A flag text: checked or cleared. Any other
//                   text: greyed with the keep mark, so OK keeps what is stored.
//   Radio, Choice   IfSet: a whole number selects the entry with that zero-based
//                   index; a text that is not a number or out of range selects
//                   nothing. `initial` is the index selected for an empty text.
//   Colour          IfSet: a colour text selects that colour (its canonical
//                   name); otherwise `initial` stays and the keep mark is set.
//   Options         IfSet: split at ",", the n-th part as a flag ticks the n-th
//                   entry. OptionsStop: the first part that is not a flag (or a
//                   part beyond the entries) stops loading. OptionsKeep: such a
//                   text leaves every entry unticked and sets the keep mark.
//                   With `readOptions` the ticks are what it reads (the action's
//                   own rules at run time); such a text still sets the keep mark.
//   HotKey          IfSet: read by `hotKey.fromText`; a non-empty text that reads
//                   as no key gives no key and the keep mark.
//   Note            no parameter; shows `label` (style `note`).
// Writing (WriteModel), only on OK, only for fields with a parameter:
//   Text, Event     the text.         MultiLine  the text encoded by `codec`.
//   Check           "True"/"False"; nothing with the keep mark.
//   TriState        greyed: the empty text; else "True"/"False"; nothing with keep.
//   Radio, Choice   the selected index in decimal; no selection: `noneWrites`
//                   when `writesWhenNone`, else nothing.
//   Colour          the colour text; nothing with the keep mark.
//   Options         every entry "True"/"False" joined by ","; nothing with keep.
//   HotKey          `hotKey.toText` of the value (empty for none); nothing with keep.
// The keep mark is cleared by the author's first change to that field
// (DialogModel::Change).
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qor {

enum class FieldKind : uint8_t {
    Text,      // one-line edit
    MultiLine, // multi-line edit
    Check,     // two-state check box
    TriState,  // three-state check box (greyed = leave unchanged)
    Radio,     // radio group captioned by the label, `columns` columns
    Choice,    // drop-down list of fixed entries
    Colour,    // drop-down list of colour names, with "clNone"
    Options,   // check list: one check box per entry, captioned by the label
    Event,     // editable drop-down filled with the host's subroutine names
    HotKey,    // the system's hot key capture control
    Note,      // static text without parameter
};

enum class LoadRule : uint8_t { Always, IfSet };
enum class TextCodec : uint8_t { None, ParamText, LineBreaks };
enum class OptionsRule : uint8_t { Stop, Keep };
enum class NoteStyle : uint8_t { Plain, Cream, RedBold };

// Picker buttons at the right end of a field, left to right in this order.
enum Picker : uint16_t {
    PickRectangle = 1 << 0, // "Select a Rectangle": host request 8
    PickVariable = 1 << 1,  // "Select a Variable": host request 14
    PickFont = 1 << 2,      // "Select  a Font": the font dialog, script list off
    ClearField = 1 << 3,    // "Clear": empties the field
    PickFile = 1 << 4,      // "Select a File": open-file dialog with `file`
    AddItems = 1 << 5,      // "Add Items": the "Items Properties" editor
    PickFolder = 1 << 6,    // "Select a Directory": the system folder chooser
    PickCustom = 1 << 7,    // `custom.hint`: `custom.pick`
};
constexpr unsigned kRectanglePickers = PickVariable | PickRectangle;
constexpr unsigned kFontPickers = PickFont | ClearField | PickVariable;

// The hint each picker shows.
const char* PickerHint(Picker picker);
struct FieldSpec;
// The hint a picker shows beside this field (custom and font hints included).
std::string PickerHint(const FieldSpec& field, Picker picker);

// The open-file dialog behind PickFile.
struct FilePickSpec {
    std::string filter = "Any files *.*|*.*"; // description|pattern pairs
    bool fileMustExist = false;
    bool pathMustExist = true;
    bool sizing = false;
};

// A picker the engine does not know (colour choosers, say). `pick` runs with
// the dialog window (HWND) and the field's text; true when it changed it.
// Without `pick`, `chooser` names a system chooser the view knows.
// ColourList: the colour chooser with its custom colour panel open and locked,
// started from the field's list of sixteen custom colours (-1: unused slot),
// which `readColours` reads and `writeColours` writes back (the field shows
// the list's line breaks escaped).
enum class Chooser : uint8_t { None, Colour, ColourList };
using ColourSlots = std::array<int32_t, 16>;
struct CustomPickSpec {
    std::string hint;
    bool (*pick)(void* owner, std::string& text) = nullptr;
    Chooser chooser = Chooser::None; // Colour: the colour chooser, custom colour panel locked
    ColourSlots (*readColours)(const std::string& list) = nullptr;                      // may throw
    std::string (*writeColours)(const std::string& list, const ColourSlots& colours) = nullptr;
};

// Hot key capture value: key code in bits 0-7, modifiers as below; the
// layout of the system's hot key field, whose extended flag tells Left from
// the keypad's 4 (the same scan code).
constexpr uint32_t kCaptureShift = 0x100;
constexpr uint32_t kCaptureCtrl = 0x200;
constexpr uint32_t kCaptureAlt = 0x400;
constexpr uint32_t kCaptureExtended = 0x800;
constexpr uint32_t kCaptureMask = 0xFFF;
struct HotKeyCodec {
    std::string (*toText)(uint32_t captured) = nullptr;
    uint32_t (*fromText)(const std::string& text) = nullptr; // 0: no key
};

struct FieldSpec {
    FieldKind kind = FieldKind::Text;
    std::string label;
    int param = -1; // zero-based parameter index; -1: none
    LoadRule load = LoadRule::IfSet;
    // Text: the field's content. Check: "True"/"False". TriState: "" greyed.
    // Radio/Choice: the index ("" none). Colour: a colour name. Options: the
    // flags joined by ",".
    std::string initial;
    std::vector<std::string> choices; // Radio, Choice, Options entries
    unsigned pickers = 0;
    TextCodec codec = TextCodec::None;
    OptionsRule options = OptionsRule::Keep;
    NoteStyle note = NoteStyle::Plain;
    int columns = 1;             // Radio
    bool writesWhenNone = false; // Radio/Choice: write `noneWrites` with no selection
    std::string noneWrites = "-1";
    bool bothScrollBars = false; // MultiLine: horizontal bar too, no word wrap
    int lines = 5;               // MultiLine and Note height in text lines
    bool sameRow = false;        // placed right of the previous field
    bool visible = true;         // false: a holder the author never sees
    std::string choicePrefix;    // Event: put before every subroutine name
    FilePickSpec file;
    CustomPickSpec custom;
    HotKeyCodec hotKey;
    std::string fontHint; // PickFont: a hint other than PickerHint's
    // Options: the action's reading of the list (entry n ticked or not).
    std::vector<bool> (*readOptions)(const std::string& list, size_t count) = nullptr;
    // Text: set, the field captures key presses instead of typing them; a
    // key-down shows keyDown's text, a key-up turns the text into keyUp's.
    std::string (*keyDown)(uint32_t keyCode, bool ctrl, bool alt, bool shift) = nullptr;
    std::string (*keyUp)(const std::string& text) = nullptr;

    // Chainable adjustments for compact tables.
    FieldSpec& Always() { load = LoadRule::Always; return *this; }
    FieldSpec& Initial(std::string text) { initial = std::move(text); return *this; }
    FieldSpec& Pickers(unsigned p) { pickers = p; return *this; }
    FieldSpec& SameRow() { sameRow = true; return *this; }
    FieldSpec& Columns(int n) { columns = n; return *this; }
    FieldSpec& Lines(int n) { lines = n; return *this; }
    FieldSpec& BothScrollBars() { bothScrollBars = true; return *this; }
    FieldSpec& WritesWhenNone(std::string text = "-1") {
        writesWhenNone = true;
        noneWrites = std::move(text);
        return *this;
    }
    FieldSpec& Hidden() { visible = false; return *this; }
};

// Field makers: label, parameter index, pickers.
FieldSpec TextField(std::string label, int param, unsigned pickers = 0, std::string initial = {});
FieldSpec MultiLineField(std::string label, int param, TextCodec codec, unsigned pickers = 0);
FieldSpec CheckField(std::string label, int param, bool initial = false);
FieldSpec TriStateField(std::string label, int param);
FieldSpec RadioField(std::string label, int param, std::vector<std::string> choices, int initial = 0);
FieldSpec ChoiceField(std::string label, int param, std::vector<std::string> choices, int initial = 0);
FieldSpec ColourField(std::string label, int param, std::string initial = "clNone");
FieldSpec OptionsField(std::string label, int param, std::vector<std::string> choices,
                       OptionsRule rule = OptionsRule::Keep);
FieldSpec EventField(std::string label, int param, unsigned pickers = PickVariable);
FieldSpec HotKeyField(std::string label, int param, HotKeyCodec codec);
FieldSpec NoteField(std::string label, NoteStyle style = NoteStyle::Plain, int lines = 1);
// The "&Rectangle:" field of almost every dialog (loaded always).
FieldSpec RectangleField(std::string label = "&Rectangle:", int param = 0);

// What the author sees and changes, one entry per field.
struct FieldState {
    std::string label;                // Radio/Options: the group caption
    std::vector<std::string> choices; // Radio/Choice/Options entries; Event: subroutines
    std::string text;                 // Text, MultiLine (decoded), Event, Colour name
    int check = 0;                    // Check/TriState: 0 clear, 1 checked, 2 greyed
    int selection = -1;               // Radio/Choice: index, -1 none
    std::vector<bool> ticks;          // Options
    uint32_t hotKey = 0;              // HotKey capture value
    bool keep = false;
    bool enabled = true;
    bool visible = true;
    bool operator==(const FieldState& other) const;
    bool operator!=(const FieldState& other) const { return !(*this == other); }
};

class DialogModel;

// Why a behaviour hook runs: the dialog is being shown (field -1), the author
// changed a field, or the author entered (focused or clicked) a field.
enum class DialogEvent : uint8_t { Shown, Changed, Entered };
using DialogBehaviour = void (*)(DialogModel& model, DialogEvent event, int field);

struct DialogSpec {
    std::string caption; // empty: the action's name without "qor" + " Properties"
    std::vector<FieldSpec> fields;
    DialogBehaviour behaviour = nullptr;
    bool topMost = false; // kept above other windows
    int width = 280;      // dialog units
};

class DialogModel {
public:
    DialogModel(const DialogSpec& spec, const std::vector<std::string>& params);

    const DialogSpec& spec() const { return *spec_; }
    size_t size() const { return fields_.size(); }
    FieldState& operator[](size_t i) { return fields_[i]; }
    const FieldState& operator[](size_t i) const { return fields_[i]; }
    // The first field with this parameter index; -1 when there is none.
    int FieldOf(int param) const;

    // The author changed field i (the view has stored the new state): the keep
    // mark goes and the behaviour hook runs.
    void Change(int field);
    void Enter(int field);
    // Runs the hook for the dialog being shown.
    void Show();
    // The field that has the focus when the dialog shows (a behaviour sets it
    // on Shown); -1: the first field.
    int focus = -1;

    // Fills every Event field with these subroutine names.
    void SetSubroutines(const std::vector<std::string>& names);

    // One entry per parameter of the action: the text to write on OK, or none
    // for a parameter that keeps its stored text.
    std::vector<std::optional<std::string>> Write(size_t paramCount) const;

private:
    void Load(size_t i, const std::string& text);

    const DialogSpec* spec_;
    std::vector<FieldState> fields_;
};

// Choice helpers for behaviour hooks.
// Replaces the entries of a Radio/Choice field; keepSelection chooses the
// previously chosen text again (none when it is gone, or `fallback`).
void RefillChoices(FieldState& field, std::vector<std::string> choices, bool keepSelection, int fallback);

// The colour names a Colour field offers, "clNone" last.
const std::vector<std::string>& ColourChoices();

// "LoadHotKeys" -> "LoadHotKeys Properties" from a script name ("qor" dropped).
std::string DialogCaption(const std::string& actionName);

// Splits the host's CR LF separated list; empty lines are dropped.
std::vector<std::string> SplitHostLines(const std::string& text);

} // namespace qor
