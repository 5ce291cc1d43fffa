#include "smartedit/UTCustomMemo.h"

#include <algorithm>
#include <cstdint>

#include "core/ControlRegistry.h"
#include "core/EventBridge.h"
#include "core/WinValues.h"
#include "host/HostServices.h"

namespace qor {

namespace {

constexpr int kEditorId = 1;
// Posted by the SmartEdit to itself when the user changed the text.
constexpr UINT kMemoChangedMessage = WM_APP + 0x3B1;
constexpr char kKindWords[] = "smartedit";

std::shared_ptr<TFMCustomMemo> RequireMemo(const std::string& name) {
    return RequireControl<TFMCustomMemo>(ControlKind::SmartEdit, name, kKindWords);
}

std::string Decimal(int value) { return std::to_string(value); }

// Script numbers reach the whole int range: sums stay inside it.
int ClampedSum(int64_t a, int64_t b) {
    return static_cast<int>(std::clamp<int64_t>(a + b, INT32_MIN, INT32_MAX));
}

} // namespace

TFMCustomMemo::TFMCustomMemo(const std::string& rectangleName, const std::string& textVariable)
    : AttachedControl(ControlKind::SmartEdit, rectangleName), TextVariable(textVariable) {}

void TFMCustomMemo::BuildContent() {
    // An ordinary multi-line edit to begin with: editable, wrapping, no scroll
    // bars, left-aligned, selection hidden without focus.
    Memo1.Create(hwnd(), kEditorId, MemoStyle{});
    Memo1.HunSpell = &HunSpell1;
    Subclass(Memo1.hwnd());
    defaultFont_ = CreateFontFromSpec(DefaultControlFont());
    Memo1.SetFont(defaultFont_.get());
}

void TFMCustomMemo::LayoutContent(int width, int height) {
    if (Memo1.hwnd()) MoveWindow(Memo1.hwnd(), 0, 0, width, height, TRUE);
}

// ---- Text binding --------------------------------------------------------

void TFMCustomMemo::MarkChanged() {
    if (recreating_ || IsDestroyed()) return;
    changePending_ = true;
    if (!changePosted_ && hwnd()) changePosted_ = PostMessageA(hwnd(), kMemoChangedMessage, 0, 0) != FALSE;
}

void TFMCustomMemo::FlushChange() {
    if (!changePending_ || IsDestroyed()) return;
    changePending_ = false;
    RunChangeSteps();
}

void TFMCustomMemo::RunChangeSteps() {
    // Without a text variable LastText and PreviousText never move apart.
    if (TextVariable.empty()) return;
    LastText = Memo1.Text();
    WriteVariable(TextVariable, LastText);
    if (LastText == PreviousText) return;
    PreviousText = LastText;
    RunEvent(OnChangeSub);
}

// ---- Messages ------------------------------------------------------------

LRESULT TFMCustomMemo::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kMemoChangedMessage:
        changePosted_ = false;
        FlushChange();
        return 0;
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lParam) == Memo1.hwnd() && Memo1.hwnd() && HIWORD(wParam) == EN_CHANGE) {
            MarkChanged();
            Memo1.Recheck();
            return 0;
        }
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) == Memo1.hwnd() && (background_ || textColor_)) {
            const HDC dc = reinterpret_cast<HDC>(wParam);
            if (textColor_) SetTextColor(dc, ToColorRef(*textColor_, GetSysColor(COLOR_WINDOWTEXT)));
            if (background_) {
                SetBkColor(dc, backgroundColor_);
                return reinterpret_cast<LRESULT>(background_.get());
            }
            const int system = message == WM_CTLCOLORSTATIC ? COLOR_BTNFACE : COLOR_WINDOW;
            SetBkColor(dc, GetSysColor(system));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(system));
        }
        break;
    case WM_DESTROY:
        // The editor goes before the form; nothing of it is touched afterwards.
        Memo1.DestroyWindowNow();
        HunSpell1.SetEnabled(false); // saves the custom word list
        break;
    }
    return AttachedControl::WindowProc(message, wParam, lParam);
}

LRESULT TFMCustomMemo::ChildProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam) {
    auto original = [&] { return CallOriginalChildProc(child, message, wParam, lParam); };
    if (child != Memo1.hwnd()) return original();
    switch (message) {
    case WM_GETDLGCODE: {
        LRESULT code = original();
        return tabsApplied_ ? (code | DLGC_WANTTAB) : (code & ~static_cast<LRESULT>(DLGC_WANTTAB));
    }
    case WM_KEYDOWN:
        if (wParam == VK_TAB && !tabsApplied_) {
            // Tab moves the focus on instead of becoming text.
            const bool back = GetKeyState(VK_SHIFT) < 0;
            HWND next = GetNextDlgTabItem(GetAncestor(child, GA_ROOT), child, back);
            if (next && next != child) SetFocus(next);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == '\t' && !tabsApplied_) return 0;
        break;
    case WM_LBUTTONDOWN:
        leftDown_ = true;
        break;
    case WM_LBUTTONUP: {
        const LRESULT result = Memo1.Process(message, wParam, lParam, original);
        if (!leftDown_) return result;
        leftDown_ = false;
        RECT client{};
        GetClientRect(child, &client);
        const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (PtInRect(&client, at)) RunEvent(OnClickSub);
        return result;
    }
    case WM_LBUTTONDBLCLK: {
        leftDown_ = false;
        const LRESULT result = Memo1.Process(message, wParam, lParam, original);
        RunEvent(OnDblClickSub);
        return result;
    }
    case WM_RBUTTONUP: {
        // The edit's own handling (its context menu) comes first.
        const LRESULT result = Memo1.Process(message, wParam, lParam, original);
        RunEvent(OnRightClickSub);
        return result;
    }
    }
    return Memo1.Process(message, wParam, lParam, original);
}

// ---- Actions -------------------------------------------------------------

void TFMCustomMemo::SetProperties(const Params& params) {
    if (!params.at(1).empty()) ReadOnlyOption = TextToFlag(params[1]);
    if (!params.at(2).empty()) WordWrapOption = TextToFlag(params[2]);
    if (!params.at(3).empty()) WantTabsOption = TextToFlag(params[3]);
    if (!params.at(4).empty()) HideSelectionOption = TextToFlag(params[4]);
    if (!params.at(5).empty()) {
        FontSpec spec = DefaultControlFont();
        SpecToFont(params[5], spec);
        CustomFont = spec;
        HasCustomFont = true;
    }
    CustomColor = TextToColor(params.at(6));
    ScrollBarsCode = params.at(7);
    AlignmentCode = params.at(8);
    ApplyProperties();
}

void TFMCustomMemo::ApplyProperties() {
    Memo1.SetReadOnly(ReadOnlyOption);
    tabsApplied_ = WantTabsOption;
    MemoStyle style = Memo1.Style();
    style.wordWrap = WordWrapOption;
    style.hideSelection = HideSelectionOption;
    switch (MemoScrollBarsFromCode(ScrollBarsCode)) {
    case MemoScrollBars::Vertical: style.horizontalScroll = false; style.verticalScroll = true; break;
    case MemoScrollBars::Horizontal: style.horizontalScroll = true; style.verticalScroll = false; break;
    case MemoScrollBars::None: style.horizontalScroll = false; style.verticalScroll = false; break;
    case MemoScrollBars::Both: style.horizontalScroll = true; style.verticalScroll = true; break;
    case MemoScrollBars::Keep: break;
    }
    const MemoAlignment alignment = MemoAlignmentFromCode(AlignmentCode);
    if (alignment != MemoAlignment::Keep) style.alignment = alignment;

    recreating_ = true;
    bool recreated = false;
    try {
        recreated = Memo1.ApplyStyle(style);
    } catch (...) {
        recreating_ = false;
        throw;
    }
    recreating_ = false;
    if (recreated) Subclass(Memo1.hwnd());

    if (HasCustomFont) {
        UniqueFont font = CreateFontFromSpec(CustomFont);
        if (font) {
            Memo1.SetFont(font.get());
            customFont_ = std::move(font); // the old one only after the editor let go of it
            textColor_ = CustomFont.color;
        }
    }
    if (CustomColor != ColorNone) {
        backgroundColor_ = ToColorRef(CustomColor, GetSysColor(COLOR_WINDOW));
        background_.reset(CreateSolidBrush(backgroundColor_));
    }
    RepaintWindow(Memo1.hwnd());
}

void TFMCustomMemo::CaptureEvents(const Params& params) {
    ApplyCapture(OnChangeSub, params.at(1));
    ApplyCapture(OnDblClickSub, params.at(2));
    ApplyCapture(OnRightClickSub, params.at(3));
    ApplyCapture(OnClickSub, params.at(4));
}

void TFMCustomMemo::SetTextByMode(const std::string& text, const std::string& mode) {
    if (mode == "0") {
        Memo1.SetText(text);
        MarkChanged(); // a multi-line edit reports no change for WM_SETTEXT
    } else if (mode == "1") {
        Memo1.ReplaceSelection(text, false);
    }
    FlushChange();
}

void TFMCustomMemo::Command(const std::string& word, int first, int second) {
    const HWND edit = Memo1.hwnd();
    switch (MemoCommandFromWord(word)) {
    case MemoCommand::Cut: SendMessageA(edit, WM_CUT, 0, 0); break;
    case MemoCommand::Copy: SendMessageA(edit, WM_COPY, 0, 0); break;
    case MemoCommand::Paste: SendMessageA(edit, WM_PASTE, 0, 0); break;
    case MemoCommand::Delete: Memo1.ReplaceSelection("", false); break;
    case MemoCommand::SelectAll: Memo1.SetSelection(0, -1); break;
    case MemoCommand::Undo:
    case MemoCommand::Redo: SendMessageA(edit, EM_UNDO, 0, 0); break;
    case MemoCommand::ClearUndo: SendMessageA(edit, EM_EMPTYUNDOBUFFER, 0, 0); break;
    case MemoCommand::DeselectAll:
        Memo1.SetSelection(0, 0);
        SendMessageA(edit, EM_SCROLLCARET, 0, 0);
        break;
    case MemoCommand::Clear: SetFocus(edit); break;
    case MemoCommand::ScrollToCaret: SendMessageA(edit, EM_SCROLLCARET, 0, 0); break;
    case MemoCommand::ScrollLine: SendMessageA(edit, EM_LINESCROLL, first, second); break;
    case MemoCommand::SelectText: {
        SetFocus(edit);
        Memo1.SetSelection(first, first);
        int start = 0, end = 0;
        Memo1.GetSelection(start, end);
        Memo1.SetSelection(start, ClampedSum(start, second));
        SendMessageA(edit, EM_SCROLLCARET, 0, 0);
        break;
    }
    case MemoCommand::SetCaretPos: {
        const int offset = ClampedSum(Memo1.LineIndex(ClampedSum(second, -1)), first);
        Memo1.SetSelection(offset, offset);
        break;
    }
    case MemoCommand::Unknown: break;
    }
    FlushChange();
}

std::optional<std::string> TFMCustomMemo::Info(const std::string& item) {
    if (TextVariable.empty()) return std::nullopt;
    int start = 0, end = 0;
    Memo1.GetSelection(start, end);
    const LONG style = GetWindowLongA(Memo1.hwnd(), GWL_STYLE);
    switch (MemoInfoItemFromText(item)) {
    case 0: {
        const std::string text = Memo1.Text();
        if (start < 0 || end < start || static_cast<size_t>(start) > text.size()) return std::string();
        return text.substr(static_cast<size_t>(start), static_cast<size_t>(end - start));
    }
    case 1: return Memo1.Text();
    case 2: return Decimal(static_cast<int>(SendMessageA(Memo1.hwnd(), EM_GETFIRSTVISIBLELINE, 0, 0)) + 1);
    case 3: return FlagToText(Memo1.IsReadOnly());
    case 4: return FlagToText(!(style & ES_NOHIDESEL));
    case 5: return FlagToText(Memo1.Style().wordWrap);
    case 6: return Decimal(end - Memo1.LineIndex(Memo1.LineFromChar(end)));
    case 7: return Decimal(Memo1.LineFromChar(end) + 1);
    case 8: return HandleText(Memo1.hwnd());
    case 9: return Decimal(start);
    case 10: return Decimal(end - start);
    case 11: return MemoScrollBarsName((style & WS_HSCROLL) != 0, (style & WS_VSCROLL) != 0);
    }
    return std::nullopt;
}

// ---- Lines as items ------------------------------------------------------

bool TFMCustomMemo::InsertLine(int index, const std::string& text) {
    if (index < 0) return false;
    int at = Memo1.LineIndex(index);
    std::string line;
    if (at >= 0) {
        line = text + "\r\n";
    } else {
        // Just past the last line of a text without a final line break.
        at = Memo1.LineIndex(index - 1);
        if (at < 0) return false;
        const int length = Memo1.LineLengthAt(at);
        if (length == 0) return false;
        at += length;
        line = "\r\n" + text;
    }
    Memo1.SetSelection(at, at);
    Memo1.ReplaceSelection(line, false);
    return true;
}

void TFMCustomMemo::AddItem(int position, std::string&& text) {
    InsertLine(position < 0 ? Memo1.LineCount() : position, text);
}

void TFMCustomMemo::ChangeItem(int position, const std::string& text) {
    if (position < 0 || position >= Memo1.LineCount()) return;
    const int start = Memo1.LineIndex(position);
    if (start < 0) return;
    Memo1.SetSelection(start, start + Memo1.LineLengthAt(start));
    Memo1.ReplaceSelection(text, false);
}

void TFMCustomMemo::DeleteItem(int position) {
    if (position == -1) {
        Memo1.SetText("");
        MarkChanged();
        return;
    }
    if (position < 0 || position >= Memo1.LineCount()) return;
    const int start = Memo1.LineIndex(position);
    if (start < 0) return;
    int end = Memo1.LineIndex(position + 1);
    if (end < 0) end = start + Memo1.LineLengthAt(start);
    Memo1.SetSelection(start, end);
    Memo1.ReplaceSelection("", false);
}

void TFMCustomMemo::ReadLines(LineSnapshot& lines) const {
    // Without wrapping the lines are exactly the CR LF pieces of the text;
    // one read of the text is much cheaper than one query per line.
    if (!Memo1.Wraps()) {
        lines.text = Memo1.Text();
        lines.views = SplitEditLines(lines.text);
        return;
    }
    const int count = Memo1.LineCount();
    lines.wrapped.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) lines.wrapped.push_back(Memo1.Line(i));
    lines.views.assign(lines.wrapped.begin(), lines.wrapped.end());
}

std::optional<std::string> TFMCustomMemo::FindItem(const std::string& text) {
    LineSnapshot lines;
    ReadLines(lines);
    return FindPlainItem(static_cast<int>(lines.views.size()), [&](int i) { return lines.views[i]; }, text);
}

std::optional<std::string> TFMCustomMemo::GetItem(int position, bool /*wholeRow*/) {
    if (position == -1) return WithoutFinalLineBreak(Memo1.Text());
    if (position < 0 || position >= Memo1.LineCount()) return std::string();
    return Memo1.Line(position);
}

void TFMCustomMemo::MoveItem(int position, int newPosition) {
    if (position == newPosition) return;
    const int count = Memo1.LineCount();
    // Both ends must name a place, or the line would be lost on the way.
    if (position < 0 || position >= count || newPosition < 0 || newPosition > count - 1) return;
    const std::string line = Memo1.Line(position);
    DeleteItem(position);
    // A wrapped text may re-flow into fewer lines once the line is out; the
    // line then goes to the end rather than nowhere.
    if (!InsertLine(newPosition, line)) InsertLine(Memo1.LineCount(), line);
}

std::optional<std::string> TFMCustomMemo::Size() { return Decimal(Memo1.LineCount()); }

std::optional<std::string> TFMCustomMemo::FindItemEx(const std::string& searchIn, const std::string& match,
                                                     const std::string& /*column*/, const std::string& text) {
    if (searchIn == "1") throw ListNotice("SmartEdit is not an array list.");
    LineSnapshot lines;
    ReadLines(lines);
    return search_.Start(FindPlainMatches(static_cast<int>(lines.views.size()), [&](int i) { return lines.views[i]; },
                                          searchIn, match, text));
}

// ---- Action handlers -----------------------------------------------------

bool qorCreateSmartEdit(const Params& params) {
    CreateAttachedControl(std::make_shared<TQORMemo>(params.at(0), params.at(1)));
    return true;
}

bool qorSmartEditSetProperties(const Params& params) {
    RequireMemo(params.at(0))->SetProperties(params);
    return true;
}

bool qorSmartEditCaptureEvents(const Params& params) {
    RequireMemo(params.at(0))->CaptureEvents(params);
    return true;
}

bool qorSmartEditSetText(const Params& params) {
    RequireMemo(params.at(0))->SetTextByMode(params.at(1), params.at(2));
    return true;
}

bool qorSmartEditGetInfo(const Params& params) {
    auto memo = RequireMemo(params.at(0));
    if (auto value = memo->Info(params.at(1))) memo->WriteVariable(params.at(2), *value);
    return true;
}

bool SmartEditCommandAction(int32_t id, const Params& params) {
    RequireMemo(params.at(0))->Command(MemoCommandWordForAction(id), 0, 0);
    return true;
}

bool SmartEditPositionAction(int32_t id, const Params& params) {
    auto memo = RequireMemo(params.at(0));
    const int32_t second = TextToInt(params.at(2));
    const int32_t first = TextToInt(params.at(1));
    memo->Command(MemoCommandWordForAction(id), first, second);
    return true;
}

} // namespace qor
