#include "lists/UTCustomDropDown.h"

#include <commctrl.h>

#include "core/ControlRegistry.h"
#include "core/EventBridge.h"
#include "core/ValueEncodings.h"
#include "core/WinValues.h"
#include "host/PlugInUtils.h"
#include "lists/ListValues.h"

namespace qor {

namespace {

constexpr int kItemHeight = 13;
constexpr int kDroppedRows = 2;
constexpr DWORD kPrefixPause = 500; // ms after which typing starts a new prefix

bool Printable(WPARAM ch) { return ch >= 32 && ch != 127; }

} // namespace

TFMCustomDropDown::TFMCustomDropDown(const Params& params)
    : ListControlBase(ControlKind::DropDown, params, "DropDown") {}

void TFMCustomDropDown::BuildContent() {
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_AUTOHSCROLL | CBS_HASSTRINGS |
                        (ListOnly() ? CBS_DROPDOWNLIST : CBS_DROPDOWN);
    // A child of the form: destroyed with it.
    Combobox1 = CreateWindowExA(0, "COMBOBOX", "", style, 0, 0, 100, 100, hwnd(), reinterpret_cast<HMENU>(1),
                                PlugInInstance(), nullptr);
    if (!Combobox1) throw ScriptError("Cannot create the drop-down list.");
    font_ = CreateFontFromSpec(DefaultControlFont());
    SendMessageA(Combobox1, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    SendMessageA(Combobox1, CB_SETITEMHEIGHT, 0, kItemHeight);
    // Version 6 of the common controls sizes the opened list by this count
    // rather than by the combo box's height (see FormResize).
    SendMessageA(Combobox1, CB_SETMINVISIBLE, kDroppedRows, 0);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (!ListOnly() && GetComboBoxInfo(Combobox1, &info) && info.hwndItem && info.hwndItem != Combobox1) {
        edit_ = info.hwndItem;
        Subclass(edit_);
    }
    comboDirect_.Capture(Combobox1);
    Subclass(Combobox1);
    ReadFlags();
    FormResize(); // filled at its final size
    LoadItems();
}

void TFMCustomDropDown::ForgetChildren() {
    Combobox1 = nullptr;
    edit_ = nullptr;
    comboDirect_.Forget();
}

void TFMCustomDropDown::LayoutContent(int /*width*/, int /*height*/) { FormResize(); }

void TFMCustomDropDown::FormResize() {
    if (!Combobox1 || IsDestroyed()) return;
    RECT client{};
    GetClientRect(hwnd(), &client);
    RECT field{};
    GetWindowRect(Combobox1, &field);
    const int fieldHeight = field.bottom - field.top;
    // The combo box's own height includes its opened list: two rows.
    SetWindowPos(Combobox1, nullptr, 0, 0, client.right, fieldHeight + kDroppedRows * kItemHeight + 2,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    GetWindowRect(Combobox1, &field);
    const int height = field.bottom - field.top;
    if (client.bottom != height)
        SetWindowPos(hwnd(), nullptr, 0, 0, client.right, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string TFMCustomDropDown::EditText() const {
    const int length = GetWindowTextLengthA(Combobox1);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    const int copied = GetWindowTextA(Combobox1, &text[0], length + 1);
    text.resize(copied > 0 ? copied : 0);
    return text;
}

int TFMCustomDropDown::Selection() const { return static_cast<int>(SendMessageA(Combobox1, CB_GETCURSEL, 0, 0)); }

void TFMCustomDropDown::ComboBox1Change() {
    if (IsDestroyed()) return;
    const std::optional<std::string> value = DropDownValue(store_, ResultMode, {Selection(), EditText(), ListOnly()});
    if (!value) return;
    WriteVariable(ResultVariable, *value);
    if (!(store_.Mode() == ItemsMode::String && ResultMode == "0" && ResultVariable.empty())) CurrentValue = *value;
    if (TakeChange(CurrentValue, PreviousValue)) RunEvent(OnChangeSub);
}

void TFMCustomDropDown::ComboBox2DropDown() { RunEvent(OnDropDownSub); }
void TFMCustomDropDown::ComboBox2CloseUp() { RunEvent(OnCloseUpSub); }

void TFMCustomDropDown::HandleEvent(WPARAM event) {
    switch (event) {
    case CBN_SELCHANGE:
    case CBN_EDITCHANGE:
        ComboBox1Change();
        break;
    case CBN_DROPDOWN:
        ComboBox2DropDown();
        break;
    case CBN_CLOSEUP:
        ComboBox2CloseUp();
        break;
    }
}

LRESULT TFMCustomDropDown::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && reinterpret_cast<HWND>(lParam) == Combobox1 && Combobox1) {
        switch (HIWORD(wParam)) {
        case CBN_SELCHANGE:
        case CBN_EDITCHANGE:
        case CBN_DROPDOWN:
        case CBN_CLOSEUP:
            PostEvent(HIWORD(wParam));
            break;
        }
        return 0;
    }
    return ListControlBase::WindowProc(message, wParam, lParam);
}

LRESULT TFMCustomDropDown::ChildProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if ((message == WM_CHAR || message == WM_KEYDOWN) && TypingAid(child, message, wParam, lParam, result))
        return result;
    return CallOriginalChildProc(child, message, wParam, lParam);
}

bool TFMCustomDropDown::TypingAid(HWND target, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const bool dropped = SendMessageA(Combobox1, CB_GETDROPPEDSTATE, 0, 0) != 0;
    if (message == WM_KEYDOWN) {
        if (wParam == VK_TAB && Aids().AutoDropDown && dropped) SendMessageA(Combobox1, CB_SHOWDROPDOWN, FALSE, 0);
        return false;
    }
    // Keys typed into the edit field reach the edit; with the list-only
    // style they reach the combo box.
    const bool inEdit = edit_ && target == edit_;
    if (!inEdit && (target != Combobox1 || !ListOnly())) return false;
    if (Aids().AutoDropDown && Printable(wParam) && !dropped) SendMessageA(Combobox1, CB_SHOWDROPDOWN, TRUE, 0);

    int match = -1;
    if (inEdit) {
        result = CallOriginalChildProc(target, message, wParam, lParam);
        if (IsDestroyed()) return true;
        const std::string typed = EditText();
        DWORD start = 0, end = 0;
        SendMessageA(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        if (Aids().AutoComplete && Printable(wParam) && !typed.empty() && start == end && end == typed.size()) {
            match = static_cast<int>(SendMessageA(Combobox1, CB_FINDSTRING, static_cast<WPARAM>(-1),
                                                  reinterpret_cast<LPARAM>(typed.c_str())));
            if (match >= 0) {
                SendMessageA(Combobox1, CB_SETCURSEL, match, 0);
                SetWindowTextA(Combobox1, store_.Item(match).text.c_str());
                SendMessageA(edit_, EM_SETSEL, typed.size(), -1);
                PostEvent(CBN_EDITCHANGE);
            }
        }
        if (Aids().AutoCloseUp && SendMessageA(Combobox1, CB_GETDROPPEDSTATE, 0, 0) && store_.FindExact(typed) >= 0 &&
            store_.Item(store_.FindExact(typed)).text == typed)
            SendMessageA(Combobox1, CB_SHOWDROPDOWN, FALSE, 0);
        return true;
    }

    if (!Aids().AutoComplete) return false;
    const DWORD now = GetTickCount();
    if (now - lastKeyTime_ >= kPrefixPause) searchPrefix_.clear();
    lastKeyTime_ = now;
    if (wParam == VK_BACK) {
        if (!searchPrefix_.empty()) searchPrefix_.pop_back();
    } else if (Printable(wParam)) {
        searchPrefix_ += static_cast<char>(wParam);
    } else {
        return false;
    }
    if (!searchPrefix_.empty())
        match = static_cast<int>(SendMessageA(Combobox1, CB_FINDSTRING, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(searchPrefix_.c_str())));
    if (match >= 0 && match != Selection()) {
        SendMessageA(Combobox1, CB_SETCURSEL, match, 0);
        PostEvent(CBN_SELCHANGE);
    }
    if (Aids().AutoCloseUp && match >= 0 && SendMessageA(Combobox1, CB_GETDROPPEDSTATE, 0, 0) &&
        store_.Item(match).text == searchPrefix_)
        SendMessageA(Combobox1, CB_SHOWDROPDOWN, FALSE, 0);
    result = 0;
    return true;
}

// ---- the item list ------------------------------------------------------------

void TFMCustomDropDown::ShowAll(const std::vector<ListItem>& items) {
    FillNativeList(comboDirect_, kComboBoxMessages, items);
}

void TFMCustomDropDown::ShowInserted(int index, const std::string& text) {
    const int count = static_cast<int>(SendMessageA(Combobox1, CB_GETCOUNT, 0, 0));
    SendMessageA(Combobox1, CB_INSERTSTRING, index >= count ? static_cast<WPARAM>(-1) : index,
                 reinterpret_cast<LPARAM>(text.c_str()));
}

void TFMCustomDropDown::ShowInsertedMany(const std::vector<ListItem>& items, const std::vector<int>& indexes) {
    InsertIntoNativeList(comboDirect_, kComboBoxMessages, items, indexes);
}

void TFMCustomDropDown::ShowRemoved(int index) { SendMessageA(Combobox1, CB_DELETESTRING, index, 0); }

void TFMCustomDropDown::ShowChanged(int index, const std::string& text) {
    const int selection = Selection();
    const std::string edit = EditText();
    SendMessageA(Combobox1, CB_DELETESTRING, index, 0);
    ShowInserted(index, text);
    if (selection == index) SendMessageA(Combobox1, CB_SETCURSEL, index, 0);
    else if (!ListOnly()) SetWindowTextA(Combobox1, edit.c_str());
}

void TFMCustomDropDown::ShowMoved(int from, int to) {
    const int selection = Selection();
    const std::string edit = EditText();
    SendMessageA(Combobox1, CB_DELETESTRING, from, 0);
    ShowInserted(to, store_.Item(to).text);
    int restored = selection;
    if (selection == from) restored = to;
    else if (selection > from && selection <= to) restored = selection - 1;
    else if (selection >= to && selection < from) restored = selection + 1;
    SendMessageA(Combobox1, CB_SETCURSEL, restored, 0);
    if (!ListOnly()) SetWindowTextA(Combobox1, edit.c_str());
}

void TFMCustomDropDown::ShowReordered(const std::vector<int>& oldIndexAt, const std::vector<ListItem>& items) {
    const int selection = Selection();
    const std::string edit = EditText();
    FillNativeList(comboDirect_, kComboBoxMessages, items);
    int restored = -1;
    for (size_t i = 0; i < oldIndexAt.size() && selection >= 0; ++i)
        if (oldIndexAt[i] == selection) restored = static_cast<int>(i);
    SendMessageA(Combobox1, CB_SETCURSEL, restored, 0);
    if (!ListOnly()) SetWindowTextA(Combobox1, edit.c_str());
}

// ---- actions --------------------------------------------------------------------

void TFMCustomDropDown::ApplyPresetText() {
    if (ListOnly())
        SendMessageA(Combobox1, CB_SETCURSEL, store_.FindExact(PresetText), 0);
    else
        SetWindowTextA(Combobox1, PresetText.c_str());
}

void TFMCustomDropDown::SetProperties(const Params& params) {
    aids_.ReadThenCommit([&](TypingAids& aids) {
        if (!params.at(1).empty()) aids.AutoCloseUp = TextToFlag(params[1]);
        if (!params.at(2).empty()) aids.AutoComplete = TextToFlag(params[2]);
        if (!params.at(3).empty()) aids.AutoDropDown = TextToFlag(params[3]);
        if (!params.at(4).empty()) {
            FontSpec spec = DefaultControlFont();
            SpecToFont(params[4], spec);
            Font = spec;
        }
        Color = TextToColor(params.at(5));
        if (params.at(6) != "0") DropDownWidth = TextToInt(params[6]);
        if (!params.at(7).empty()) PresetText = params[7];
    });

    // Everything converted: the typing aids act from now on, the rest is applied here.
    if (Font) ApplyFontSpec(*Font, Combobox1);
    FormResize();
    if (Color != ColorNone) ApplyBackground(Color);
    RepaintWindow(Combobox1);
    SendMessageA(Combobox1, CB_SETDROPPEDWIDTH, DropDownWidth, 0);
    ApplyPresetText();
    ComboBox1Change();
}

void TFMCustomDropDown::CaptureEvents(const Params& params) {
    ApplyCapture(OnChangeSub, params.at(1));
    ApplyCapture(OnDropDownSub, params.at(2));
    ApplyCapture(OnCloseUpSub, params.at(3));
}

void TFMCustomDropDown::Select(const std::string& item, const std::string& selectBy) {
    if (selectBy == "0") {
        int32_t n = 0;
        if (TryTextToInt(item, n))
            SendMessageA(Combobox1, CB_SETCURSEL, n >= 1 && n <= store_.Count() ? n - 1 : -1, 0);
    } else if (selectBy == "1") {
        const int index = store_.FindLowered(item);
        if (index >= 0) SendMessageA(Combobox1, CB_SETCURSEL, index, 0);
        if (ListOnly())
            SendMessageA(Combobox1, CB_SETCURSEL, store_.FindExact(item), 0);
        else
            SetWindowTextA(Combobox1, item.c_str());
    } else if (selectBy == "2") {
        // Items of a String-mode list have no rows: nothing to select.
        if (store_.Mode() == ItemsMode::Array) {
            const int index = store_.FindRowLowered(item);
            if (index >= 0) SendMessageA(Combobox1, CB_SETCURSEL, index, 0);
        }
    }
    ComboBox1Change();
}

// ---- action handlers ------------------------------------------------------------

namespace {

std::shared_ptr<TFMCustomDropDown> RequireDropDown(const std::string& name) {
    return RequireControl<TFMCustomDropDown>(ControlKind::DropDown, name, "dropdown");
}

} // namespace

bool qorCreateDropDown(const Params& params) {
    CreateAttachedControl(std::make_shared<TQORDropDown>(params));
    return true;
}

bool qorDropDownSetProperties(const Params& params) {
    RequireDropDown(params.at(0))->SetProperties(params);
    return true;
}

bool qorDropDownCaptureEvents(const Params& params) {
    RequireDropDown(params.at(0))->CaptureEvents(params);
    return true;
}

bool qorDropDownSelect(const Params& params) {
    RequireDropDown(params.at(0))->Select(params.at(1), params.at(2));
    return true;
}

} // namespace qor
