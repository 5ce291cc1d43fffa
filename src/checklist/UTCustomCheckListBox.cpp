#include "checklist/UTCustomCheckListBox.h"

#include <algorithm>
#include <numeric>

#include "core/AnsiText.h"
#include "core/ControlRegistry.h"
#include "core/EventBridge.h"
#include "core/FlagScope.h"
#include "core/WideResults.h"
#include "core/WinValues.h"
#include "host/HostServices.h"
#include "host/PlugInUtils.h"
#include "lists/ListText.h"
#include "lists/PlainItemSearch.h"

namespace qor {

namespace {

constexpr int kListId = 1;
// The check box, radio button or mark: 13 pixels at 96 DPI, grown with the DPI.
int GlyphSize() { return ScaledToScreen(13); }
// Posted by the check list to itself; WPARAM names the event.
constexpr UINT kCheckListEventMessage = WM_APP + 0x3C1;
enum CheckListEvent : WPARAM { SelectionEvent = 1, DoubleClickEvent = 2 };
constexpr char kKindWords[] = "checklistbox";
constexpr char kFontVariable[] = "[qorCheckListBox005.Font]";

std::shared_ptr<TFMCustomCheckListBox> RequireCheckList(const std::string& name) {
    return RequireControl<TFMCustomCheckListBox>(ControlKind::CheckListBox, name, kKindWords);
}

} // namespace

TFMCustomCheckListBox::TFMCustomCheckListBox(const Params& params)
    : AttachedControl(ControlKind::CheckListBox, params.at(0)), create_(params) {
    ItemsText = params.at(3);
    CheckKindCode = params.at(4);
    CheckedVariable = params.at(6);
    UncheckedVariable = params.at(7);
    GrayedVariable = params.at(8);
    SelectedVariable = params.at(9);
}

// ---- Creation ------------------------------------------------------------

void TFMCustomCheckListBox::BuildContent() {
    MultiSelectOption = TextToFlag(create_.at(1));
    AllowGrayOption = TextToFlag(create_.at(2));
    IndividualVariables = TextToFlag(create_.at(5));
    search_.Reset();
    SuppressEvents = false;

    // A script sets the font of the next list by filling this variable first.
    const std::string fontText = GetHostVariable(kFontVariable);
    if (!fontText.empty()) {
        FontSpec spec = DefaultControlFont();
        SpecToFont(fontText, spec);
        look_.Reset({true, spec});
        SetHostVariable(kFontVariable, "");
    }

    RECT client{};
    GetClientRect(hwnd(), &client);
    DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_OWNERDRAWFIXED |
                  LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;
    if (MultiSelectOption) style |= LBS_EXTENDEDSEL;
    JvxCheckListBox1.reset(CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", style, 0, 0, client.right, client.bottom,
                                           hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)),
                                           PlugInInstance(), nullptr));
    if (!JvxCheckListBox1)
        throw ScriptError("Cannot create the check list (error " + std::to_string(GetLastError()) + ").");
    listProc_ = reinterpret_cast<WNDPROC>(GetClassLongPtrA(JvxCheckListBox1.get(), GCLP_WNDPROC));
    Subclass(JvxCheckListBox1.get());
    defaultFont_ = CreateFontFromSpec(DefaultControlFont());
    ApplyFont();

    const std::vector<std::string> items = SplitLines(ItemsText);
    List(WM_SETREDRAW, FALSE, 0);
    size_t bytes = 0;
    for (const auto& item : items) bytes += item.size() + 1;
    List(LB_INITSTORAGE, items.size(), bytes);
    for (const auto& item : items) InsertItem(-1, item, CheckState::Unchecked);
    List(WM_SETREDRAW, TRUE, 0);

    kind_ = CheckKindFromCode(CheckKindCode);
    if (kind_ == CheckKind::Radio) {
        IndividualVariables = false;
        // A radio list with items always has one checked item.
        if (Count() > 0) SetItemState(0, CheckState::Checked);
    } else {
        // Made even without a variable name: the host decides what that means.
        SetHostVariable(UncheckedVariable, JoinLines(items));
    }
}

void TFMCustomCheckListBox::LayoutContent(int width, int height) {
    if (JvxCheckListBox1) MoveWindow(JvxCheckListBox1.get(), 0, 0, width, height, TRUE);
}

void TFMCustomCheckListBox::ClearMirroredVariables() {
    if (IndividualVariables)
        for (const auto& text : JvxCheckListBox1 ? Texts() : textsAtWindowEnd_) WriteVariable(text, "");
    WriteVariable(ClickedItemVariable, "");
    WriteVariable(CheckedVariable, "");
    WriteVariable(UncheckedVariable, "");
    WriteVariable(GrayedVariable, "");
    WriteVariable(SelectedVariable, "");
}

// ---- Items of the list box -------------------------------------------------

LRESULT TFMCustomCheckListBox::List(UINT message, WPARAM wParam, LPARAM lParam) const {
    HWND list = JvxCheckListBox1.get();
    if (!list) return LB_ERR;
    return listProc_ ? CallWindowProcA(listProc_, list, message, wParam, lParam)
                     : SendMessageA(list, message, wParam, lParam);
}

int TFMCustomCheckListBox::Count() const {
    const LRESULT n = List(LB_GETCOUNT, 0, 0);
    return n < 0 ? 0 : static_cast<int>(n);
}

// The list is read in wide characters and the text converted here: the
// system's ANSI translation of LB_GETTEXT can copy through a fixed buffer of
// its own (Wine's holds 512 characters, and a longer item overruns its stack).
std::string TFMCustomCheckListBox::ItemText(int index) const {
    HWND list = JvxCheckListBox1.get();
    if (!list) return {};
    const auto listW = [&](UINT message, WPARAM wParam, LPARAM lParam) {
        return listProc_ ? CallWindowProcW(listProc_, list, message, wParam, lParam)
                         : SendMessageW(list, message, wParam, lParam);
    };
    const LRESULT length = listW(LB_GETTEXTLEN, index, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = listW(LB_GETTEXT, index, reinterpret_cast<LPARAM>(&wide[0]));
    if (copied <= 0) return {};
    const int count = static_cast<int>(std::min<LRESULT>(copied, length));
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), count, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0) WideCharToMultiByte(CP_ACP, 0, wide.data(), count, &text[0], bytes, nullptr, nullptr);
    return text;
}

ItemTextAt TFMCustomCheckListBox::ItemTextReader() const {
    return [this, text = std::string()](int index) mutable -> std::string_view {
        text = ItemText(index);
        return text;
    };
}

CheckState TFMCustomCheckListBox::ItemState(int index) const {
    const LRESULT data = List(LB_GETITEMDATA, index, 0);
    if (data == LB_ERR) return CheckState::Unchecked;
    switch (data) {
    case 1: return CheckState::Checked;
    case 2: return CheckState::Grayed;
    }
    return CheckState::Unchecked;
}

std::vector<std::string> TFMCustomCheckListBox::Texts() const {
    std::vector<std::string> texts;
    const int n = Count();
    texts.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) texts.push_back(ItemText(i));
    return texts;
}

std::vector<CheckState> TFMCustomCheckListBox::States() const {
    std::vector<CheckState> states;
    const int n = Count();
    states.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) states.push_back(ItemState(i));
    return states;
}

std::vector<int> TFMCustomCheckListBox::SelectedIndexes() const {
    std::vector<int> selected;
    if (MultiSelectOption) {
        const LRESULT n = List(LB_GETSELCOUNT, 0, 0);
        if (n > 0) {
            selected.resize(static_cast<size_t>(n));
            const LRESULT got = List(LB_GETSELITEMS, n, reinterpret_cast<LPARAM>(selected.data()));
            selected.resize(got > 0 ? static_cast<size_t>(got) : 0);
            std::sort(selected.begin(), selected.end());
        }
    } else {
        const LRESULT current = List(LB_GETCURSEL, 0, 0);
        if (current >= 0) selected.push_back(static_cast<int>(current));
    }
    return selected;
}

void TFMCustomCheckListBox::StoreState(int index, CheckState state) {
    HWND list = JvxCheckListBox1.get();
    List(LB_SETITEMDATA, index, static_cast<LPARAM>(state));
    RECT r{};
    if (List(LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)) != LB_ERR)
        InvalidateRect(list, &r, FALSE);
    AccessibleLink::StateChanged(list, index + 1);
}

int TFMCustomCheckListBox::SortedPosition(const std::string& text) const {
    // After the last item that does not sort behind the text.
    int low = 0, high = Count();
    while (low < high) {
        const int mid = (low + high) / 2;
        if (CompareListTexts(ItemText(mid), text) <= 0) low = mid + 1;
        else high = mid;
    }
    return low;
}

int TFMCustomCheckListBox::InsertItem(int index, const std::string& text, CheckState state) {
    const LRESULT at = List(LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text.c_str()));
    if (at < 0) return -1;
    List(LB_SETITEMDATA, at, static_cast<LPARAM>(state));
    return static_cast<int>(at);
}

// ---- State changes ---------------------------------------------------------

bool TFMCustomCheckListBox::SetItemState(int index, CheckState wanted) {
    if (index < 0 || index >= Count()) return true;
    std::vector<StateChange> plan;
    if (kind_ == CheckKind::Radio) plan = PlanStateChange(States(), index, wanted, kind_);
    else if (ItemState(index) != wanted) plan.push_back({index, wanted, true});
    for (const StateChange& change : plan) {
        StoreState(change.index, change.state);
        if (change.notify && !StateChanged(change.index)) return false;
    }
    return !IsDestroyed();
}

bool TFMCustomCheckListBox::StateChanged(int index) {
    const std::string text = ItemText(index);
    if (kind_ == CheckKind::Radio) WriteVariable(CheckedVariable, text);
    else if (IndividualVariables) WriteVariable(text, IndividualValue(ItemState(index)));
    if (SuppressEvents) return true;
    WriteVariable(ClickedItemVariable, text);
    return RunEvent(OnStateChangeSub);
}

void TFMCustomCheckListBox::ClickCheck() {
    if (IsDestroyed() || kind_ == CheckKind::Radio) return;
    if (CheckedVariable.empty() && UncheckedVariable.empty() && GrayedVariable.empty()) return;
    const StateCollections states = CollectStates(Texts(), States());
    WriteVariable(CheckedVariable, states.checked);
    WriteVariable(UncheckedVariable, states.unchecked);
    WriteVariable(GrayedVariable, states.grayed);
}

void TFMCustomCheckListBox::SelectionChange() {
    if (IsDestroyed()) return;
    std::vector<std::string> selected;
    for (int index : SelectedIndexes()) selected.push_back(ItemText(index));
    SelectedText = JoinLines(selected);
    WriteVariable(SelectedVariable, SelectedText);
    if (SelectedText == PreviousSelectedText) return;
    PreviousSelectedText = SelectedText;
    RunEvent(OnSelectionChangeSub);
}

void TFMCustomCheckListBox::Refresh() {
    if (IsDestroyed()) return;
    const bool collect = kind_ != CheckKind::Radio &&
                         !(CheckedVariable.empty() && UncheckedVariable.empty() && GrayedVariable.empty());
    StateCollections states;
    if (collect) states = CollectStates(Texts(), States());
    std::vector<std::string> selected;
    for (int index : SelectedIndexes()) selected.push_back(ItemText(index));
    SelectedText = JoinLines(selected);
    WriteVariable(SelectedVariable, SelectedText);
    if (collect) {
        WriteVariable(CheckedVariable, states.checked);
        WriteVariable(UncheckedVariable, states.unchecked);
        WriteVariable(GrayedVariable, states.grayed);
    }
    if (SelectedText == PreviousSelectedText) return;
    PreviousSelectedText = SelectedText;
    RunEvent(OnSelectionChangeSub);
}

void TFMCustomCheckListBox::Toggle(int index) {
    if (index < 0 || index >= Count()) return;
    const CheckState next =
        ToggledState(EffectiveState(ItemState(index), kind_), GrayAllowed(kind_, AllowGrayOption));
    if (SetItemState(index, next)) ClickCheck();
}

void TFMCustomCheckListBox::CheckAll(CheckState state) {
    if (kind_ == CheckKind::Radio) return;
    const int n = Count();
    for (int i = 0; i < n; ++i)
        if (!SetItemState(i, state)) return;
    ClickCheck();
}

void TFMCustomCheckListBox::ForgetItem(const std::string& text, CheckState state) {
    if (kind_ == CheckKind::Radio && state == CheckState::Checked) WriteVariable(CheckedVariable, "");
    if (IndividualVariables) WriteVariable(text, "");
}

// ---- Messages --------------------------------------------------------------

int TFMCustomCheckListBox::GlyphAreaWidth() const { return GlyphSize() + 4; }

void TFMCustomCheckListBox::DrawItem(const DRAWITEMSTRUCT& item) {
    const HDC dc = item.hDC;
    RECT r = item.rcItem;
    if (static_cast<int>(item.itemID) < 0) {
        if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
        return;
    }
    const int index = static_cast<int>(item.itemID);
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const Look& look = look_.Applied();
    const COLORREF back = selected ? GetSysColor(COLOR_HIGHLIGHT)
                                   : (background_ ? backgroundColor_ : GetSysColor(COLOR_WINDOW));
    const COLORREF fore = selected ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                   : (look.HasCustomFont ? ToColorRef(look.CustomFont.color, GetSysColor(COLOR_WINDOWTEXT))
                                                    : GetSysColor(COLOR_WINDOWTEXT));
    // The glyph sits on the list's own background, the text on the selection.
    RECT glyphArea = r;
    glyphArea.right = r.left + GlyphAreaWidth();
    UniqueBrush listBrush(CreateSolidBrush(background_ ? backgroundColor_ : GetSysColor(COLOR_WINDOW)));
    FillRect(dc, &glyphArea, listBrush.get());
    RECT textArea = r;
    textArea.left = glyphArea.right;
    UniqueBrush backBrush(CreateSolidBrush(back));
    FillRect(dc, &textArea, backBrush.get());

    const CheckState state = EffectiveState(ItemState(index), kind_);
    const int size = std::min<int>(GlyphSize(), r.bottom - r.top);
    RECT glyph{r.left + 2, r.top + (r.bottom - r.top - size) / 2, 0, 0};
    glyph.right = glyph.left + size;
    glyph.bottom = glyph.top + size;
    switch (kind_) {
    case CheckKind::Box: {
        UINT flags = DFCS_BUTTONCHECK;
        if (state != CheckState::Unchecked) flags |= DFCS_CHECKED;
        if (state == CheckState::Grayed) flags |= DFCS_INACTIVE;
        DrawFrameControl(dc, &glyph, DFC_BUTTON, flags);
        break;
    }
    case CheckKind::Radio:
        DrawFrameControl(dc, &glyph, DFC_BUTTON,
                         DFCS_BUTTONRADIO | (state == CheckState::Checked ? DFCS_CHECKED : 0));
        break;
    case CheckKind::Mark:
        if (state != CheckState::Unchecked) {
            // A tick without a box; gray for the grayed state.
            UniqueHandle<HPEN, GdiObjectCloser> pen(CreatePen(
                PS_SOLID, 2, state == CheckState::Grayed ? GetSysColor(COLOR_GRAYTEXT) : GetSysColor(COLOR_WINDOWTEXT)));
            SelectedObject using_pen(dc, pen.get());
            const POINT tick[3] = {{glyph.left + 2, glyph.top + size / 2},
                                   {glyph.left + size / 2 - 1, glyph.bottom - 3},
                                   {glyph.right - 2, glyph.top + 2}};
            Polyline(dc, tick, 3);
        }
        break;
    }

    const std::string text = ItemText(index);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, fore);
    RECT textRect = textArea;
    textRect.left += 2;
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &textArea);
}

LRESULT TFMCustomCheckListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kCheckListEventMessage:
        if (IsDestroyed()) return 0;
        if (wParam == SelectionEvent) SelectionChange();
        else if (wParam == DoubleClickEvent) RunEvent(OnDblClickSub);
        return 0;
    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (measure->CtlType == ODT_LISTBOX) {
            measure->itemHeight = static_cast<UINT>(itemHeight_);
            return TRUE;
        }
        break;
    }
    case WM_DRAWITEM: {
        const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (draw->CtlType == ODT_LISTBOX && draw->hwndItem == JvxCheckListBox1.get()) {
            DrawItem(*draw);
            return TRUE;
        }
        break;
    }
    case WM_COMMAND:
        if (JvxCheckListBox1 && reinterpret_cast<HWND>(lParam) == JvxCheckListBox1.get()) {
            if (HIWORD(wParam) == LBN_SELCHANGE) PostMessageA(hwnd(), kCheckListEventMessage, SelectionEvent, 0);
            else if (HIWORD(wParam) == LBN_DBLCLK) PostMessageA(hwnd(), kCheckListEventMessage, DoubleClickEvent, 0);
            return 0;
        }
        break;
    case WM_CTLCOLORLISTBOX:
        if (background_) {
            SetBkColor(reinterpret_cast<HDC>(wParam), backgroundColor_);
            return reinterpret_cast<LRESULT>(background_.get());
        }
        break;
    case WM_DESTROY:
        // The host may destroy the rectangle long before the entry goes: the
        // item texts name the variables still to be emptied then.
        if (IndividualVariables && JvxCheckListBox1) textsAtWindowEnd_ = Texts();
        accessible_.Disconnect();
        JvxCheckListBox1.reset();
        break;
    }
    return AttachedControl::WindowProc(message, wParam, lParam);
}

LRESULT TFMCustomCheckListBox::ChildProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam) {
    auto original = [&] { return CallOriginalChildProc(child, message, wParam, lParam); };
    if (child != JvxCheckListBox1.get()) return original();
    if (LRESULT answer = 0; accessible_.Handle(child, message, wParam, lParam, answer)) return answer;
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        // The item under the mouse when the button went down, in 32 bits.
        const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const int hit = at.x >= 0 && at.x < GlyphAreaWidth() ? ListItemAtPoint(child, at) : -1;
        const LRESULT result = original();
        if (hit >= 0) Toggle(hit);
        return result;
    }
    case WM_RBUTTONUP: {
        const LRESULT result = original();
        RunEvent(OnRightClickSub);
        return result;
    }
    case WM_CHAR:
        if (wParam == ' ') {
            Toggle(static_cast<int>(SendMessageA(child, LB_GETCARETINDEX, 0, 0)));
            return 0;
        }
        if (wParam == '+' || wParam == '-') {
            CheckAll(wParam == '+' ? CheckState::Checked : CheckState::Unchecked);
            return 0;
        }
        break;
    }
    return original();
}

// ---- Actions ---------------------------------------------------------------

void TFMCustomCheckListBox::ApplyFont() {
    const Look& look = look_.Applied();
    HFONT font = defaultFont_.get();
    if (look.HasCustomFont) {
        UniqueFont made = CreateFontFromSpec(look.CustomFont);
        if (made) {
            customFont_ = std::move(made);
            font = customFont_.get();
        }
    }
    const int glyph = GlyphSize();
    itemHeight_ = std::max(glyph, look.HasCustomFont ? FontTextHeight(font) : glyph);
    HWND list = JvxCheckListBox1.get();
    SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    List(LB_SETITEMHEIGHT, 0, itemHeight_);
    RepaintWindow(list);
}

void TFMCustomCheckListBox::SetProperties(const std::string& fontSpec, const std::string& color) {
    const Look& look = look_.ReadThenCommit([&](Look& stored) {
        if (!fontSpec.empty()) {
            FontSpec spec = DefaultControlFont();
            SpecToFont(fontSpec, spec);
            stored = {true, spec};
        }
        CustomColor = TextToColor(color);
    });
    // Everything converted: applied only now.
    if (look.HasCustomFont) ApplyFont();
    if (CustomColor != ColorNone) {
        backgroundColor_ = ToColorRef(CustomColor, GetSysColor(COLOR_WINDOW));
        background_.reset(CreateSolidBrush(backgroundColor_));
        RepaintWindow(JvxCheckListBox1.get());
    }
}

void TFMCustomCheckListBox::CaptureEvents(const Params& params) {
    ApplyCapture(OnSelectionChangeSub, params.at(1));
    ApplyCapture(OnDblClickSub, params.at(2));
    ApplyCapture(OnRightClickSub, params.at(3));
    ApplyCapture(OnStateChangeSub, params.at(4));
    if (!params.at(5).empty()) ClickedItemVariable = params[5];
}

void TFMCustomCheckListBox::SelectItems(const std::string& items, const std::string& selectBy) {
    // Selecting item by item repaints each one unless redraw is off.
    std::optional<RedrawSuspended> quiet(std::in_place, JvxCheckListBox1.get(), listProc_);
    if (MultiSelectOption) List(LB_SETSEL, FALSE, -1);
    else List(LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    auto select = [&](int index) {
        if (MultiSelectOption) List(LB_SETSEL, TRUE, index);
        else List(LB_SETCURSEL, index, 0);
    };
    const std::vector<std::string> lines = SplitLines(items);
    if (selectBy == "0") {
        for (int index : IndexesFromNumberLines(lines, Count())) {
            select(index);
            if (!MultiSelectOption) break;
        }
    } else if (selectBy == "1") {
        const auto wanted = LoweredLineSet(lines);
        const int n = Count();
        for (int i = 0; i < n; ++i) {
            if (!wanted.count(AnsiLowerCase(ItemText(i)))) continue;
            select(i);
            if (!MultiSelectOption) break;
        }
    }
    quiet.reset(); // redrawn before the steps, which may remove the list
    SelectionChange();
}

void TFMCustomCheckListBox::SetStates(const std::string& items, const std::string& stateCode,
                                      const std::string& selectBy) {
    {
        FlagScope suppress(SuppressEvents);
        const std::vector<std::string> lines = SplitLines(items);
        CheckState state = CheckState::Unchecked;
        if (StateFromCode(stateCode, state)) {
            if (selectBy == "0") {
                for (int index : IndexesFromNumberLines(lines, Count())) SetItemState(index, state);
            } else {
                const auto wanted = LoweredLineSet(lines);
                const int n = Count();
                for (int i = 0; i < n; ++i)
                    if (wanted.count(AnsiLowerCase(ItemText(i)))) SetItemState(i, state);
            }
        }
        ClickCheck();
    }
}

// ---- Items for the list actions --------------------------------------------

void TFMCustomCheckListBox::AddItem(int position, std::string&& text) {
    if (position < 0) InsertItem(sorted_ ? SortedPosition(text) : -1, text, CheckState::Unchecked);
    else if (position <= Count()) InsertItem(position, text, CheckState::Unchecked);
}

void TFMCustomCheckListBox::ChangeItem(int position, const std::string& text) {
    if (position < 0 || position >= Count()) return;
    const std::string oldText = ItemText(position);
    const CheckState oldState = ItemState(position);
    List(LB_DELETESTRING, position, 0);
    InsertItem(position, text, CheckState::Unchecked);
    ForgetItem(oldText, oldState);
}

void TFMCustomCheckListBox::DeleteItem(int position) {
    if (position == -1) {
        List(LB_RESETCONTENT, 0, 0);
        return;
    }
    if (position < 0 || position >= Count()) return;
    const std::string oldText = ItemText(position);
    const CheckState oldState = ItemState(position);
    List(LB_DELETESTRING, position, 0);
    ForgetItem(oldText, oldState);
}

std::optional<std::string> TFMCustomCheckListBox::FindItem(const std::string& text) {
    return FindPlainItem(Count(), ItemTextReader(), text);
}

std::optional<std::string> TFMCustomCheckListBox::GetItem(int position, bool /*wholeRow*/) {
    if (position == -1) return JoinLines(Texts());
    if (position < 0 || position >= Count()) return std::string();
    return ItemText(position);
}

void TFMCustomCheckListBox::MoveItem(int position, int newPosition) {
    const int n = Count();
    if (position == newPosition || position < 0 || position >= n || newPosition < 0 || newPosition >= n) return;
    const std::string text = ItemText(position);
    const CheckState state = ItemState(position);
    List(LB_DELETESTRING, position, 0);
    const int at = InsertItem(newPosition, text, CheckState::Unchecked);
    // The state comes back at the new place as a change of its own.
    if (at >= 0 && state != CheckState::Unchecked) SetItemState(at, state);
}

std::optional<std::string> TFMCustomCheckListBox::Size() { return std::to_string(Count()); }

void TFMCustomCheckListBox::SetSorted(bool sorted) {
    sorted_ = sorted;
    if (!sorted) return;
    const std::vector<std::string> texts = Texts();
    const std::vector<CheckState> states = States();
    std::vector<int> order(texts.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return CompareListTexts(texts[a], texts[b]) < 0; });
    std::vector<bool> selected(texts.size(), false);
    for (int index : SelectedIndexes()) selected[static_cast<size_t>(index)] = true;
    HWND list = JvxCheckListBox1.get();
    List(WM_SETREDRAW, FALSE, 0);
    List(LB_RESETCONTENT, 0, 0);
    for (int old : order) {
        const int at = InsertItem(-1, texts[old], states[old]);
        if (at >= 0 && selected[old]) {
            if (MultiSelectOption) List(LB_SETSEL, TRUE, at);
            else List(LB_SETCURSEL, at, 0);
        }
    }
    List(WM_SETREDRAW, TRUE, 0);
    RepaintWindow(list);
}

std::optional<std::string> TFMCustomCheckListBox::FindItemEx(const std::string& searchIn, const std::string& match,
                                                             const std::string& /*column*/, const std::string& text) {
    if (searchIn == "1") throw ListNotice("CheckListBox is not an array list.");
    return search_.Start(FindPlainMatches(Count(), ItemTextReader(), searchIn, match, text));
}

// ---- Action handlers -------------------------------------------------------

bool qorCreateCheckListBox(const Params& params) {
    CreateAttachedControl(std::make_shared<TQORCheckListBox>(params));
    return true;
}

bool qorCheckListBoxSetProperties(const Params& params) {
    RequireCheckList(params.at(0))->SetProperties(params.at(1), params.at(2));
    return true;
}

bool qorCheckListBoxCaptureEvents(const Params& params) {
    RequireCheckList(params.at(0))->CaptureEvents(params);
    return true;
}

bool qorCheckListBoxSelect(const Params& params) {
    RequireCheckList(params.at(0))->SelectItems(params.at(1), params.at(2));
    return true;
}

bool qorCheckListBoxSetState(const Params& params) {
    RequireCheckList(params.at(0))->SetStates(params.at(1), params.at(2), params.at(3));
    return true;
}

} // namespace qor
