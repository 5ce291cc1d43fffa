#include "smartedit/HunSpellMemo.h"

#include <algorithm>

#include "core/ScriptError.h"
#include "core/ThemedLook.h"
#include "core/WideResults.h"
#include "core/WinValues.h"
#include "host/PlugInUtils.h"
#include "smartedit/SpellText.h"

namespace qor {

namespace {

// EM_GETLINE takes the buffer size in the first WORD of the buffer.
constexpr int kLargestGetLine = 0xFFFF;

} // namespace

DWORD THunSpellMemo::WindowStyle(const MemoStyle& style, bool readOnly) const {
    DWORD s = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    if (!style.wordWrap) s |= ES_AUTOHSCROLL;
    if (!style.hideSelection) s |= ES_NOHIDESEL;
    if (style.horizontalScroll) s |= WS_HSCROLL;
    if (style.verticalScroll) s |= WS_VSCROLL;
    switch (style.alignment) {
    case MemoAlignment::Center: s |= ES_CENTER; break;
    case MemoAlignment::Right: s |= ES_RIGHT; break;
    default: s |= ES_LEFT; break;
    }
    if (readOnly) s |= ES_READONLY;
    return s;
}

void THunSpellMemo::Create(HWND parent, int id, const MemoStyle& style) {
    parent_ = parent;
    id_ = id;
    style_ = style;
    RECT client{};
    GetClientRect(parent, &client);
    edit_.reset(CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WindowStyle(style, false), 0, 0, client.right,
                                client.bottom, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                PlugInInstance(), nullptr));
    if (!edit_) throw ScriptError("Cannot create the SmartEdit editor (error " + std::to_string(GetLastError()) + ").");
    editProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(edit_.get(), GWLP_WNDPROC));
    // No length limit beyond the control's own maximum.
    SendMessageA(edit_.get(), EM_SETLIMITTEXT, 0, 0);
}

bool THunSpellMemo::ApplyStyle(const MemoStyle& style) {
    const bool same = style.wordWrap == style_.wordWrap && style.hideSelection == style_.hideSelection &&
                      style.horizontalScroll == style_.horizontalScroll &&
                      style.verticalScroll == style_.verticalScroll && style.alignment == style_.alignment;
    if (same && edit_) return false;
    const std::string text = Text();
    int start = 0, end = 0;
    GetSelection(start, end);
    const bool readOnly = IsReadOnly();
    const bool focused = GetFocus() == edit_.get();
    RECT place{};
    GetWindowRect(edit_.get(), &place);
    MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&place), 2);

    const ThemedLookScope themed;
    UniqueHwnd fresh(CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WindowStyle(style, readOnly), place.left,
                                     place.top, place.right - place.left, place.bottom - place.top, parent_,
                                     nullptr, PlugInInstance(), nullptr));
    if (!fresh) throw ScriptError("Cannot re-create the SmartEdit editor (error " + std::to_string(GetLastError()) + ").");
    edit_ = std::move(fresh); // the old window goes first, then the new one takes its id
    editProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(edit_.get(), GWLP_WNDPROC));
    SetWindowLongPtrA(edit_.get(), GWLP_ID, id_);
    style_ = style;
    SendMessageA(edit_.get(), EM_SETLIMITTEXT, 0, 0);
    if (font_) SendMessageA(edit_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    SetWindowTextA(edit_.get(), text.c_str());
    SetSelection(start, end);
    if (focused) SetFocus(edit_.get());
    return true;
}

bool THunSpellMemo::Wraps() const {
    const LONG s = GetWindowLongA(edit_.get(), GWL_STYLE);
    return !(s & (ES_AUTOHSCROLL | WS_HSCROLL));
}

void THunSpellMemo::SetFont(HFONT font) {
    font_ = font;
    SendMessageA(edit_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void THunSpellMemo::SetReadOnly(bool readOnly) { SendMessageA(edit_.get(), EM_SETREADONLY, readOnly, 0); }

bool THunSpellMemo::IsReadOnly() const { return (GetWindowLongA(edit_.get(), GWL_STYLE) & ES_READONLY) != 0; }

std::string THunSpellMemo::Text() const {
    const int length = GetWindowTextLengthA(edit_.get());
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(edit_.get(), &text[0], length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

void THunSpellMemo::SetText(const std::string& text) { SetWindowTextA(edit_.get(), text.c_str()); }

void THunSpellMemo::GetSelection(int& start, int& end) const {
    DWORD s = 0, e = 0;
    SendMessageA(edit_.get(), EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    start = static_cast<int>(s);
    end = static_cast<int>(e);
}

void THunSpellMemo::SetSelection(int start, int end) { SendMessageA(edit_.get(), EM_SETSEL, start, end); }

void THunSpellMemo::ReplaceSelection(const std::string& text, bool canUndo) {
    SendMessageA(edit_.get(), EM_REPLACESEL, canUndo, reinterpret_cast<LPARAM>(text.c_str()));
}

LRESULT THunSpellMemo::Query(UINT message, WPARAM wParam, LPARAM lParam) const {
    return editProc_ ? CallWindowProcA(editProc_, edit_.get(), message, wParam, lParam)
                     : SendMessageA(edit_.get(), message, wParam, lParam);
}

int THunSpellMemo::LineCount() const {
    int count = static_cast<int>(Query(EM_GETLINECOUNT));
    if (count > 0 && LineLengthAt(LineIndex(count - 1)) == 0) --count;
    return count;
}

int THunSpellMemo::LineIndex(int line) const {
    return static_cast<int>(Query(EM_LINEINDEX, line));
}

int THunSpellMemo::LineLengthAt(int charIndex) const {
    return static_cast<int>(Query(EM_LINELENGTH, charIndex));
}

int THunSpellMemo::LineFromChar(int charIndex) const {
    return static_cast<int>(Query(EM_LINEFROMCHAR, charIndex));
}

std::string THunSpellMemo::Line(int line) const {
    if (line < 0) return {};
    const int start = LineIndex(line);
    if (start < 0) return {};
    const int length = LineLengthAt(start);
    if (length <= 0) return {};
    if (length <= kLargestGetLine) {
        // The buffer holds the whole line; its first WORD tells the size.
        std::string buffer(static_cast<size_t>(length) + sizeof(WORD), '\0');
        *reinterpret_cast<WORD*>(&buffer[0]) = static_cast<WORD>(length);
        const int copied = static_cast<int>(Query(EM_GETLINE, line, reinterpret_cast<LPARAM>(&buffer[0])));
        buffer.resize(static_cast<size_t>(copied > 0 ? copied : 0));
        return buffer;
    }
    // Longer than EM_GETLINE's size word can say: the line's part of the text.
    const std::string text = Text();
    if (static_cast<size_t>(start) >= text.size()) return {};
    return text.substr(static_cast<size_t>(start), static_cast<size_t>(length));
}

LRESULT THunSpellMemo::Process(UINT message, WPARAM wParam, LPARAM lParam, const std::function<LRESULT()>& original) {
    switch (message) {
    case WM_PAINT:
        if (wParam == 0 && HunSpell && HunSpell->Initialized() && PaintChecked()) return 0;
        break;
    case WM_SETFONT: {
        const LRESULT result = original();
        Recheck();
        return result;
    }
    case WM_CONTEXTMENU: {
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (ShowContextMenu(at)) return 0;
        break;
    }
    case WM_MENUSELECT: {
        // The highlighted entry's hint, as a status line would show it.
        const UINT id = LOWORD(wParam);
        hint_ = (HIWORD(wParam) & MF_POPUP) || id == 0 || id > menuHints_.size() ? std::string() : menuHints_[id - 1];
        break;
    }
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
        // Any button gives the editor the focus.
        if (GetFocus() != edit_.get()) SetFocus(edit_.get());
        if (message == WM_RBUTTONDOWN && RightClickMoveCaret) {
            const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            const int offset = EditCharAtPoint(edit_.get(), at);
            if (offset >= 0) SetSelection(offset, offset);
        }
        break;
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP: {
        // Selecting with the mouse draws over the underline: paint again.
        const HWND edit = edit_.get();
        const LRESULT result = original();
        if (edit == edit_.get() && IsWindow(edit)) {
            const int length = SelectionLength();
            if (length != lastSelectionLength_) Recheck();
            lastSelectionLength_ = length;
        }
        return result;
    }
    }
    return original();
}

void THunSpellMemo::Recheck() {
    if (edit_) InvalidateRect(edit_.get(), nullptr, TRUE);
}

int THunSpellMemo::SelectionLength() const {
    int start = 0, end = 0;
    GetSelection(start, end);
    return end - start;
}

int THunSpellMemo::BorderMargin() const {
    if (GetWindowLongA(edit_.get(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE) return 2;
    if (GetWindowLongA(edit_.get(), GWL_STYLE) & WS_BORDER) return 1;
    return 0;
}

// ---- Underlining ---------------------------------------------------------------

bool THunSpellMemo::PaintChecked() {
    const HWND edit = edit_.get();
    RECT client{};
    GetClientRect(edit, &client);
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(edit, &paint);
    if (!dc) return false;
    // The edit paints into an off-screen image, the underline goes on top, and
    // the image reaches the screen in one step.
    // The image is kept for the next paint of the same size.
    if (!paintDc_) paintDc_.reset(CreateCompatibleDC(dc));
    if (paintDc_ && (paintSize_.cx != client.right || paintSize_.cy != client.bottom)) {
        paintImage_.reset();
        paintPixels_ = nullptr;
        paintSize_ = {client.right, client.bottom};
        if (client.right > 0 && client.bottom > 0) {
            // Pixels of its own: the underline is written straight into them.
            BITMAPINFO format{};
            format.bmiHeader.biSize = sizeof format.bmiHeader;
            format.bmiHeader.biWidth = client.right;
            format.bmiHeader.biHeight = -client.bottom; // top-down
            format.bmiHeader.biPlanes = 1;
            format.bmiHeader.biBitCount = 32;
            format.bmiHeader.biCompression = BI_RGB;
            void* pixels = nullptr;
            paintImage_.reset(CreateDIBSection(dc, &format, DIB_RGB_COLORS, &pixels, nullptr, 0));
            if (paintImage_) paintPixels_ = static_cast<uint32_t*>(pixels);
        }
    }
    const HDC memory = paintDc_.get();
    // Only the part to update is painted again (a typed character updates its
    // line): the edit draws the lines that meet the clip, the overlay the
    // lines whose underline reaches into it, and only that part is copied.
    RECT update{};
    if (!IntersectRect(&update, &paint.rcPaint, &client)) {
        EndPaint(edit, &paint);
        return true; // nothing of the client to show
    }
    if (memory && paintImage_ && paintPixels_) {
        SelectedObject selectedImage(memory, paintImage_.get());
        const int saved = SaveDC(memory);
        IntersectClipRect(memory, update.left, update.top, update.right, update.bottom);
        const bool grey = IsReadOnly() || !IsWindowEnabled(edit);
        const HBRUSH brush = reinterpret_cast<HBRUSH>(
            SendMessageA(GetParent(edit), grey ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(memory),
                         reinterpret_cast<LPARAM>(edit)));
        FillRect(memory, &update, brush ? brush : GetSysColorBrush(grey ? COLOR_BTNFACE : COLOR_WINDOW));
        SendMessageA(edit, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
        if (edit == edit_.get()) PaintOverlay(memory, client, update, paintPixels_);
        RestoreDC(memory, saved);
        BitBlt(dc, update.left, update.top, update.right - update.left, update.bottom - update.top, memory,
               update.left, update.top, SRCCOPY);
    } else {
        // No memory for the image: the text at least, without underline.
        SendMessageA(edit, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    }
    EndPaint(edit, &paint);
    return true;
}

void THunSpellMemo::PaintOverlay(HDC dc, const RECT& client, const RECT& update, uint32_t* pixels) {
    try {
        const int margin = BorderMargin();
        RECT area = client; // the text area
        InflateRect(&area, -margin, -margin);
        RECT visible{}; // the part of it painted now
        if (!IntersectRect(&visible, &area, &update)) return;
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, visible.left, visible.top, visible.right, visible.bottom);
        const HFONT font = reinterpret_cast<HFONT>(Query(WM_GETFONT));
        SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc, &metrics);
        const int textHeight = metrics.tmHeight > 0 ? metrics.tmHeight : 1;
        const int lineHeight = textHeight + metrics.tmExternalLeading;

        // Horizontal positions: from the text area's left edge less the
        // horizontal scroll position.
        RECT format{};
        Query(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
        const int firstLine = static_cast<int>(Query(EM_GETFIRSTVISIBLELINE));
        int scroll = 0;
        if (style_.alignment == MemoAlignment::Left) {
            const LRESULT origin = Query(EM_POSFROMCHAR, LineIndex(firstLine));
            if (origin != -1) scroll = format.left - static_cast<short>(LOWORD(origin));
        }
        const int left = format.left - scroll;

        if (RightEdge > 0) {
            SIZE m{};
            GetTextExtentPoint32A(dc, "M", 1, &m);
            UniquePen edgePen(CreatePen(PS_SOLID, 1, RightEdgeColor));
            SelectObject(dc, edgePen.get());
            const int x = m.cx * RightEdge - scroll;
            MoveToEx(dc, x, area.top, nullptr);
            LineTo(dc, x, area.bottom);
            SelectObject(dc, GetStockObject(BLACK_PEN));
        }
        // The zigzags go straight into the image's pixels, once GDI is done.
        GdiFlush();
        const uint32_t red = (static_cast<uint32_t>(GetRValue(UnderlineColor)) << 16) |
                             (static_cast<uint32_t>(GetGValue(UnderlineColor)) << 8) | GetBValue(UnderlineColor);
        const PixelRect clip{visible.left, visible.top, visible.right, visible.bottom};
        // 2 pixels at 96 DPI: the wave grows with the system's DPI.
        const int zigzagStep = ScaledToScreen(2);

        const int height = area.bottom - area.top;
        const int lastLine = std::min(firstLine + height / std::max(lineHeight, 1),
                                      static_cast<int>(Query(EM_GETLINECOUNT)) - 1);
        std::vector<int> extents;
        std::vector<WordSpan> rejected;
        int top = 1;
        // A line's underline stays within its own band and just below it: a
        // line below the part painted now, or well above it, is passed over.
        for (int line = firstLine; line <= lastLine && top < visible.bottom; ++line, top += textHeight) {
            if (top + 2 * textHeight <= visible.top) continue;
            const std::string text = Line(line);
            const std::vector<WordSpan> words = SplitWords(text);
            // A line without words advances by the height of "O", which is the
            // font's text height, as any other line does.
            rejected.clear();
            for (const WordSpan& whole : words) {
                const WordSpan word = StripEnclosingQuotes(text, whole);
                if (word.length > 1 && !HunSpell->CheckWord(std::string_view(text).substr(word.start, word.length)))
                    rejected.push_back(word);
            }
            // Only a line with rejected words is measured.
            if (!rejected.empty()) {
                extents.assign(text.size(), 0);
                SIZE size{};
                GetTextExtentExPointA(dc, text.data(), static_cast<int>(text.size()), 0, nullptr, extents.data(), &size);
                auto xAt = [&](size_t offset) { return left + (offset == 0 ? 0 : extents[offset - 1]); };
                const int baseLine = ZigzagBaseLine(top, textHeight, margin);
                for (const WordSpan& word : rejected)
                    PaintZigzag(pixels, static_cast<size_t>(client.right), clip, xAt(word.start),
                                xAt(word.start + word.length), baseLine, red, zigzagStep);
            }
        }
        RestoreDC(dc, saved);
    } catch (...) {
        // A paint that cannot check leaves the text as the edit drew it.
    }
}

// ---- The right-click menu ------------------------------------------------------

bool THunSpellMemo::WordAtCaret(int& start, std::string& word) const {
    int selStart = 0, caret = 0;
    GetSelection(selStart, caret);
    const int line = LineFromChar(caret);
    const int lineStart = LineIndex(line);
    if (lineStart < 0 || caret < lineStart) return false;
    const std::string text = Line(line);
    const WordSpan span = WordAtColumn(text, static_cast<size_t>(caret - lineStart));
    start = lineStart + static_cast<int>(span.start);
    word = span.length ? text.substr(span.start, span.length) : std::string();
    return true;
}

void THunSpellMemo::ReplaceWordAtCaret(const std::string& replacement) {
    int selStart = 0, selEnd = 0;
    GetSelection(selStart, selEnd);
    int start = 0;
    std::string word;
    if (!WordAtCaret(start, word)) return;
    SetSelection(start, start + static_cast<int>(word.size()));
    ReplaceSelection(replacement, true);
    SetSelection(selStart, selEnd);
}

bool THunSpellMemo::ShowContextMenu(POINT screen) {
    if (!AutoSuggest || !HunSpell || !HunSpell->Initialized()) return false;
    int start = 0;
    std::string word;
    if (!WordAtCaret(start, word) || word.empty()) return false;
    const bool correct = HunSpell->CheckWord(word);
    std::vector<std::string> suggestions;
    if (!correct) HunSpell->Suggest(word, suggestions);
    const std::vector<SpellMenuEntry> entries =
        SpellMenuEntries(word, correct, suggestions, AddMenu, HunSpell->CustomDic());
    if (entries.empty()) return false;

    UniqueMenu menu(CreatePopupMenu());
    if (!menu) return false;
    menuWord_ = word;
    menuHints_.clear();
    for (size_t i = 0; i < entries.size(); ++i) {
        menuHints_.push_back(entries[i].hint);
        if (entries[i].action == SpellMenuAction::Separator)
            AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuA(menu.get(), MF_STRING, i + 1, entries[i].caption.c_str());
    }
    const HWND edit = edit_.get();
    if (screen.x == -1 && screen.y == -1) {
        // From the keyboard: at the caret.
        const LRESULT at = SendMessageA(edit, EM_POSFROMCHAR, start, 0);
        screen = {at == -1 ? 0 : static_cast<short>(LOWORD(at)), at == -1 ? 0 : static_cast<short>(HIWORD(at))};
        ClientToScreen(edit, &screen);
    }
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, edit, nullptr));
    hint_.clear();
    // The menu's loop may have run anything: the editor must still be this one.
    if (chosen == 0 || chosen > entries.size() || edit != edit_.get() || !IsWindow(edit)) return true;
    const SpellMenuEntry& entry = entries[chosen - 1];
    switch (entry.action) {
    case SpellMenuAction::Replace: ReplaceWordAtCaret(WithoutAmpersands(entry.caption)); break;
    case SpellMenuAction::Ignore:
        if (HunSpell->Initialized()) HunSpell->IgnoreWord(menuWord_);
        break;
    case SpellMenuAction::Add:
        if (HunSpell->Initialized()) HunSpell->AddWord(menuWord_);
        break;
    case SpellMenuAction::Separator: break;
    }
    Recheck();
    return true;
}

} // namespace qor
