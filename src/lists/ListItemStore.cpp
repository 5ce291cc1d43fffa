#include "lists/ListItemStore.h"

#include <algorithm>
#include <iterator>
#include <numeric>

#include "core/AnsiText.h"
#include "core/ScriptError.h"
#include "core/ValueEncodings.h"
#include "lists/ListItemTarget.h"

namespace qor {

void ListItemStore::Load(const ListSettings& settings) {
    mode_ = ItemsModeOf(settings.itemsMode);
    sorted_ = settings.sorted;
    noDuplicates_ = settings.noDuplicates;
    delimiter_ = settings.delimiter;
    search.Reset();

    if (mode_ == ItemsMode::Array) displayColumn_ = TextToInt(settings.displayColumn);
    std::vector<ListItem> items;
    if (mode_ != ItemsMode::Other) {
        auto addLine = [&](std::string line) {
            if (mode_ == ItemsMode::String)
                items.push_back({std::move(line), {}});
            else
                items.push_back(MakeRow(std::move(line)));
        };
        if (noDuplicates_) {
            for (auto& line : RemoveDuplicateLines(SplitLines(settings.itemsText))) addLine(std::move(line));
        } else {
            const std::string& text = settings.itemsText;
            items.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
            ForEachLine(text, [&](size_t start, size_t length) { addLine(std::string(text, start, length)); });
        }
    }
    if (sorted_)
        std::stable_sort(items.begin(), items.end(),
                         [](const ListItem& a, const ListItem& b) { return CompareListTexts(a.text, b.text) < 0; });
    items_ = std::move(items);
    view_.ShowAll(items_);
}

ListItem ListItemStore::MakeRow(std::string line) const {
    std::string text = RowDisplayText(line, delimiter_, displayColumn_);
    return {std::move(text), TCustomer{std::move(line)}};
}

int ListItemStore::FindExact(const std::string& text) const {
    const std::string upper = AnsiUpperCase(text);
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].text.size() == upper.size() && AnsiUpperCase(items_[i].text) == upper) return static_cast<int>(i);
    return -1;
}

int ListItemStore::FindLowered(const std::string& text) const {
    const std::string lower = AnsiLowerCase(text);
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].text.size() == lower.size() && AnsiLowerCase(items_[i].text) == lower) return static_cast<int>(i);
    return -1;
}

int ListItemStore::FindRowLowered(const std::string& text) const {
    const std::string lower = AnsiLowerCase(text);
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].customer.row.size() == lower.size() && AnsiLowerCase(items_[i].customer.row) == lower) return static_cast<int>(i);
    return -1;
}

int ListItemStore::SortedInsertPosition(const std::string& text) const {
    auto it = std::upper_bound(items_.begin(), items_.end(), text, [](const std::string& t, const ListItem& item) {
        return CompareListTexts(t, item.text) < 0;
    });
    return static_cast<int>(it - items_.begin());
}

void ListItemStore::InsertItem(int index, ListItem item) {
    items_.insert(items_.begin() + index, std::move(item));
    view_.ShowInserted(index, items_[static_cast<size_t>(index)].text);
}

void ListItemStore::IndexOutOfBounds(int index) {
    throw ScriptError("List index out of bounds (" + std::to_string(index) + ")");
}

void ListItemStore::CannotInsert() { throw ScriptError("Unable to insert a line"); }

void ListItemStore::Add(int position, std::string text) {
    if (mode_ == ItemsMode::Other) return;
    const bool append = position < 0;
    if (mode_ == ItemsMode::String) {
        if (noDuplicates_ && FindLowered(text) >= 0) return;
        if (!append && position > Count()) CannotInsert();
        const int at = append ? (sorted_ ? SortedInsertPosition(text) : Count()) : position;
        InsertItem(at, ListItem{std::move(text), {}});
        return;
    }
    if (noDuplicates_ && FindRowLowered(text) >= 0) return;
    if (!append && position > Count()) CannotInsert();
    std::vector<ListItem> rows;
    if (text.empty()) {
        rows.push_back(MakeRow(std::string()));
    } else {
        // Straight into the rows: no list of lines in between.
        rows.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
        ForEachLine(text, [&](size_t start, size_t length) { rows.push_back(MakeRow(text.substr(start, length))); });
    }
    InsertRows(append ? -1 : position, std::move(rows));
}

void ListItemStore::InsertRows(int position, std::vector<ListItem> rows) {
    if (rows.size() == 1) {
        // One line: its place directly.
        const int at = position >= 0 ? position : (sorted_ ? SortedInsertPosition(rows[0].text) : Count());
        InsertItem(at, std::move(rows[0]));
        return;
    }
    // The result of inserting the lines one after the other, in linear time:
    // at a position each line goes in front of the one before (reverse order);
    // appended to a sorted list each goes behind its equals, earlier lines
    // first, which is a stable merge with the present items winning ties.
    std::vector<int> indexes;
    indexes.reserve(rows.size());
    if (position >= 0 || !sorted_) {
        const int at = position >= 0 ? position : Count();
        if (position >= 0) std::reverse(rows.begin(), rows.end());
        for (size_t i = 0; i < rows.size(); ++i) indexes.push_back(at + static_cast<int>(i));
        items_.insert(items_.begin() + at, std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
        view_.ShowInsertedMany(items_, indexes);
        return;
    }
    std::vector<ListItem> merged;
    merged.reserve(items_.size() + rows.size());
    {
        std::stable_sort(rows.begin(), rows.end(),
                         [](const ListItem& a, const ListItem& b) { return CompareListTexts(a.text, b.text) < 0; });
        size_t old = 0;
        for (auto& row : rows) {
            while (old < items_.size() && CompareListTexts(items_[old].text, row.text) <= 0)
                merged.push_back(std::move(items_[old++]));
            indexes.push_back(static_cast<int>(merged.size()));
            merged.push_back(std::move(row));
        }
        while (old < items_.size()) merged.push_back(std::move(items_[old++]));
    }
    items_ = std::move(merged);
    view_.ShowInsertedMany(items_, indexes);
}

void ListItemStore::Change(int position, const std::string& text) {
    if (mode_ == ItemsMode::Other) return;
    if (mode_ == ItemsMode::String) {
        if (noDuplicates_ && FindLowered(text) >= 0) return;
    } else if (noDuplicates_ && FindRowLowered(text) >= 0) {
        return;
    }
    if (position < 0 || position >= Count()) IndexOutOfBounds(position);
    ListItem& item = items_[position];
    item = mode_ == ItemsMode::String ? ListItem{text, {}} : MakeRow(text);
    view_.ShowChanged(position, item.text);
}

void ListItemStore::Delete(int position) {
    if (mode_ == ItemsMode::Other) return;
    if (position == -1) {
        items_.clear();
        view_.ShowAll(items_);
        return;
    }
    if (position < 0 || position >= Count()) {
        if (mode_ == ItemsMode::Array) IndexOutOfBounds(position);
        return;
    }
    items_.erase(items_.begin() + position);
    view_.ShowRemoved(position);
}

std::optional<std::string> ListItemStore::Find(const std::string& text) const {
    if (mode_ == ItemsMode::Other) return std::nullopt;
    return std::to_string(FindLowered(text) + 1);
}

std::optional<std::string> ListItemStore::Get(int position, bool wholeRow) const {
    if (mode_ == ItemsMode::Other) return std::nullopt;
    const bool rows = wholeRow && mode_ == ItemsMode::Array;
    if (position == -1) {
        std::vector<std::string> texts;
        texts.reserve(items_.size());
        for (const auto& item : items_) texts.push_back(rows ? item.customer.row : item.text);
        return JoinLines(texts);
    }
    if (position < 0 || position >= Count()) return std::string();
    return rows ? items_[position].customer.row : items_[position].text;
}

void ListItemStore::Move(int position, int newPosition) {
    if (mode_ == ItemsMode::Other) return;
    if (position < 0 || position >= Count()) IndexOutOfBounds(position);
    if (newPosition < 0 || newPosition > Count() - 1) CannotInsert();
    if (position == newPosition) return;
    ListItem item = std::move(items_[position]);
    items_.erase(items_.begin() + position);
    items_.insert(items_.begin() + newPosition, std::move(item));
    view_.ShowMoved(position, newPosition);
}

std::optional<std::string> ListItemStore::Size() const {
    if (mode_ == ItemsMode::Other) return std::nullopt;
    return std::to_string(items_.size());
}

void ListItemStore::SetSorted(bool sorted) {
    if (mode_ == ItemsMode::Other) return;
    sorted_ = sorted;
    if (!sorted) return;
    std::vector<int> order(items_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [this](int a, int b) { return CompareListTexts(items_[a].text, items_[b].text) < 0; });
    bool changed = false;
    for (size_t i = 0; i < order.size() && !changed; ++i) changed = order[i] != static_cast<int>(i);
    if (!changed) return;
    std::vector<ListItem> sortedItems;
    sortedItems.reserve(items_.size());
    for (int old : order) sortedItems.push_back(std::move(items_[old]));
    items_ = std::move(sortedItems);
    view_.ShowReordered(order, items_);
}

std::optional<std::string> ListItemStore::FindEx(const std::string& searchIn, const std::string& match,
                                                 const std::string& column, const std::string& text) {
    if (mode_ == ItemsMode::String && searchIn == "1")
        throw ListNotice("Using array search on " + kindName_ + " which is declared as string.");
    // Emptied before the items are read: a column that fails to convert
    // leaves no matches of an earlier search behind.
    search.Reset();
    std::vector<std::string> results;
    const std::string upperText = AnsiUpperCase(text);
    const std::string lowerText = AnsiLowerCase(text);
    bool columnRead = false;
    int columnIndex = 0;
    for (size_t i = 0; i < items_.size(); ++i) {
        const ListItem& item = items_[i];
        bool hit = false;
        if (searchIn == "0" && match == "0") {
            hit = LowersTo(item.text, lowerText);
        } else if (searchIn == "0" && match == "1") {
            hit = !text.empty() && RaisedContains(item.text, upperText);
        } else if (searchIn == "1" && match == "0") {
            hit = LowersTo(item.customer.row, lowerText);
        } else if (searchIn == "1" && match == "1") {
            hit = !text.empty() && RaisedContains(item.customer.row, upperText);
        } else if (searchIn == "1" && match == "2") {
            if (!columnRead) {
                columnIndex = TextToInt(column);
                columnRead = true;
            }
            if (columnIndex >= 0) {
                const std::vector<std::string> fields = RowFields(item.customer.row, delimiter_);
                hit = static_cast<size_t>(columnIndex) < fields.size() && LowersTo(fields[columnIndex], lowerText);
            }
        }
        if (hit) results.push_back(std::to_string(i + 1));
    }
    return search.Start(std::move(results));
}

std::vector<int> FindItemsByLines(const std::vector<ListItem>& items, const std::vector<std::string>& lines,
                                  bool byRow, bool firstOnly) {
    std::vector<std::string> keys;
    keys.reserve(lines.size());
    for (const auto& line : lines) keys.push_back(AnsiLowerCase(line));
    std::sort(keys.begin(), keys.end());
    std::vector<int> found;
    if (keys.empty()) return found;
    for (size_t i = 0; i < items.size(); ++i) {
        const std::string& source = byRow ? items[i].customer.row : items[i].text;
        if (std::binary_search(keys.begin(), keys.end(), AnsiLowerCase(source))) {
            found.push_back(static_cast<int>(i));
            if (firstOnly) break;
        }
    }
    return found;
}

} // namespace qor
