#include "core/EditDialogView.h"

#include <commctrl.h>
#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <deque>
#include <vector>

#include "core/ComHandles.h"
#include "core/DialogTemplate.h"
#include "core/ThemedLook.h"
#include "core/ValueEncodings.h"
#include "core/WinHandles.h"
#include "core/WinValues.h"
#include "host/HostServices.h"
#include "host/PlugInUtils.h"

namespace qor {

namespace {

// Layout in dialog units.
constexpr short kMargin = 7;
constexpr short kLabelHeight = 9;
constexpr short kEditHeight = 12;
constexpr short kPickerWidth = 14;
constexpr short kPickerGap = 2;
constexpr short kRowGap = 5;
constexpr short kButtonWidth = 50;
constexpr short kButtonHeight = 14;
constexpr short kDropHeight = 90; // combo boxes: the list below the field
constexpr int kPickerBits = 8;
constexpr int kFontScriptList = 0x474; // cmb5 of the font dialog: the script (character set) list

const COLORREF kCream = RGB(255, 251, 240);
const COLORREF kRed = RGB(255, 0, 0);

WORD FieldId(size_t field, int offset) {
    return static_cast<WORD>(kFieldIdBase + kFieldIdStride * static_cast<int>(field) + offset);
}

const char* PickerGlyph(Picker picker) {
    switch (picker) {
    case PickRectangle: return "R";
    case PickVariable: return "V";
    case PickFont: return "F";
    case ClearField: return "X";
    case AddItems: return "+";
    default: return "...";
    }
}

std::string ControlText(HWND control) {
    const int length = GetWindowTextLengthA(control);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(control, &text[0], length + 1);
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return text;
}

// ---- building the template --------------------------------------------------

struct Placement {
    short x, y, width;
};

short FieldHeight(const FieldSpec& spec) {
    const short lines = static_cast<short>(std::max(spec.lines, 1));
    const short label = spec.label.empty() ? 0 : kLabelHeight + 1;
    switch (spec.kind) {
    case FieldKind::Check:
    case FieldKind::TriState: return 10;
    case FieldKind::Radio: {
        const int columns = std::max(spec.columns, 1);
        const int rows = (static_cast<int>(spec.choices.size()) + columns - 1) / columns;
        return static_cast<short>(12 + rows * 12);
    }
    case FieldKind::Options: return static_cast<short>(12 + spec.choices.size() * 11);
    case FieldKind::MultiLine: return static_cast<short>(label + lines * 9 + 4);
    case FieldKind::Note: return static_cast<short>(lines * 9 + (spec.note == NoteStyle::Cream ? 6 : 0));
    default: return static_cast<short>(label + kEditHeight);
    }
}

void AddPickers(DialogTemplate& t, size_t i, const FieldSpec& spec, short right, short y) {
    short x = right;
    for (int bit = kPickerBits - 1; bit >= 0; --bit)
        if (spec.pickers & (1u << bit)) x = static_cast<short>(x - kPickerWidth - kPickerGap);
    for (int bit = 0; bit < kPickerBits; ++bit) {
        const auto picker = static_cast<Picker>(1u << bit);
        if (!(spec.pickers & picker)) continue;
        x = static_cast<short>(x + kPickerGap);
        t.AddButton(PickerGlyph(picker), FieldId(i, kPickerIdOffset + bit), x, y, kPickerWidth, kEditHeight);
        x = static_cast<short>(x + kPickerWidth);
    }
}

short PickersWidth(const FieldSpec& spec) {
    short width = 0;
    for (int bit = 0; bit < kPickerBits; ++bit)
        if (spec.pickers & (1u << bit)) width = static_cast<short>(width + kPickerWidth + kPickerGap);
    return width;
}

// The window class, height and style of a field shown as one control under its label.
struct LabelledControl {
    const char* windowClass;
    short height;
    DWORD style;
};

LabelledControl ControlFor(const FieldSpec& spec) {
    switch (spec.kind) {
    case FieldKind::MultiLine: {
        DWORD style = ES_MULTILINE | ES_WANTRETURN | WS_BORDER | WS_VSCROLL | ES_AUTOVSCROLL;
        if (spec.bothScrollBars) style |= WS_HSCROLL | ES_AUTOHSCROLL;
        return {"EDIT", static_cast<short>(std::max(spec.lines, 1) * 9 + 4), style};
    }
    case FieldKind::Choice:
    case FieldKind::Colour: return {"COMBOBOX", kDropHeight, CBS_DROPDOWNLIST | WS_VSCROLL};
    case FieldKind::Event: return {"COMBOBOX", kDropHeight, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL};
    case FieldKind::HotKey: return {HOTKEY_CLASSA, kEditHeight, WS_BORDER};
    default: return {"EDIT", kEditHeight, ES_AUTOHSCROLL | WS_BORDER};
    }
}

// Every field starts a group of the dialog manager (WS_GROUP on its first
// window), so the arrow keys never leave a radio group or a check list.
void AddField(DialogTemplate& t, size_t i, const FieldSpec& spec, Placement at) {
    switch (spec.kind) {
    case FieldKind::Check:
    case FieldKind::TriState:
        t.AddButton(spec.label, FieldId(i, 1), at.x, at.y, at.width, 10,
                    WS_GROUP | (spec.kind == FieldKind::Check ? BS_AUTOCHECKBOX : BS_AUTO3STATE));
        return;
    case FieldKind::Radio:
    case FieldKind::Options: {
        const bool radio = spec.kind == FieldKind::Radio;
        const int columns = radio ? std::max(spec.columns, 1) : 1;
        t.AddControl("BUTTON", spec.label, FieldId(i, 0), at.x, at.y, at.width, FieldHeight(spec),
                     WS_GROUP | BS_GROUPBOX);
        const short cellWidth = static_cast<short>((at.width - 12) / columns);
        for (size_t k = 0; k < spec.choices.size() && k < kPickerIdOffset - 1; ++k) {
            const short cx = static_cast<short>(at.x + 6 + (k % columns) * cellWidth);
            const short cy = static_cast<short>(at.y + 11 + (k / columns) * (radio ? 12 : 11));
            const DWORD style = (radio ? BS_AUTORADIOBUTTON : BS_AUTOCHECKBOX) | (k == 0 ? WS_GROUP : 0);
            t.AddButton(spec.choices[k], FieldId(i, 1 + static_cast<int>(k)), cx, cy, cellWidth, 10, style);
        }
        return;
    }
    case FieldKind::Note:
        t.AddStatic(spec.label, FieldId(i, 0), at.x, at.y, at.width, FieldHeight(spec), SS_LEFT | WS_GROUP);
        return;
    default: break;
    }
    short y = at.y;
    const short fieldWidth = static_cast<short>(at.width - PickersWidth(spec));
    if (!spec.label.empty()) {
        t.AddStatic(spec.label, FieldId(i, 0), at.x, y, fieldWidth, kLabelHeight, SS_LEFT | WS_GROUP);
        y = static_cast<short>(y + kLabelHeight + 1);
    }
    const LabelledControl control = ControlFor(spec);
    t.AddControl(control.windowClass, "", FieldId(i, 1), at.x, y, fieldWidth, control.height,
                 WS_TABSTOP | control.style | (spec.label.empty() ? WS_GROUP : 0));
    AddPickers(t, i, spec, static_cast<short>(at.x + at.width), y);
}

DialogTemplate BuildTemplate(const std::string& caption, const DialogSpec& spec) {
    const short width = static_cast<short>(spec.width);
    const short inner = static_cast<short>(width - 2 * kMargin);
    // Rows: a field with sameRow shares the row of the field before it.
    std::vector<Placement> places(spec.fields.size());
    short y = kMargin;
    for (size_t i = 0; i < spec.fields.size();) {
        size_t end = i + 1;
        while (end < spec.fields.size() && spec.fields[end].sameRow) ++end;
        const short cell = static_cast<short>(inner / static_cast<short>(end - i));
        short rowHeight = 0;
        for (size_t k = i; k < end; ++k) {
            places[k] = {static_cast<short>(kMargin + cell * (k - i)), y, static_cast<short>(cell - (k + 1 < end ? 4 : 0))};
            if (spec.fields[k].visible) rowHeight = std::max(rowHeight, FieldHeight(spec.fields[k]));
        }
        if (rowHeight) y = static_cast<short>(y + rowHeight + kRowGap);
        i = end;
    }
    const short buttonsY = static_cast<short>(y + 3);
    const short height = static_cast<short>(buttonsY + kButtonHeight + kMargin);
    DialogTemplate t(caption, width, height, DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                     "Arial", 9);
    for (size_t i = 0; i < spec.fields.size(); ++i) AddField(t, i, spec.fields[i], places[i]);
    t.AddButton("OK", IDOK, static_cast<short>(width - kMargin - 2 * kButtonWidth - 4), buttonsY, kButtonWidth,
                kButtonHeight, BS_DEFPUSHBUTTON | WS_GROUP);
    t.AddButton("Cancel", IDCANCEL, static_cast<short>(width - kMargin - kButtonWidth), buttonsY, kButtonWidth,
                kButtonHeight);
    return t;
}

// ---- pickers ------------------------------------------------------------------

UINT_PTR CALLBACK FontHook(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) EnableWindow(GetDlgItem(dialog, kFontScriptList), FALSE);
    return 0;
}

bool PickFontSpec(HWND owner, std::string& text) {
    LOGFONTA logFont{};
    CHOOSEFONTA choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = owner;
    choose.lpLogFont = &logFont;
    choose.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_ENABLEHOOK;
    choose.lpfnHook = FontHook;
    FontSpec spec;
    try {
        if (!text.empty()) {
            SpecToFont(text, spec);
            UniqueFont font = CreateFontFromSpec(spec);
            if (font && GetObjectA(font.get(), sizeof logFont, &logFont)) {
                choose.Flags |= CF_INITTOLOGFONTSTRUCT;
                choose.rgbColors = ToColorRef(spec.color, RGB(0, 0, 0));
            }
        }
    } catch (...) {
        // A spec that cannot be read is ignored: the font dialog starts plain.
    }
    if (!ChooseFontA(&choose)) return false;
    UniqueFont chosen(CreateFontIndirectA(&logFont));
    if (!chosen) return false;
    FontSpec result = SpecFromFont(chosen.get(), static_cast<int32_t>(choose.rgbColors));
    if (choose.iPointSize > 0) result.size = (choose.iPointSize + 5) / 10;
    text = FontToSpec(result);
    return true;
}

bool PickFilePath(HWND owner, const FilePickSpec& file, std::string& text) {
    std::string filter = file.filter;
    std::replace(filter.begin(), filter.end(), '|', '\0');
    filter.append(2, '\0');
    char path[MAX_PATH] = {};
    OPENFILENAMEA open{};
    open.lStructSize = sizeof open;
    open.hwndOwner = owner;
    open.lpstrFilter = filter.c_str();
    open.lpstrFile = path;
    open.nMaxFile = MAX_PATH;
    open.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (file.pathMustExist) open.Flags |= OFN_PATHMUSTEXIST;
    if (file.fileMustExist) open.Flags |= OFN_FILEMUSTEXIST;
    if (file.sizing) open.Flags |= OFN_ENABLESIZING;
    if (!GetOpenFileNameA(&open)) return false;
    text = path;
    return true;
}

bool PickFolderPath(HWND owner, std::string& text) {
    ComApartment com;
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.lpszTitle = PickerHint(PickFolder);
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    bool picked = false;
    if (PIDLIST_ABSOLUTE list = SHBrowseForFolderA(&info)) {
        char path[MAX_PATH] = {};
        if (SHGetPathFromIDListA(list, path)) {
            text = path;
            picked = true;
        }
        CoTaskMemFree(list);
    }
    return picked;
}

// The colour chooser started from the field's colour (black when it is none
// or unreadable), without the custom colour panel; the chosen colour's text.
bool PickColourText(HWND owner, std::string& text) {
    COLORREF custom[16];
    std::fill(std::begin(custom), std::end(custom), RGB(255, 255, 255));
    CHOOSECOLORA choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = owner;
    choose.lpCustColors = custom;
    choose.Flags = CC_RGBINIT | CC_PREVENTFULLOPEN;
    int32_t colour = 0;
    try {
        colour = TextToColor(text);
    } catch (...) {
        // Unreadable: the chooser starts from black.
    }
    choose.rgbResult = ToColorRef(colour, RGB(0, 0, 0));
    if (!ChooseColorA(&choose)) return false;
    text = ColorToText(static_cast<int32_t>(choose.rgbResult));
    return true;
}

// The colour chooser with the custom colour panel open and locked, started
// from the field's list (line breaks escaped in the field; an unreadable
// list starts with unused slots); the list written back, escaped again.
bool PickColourList(HWND owner, const CustomPickSpec& spec, std::string& text) {
    if (!spec.readColours || !spec.writeColours) return false;
    const std::string list = UnescapeLineBreaks(text);
    ColourSlots colours;
    colours.fill(-1);
    try {
        colours = spec.readColours(list);
    } catch (...) {
        // Unreadable: the chooser starts with unused slots.
    }
    COLORREF slots[16];
    for (size_t i = 0; i < colours.size(); ++i) slots[i] = static_cast<COLORREF>(colours[i]);
    CHOOSECOLORA choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = owner;
    choose.lpCustColors = slots;
    choose.Flags = CC_FULLOPEN | CC_PREVENTFULLOPEN;
    if (!ChooseColorA(&choose)) return false;
    for (size_t i = 0; i < colours.size(); ++i) colours[i] = static_cast<int32_t>(slots[i]);
    try {
        text = EscapeLineBreaks(spec.writeColours(list, colours));
    } catch (...) {
        return false;
    }
    return true;
}

bool EditItems(HWND owner, std::string& text) {
    DialogSpec editor;
    editor.fields.push_back(MultiLineField("Items:", 0, TextCodec::ParamText).BothScrollBars().Lines(12));
    DialogModel model(editor, {text});
    if (!ShowEditDialog(owner, "Items Properties", model)) return false;
    text = model.Write(1)[0].value_or(text);
    return true;
}

// A key field and the key press it is taking. Only keys that went down in the
// field count: the release of the Tab that brought the focus here changes
// nothing, and keys that take the focus away (Shift+Tab, Alt+letter) leave
// the text as it was before they went down.
struct KeyCapture {
    const FieldSpec* spec = nullptr;
    bool pressing = false;
    std::string before;
};

// A key field: every key press replaces the text (see FieldSpec::keyDown).

LRESULT CALLBACK KeyFieldProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* capture = reinterpret_cast<KeyCapture*>(data);
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: try {
        if (!capture->pressing) capture->before = ControlText(edit);
        capture->pressing = true;
        const std::string text = capture->spec->keyDown(static_cast<uint32_t>(wParam), GetKeyState(VK_CONTROL) < 0,
                                                        GetKeyState(VK_MENU) < 0, GetKeyState(VK_SHIFT) < 0);
        SetWindowTextA(edit, text.c_str());
        return 0;
    } catch (...) {
        return 0;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: try {
        if (!capture->pressing) return 0;
        capture->pressing = false;
        if (capture->spec->keyUp) SetWindowTextA(edit, capture->spec->keyUp(ControlText(edit)).c_str());
        return 0;
    } catch (...) {
        return 0;
    }
    case WM_KILLFOCUS:
        if (capture->pressing) {
            capture->pressing = false;
            SetWindowTextA(edit, capture->before.c_str());
        }
        break;
    case WM_CHAR:
    case WM_SYSCHAR: return 0;
    case WM_NCDESTROY: RemoveWindowSubclass(edit, KeyFieldProc, 1); break;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

// A hot key control tells nobody that it got the focus: its field is entered
// through this subclass (the id is the field index).
LRESULT CALLBACK HotKeyFocusProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR field,
                                 DWORD_PTR data);

// ---- the dialog's life ----------------------------------------------------------

struct View {
    DialogModel* model = nullptr;
    std::vector<FieldState> shown; // what the controls show
    bool pushing = false;
    bool failed = false;
    UniqueFont boldFont;
    UniqueBrush creamBrush;
    UniqueHwnd tooltip;
    std::deque<KeyCapture> keyCaptures; // one per key field, at fixed addresses
    HWND dialog = nullptr;

    const FieldSpec& Spec(size_t i) const { return model->spec().fields[i]; }
    HWND Item(size_t i, int offset) const { return GetDlgItem(dialog, FieldId(i, offset)); }

    void SetTextIfDifferent(HWND control, const std::string& text) {
        if (control && ControlText(control) != text) SetWindowTextA(control, text.c_str());
    }

    void FillCombo(HWND combo, const std::vector<std::string>& choices) {
        SendMessageA(combo, CB_RESETCONTENT, 0, 0);
        for (const std::string& c : choices) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(c.c_str()));
    }

    // Every window that belongs to field i.
    std::vector<HWND> Windows(size_t i) const {
        std::vector<HWND> windows;
        for (int offset = 0; offset < kFieldIdStride; ++offset)
            if (HWND w = Item(i, offset)) windows.push_back(w);
        return windows;
    }

    void Push(size_t i, bool force) {
        const FieldState& s = (*model)[i];
        FieldState& was = shown[i];
        if (!force && s == was) return;
        const FieldSpec& spec = Spec(i);
        HWND control = Item(i, 1);
        if (force || s.label != was.label) {
            HWND label = spec.kind == FieldKind::Check || spec.kind == FieldKind::TriState ? control : Item(i, 0);
            if (label) SetWindowTextA(label, s.label.c_str());
        }
        switch (spec.kind) {
        case FieldKind::Text:
        case FieldKind::MultiLine: SetTextIfDifferent(control, s.text); break;
        case FieldKind::Event:
            if (force || s.choices != was.choices) FillCombo(control, s.choices);
            SetTextIfDifferent(control, s.text);
            break;
        case FieldKind::Choice:
            if (force || s.choices != was.choices) FillCombo(control, s.choices);
            SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(s.selection), 0);
            break;
        case FieldKind::Colour: {
            if (force) FillCombo(control, s.choices);
            LRESULT index = SendMessageA(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(s.text.c_str()));
            if (index == CB_ERR)
                index = SendMessageA(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.text.c_str()));
            SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
            break;
        }
        case FieldKind::Check:
        case FieldKind::TriState:
            SendMessageA(control, BM_SETCHECK, s.check == 2 ? BST_INDETERMINATE : (s.check ? BST_CHECKED : BST_UNCHECKED), 0);
            break;
        case FieldKind::Radio: {
            // Tab reaches a group at its chosen entry, or at the first when none is chosen.
            const size_t stop = s.selection >= 0 && static_cast<size_t>(s.selection) < s.choices.size()
                                    ? static_cast<size_t>(s.selection)
                                    : 0;
            for (size_t k = 0; k < s.choices.size() && k < kPickerIdOffset - 1; ++k) {
                HWND button = Item(i, 1 + static_cast<int>(k));
                SetTextIfDifferent(button, s.choices[k]);
                SendMessageA(button, BM_SETCHECK, static_cast<int>(k) == s.selection ? BST_CHECKED : BST_UNCHECKED, 0);
                const LONG style = GetWindowLongA(button, GWL_STYLE);
                SetWindowLongA(button, GWL_STYLE, k == stop ? style | WS_TABSTOP : style & ~WS_TABSTOP);
            }
            break;
        }
        case FieldKind::Options:
            for (size_t k = 0; k < s.ticks.size() && k < kPickerIdOffset - 1; ++k)
                SendMessageA(Item(i, 1 + static_cast<int>(k)), BM_SETCHECK, s.ticks[k] ? BST_CHECKED : BST_UNCHECKED, 0);
            break;
        case FieldKind::HotKey:
            SendMessageA(control, HKM_SETHOTKEY, s.hotKey & kCaptureMask, 0);
            break;
        case FieldKind::Note: break;
        }
        if (force || s.enabled != was.enabled || s.visible != was.visible)
            for (HWND w : Windows(i)) {
                EnableWindow(w, s.enabled);
                ShowWindow(w, s.visible ? SW_SHOWNA : SW_HIDE);
            }
        was = s;
    }

    void PushAll(bool force) {
        pushing = true;
        for (size_t i = 0; i < model->size(); ++i) Push(i, force);
        pushing = false;
    }

    // Reads field i's control after a notification; true when its state changed.
    bool Pull(size_t i, int offset, WORD code) {
        FieldState& s = (*model)[i];
        HWND control = Item(i, offset);
        const FieldState before = s;
        switch (Spec(i).kind) {
        case FieldKind::Text:
        case FieldKind::MultiLine:
            if (code == EN_CHANGE) s.text = ControlText(control);
            break;
        case FieldKind::Event:
            if (code == CBN_EDITCHANGE) s.text = ControlText(control);
            if (code == CBN_SELCHANGE) {
                const LRESULT index = SendMessageA(control, CB_GETCURSEL, 0, 0);
                if (index >= 0 && static_cast<size_t>(index) < s.choices.size()) s.text = s.choices[index];
            }
            break;
        case FieldKind::Choice:
            if (code == CBN_SELCHANGE) s.selection = static_cast<int>(SendMessageA(control, CB_GETCURSEL, 0, 0));
            break;
        case FieldKind::Colour:
            if (code == CBN_SELCHANGE) s.text = ControlText(control);
            break;
        case FieldKind::Check:
        case FieldKind::TriState:
            if (code == BN_CLICKED) {
                const LRESULT state = SendMessageA(control, BM_GETCHECK, 0, 0);
                s.check = state == BST_INDETERMINATE ? 2 : (state == BST_CHECKED ? 1 : 0);
            }
            break;
        case FieldKind::Radio:
            if (code == BN_CLICKED && SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED) s.selection = offset - 1;
            break;
        case FieldKind::Options:
            if (code == BN_CLICKED && static_cast<size_t>(offset - 1) < s.ticks.size())
                s.ticks[offset - 1] = SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
            break;
        case FieldKind::HotKey:
            if (code == EN_CHANGE) s.hotKey = static_cast<uint32_t>(SendMessageA(control, HKM_GETHOTKEY, 0, 0)) & kCaptureMask;
            break;
        case FieldKind::Note: break;
        }
        if (s == before) return false;
        shown[i] = s; // the control already shows it
        return true;
    }

    bool RunPicker(size_t i, Picker picker) {
        const std::string text = (*model)[i].text;
        std::string answer = text;
        bool changed = false;
        switch (picker) {
        case PickRectangle: changed = RequestHost(RequestPickObject, &text, answer); break;
        case PickVariable: changed = RequestHost(RequestPickVariable, &text, answer); break;
        case ClearField:
            answer.clear();
            changed = true;
            break;
        case PickFont: changed = PickFontSpec(dialog, answer); break;
        case PickFile: changed = PickFilePath(dialog, Spec(i).file, answer); break;
        case PickFolder: changed = PickFolderPath(dialog, answer); break;
        case AddItems: changed = EditItems(dialog, answer); break;
        case PickCustom:
            if (Spec(i).custom.pick)
                changed = Spec(i).custom.pick(dialog, answer);
            else if (Spec(i).custom.chooser == Chooser::Colour)
                changed = PickColourText(dialog, answer);
            else if (Spec(i).custom.chooser == Chooser::ColourList)
                changed = PickColourList(dialog, Spec(i).custom, answer);
            break;
        }
        if (!changed) return false;
        (*model)[i].text = answer;
        return true;
    }

    void AddTooltips() {
        tooltip.reset(CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0,
                                      0, dialog, nullptr, PlugInInstance(), nullptr));
        if (!tooltip) return;
        for (size_t i = 0; i < model->size(); ++i)
            for (int bit = 0; bit < kPickerBits; ++bit) {
                HWND button = Item(i, kPickerIdOffset + bit);
                if (!button) continue;
                const std::string hint = PickerHint(Spec(i), static_cast<Picker>(1u << bit));
                TOOLINFOA tool{};
                tool.cbSize = TTTOOLINFOA_V2_SIZE; // understood by every common controls version
                tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
                tool.hwnd = dialog;
                tool.uId = reinterpret_cast<UINT_PTR>(button);
                tool.lpszText = const_cast<char*>(hint.c_str());
                SendMessageA(tooltip.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
            }
    }

    // True: the dialog manager gives the first field the focus.
    bool Init(HWND window) {
        dialog = window;
        LOGFONTA font{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
        font.lfWeight = FW_BOLD;
        boldFont.reset(CreateFontIndirectA(&font));
        creamBrush.reset(CreateSolidBrush(kCream));
        for (size_t i = 0; i < model->size(); ++i)
            if (Spec(i).kind == FieldKind::Note && Spec(i).note == NoteStyle::RedBold)
                SendMessageA(Item(i, 0), WM_SETFONT, reinterpret_cast<WPARAM>(boldFont.get()), FALSE);
        if (model->spec().topMost) SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        const bool hasEvents = std::any_of(model->spec().fields.begin(), model->spec().fields.end(),
                                           [](const FieldSpec& f) { return f.kind == FieldKind::Event; });
        if (hasEvents) {
            std::string names;
            RequestHost(RequestSubroutineList, nullptr, names);
            model->SetSubroutines(SplitHostLines(names));
        }
        model->Show();
        PushAll(true);
        SendMessageA(dialog, DM_SETDEFID, IDOK, 0); // Enter is OK wherever the focus is not on a button
        AddTooltips();
        for (size_t i = 0; i < model->size(); ++i) {
            if (Spec(i).kind == FieldKind::Text && Spec(i).keyDown) {
                keyCaptures.emplace_back();
                keyCaptures.back().spec = &Spec(i);
                SetWindowSubclass(Item(i, 1), KeyFieldProc, 1, reinterpret_cast<DWORD_PTR>(&keyCaptures.back()));
            }
            if (Spec(i).kind == FieldKind::HotKey)
                SetWindowSubclass(Item(i, 1), HotKeyFocusProc, i, reinterpret_cast<DWORD_PTR>(this));
        }
        if (model->focus < 0 || static_cast<size_t>(model->focus) >= model->size()) return true;
        SetFocus(Item(static_cast<size_t>(model->focus), 1));
        return false; // the focus is set
    }

    void Entered(size_t i) {
        model->Enter(static_cast<int>(i));
        PushAll(false);
    }

    // A WM_COMMAND from one of the fields' controls.
    void Command(WORD id, WORD code) {
        if (id < kFieldIdBase || pushing) return;
        const size_t i = static_cast<size_t>((id - kFieldIdBase) / kFieldIdStride);
        const int offset = (id - kFieldIdBase) % kFieldIdStride;
        if (i >= model->size()) return;
        if (code == EN_SETFOCUS || code == CBN_SETFOCUS) {
            if (Spec(i).kind != FieldKind::HotKey) Entered(i);
            return;
        }
        bool changed = false;
        if (offset >= kPickerIdOffset) {
            if (code != BN_CLICKED) return;
            changed = RunPicker(i, static_cast<Picker>(1u << (offset - kPickerIdOffset)));
        } else {
            changed = Pull(i, offset, code);
        }
        if (!changed) return;
        model->Change(static_cast<int>(i));
        PushAll(false);
    }

    INT_PTR ColorStatic(HDC dc, HWND control) {
        const int id = GetDlgCtrlID(control);
        if (id < kFieldIdBase || (id - kFieldIdBase) % kFieldIdStride != 0) return FALSE;
        const size_t i = static_cast<size_t>((id - kFieldIdBase) / kFieldIdStride);
        if (i >= model->size() || Spec(i).kind != FieldKind::Note) return FALSE;
        if (Spec(i).note == NoteStyle::Cream) {
            SetBkColor(dc, kCream);
            return reinterpret_cast<INT_PTR>(creamBrush.get());
        }
        if (Spec(i).note == NoteStyle::RedBold) {
            SetTextColor(dc, kRed);
            SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
        }
        return FALSE;
    }
};

LRESULT CALLBACK HotKeyFocusProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR field,
                                 DWORD_PTR data) {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(control, HotKeyFocusProc, field);
    const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
    if (message == WM_SETFOCUS) {
        View* view = reinterpret_cast<View*>(data);
        try {
            if (!view->pushing) {
                view->model->Enter(static_cast<int>(field));
                view->PushAll(false);
            }
        } catch (...) {
            view->failed = true;
        }
    }
    return result;
}

INT_PTR CALLBACK EditDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* view = reinterpret_cast<View*>(GetWindowLongPtrA(dialog, DWLP_USER));
    try {
        switch (message) {
        case WM_INITDIALOG:
            view = reinterpret_cast<View*>(lParam);
            SetWindowLongPtrA(dialog, DWLP_USER, lParam);
            return view->Init(dialog) ? TRUE : FALSE;
        case WM_COMMAND:
            if (!view) return FALSE;
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, LOWORD(wParam));
                return TRUE;
            }
            view->Command(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_CTLCOLORSTATIC:
            return view ? view->ColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)) : FALSE;
        case WM_DESTROY:
            if (view) view->tooltip.reset();
            return FALSE;
        }
    } catch (...) {
        if (view) view->failed = true;
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

} // namespace

bool ShowEditDialog(HWND owner, const std::string& caption, DialogModel& model) noexcept {
    try {
        // The dialog, its controls and the pickers it opens are all made inside.
        const ThemedLookScope themed;
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_HOTKEY_CLASS | ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        const DialogTemplate layout = BuildTemplate(caption, model.spec());
        View view;
        view.model = &model;
        view.shown.resize(model.size());
        const INT_PTR result = DialogBoxIndirectParamA(PlugInInstance(), layout.get(), owner, EditDialogProc,
                                                       reinterpret_cast<LPARAM>(&view));
        return result == IDOK && !view.failed;
    } catch (...) {
        return false;
    }
}

} // namespace qor
