// The dialog actions' texts: options lists, file dialog parameters and
// results, the folder dialog's title, and custom colour lists both ways;
// the FileDragDrop's three lists.
#include "dialogs/DialogValues.h"
#include "filedrop/DroppedItems.h"

#include <gtest/gtest.h>

#include "core/ScriptError.h"

namespace qor {
namespace {

using Bools = std::vector<bool>;

TEST(DialogOptionList, PositionsSelectOptionsAndUnreadableItemsCountAsFalse) {
    const struct {
        const char* list;
        Bools expected;
    } cases[] = {
        {"", {false, false, false}},
        {"True", {true, false, false}},
        {"False,True", {false, true, false}},
        {"true,1,-2", {true, true, true}},
        {"True,yes,TRUE", {true, false, true}},
        {"0,,True", {false, false, true}},
        {" True , False ,\tTrue", {true, false, true}},
        {"True,True,True,True,True", {true, true, true}}, // extra items are ignored
        {",", {false, false, false}},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadOptionList(c.list, 3), c.expected) << c.list;
    EXPECT_EQ(ReadOptionList("True,False,False,False,True,False,False,False", 8),
              (Bools{true, false, false, false, true, false, false, false}));
    EXPECT_TRUE(ReadOptionList("True", 0).empty());
    EXPECT_TRUE(FlagOrFalse("TRUE"));
    EXPECT_FALSE(FlagOrFalse("on"));
    EXPECT_FALSE(FlagOrFalse(""));
}

TEST(FileDialogTexts, ExtensionFolderAndFilter) {
    EXPECT_EQ(DefaultExtensionOf(".txt"), "txt");
    EXPECT_EQ(DefaultExtensionOf("txt"), "txt");
    EXPECT_EQ(DefaultExtensionOf("..txt"), ".txt");
    EXPECT_EQ(DefaultExtensionOf(""), "");
    EXPECT_EQ(InitialFolderOf("C:\\Data\\"), "C:\\Data");
    EXPECT_EQ(InitialFolderOf("C:\\Data"), "C:\\Data");
    EXPECT_EQ(InitialFolderOf("C:\\"), "C:\\");
    EXPECT_EQ(InitialFolderOf("\\\\server\\share\\"), "\\\\server\\share");
    EXPECT_EQ(InitialFolderOf("\\"), "");
    EXPECT_EQ(InitialFolderOf(""), "");
    // Beyond the path limit a folder is left out, as one that does not exist.
    const std::string longest(kPathLimit - 1, 'd');
    EXPECT_EQ(InitialFolderOf(longest), longest);
    EXPECT_EQ(InitialFolderOf(longest + "d"), "");
    EXPECT_EQ(InitialFolderOf(longest + "\\"), longest);
    EXPECT_EQ(InitialFolderOf(std::string(1 << 20, 'd') + "\\"), "");
    EXPECT_EQ(StartFolderOf(longest), longest);
    EXPECT_EQ(StartFolderOf(longest + "\\"), "");
    EXPECT_EQ(FilterBlockOf("Text files|*.txt|Any File|*.*"),
              std::string("Text files\0*.txt\0Any File\0*.*\0\0", 31));
    EXPECT_EQ(FilterBlockOf("Pictures|*.png;*.jpg"), std::string("Pictures\0*.png;*.jpg\0\0", 22));
    EXPECT_EQ(FilterBlockOf(""), "");
}

TEST(FileDialogTexts, ChosenFilesJoinedBySemicolons) {
    // The dialog's file offset: behind the folder's zero for a multiple
    // selection, within the path for a single file.
    const std::string multi("C:\\Data\0a.txt\0b c.txt\0\0", 23);
    EXPECT_EQ(ChosenFilesOf(multi.data(), multi.size(), true, true, 8), "C:\\Data\\a.txt;C:\\Data\\b c.txt");
    const std::string root("C:\\\0a.txt\0b.txt\0\0", 17);
    EXPECT_EQ(ChosenFilesOf(root.data(), root.size(), true, true, 4), "C:\\a.txt;C:\\b.txt");
    const std::string single("C:\\Data\\one file.txt\0\0", 22);
    for (bool multiSelect : {true, false})
        for (bool explorer : {true, false})
            EXPECT_EQ(ChosenFilesOf(single.data(), single.size(), multiSelect, explorer, 8), "C:\\Data\\one file.txt");
    // A single file chosen over a longer initial name: what follows its zero
    // is left over, not a second file.
    const std::string leftover("C:\\D\\a.txt\0nitial name.txt\0\0", 28);
    EXPECT_EQ(ChosenFilesOf(leftover.data(), leftover.size(), true, true, 5), "C:\\D\\a.txt");
    const std::string old("C:\\DATA A.TXT B.TXT\0", 20);
    EXPECT_EQ(ChosenFilesOf(old.data(), old.size(), true, false, 8), "C:\\DATA\\A.TXT;C:\\DATA\\B.TXT");
    // No terminator inside the buffer: the end of the buffer ends the text.
    const std::string unterminated = "C:\\x.txt";
    EXPECT_EQ(ChosenFilesOf(unterminated.data(), unterminated.size(), true, true, 3), "C:\\x.txt");
    EXPECT_EQ(ChosenFilesOf("", 1, true, true, 0), "");
    // Thousands of names.
    std::string many("C:\\D", 4);
    many.push_back('\0');
    std::string expected;
    for (int i = 0; i < 5000; ++i) {
        const std::string name = "f" + std::to_string(i);
        many += name;
        many.push_back('\0');
        expected += (i ? ";C:\\D\\" : "C:\\D\\") + name;
    }
    many.push_back('\0');
    EXPECT_EQ(ChosenFilesOf(many.data(), many.size(), true, true, 5), expected);
}

TEST(FolderDialogTexts, StatusTextGoesOnASecondLine) {
    EXPECT_EQ(FolderDialogTitle("Pick", ""), "Pick");
    EXPECT_EQ(FolderDialogTitle("Pick", "Where?"), "Pick\r\nWhere?");
    EXPECT_EQ(FolderDialogTitle("", "Where?"), "\r\nWhere?");
}

CustomColors Filled(int32_t value) {
    CustomColors colors;
    colors.fill(value);
    return colors;
}

TEST(CustomColorList, ReadingSlotsByNameAsHexadecimal) {
    EXPECT_EQ(ReadCustomColors(""), Filled(-1));
    CustomColors expected = Filled(-1);
    expected[0] = 0xFFFFFF;
    expected[1] = 0x0000FF;
    expected[15] = -1;
    expected[2] = 0x123456;
    EXPECT_EQ(ReadCustomColors("ColorA=ffffff\r\nColorB=0000FF\ncolorc=123456\rColorP=ffffffff"), expected);
    // Other lines, later lines of a slot already read, and empty values leave slots alone.
    expected = Filled(-1);
    expected[3] = 0x10;
    EXPECT_EQ(ReadCustomColors("Title=x\r\nColorD=10\r\nColorD=20\r\nColorE=\r\nColorQ=5\r\nColorF"), expected);
    // Non-hexadecimal values fail with the text after "=" exactly as given.
    const struct {
        const char* list;
        const char* message;
    } failures[] = {
        {"ColorA=red", "'red' is not a valid integer value"},
        {"ColorB=$ff", "'$ff' is not a valid integer value"},
        {"ColorC= ff", "' ff' is not a valid integer value"},
        {"ColorD=-1", "'-1' is not a valid integer value"},
        {"ColorE=123456789", "'123456789' is not a valid integer value"},
    };
    for (const auto& f : failures) {
        try {
            ReadCustomColors(f.list);
            ADD_FAILURE() << f.list;
        } catch (const ScriptError& e) {
            EXPECT_STREQ(e.what(), f.message);
        }
        // Read for a chooser, the bad line leaves only its own slot unused.
        const std::string around = std::string("ColorA=1\r\n") + f.list + "\r\nColorP=2";
        CustomColors lenient = Filled(-1);
        lenient[0] = 1;
        lenient[15] = 2;
        EXPECT_EQ(ReadCustomColorsLeniently(around), lenient) << f.list;
    }
    EXPECT_EQ(ReadCustomColorsLeniently("ColorA=ffffff\r\nColorB=0000FF"), ReadCustomColors("ColorA=ffffff\r\nColorB=0000FF"));
}

TEST(CustomColorList, WritingKeepsLinesInPlaceAndAppendsMissingSlots) {
    EXPECT_EQ(CustomColorText(0xFFFFFF), "ffffff");
    EXPECT_EQ(CustomColorText(0xFF), "0000ff");
    EXPECT_EQ(CustomColorText(0), "000000");
    EXPECT_EQ(CustomColorText(-1), "ffffffff");
    EXPECT_EQ(CustomColorText(0x1234567), "1234567");

    CustomColors colors = Filled(-1);
    colors[0] = 0xFF;
    std::string all;
    for (char slot = 'A'; slot <= 'P'; ++slot)
        all += std::string(slot == 'A' ? "" : "\r\n") + "Color" + slot + "=" + (slot == 'A' ? "0000ff" : "ffffffff");
    EXPECT_EQ(WriteCustomColors("", colors), all);

    colors = Filled(0x10);
    colors[2] = 0xABCDEF;
    const std::string written = WriteCustomColors("Note=kept\r\ncolorc=1\nColorA=2", colors);
    std::string expected = "Note=kept\r\nColorC=abcdef\r\nColorA=000010";
    for (char slot = 'B'; slot <= 'P'; ++slot)
        if (slot != 'C') expected += std::string("\r\nColor") + slot + "=000010";
    EXPECT_EQ(written, expected);
    // What is written reads back to the same slots.
    EXPECT_EQ(ReadCustomColors(written), colors);
}

TEST(DroppedItemLists, SortedInDropOrderJoinedByLineBreaks) {
    DroppedLists lists;
    lists.Add("C:\\a.txt", DroppedKind::File);
    lists.Add("C:\\Folder", DroppedKind::Folder);
    lists.Add("C:\\gone", DroppedKind::Other);
    lists.Add("C:\\b.txt", DroppedKind::File);
    EXPECT_EQ(lists.files, "C:\\a.txt\r\nC:\\b.txt");
    EXPECT_EQ(lists.folders, "C:\\Folder");
    EXPECT_EQ(lists.items, "C:\\a.txt\r\nC:\\Folder\r\nC:\\gone\r\nC:\\b.txt");
    DroppedLists folders;
    folders.Add("D:\\x", DroppedKind::Folder);
    folders.Add("", DroppedKind::Folder);
    EXPECT_EQ(folders.files, "");
    EXPECT_EQ(folders.folders, "D:\\x\r\n");
}

} // namespace
} // namespace qor
