#pragma once
// THunSpellMemo: the SmartEdit's editor, a real multi-line Win32 EDIT control.
// The window is subclassed through its form so that spell checking can paint
// its underline after the normal paint and put its own context menu in place
// of the edit's. While its engine (HunSpell) is initialized, every paint
// underlines the rejected words of the visible lines with a zigzag, drawn on
// an off-screen copy of the text area and copied back in one step, and the
// right-click menu offers suggestions for the word at the caret (and, with
// AddMenu, "Ignore" and "Add"); without an engine both hooks do nothing.
//
// Style options that the EDIT control reads only at creation (word wrap,
// scroll bars, alignment, hide-selection) take effect by re-creating the
// window with its text, selection, read-only state and font kept.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "core/WinHandles.h"
#include "smartedit/HunSpell.h"
#include "smartedit/MemoLogic.h"

namespace qor {

struct MemoStyle {
    bool wordWrap = true;
    bool hideSelection = true;
    bool horizontalScroll = false;
    bool verticalScroll = false;
    MemoAlignment alignment = MemoAlignment::Left;
};

class THunSpellMemo {
public:
    // Settings of the checking editor.
    THunSpell* HunSpell = nullptr;
    bool AutoSuggest = true;
    bool AddMenu = false;
    bool RightClickMoveCaret = false;
    COLORREF UnderlineColor = RGB(255, 0, 0);
    int RightEdge = 0;
    COLORREF RightEdgeColor = RGB(192, 192, 192);

    // Creates the edit window as child `id` of parent with the style.
    void Create(HWND parent, int id, const MemoStyle& style);
    // Re-creates the window when the style differs; true when it did. The
    // new window is returned by hwnd() and must be subclassed again.
    bool ApplyStyle(const MemoStyle& style);
    // Destroys the window (the form does this before its own window goes).
    void DestroyWindowNow() noexcept { edit_.reset(); }

    HWND hwnd() const { return edit_.get(); }
    const MemoStyle& Style() const { return style_; }
    bool Wraps() const; // as the window does it, from its styles

    void SetFont(HFONT font);
    void SetReadOnly(bool readOnly);
    bool IsReadOnly() const;

    std::string Text() const;
    void SetText(const std::string& text);
    void GetSelection(int& start, int& end) const;
    void SetSelection(int start, int end);
    void ReplaceSelection(const std::string& text, bool canUndo);

    // Line geometry, as the edit counts lines. LineCount leaves out an empty
    // last line; Line reads a line whole, however long.
    int LineCount() const;
    int LineIndex(int line) const;
    int LineLengthAt(int charIndex) const;
    int LineFromChar(int charIndex) const;
    std::string Line(int line) const;

    // Messages of the edit window: `original` runs the control's own
    // procedure. The paint and context-menu hooks live here.
    LRESULT Process(UINT message, WPARAM wParam, LPARAM lParam, const std::function<LRESULT()>& original);
    // Paints the whole editor again (and so checks its visible lines again):
    // after text, font and checking changes.
    void Recheck();
    // The status hint of the menu entry last highlighted ("" for none).
    const std::string& Hint() const { return hint_; }

private:
    // WM_PAINT while checking: the edit paints off-screen, the underline is
    // added, and the whole image is copied to the screen. False when nothing
    // could be painted.
    bool PaintChecked();
    // Underlines the rejected words of the visible lines, within `update`, in
    // a DC holding the edit's image of its client area; `pixels` are the
    // image's (32 bits, top-down rows of the client's width).
    void PaintOverlay(HDC dc, const RECT& client, const RECT& update, uint32_t* pixels);
    // For WM_CONTEXTMENU; true when a menu of its own was shown.
    bool ShowContextMenu(POINT screen);
    // The word at the caret: its offset in the whole text and its text.
    bool WordAtCaret(int& start, std::string& word) const;
    void ReplaceWordAtCaret(const std::string& replacement);
    int SelectionLength() const;
    int BorderMargin() const;

    DWORD WindowStyle(const MemoStyle& style, bool readOnly) const;
    // A question that only reads the edit's state, put to the edit's own
    // procedure: a paint asks several for every visible line, and none of
    // them concerns the procedures in front of it.
    LRESULT Query(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    UniqueHwnd edit_;
    WNDPROC editProc_ = nullptr; // edit_'s own, taken before anything subclasses it
    HWND parent_ = nullptr;
    int id_ = 0;
    HFONT font_ = nullptr; // owned by the form
    MemoStyle style_;
    // The last menu: the word it was built for and the hints of its entries.
    std::string menuWord_;
    std::vector<std::string> menuHints_;
    std::string hint_;
    int lastSelectionLength_ = 0;
    // The off-screen image of checked paints, kept between paints.
    UniqueMemoryDc paintDc_;
    UniqueBitmap paintImage_;
    uint32_t* paintPixels_ = nullptr; // paintImage_'s
    SIZE paintSize_{};
};

} // namespace qor
