// The list rules shared by the DropDown and the ListBox: line and row
// splitting, loading, the item operations with their failures, the extended
// search and its cursor, selection by lines, and the values both controls write.
#include "lists/ListItemStore.h"
#include "lists/ListItemTarget.h"
#include "lists/ListValues.h"

#include <gtest/gtest.h>

#include "core/ScriptError.h"

namespace qor {
namespace {

// A platform list stand-in: the shown texts and a selected flag per item.
class FakeView : public ListItemView {
public:
    std::vector<std::string> texts;
    std::vector<bool> selected;
    int calls = 0;

    void ShowAll(const std::vector<ListItem>& items) override {
        ++calls;
        texts.clear();
        for (const auto& item : items) texts.push_back(item.text);
        selected.assign(texts.size(), false);
    }
    void ShowInserted(int index, const std::string& text) override {
        ++calls;
        texts.insert(texts.begin() + index, text);
        selected.insert(selected.begin() + index, false);
    }
    int bulkInserts = 0;
    void ShowInsertedMany(const std::vector<ListItem>& items, const std::vector<int>& indexes) override {
        ++bulkInserts;
        ListItemView::ShowInsertedMany(items, indexes);
    }
    void ShowRemoved(int index) override {
        ++calls;
        texts.erase(texts.begin() + index);
        selected.erase(selected.begin() + index);
    }
    void ShowChanged(int index, const std::string& text) override {
        ++calls;
        texts[index] = text;
    }
    void ShowMoved(int from, int to) override {
        ++calls;
        std::string t = texts[from];
        bool s = selected[from];
        texts.erase(texts.begin() + from);
        selected.erase(selected.begin() + from);
        texts.insert(texts.begin() + to, t);
        selected.insert(selected.begin() + to, s);
    }
    void ShowReordered(const std::vector<int>& oldIndexAt, const std::vector<ListItem>& items) override {
        ++calls;
        std::vector<bool> sel;
        for (int old : oldIndexAt) sel.push_back(selected[old]);
        selected = sel;
        texts.clear();
        for (const auto& item : items) texts.push_back(item.text);
    }
};

class Store : public ::testing::Test {
protected:
    void Load(const std::string& items, const std::string& mode = "0", bool sorted = false, bool noDup = false,
              const std::string& column = "0", const std::string& delimiter = "") {
        ListSettings s;
        s.itemsText = items;
        s.itemsMode = mode;
        s.sorted = sorted;
        s.noDuplicates = noDup;
        s.displayColumn = column;
        s.delimiter = delimiter;
        store.Load(s);
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> t;
        for (const auto& item : store.Items()) t.push_back(item.text);
        return t;
    }
    std::vector<std::string> Rows() const {
        std::vector<std::string> t;
        for (const auto& item : store.Items()) t.push_back(item.customer.row);
        return t;
    }
    void ExpectMirrored() const { EXPECT_EQ(view.texts, Texts()); }
    std::string Error(const std::function<void()>& f) {
        try {
            f();
        } catch (const ScriptError& e) {
            return e.what();
        }
        return "(no error)";
    }

    FakeView view;
    ListItemStore store{view, "DropDown"};
};

using Strings = std::vector<std::string>;

TEST(ListText, LinesEndAtCrLfOrCrLfAndAFinalBreakAddsNothing) {
    EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (Strings{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n"), (Strings{"a"}));
    EXPECT_EQ(SplitLines("a\n\nb"), (Strings{"a", "", "b"}));
    EXPECT_EQ(SplitLines("\r\n"), (Strings{""}));
    EXPECT_EQ(SplitLines(""), Strings{});
    EXPECT_EQ(SplitLines("a\n\r"), (Strings{"a", ""})) << "LF then CR is two breaks";
    EXPECT_EQ(JoinLines({"a", "b", ""}), "a\r\nb\r\n");
    EXPECT_EQ(JoinLines({}), "");
}

TEST(ListText, RowRuleSplitsAtTheDelimiterWithLetterCase) {
    EXPECT_EQ(RowFields("1;Miller;Leeds", ";"), (Strings{"1", "Miller", "Leeds"}));
    EXPECT_EQ(RowFields("1;;x;", ";"), (Strings{"1", "", "x"})) << "a trailing delimiter adds no field";
    EXPECT_EQ(RowFields("aXXbxxc", "XX"), (Strings{"a", "bxxc"}));
    EXPECT_EQ(RowFields("a;b", ""), (Strings{"a;b"}));
    EXPECT_EQ(RowDisplayText("1;Miller;Leeds", ";", 1), "Miller");
    EXPECT_EQ(RowDisplayText("1;Miller;Leeds", ";", 5), "1;Miller;Leeds");
    EXPECT_EQ(RowDisplayText("1;Miller;Leeds", ";", -1), "1;Miller;Leeds");
    EXPECT_EQ(RowDisplayText("1;Miller", "", 0), "1;Miller");
}

TEST(ListText, DuplicatesAreDroppedIgnoringCaseKeepingTheFirst) {
    EXPECT_EQ(RemoveDuplicateLines({"Apple", "APPLE", "pear", "apple", "Pear"}), (Strings{"Apple", "pear"}));
    EXPECT_EQ(RemoveDuplicateLines({"\xC9t\xE9", "\xE9T\xC9"}), (Strings{"\xC9t\xE9"})) << "accented letters fold";
    EXPECT_EQ(ItemsModeOf("0"), ItemsMode::String);
    EXPECT_EQ(ItemsModeOf("1"), ItemsMode::Array);
    EXPECT_EQ(ItemsModeOf(" 1"), ItemsMode::Other);
    EXPECT_LT(CompareListTexts("apple", "Banana"), 0);
    EXPECT_EQ(CompareListTexts("APPLE", "apple"), 0);
}

TEST_F(Store, LoadsStringAndArrayModesSortedAndWithoutDuplicates) {
    Load("pear\r\nApple\r\napple\r\nfig", "0", true, true);
    EXPECT_EQ(Texts(), (Strings{"Apple", "fig", "pear"}));
    ExpectMirrored();
    Load("3;Cole;York\n1;Adams;Hull\n2;Baker", "1", false, false, "1", ";");
    EXPECT_EQ(Texts(), (Strings{"Cole", "Adams", "Baker"}));
    EXPECT_EQ(Rows(), (Strings{"3;Cole;York", "1;Adams;Hull", "2;Baker"}));
    ExpectMirrored();
    Load("a;b\nc", "1", false, false, "5", ";");
    EXPECT_EQ(Texts(), (Strings{"a;b", "c"}));
    EXPECT_EQ(Error([&] { Load("a;b", "1", false, false, "x", ";"); }), "'x' is not a valid integer value");
    Load("a\nb", "2");
    EXPECT_EQ(store.Count(), 0);
    store.Add(-1, "x");
    EXPECT_EQ(store.Count(), 0);
    EXPECT_EQ(store.Size(), std::nullopt);
    EXPECT_EQ(store.Find("a"), std::nullopt);
    EXPECT_EQ(store.Get(0, false), std::nullopt);
}

TEST_F(Store, AddAppendsInsertsKeepsSortOrderAndRefusesDuplicates) {
    Load("b\nd", "0", true, true);
    store.Add(-1, "c");
    store.Add(-1, "A");
    store.Add(-1, "B"); // duplicate of "b"
    EXPECT_EQ(Texts(), (Strings{"A", "b", "c", "d"}));
    store.Add(0, "z");
    EXPECT_EQ(Texts(), (Strings{"z", "A", "b", "c", "d"})) << "a position inserts there even when sorted";
    store.Add(5, "end");
    EXPECT_EQ(Texts().back(), "end");
    EXPECT_EQ(Error([&] { store.Add(7, "far"); }), "Unable to insert a line");
    EXPECT_EQ(store.Count(), 6);
    store.Add(-1, "two\r\nlines");
    EXPECT_EQ(store.Find("TWO\r\nLINES"), "7") << "String mode keeps line breaks inside one item";
    ExpectMirrored();
}

TEST_F(Store, ArrayAddSplitsLinesAndInsertsThemInReverseAtAPosition) {
    Load("1;a\n2;b", "1", false, true, "1", ";");
    store.Add(1, "3;c\r\n4;d");
    EXPECT_EQ(Texts(), (Strings{"a", "d", "c", "b"}));
    store.Add(-1, "");
    EXPECT_EQ(Rows().back(), "");
    store.Add(-1, "1;A");
    EXPECT_EQ(store.Count(), 5) << "a whole row equal in other case is a duplicate";
    store.Add(-1, "9;a");
    EXPECT_EQ(store.Count(), 6) << "only whole rows are compared";
    EXPECT_EQ(Error([&] { store.Add(9, "5;e\n6;f"); }), "Unable to insert a line");
    EXPECT_EQ(store.Count(), 6) << "nothing of a failed add stays";
    ExpectMirrored();
}

// Many lines in one add give exactly what adding them one call per line gives
// (reverse order at a position; sorted appends behind their equals, in line
// order), rows included, and the view ends up mirroring the store.
TEST(StoreBulk, ManyLinesInOneAddEqualOneAddPerLine) {
    const std::string start = "1;pear\n2;Apple\n3;fig\n4;apple";
    const Strings lines = {"5;kiwi", "6;APPLE", "7;banana", "8;apple", "9;zucchini", "10;", "11;Fig"};
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    for (bool sorted : {false, true}) {
        for (int position : {-1, 0, 2, 4}) {
            SCOPED_TRACE(std::to_string(position) + (sorted ? " sorted" : ""));
            FakeView bulkView, singleView;
            ListItemStore bulk{bulkView, "ListBox"}, single{singleView, "ListBox"};
            ListSettings settings;
            settings.itemsText = start;
            settings.itemsMode = "1";
            settings.displayColumn = "1";
            settings.delimiter = ";";
            settings.sorted = sorted;
            bulk.Load(settings);
            single.Load(settings);
            bulk.Add(position, text);
            for (const auto& line : lines) single.Add(position, line);
            ASSERT_EQ(bulk.Count(), single.Count());
            for (int i = 0; i < bulk.Count(); ++i) {
                EXPECT_EQ(bulk.Item(i).text, single.Item(i).text) << i;
                EXPECT_EQ(bulk.Item(i).customer.row, single.Item(i).customer.row) << i;
            }
            EXPECT_EQ(bulkView.texts, singleView.texts);
            EXPECT_EQ(bulkView.bulkInserts, 1) << "the view hears of all lines at once";
        }
    }
}

TEST_F(Store, ChangeDeleteAndTheirFailuresLeaveTheListAlone) {
    Load("one\ntwo\nthree", "0", false, true);
    view.selected[1] = true;
    store.Change(1, "TWO-b");
    EXPECT_EQ(Texts(), (Strings{"one", "TWO-b", "three"}));
    EXPECT_TRUE(view.selected[1]) << "a changed item keeps its selection";
    store.Change(0, "THREE");
    EXPECT_EQ(Texts()[0], "one") << "no duplicates: the change is refused";
    store.Change(0, "ONE");
    EXPECT_EQ(Texts()[0], "one") << "its own text in other case counts too";
    EXPECT_EQ(Error([&] { store.Change(3, "x"); }), "List index out of bounds (3)");
    EXPECT_EQ(Error([&] { store.Change(-1, "x"); }), "List index out of bounds (-1)");
    store.Delete(7);
    store.Delete(-4);
    EXPECT_EQ(store.Count(), 3) << "String mode ignores positions outside the list";
    store.Delete(0);
    EXPECT_EQ(Texts(), (Strings{"TWO-b", "three"}));
    store.Delete(-1);
    EXPECT_EQ(store.Count(), 0);
    ExpectMirrored();

    Load("1;a\n2;b", "1", false, false, "1", ";");
    EXPECT_EQ(Error([&] { store.Delete(2); }), "List index out of bounds (2)");
    store.Change(0, "7;x;y");
    EXPECT_EQ(store.Item(0).text, "x");
    EXPECT_EQ(store.Item(0).customer.row, "7;x;y");
    store.Change(1, "lonely");
    EXPECT_EQ(store.Item(1).text, "lonely") << "no such column: the whole text";
    EXPECT_EQ(store.Count(), 2);
    ExpectMirrored();
}

TEST_F(Store, FindAndGetReadDisplayedTextsOrWholeRows) {
    Load("1;Ann;Leeds\n2;Bob;York", "1", false, false, "1", ";");
    EXPECT_EQ(store.Find("bob"), "2");
    EXPECT_EQ(store.Find("2;Bob;York"), "0") << "find looks at displayed texts";
    EXPECT_EQ(store.Get(-1, false), "Ann\r\nBob");
    EXPECT_EQ(store.Get(-1, true), "1;Ann;Leeds\r\n2;Bob;York");
    EXPECT_EQ(store.Get(1, true), "2;Bob;York");
    EXPECT_EQ(store.Get(1, false), "Bob");
    EXPECT_EQ(store.Get(2, false), "");
    EXPECT_EQ(store.Get(-3, true), "");
    EXPECT_EQ(store.Size(), "2");
    Load("x\ny", "0");
    EXPECT_EQ(store.Get(1, true), "y") << "whole rows mean nothing in String mode";
    Load("", "0");
    EXPECT_EQ(store.Get(-1, false), "");
    EXPECT_EQ(store.Size(), "0");
}

TEST_F(Store, MoveCarriesRowsAndSelectionAndFailsWithoutLosingTheItem) {
    Load("0;a\n1;b\n2;c\n3;d", "1", false, false, "1", ";");
    view.selected[0] = true;
    store.Move(0, 2);
    EXPECT_EQ(Texts(), (Strings{"b", "c", "a", "d"}));
    EXPECT_EQ(Rows()[2], "0;a");
    EXPECT_TRUE(view.selected[2]);
    store.Move(3, 0);
    EXPECT_EQ(Texts(), (Strings{"d", "b", "c", "a"}));
    const int calls = view.calls;
    store.Move(1, 1);
    EXPECT_EQ(view.calls, calls) << "equal positions change nothing";
    EXPECT_EQ(Error([&] { store.Move(4, 0); }), "List index out of bounds (4)");
    EXPECT_EQ(Error([&] { store.Move(0, 4); }), "Unable to insert a line");
    EXPECT_EQ(Error([&] { store.Move(0, -1); }), "Unable to insert a line");
    EXPECT_EQ(Texts(), (Strings{"d", "b", "c", "a"}));
    ExpectMirrored();
}

TEST_F(Store, SortingCarriesRowsAndSelectionsAndLaterAppendsFollowTheFlag) {
    Load("3;pear\n1;Apple\n2;fig", "1", false, false, "1", ";");
    view.selected[0] = true;
    store.SetSorted(true);
    EXPECT_EQ(Texts(), (Strings{"Apple", "fig", "pear"}));
    EXPECT_EQ(Rows(), (Strings{"1;Apple", "2;fig", "3;pear"}));
    EXPECT_EQ(view.selected, (std::vector<bool>{false, false, true}));
    store.Add(-1, "4;banana");
    EXPECT_EQ(Texts()[1], "banana");
    store.SetSorted(false);
    store.Add(-1, "5;aaa");
    EXPECT_EQ(Texts().back(), "aaa");
    EXPECT_EQ(Texts()[0], "Apple") << "switching off keeps the order";
    ExpectMirrored();
}

TEST_F(Store, ExtendedSearchMatchesAndStepsThroughResults) {
    Load("red apple\ngreen\nApple pie\npineapple\n", "0");
    EXPECT_EQ(store.FindEx("0", "1", "", "APPLE"), "1");
    EXPECT_EQ(store.search.FindResults, (Strings{"1", "3", "4"}));
    EXPECT_EQ(store.search.Next(), "3");
    EXPECT_EQ(store.search.Next(), "4");
    EXPECT_EQ(store.search.Next(), "");
    EXPECT_EQ(store.search.Next(), std::nullopt);
    EXPECT_EQ(store.FindEx("0", "1", "", ""), "") << "partial search for nothing matches nothing";
    EXPECT_EQ(store.FindEx("0", "0", "", "GREEN"), "2");
    EXPECT_EQ(store.FindEx("0", "3", "", "green"), "");
    try {
        store.FindEx("1", "0", "", "green");
        ADD_FAILURE() << "array search on a String list must be refused";
    } catch (const ListNotice& notice) {
        EXPECT_STREQ(notice.what(), "Using array search on DropDown which is declared as string.");
    }
}

TEST_F(Store, ExtendedSearchOnRowsAndColumns) {
    Load("1;Ann;Leeds\n2;Bob;York\n3;;Hull\n4;ann;Ely", "1", false, false, "1", ";");
    EXPECT_EQ(store.FindEx("1", "2", "1", "ANN"), "1");
    EXPECT_EQ(store.search.FindResults, (Strings{"1", "4"}));
    EXPECT_EQ(store.FindEx("1", "2", "1", "York"), "") << "only column 1 is looked at";
    EXPECT_EQ(store.FindEx("1", "2", "1", ""), "3") << "an empty field equals the empty text";
    EXPECT_EQ(store.FindEx("1", "2", "-1", "Ann"), "");
    EXPECT_EQ(store.FindEx("1", "0", "", "2;BOB;york"), "2");
    EXPECT_EQ(store.FindEx("1", "1", "", "ork"), "2");
    EXPECT_EQ(store.FindEx("0", "2", "1", "Ann"), "") << "column search needs rows";
    ASSERT_EQ(store.FindEx("1", "2", "1", "ANN"), "1");
    EXPECT_EQ(Error([&] { store.FindEx("1", "2", "one", "Ann"); }), "'one' is not a valid integer value");
    EXPECT_TRUE(store.search.FindResults.empty()) << "a failed search leaves no earlier matches to step through";
    EXPECT_EQ(store.search.Next(), std::nullopt);
    Load("", "1", false, false, "0", ";");
    EXPECT_EQ(store.FindEx("1", "2", "one", "Ann"), "") << "the column is read with the first row";
}

TEST_F(Store, SelectionByLinesUsesLoweredSortedLookups) {
    Load("1;Ann\n2;bob\n3;Cid\n4;BOB", "1", false, false, "1", ";");
    EXPECT_EQ(FindItemsByLines(store.Items(), {"BOB", "zed", "ann"}, false, false), (std::vector<int>{0, 1, 3}));
    EXPECT_EQ(FindItemsByLines(store.Items(), {"BOB", "ann"}, false, true), (std::vector<int>{0}));
    EXPECT_EQ(FindItemsByLines(store.Items(), {"3;cid"}, true, false), (std::vector<int>{2}));
    EXPECT_EQ(FindItemsByLines(store.Items(), {}, false, false), std::vector<int>{});
}

TEST_F(Store, DropDownValuesFollowModeAndResultMode) {
    Load("a\nb\nc", "0");
    EXPECT_EQ(DropDownValue(store, "0", {2, "c", false}), "3");
    EXPECT_EQ(DropDownValue(store, "0", {-1, "typed", false}), "0");
    EXPECT_EQ(DropDownValue(store, "1", {0, "typed", false}), "typed");
    Load("1;Ann;Leeds\n2;Bob;York", "1", false, false, "1", ";");
    EXPECT_EQ(DropDownValue(store, "1", {1, "Bob", false}), "2;Bob;York");
    EXPECT_EQ(DropDownValue(store, "1", {-1, "ann", false}), "1;Ann;Leeds") << "editable: the text finds the item";
    EXPECT_EQ(DropDownValue(store, "0", {1, "ANN", false}), "1") << "the selection must show the edit text exactly";
    EXPECT_EQ(DropDownValue(store, "1", {-1, "nobody", false}), "");
    EXPECT_EQ(DropDownValue(store, "0", {1, "whatever", true}), "2") << "list-only: the selection counts";
    Load("a", "7");
    EXPECT_EQ(DropDownValue(store, "1", {0, "a", false}), std::nullopt);
}

TEST_F(Store, ListBoxValuesJoinSelectedItems) {
    Load("1;Ann\n2;Bob\n3;Cid\n4;Dan", "1", false, false, "1", ";");
    EXPECT_EQ(ListBoxValue(store, "0", {1, 3}, true), "2\r\n4");
    EXPECT_EQ(ListBoxValue(store, "1", {1, 3}, true), "2;Bob\r\n4;Dan");
    EXPECT_EQ(ListBoxValue(store, "1", {1, 3}, false), "2;Bob");
    EXPECT_EQ(ListBoxValue(store, "0", {}, false), "");
    EXPECT_EQ(ListBoxValue(store, "2", {1}, false), "");
    Load("x\ny", "0");
    EXPECT_EQ(ListBoxValue(store, "1", {0, 1}, true), "x\r\ny");
    std::string previous;
    EXPECT_FALSE(TakeChange("", previous));
    EXPECT_TRUE(TakeChange("x", previous));
    EXPECT_EQ(previous, "x");
    EXPECT_FALSE(TakeChange("x", previous));
    EXPECT_TRUE(TakeChange("X", previous));
}

} // namespace
} // namespace qor

namespace qor {
namespace {

// The display text agrees with the general row rule for rows with and
// without line breaks, delimiters at the ends, empty fields and long delimiters.
TEST(ListText, DisplayTextAgreesWithTheRowRuleEverywhere) {
    const char* rows[] = {"", ";", ";;", "a", "a;", ";a", "a;;b", "a;b;", "a;b;;", "ab;cd;ef", "a\r\nb;c", "a;b\nc;d",
                          "x;;", "::a::b::", "a::::b"};
    const char* delimiters[] = {";", "::", "", "\n"};
    for (const char* row : rows)
        for (const char* delimiter : delimiters)
            for (int column = -1; column < 6; ++column) {
                const std::vector<std::string> fields = RowFields(row, delimiter);
                const std::string expected =
                    column >= 0 && static_cast<size_t>(column) < fields.size() ? fields[column] : std::string(row);
                EXPECT_EQ(RowDisplayText(row, delimiter, column), expected)
                    << "row '" << row << "' delimiter '" << delimiter << "' column " << column;
            }
}

} // namespace
} // namespace qor
