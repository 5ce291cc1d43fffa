#pragma once
// The ListBox: a list with single or extended selection and an optional
// search strip, whose result variable follows the selection (one line per
// selected item).
#include <string>
#include <vector>

#include "core/StoredSettings.h"
#include "host/PlugInUtils.h"
#include "lists/ListControlBase.h"

namespace qor {

class TFMCustomListBox : public ListControlBase {
public:
    explicit TFMCustomListBox(const Params& params);

    void SetProperties(const Params& params);
    void CaptureEvents(const Params& params);
    void Select(const std::string& items, const std::string& selectBy);

    // The value update: collects the selected items, writes the result
    // variable and runs OnChange when the value changed.
    void ListBox1Click();

    HWND List() const { return ListBox1; }
    HWND SearchEdit() const { return JvEdit1; }
    int HorizontalExtent() const { return extent_; }

protected:
    void BuildContent() override;
    void LayoutContent(int width, int height) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT ChildProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam) override;
    void HandleEvent(WPARAM event) override;
    void UpdateValueAfterChange() override { ListBox1Click(); }
    void ForgetChildren() override;

    // ListItemView: the list box's items and their selected states.
    void ShowAll(const std::vector<ListItem>& items) override;
    void ShowInserted(int index, const std::string& text) override;
    void ShowInsertedMany(const std::vector<ListItem>& items, const std::vector<int>& indexes) override;
    void ShowRemoved(int index) override;
    void ShowChanged(int index, const std::string& text) override;
    void ShowMoved(int from, int to) override;
    void ShowReordered(const std::vector<int>& oldIndexAt, const std::vector<ListItem>& items) override;

private:
    bool MultiSelect() const { return Style == "1"; }
    std::vector<int> SelectedIndexes() const;
    bool IsSelected(int index) const;
    void SelectIndex(int index);
    void ClearSelection();
    void ListBox1DblClick();
    void ListBox1MouseUp();
    void JvEdit1KeyPress();
    bool TypingAid(WPARAM ch);
    void PaintPlaceholder();
    void ReadPresetFont();
    void EnsureSearchStrip();
    void FormResize();

    // Horizontal scroll range: the widest item's text followed by "x".
    void MeasureAll();
    int TextWidth(const std::string& text) const;
    void RecomputeExtent();
    void ApplyExtent();

    HWND Panel1 = nullptr;
    HWND JvEdit1 = nullptr;
    HWND ListBox1 = nullptr;
    DirectList listDirect_;
    UniqueFont searchFont_;
    // The flags, as set-properties calls stored and applied them.
    struct Options {
        bool AutoComplete = false;
        bool ShowSearchBox = false;
    };
    StoredSettings<Options> options_;
    std::string OnDblClickSub;
    std::string OnRightClickSub;

    int charWidths_[256] = {};
    std::vector<int> widths_; // per item, in the list's font (character widths)
    int extent_ = 0;
    std::string prefix_;
    DWORD lastKeyTime_ = 0;
};

class TQORListBox final : public TFMCustomListBox {
public:
    using TFMCustomListBox::TFMCustomListBox;
};

bool qorCreateListBox(const Params& params);
bool qorListBoxSetProperties(const Params& params);
bool qorListBoxCaptureEvents(const Params& params);
bool qorListBoxSelect(const Params& params);

} // namespace qor
