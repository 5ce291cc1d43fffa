#pragma once
// The items of a DropDown or ListBox and the item operations both share.
// The store owns the items (displayed text and, in Array mode, the whole row)
// and tells the platform list what to show through ListItemView, so the
// rules can be exercised without any window.
#include <optional>
#include <string>
#include <vector>

#include "lists/ListSearch.h"
#include "lists/ListText.h"

namespace qor {

// The row record of an Array-mode item: the whole line it was made from,
// delimiters included. String-mode items carry an empty one.
struct TCustomer {
    std::string row;
};

struct ListItem {
    std::string text;   // what the list shows
    TCustomer customer; // owned by the item: it moves, sorts and dies with it
};

// Creation settings of a list control.
struct ListSettings {
    bool sorted = false;
    bool noDuplicates = false;
    std::string itemsText;
    std::string itemsMode = "0";
    std::string displayColumn = "0";
    std::string delimiter;
};

// The platform list that mirrors the store. Indexes are those of the store.
class ListItemView {
public:
    virtual ~ListItemView() = default;
    // Replaces every shown item; selections are gone.
    virtual void ShowAll(const std::vector<ListItem>& items) = 0;
    virtual void ShowInserted(int index, const std::string& text) = 0;
    // Many items came in at once: `indexes` (ascending) are their places in
    // `items`, the whole new list. Showing them one by one in that order gives
    // the final list; a view may do it faster (redraw off, one pass).
    virtual void ShowInsertedMany(const std::vector<ListItem>& items, const std::vector<int>& indexes) {
        for (int index : indexes) ShowInserted(index, items[static_cast<size_t>(index)].text);
    }
    virtual void ShowRemoved(int index) = 0;
    // The item keeps its place and its selected state.
    virtual void ShowChanged(int index, const std::string& text) = 0;
    // The item and its selected state move from `from` to `to`.
    virtual void ShowMoved(int from, int to) = 0;
    // New order after sorting: entry i is the old index of the item now at i;
    // selected states travel with their items.
    virtual void ShowReordered(const std::vector<int>& oldIndexAt, const std::vector<ListItem>& items) = 0;
};

class ListItemStore {
public:
    // kindName names the control in the array-search notice ("DropDown", "ListBox").
    ListItemStore(ListItemView& view, std::string kindName) : view_(view), kindName_(std::move(kindName)) {}

    // Loads the creation settings: duplicates removed, lines split, rows
    // parsed, sorted when asked. Throws the conversion message for a display
    // column that is not a number in Array mode.
    void Load(const ListSettings& settings);

    ItemsMode Mode() const { return mode_; }
    bool Sorted() const { return sorted_; }
    int Count() const { return static_cast<int>(items_.size()); }
    const std::vector<ListItem>& Items() const { return items_; }
    const ListItem& Item(int index) const { return items_[index]; }

    // First item whose displayed text equals text ignoring letter case, or -1
    // (the lookup of the system list, upper-case mapping).
    int FindExact(const std::string& text) const;
    // First item whose displayed text / whole row equals text, lowered; -1 if none.
    int FindLowered(const std::string& text) const;
    int FindRowLowered(const std::string& text) const;

    // The item operations (positions from 0, -1 = all / end).
    void Add(int position, std::string text);
    void Change(int position, const std::string& text);
    void Delete(int position);
    std::optional<std::string> Find(const std::string& text) const;
    std::optional<std::string> Get(int position, bool wholeRow) const;
    void Move(int position, int newPosition);
    std::optional<std::string> Size() const;
    void SetSorted(bool sorted);
    std::optional<std::string> FindEx(const std::string& searchIn, const std::string& match,
                                      const std::string& column, const std::string& text);

    ListSearchState search;

private:
    ListItem MakeRow(std::string line) const;
    int SortedInsertPosition(const std::string& text) const;
    void InsertItem(int index, ListItem item);
    // Inserts the rows of several lines in one pass over the list.
    void InsertRows(int position, std::vector<ListItem> rows);
    [[noreturn]] static void IndexOutOfBounds(int index);
    [[noreturn]] static void CannotInsert();

    ListItemView& view_;
    std::string kindName_;
    std::vector<ListItem> items_;
    ItemsMode mode_ = ItemsMode::String;
    bool sorted_ = false;
    bool noDuplicates_ = false;
    int displayColumn_ = 0;
    std::string delimiter_;
};

// ListBox selection by text or row: the item indexes, in list order, whose
// lowered displayed text (or whole row) is one of the lowered lines. The lines
// are sorted once and each item is looked up by binary search. firstOnly stops
// at the first found item.
std::vector<int> FindItemsByLines(const std::vector<ListItem>& items, const std::vector<std::string>& lines,
                                  bool byRow, bool firstOnly);

} // namespace qor
