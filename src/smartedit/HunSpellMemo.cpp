#include "smartedit/HunSpellMemo.h"

#include "core/ScriptError.h"
#include "core/WideResults.h"
#include "host/PlugInUtils.h"

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

    UniqueHwnd fresh(CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WindowStyle(style, readOnly), place.left,
                                     place.top, place.right - place.left, place.bottom - place.top, parent_,
                                     nullptr, PlugInInstance(), nullptr));
    if (!fresh) throw ScriptError("Cannot re-create the SmartEdit editor (error " + std::to_string(GetLastError()) + ").");
    edit_ = std::move(fresh); // the old window goes first, then the new one takes its id
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

int THunSpellMemo::LineCount() const {
    int count = static_cast<int>(SendMessageA(edit_.get(), EM_GETLINECOUNT, 0, 0));
    if (count > 0 && LineLengthAt(LineIndex(count - 1)) == 0) --count;
    return count;
}

int THunSpellMemo::LineIndex(int line) const {
    return static_cast<int>(SendMessageA(edit_.get(), EM_LINEINDEX, line, 0));
}

int THunSpellMemo::LineLengthAt(int charIndex) const {
    return static_cast<int>(SendMessageA(edit_.get(), EM_LINELENGTH, charIndex, 0));
}

int THunSpellMemo::LineFromChar(int charIndex) const {
    return static_cast<int>(SendMessageA(edit_.get(), EM_LINEFROMCHAR, charIndex, 0));
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
        const int copied = static_cast<int>(SendMessageA(edit_.get(), EM_GETLINE, line, reinterpret_cast<LPARAM>(&buffer[0])));
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
    case WM_PAINT: {
        const LRESULT result = original();
        if (IsWindow(edit_.get())) {
            WindowDc dc(edit_.get());
            if (dc.get()) PaintOverlay(dc.get());
        }
        return result;
    }
    case WM_CONTEXTMENU: {
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (ShowContextMenu(at)) return 0;
        break;
    }
    case WM_RBUTTONDOWN:
        if (!RightClickMoveCaret) break;
        {
            const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            const int offset = EditCharAtPoint(edit_.get(), at);
            if (offset >= 0) SetSelection(offset, offset);
        }
        break;
    }
    (void)wParam;
    return original();
}

} // namespace qor
