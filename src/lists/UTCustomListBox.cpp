#include "lists/UTCustomListBox.h"

#include <algorithm>

#include "core/AnsiText.h"
#include "core/ControlRegistry.h"
#include "core/EventBridge.h"
#include "core/ThemedLook.h"
#include "core/ValueEncodings.h"
#include "core/WinValues.h"
#include "host/HostServices.h"
#include "host/PlugInUtils.h"
#include "lists/ListValues.h"

namespace qor {

namespace {

constexpr int kSearchStripHeight = 25;
constexpr DWORD kPrefixPause = 500; // ms after which typing starts a new prefix
constexpr char kPresetFontVariable[] = "[qorListBox005.Font]";
constexpr char kSearchPlaceholder[] = "Type here to search and press enter.";
// Events the list box posts to itself besides its LBN_ codes.
constexpr WPARAM kRightButtonUp = 0x1001;

bool Printable(WPARAM ch) { return ch >= 32 && ch != 127; }

} // namespace

TFMCustomListBox::TFMCustomListBox(const Params& params) : ListControlBase(ControlKind::ListBox, params, "ListBox") {}

void TFMCustomListBox::BuildContent() {
    // Children of the form: destroyed with it. The search strip is made when
    // it is first shown.
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | LBS_NOTIFY |
                        LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS | (MultiSelect() ? LBS_EXTENDEDSEL : 0);
    ListBox1 = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", style, 0, 0, 100, 100, hwnd(),
                               reinterpret_cast<HMENU>(1), PlugInInstance(), nullptr);
    if (!ListBox1) throw ScriptError("Cannot create the list box.");
    font_ = CreateFontFromSpec(DefaultControlFont());
    SendMessageA(ListBox1, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    listDirect_.Capture(ListBox1);
    Subclass(ListBox1);

    ReadFlags();
    ReadPresetFont();
    MeasureAll();
    options_.Reset({});
    FormResize(); // filled at its final size
    LoadItems();
}

void TFMCustomListBox::ForgetChildren() {
    ListBox1 = nullptr;
    Panel1 = nullptr;
    JvEdit1 = nullptr;
    listDirect_.Forget();
}

void TFMCustomListBox::EnsureSearchStrip() {
    if (Panel1) return;
    const ThemedLookScope themed;
    Panel1 = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 100, kSearchStripHeight, hwnd(), nullptr,
                             PlugInInstance(), nullptr);
    JvEdit1 = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 100,
                              kSearchStripHeight, Panel1, nullptr, PlugInInstance(), nullptr);
    if (!Panel1 || !JvEdit1) throw ScriptError("Cannot create the search box.");
    FontSpec searchSpec = DefaultControlFont();
    searchSpec.faceName = "Arial";
    searchSpec.size = 10;
    searchFont_ = CreateFontFromSpec(searchSpec);
    SendMessageA(JvEdit1, WM_SETFONT, reinterpret_cast<WPARAM>(searchFont_.get()), FALSE);
    Subclass(JvEdit1);
}

void TFMCustomListBox::ReadPresetFont() {
    const std::string preset = GetHostVariable(kPresetFontVariable);
    if (preset.empty()) return;
    FontSpec spec = DefaultControlFont();
    SpecToFont(preset, spec);
    Font = spec;
    ApplyFontSpec(spec, ListBox1);
    SetHostVariable(kPresetFontVariable, "");
}

void TFMCustomListBox::LayoutContent(int /*width*/, int /*height*/) { FormResize(); }

void TFMCustomListBox::FormResize() {
    if (!ListBox1 || IsDestroyed()) return;
    RECT client{};
    GetClientRect(hwnd(), &client);
    const bool stripShown = options_.Applied().ShowSearchBox;
    const int top = stripShown ? kSearchStripHeight : 0;
    if (Panel1) {
        SetWindowPos(Panel1, nullptr, 0, 0, client.right, kSearchStripHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE | (stripShown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
        SetWindowPos(JvEdit1, nullptr, 0, 0, client.right, kSearchStripHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetWindowPos(ListBox1, nullptr, 0, top, client.right, std::max<int>(0, client.bottom - top),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- selection -------------------------------------------------------------------

std::vector<int> TFMCustomListBox::SelectedIndexes() const {
    std::vector<int> selected;
    if (!MultiSelect()) {
        const int index = static_cast<int>(SendMessageA(ListBox1, LB_GETCURSEL, 0, 0));
        if (index >= 0) selected.push_back(index);
        return selected;
    }
    const int count = static_cast<int>(SendMessageA(ListBox1, LB_GETSELCOUNT, 0, 0));
    if (count <= 0) return selected;
    selected.resize(static_cast<size_t>(count));
    const int got = static_cast<int>(
        SendMessageA(ListBox1, LB_GETSELITEMS, count, reinterpret_cast<LPARAM>(selected.data())));
    selected.resize(static_cast<size_t>(std::max(got, 0)));
    std::sort(selected.begin(), selected.end());
    return selected;
}

bool TFMCustomListBox::IsSelected(int index) const {
    if (MultiSelect()) return SendMessageA(ListBox1, LB_GETSEL, index, 0) > 0;
    return SendMessageA(ListBox1, LB_GETCURSEL, 0, 0) == index;
}

void TFMCustomListBox::SelectIndex(int index) {
    if (MultiSelect())
        listDirect_(LB_SETSEL, TRUE, index);
    else
        listDirect_(LB_SETCURSEL, index, 0);
}

void TFMCustomListBox::ClearSelection() {
    if (MultiSelect())
        listDirect_(LB_SETSEL, FALSE, -1);
    else
        listDirect_(LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

void TFMCustomListBox::ListBox1Click() {
    if (IsDestroyed()) return;
    const std::string value = ListBoxValue(store_, ResultMode, SelectedIndexes(), MultiSelect());
    if (!ResultVariable.empty()) {
        WriteVariable(ResultVariable, value);
        CurrentValue = value;
    }
    if (TakeChange(CurrentValue, PreviousValue)) RunEvent(OnChangeSub);
}

void TFMCustomListBox::ListBox1DblClick() { RunEvent(OnDblClickSub); }
void TFMCustomListBox::ListBox1MouseUp() { RunEvent(OnRightClickSub); }

// ---- user input --------------------------------------------------------------------

void TFMCustomListBox::HandleEvent(WPARAM event) {
    switch (event) {
    case LBN_SELCHANGE:
        ListBox1Click();
        break;
    case LBN_DBLCLK:
        ListBox1DblClick();
        break;
    case kRightButtonUp:
        ListBox1MouseUp();
        break;
    }
}

LRESULT TFMCustomListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && ListBox1 && reinterpret_cast<HWND>(lParam) == ListBox1) {
        if (HIWORD(wParam) == LBN_SELCHANGE || HIWORD(wParam) == LBN_DBLCLK) PostEvent(HIWORD(wParam));
        return 0;
    }
    return ListControlBase::WindowProc(message, wParam, lParam);
}

LRESULT TFMCustomListBox::ChildProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam) {
    if (child == ListBox1) {
        if (message == WM_RBUTTONUP) PostEvent(kRightButtonUp);
        if (message == WM_CHAR && options_.Applied().AutoComplete && TypingAid(wParam)) return 0;
    } else if (JvEdit1 && child == JvEdit1) {
        switch (message) {
        case WM_CHAR:
            if (wParam == VK_RETURN) {
                JvEdit1KeyPress();
                return 0;
            }
            break;
        case WM_PAINT: {
            const LRESULT result = CallOriginalChildProc(child, message, wParam, lParam);
            PaintPlaceholder();
            return result;
        }
        }
    }
    return CallOriginalChildProc(child, message, wParam, lParam);
}

bool TFMCustomListBox::TypingAid(WPARAM ch) {
    const DWORD now = GetTickCount();
    if (now - lastKeyTime_ >= kPrefixPause) prefix_.clear();
    lastKeyTime_ = now;
    int index = -1;
    if (ch == VK_BACK) {
        if (!prefix_.empty()) prefix_.pop_back();
        if (prefix_.empty()) index = store_.Count() > 0 ? 0 : -1;
    } else if (Printable(ch)) {
        prefix_ += static_cast<char>(ch);
    } else {
        return false;
    }
    if (!prefix_.empty())
        index = static_cast<int>(SendMessageA(ListBox1, LB_FINDSTRING, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(prefix_.c_str())));
    if (index >= 0) {
        ClearSelection();
        SelectIndex(index);
        SendMessageA(ListBox1, LB_SETCARETINDEX, index, FALSE);
        ListBox1Click();
    }
    return true;
}

void TFMCustomListBox::JvEdit1KeyPress() {
    ClearSelection();
    const int length = GetWindowTextLengthA(JvEdit1);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(std::max(GetWindowTextA(JvEdit1, &text[0], length + 1), 0)));
    if (text.empty() || store_.Count() == 0) {
        ListBox1Click();
        return;
    }
    const std::string prefix = AnsiLowerCase(text);
    {
        RedrawSuspended quiet(ListBox1, listDirect_.proc());
        for (int i = 0; i < store_.Count(); ++i) {
            const std::string& item = store_.Item(i).text;
            if (item.size() < prefix.size() || AnsiLowerCase(item.substr(0, prefix.size())) != prefix) continue;
            SelectIndex(i);
            if (!MultiSelect()) break;
        }
    }
    ListBox1Click();
}

void TFMCustomListBox::PaintPlaceholder() {
    if (GetWindowTextLengthA(JvEdit1) > 0) return;
    WindowDc dc(JvEdit1);
    RECT area{};
    SendMessageA(JvEdit1, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
    SelectedObject font(dc.get(), searchFont_.get());
    SetTextColor(dc.get(), GetSysColor(COLOR_GRAYTEXT));
    SetBkMode(dc.get(), TRANSPARENT);
    DrawTextA(dc.get(), kSearchPlaceholder, -1, &area, DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_TOP);
}

// ---- horizontal scroll range -------------------------------------------------------

void TFMCustomListBox::MeasureAll() {
    WindowDc dc(ListBox1);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(ListBox1, WM_GETFONT, 0, 0));
    SelectedObject selected(dc.get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    if (!GetCharWidth32A(dc.get(), 0, 255, charWidths_)) std::fill(std::begin(charWidths_), std::end(charWidths_), 0);
    widths_.clear();
    for (const auto& item : store_.Items()) widths_.push_back(TextWidth(item.text));
    RecomputeExtent();
}

int TFMCustomListBox::TextWidth(const std::string& text) const {
    int width = charWidths_[static_cast<unsigned char>('x')];
    for (char c : text) width += charWidths_[static_cast<unsigned char>(c)];
    return width;
}

void TFMCustomListBox::RecomputeExtent() {
    extent_ = widths_.empty() ? 0 : *std::max_element(widths_.begin(), widths_.end());
    ApplyExtent();
}

void TFMCustomListBox::ApplyExtent() {
    if (ListBox1) SendMessageA(ListBox1, LB_SETHORIZONTALEXTENT, extent_, 0);
}

// ---- the item list -------------------------------------------------------------------

void TFMCustomListBox::ShowAll(const std::vector<ListItem>& items) {
    FillNativeList(listDirect_, kListBoxMessages, items);
    widths_.clear();
    widths_.reserve(items.size());
    for (const auto& item : items) widths_.push_back(TextWidth(item.text));
    RecomputeExtent();
}

void TFMCustomListBox::ShowInserted(int index, const std::string& text) {
    const int count = static_cast<int>(SendMessageA(ListBox1, LB_GETCOUNT, 0, 0));
    SendMessageA(ListBox1, LB_INSERTSTRING, index >= count ? static_cast<WPARAM>(-1) : index,
                 reinterpret_cast<LPARAM>(text.c_str()));
    const int width = TextWidth(text);
    widths_.insert(widths_.begin() + std::min<size_t>(index, widths_.size()), width);
    if (width > extent_) {
        extent_ = width;
        ApplyExtent();
    }
}

void TFMCustomListBox::ShowInsertedMany(const std::vector<ListItem>& items, const std::vector<int>& indexes) {
    InsertIntoNativeList(listDirect_, kListBoxMessages, items, indexes);
    // The widths in one pass: one block insert when the new items lie together.
    std::vector<int> added;
    added.reserve(indexes.size());
    for (int index : indexes) added.push_back(TextWidth(items[static_cast<size_t>(index)].text));
    if (!indexes.empty() && indexes.back() - indexes.front() + 1 == static_cast<int>(indexes.size())) {
        widths_.insert(widths_.begin() + std::min<size_t>(indexes.front(), widths_.size()), added.begin(), added.end());
    } else {
        std::vector<int> widths;
        widths.reserve(items.size());
        size_t next = 0, old = 0;
        for (size_t i = 0; i < items.size(); ++i) {
            if (next < indexes.size() && indexes[next] == static_cast<int>(i)) widths.push_back(added[next++]);
            else widths.push_back(old < widths_.size() ? widths_[old++] : 0);
        }
        widths_ = std::move(widths);
    }
    const int widest = added.empty() ? 0 : *std::max_element(added.begin(), added.end());
    if (widest > extent_) {
        extent_ = widest;
        ApplyExtent();
    }
}

void TFMCustomListBox::ShowRemoved(int index) {
    SendMessageA(ListBox1, LB_DELETESTRING, index, 0);
    const int width = widths_[index];
    widths_.erase(widths_.begin() + index);
    if (width >= extent_) RecomputeExtent();
}

void TFMCustomListBox::ShowChanged(int index, const std::string& text) {
    const bool selected = IsSelected(index);
    SendMessageA(ListBox1, LB_DELETESTRING, index, 0);
    SendMessageA(ListBox1, LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text.c_str()));
    if (selected) SelectIndex(index);
    const int old = widths_[index];
    widths_[index] = TextWidth(text);
    if (widths_[index] > extent_ || old >= extent_) RecomputeExtent();
}

void TFMCustomListBox::ShowMoved(int from, int to) {
    const bool selected = IsSelected(from);
    SendMessageA(ListBox1, LB_DELETESTRING, from, 0);
    const int count = static_cast<int>(SendMessageA(ListBox1, LB_GETCOUNT, 0, 0));
    SendMessageA(ListBox1, LB_INSERTSTRING, to >= count ? static_cast<WPARAM>(-1) : to,
                 reinterpret_cast<LPARAM>(store_.Item(to).text.c_str()));
    const int width = widths_[from];
    widths_.erase(widths_.begin() + from);
    widths_.insert(widths_.begin() + to, width);
    if (selected) SelectIndex(to);
}

void TFMCustomListBox::ShowReordered(const std::vector<int>& oldIndexAt, const std::vector<ListItem>& items) {
    const std::vector<int> selected = SelectedIndexes();
    std::vector<char> wasSelected(oldIndexAt.size(), 0);
    for (int index : selected)
        if (index >= 0 && index < static_cast<int>(wasSelected.size())) wasSelected[index] = 1;
    ShowAll(items);
    RedrawSuspended quiet(ListBox1, listDirect_.proc());
    for (size_t i = 0; i < oldIndexAt.size(); ++i)
        if (wasSelected[oldIndexAt[i]]) SelectIndex(static_cast<int>(i));
}

// ---- actions --------------------------------------------------------------------------

void TFMCustomListBox::SetProperties(const Params& params) {
    const Options& options = options_.ReadThenCommit([&](Options& stored) {
        if (!params.at(1).empty()) stored.AutoComplete = TextToFlag(params[1]);
        if (!params.at(2).empty()) stored.ShowSearchBox = TextToFlag(params[2]);
        if (!params.at(3).empty()) {
            FontSpec spec = DefaultControlFont();
            SpecToFont(params[3], spec);
            Font = spec;
        }
        Color = TextToColor(params.at(4));
    });

    // Everything converted: applied only now.
    if (Font) {
        ApplyFontSpec(*Font, ListBox1);
        MeasureAll();
    }
    if (Color != ColorNone) ApplyBackground(Color);
    RepaintWindow(ListBox1);
    if (options.ShowSearchBox) EnsureSearchStrip();
    FormResize();
}

void TFMCustomListBox::CaptureEvents(const Params& params) {
    ApplyCapture(OnChangeSub, params.at(1));
    ApplyCapture(OnDblClickSub, params.at(2));
    ApplyCapture(OnRightClickSub, params.at(3));
}

void TFMCustomListBox::Select(const std::string& items, const std::string& selectBy) {
    {
        RedrawSuspended quiet(ListBox1, listDirect_.proc());
        ClearSelection();
        const std::vector<std::string> lines = SplitLines(items);
        if (selectBy == "0") {
            for (const auto& line : lines) {
                int32_t n = 0;
                if (TryTextToInt(line, n) && n >= 1 && n <= store_.Count()) SelectIndex(n - 1);
            }
        } else if (selectBy != "2" || store_.Mode() == ItemsMode::Array) {
            // Items of a String-mode list have no rows: selecting by row finds nothing.
            for (int index : FindItemsByLines(store_.Items(), lines, selectBy == "2", !MultiSelect()))
                SelectIndex(index);
        }
    }
    ListBox1Click();
}

// ---- action handlers ------------------------------------------------------------------

namespace {

std::shared_ptr<TFMCustomListBox> RequireListBox(const std::string& name) {
    return RequireControl<TFMCustomListBox>(ControlKind::ListBox, name, "listbox");
}

} // namespace

bool qorCreateListBox(const Params& params) {
    CreateAttachedControl(std::make_shared<TQORListBox>(params));
    return true;
}

bool qorListBoxSetProperties(const Params& params) {
    RequireListBox(params.at(0))->SetProperties(params);
    return true;
}

bool qorListBoxCaptureEvents(const Params& params) {
    RequireListBox(params.at(0))->CaptureEvents(params);
    return true;
}

bool qorListBoxSelect(const Params& params) {
    RequireListBox(params.at(0))->Select(params.at(1), params.at(2));
    return true;
}

} // namespace qor
