// Spell checking in the SmartEdit as the user sees it: the zigzag's red pixels
// on the screen under exactly the misspelt words, the right-click menu driven
// through the real menu loop, dictionaries chosen by path and their code
// pages, the files laid down in the temporary folder and the custom word list,
// and dictionaries that are missing or damaged.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "HostEmulator.h"
#include "ListTestSupport.h"
#include "PixelCapture.h"
#include "core/WideResults.h"
#include "smartedit/SpellText.h"

using qorhost::HostEmulator;
using Strings = std::vector<std::string>;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
const char kOptionsOff[] = "False,False,False,False";

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string program(path);
    return program.substr(0, program.find_last_of('\\'));
}

// A horizontal span of red on one text line, in client coordinates.
struct Span {
    int line;
    int left;
    int right;
};

// The menu being tracked: its entries, separators as "-".
Strings TrackedMenuEntries() {
    Strings entries;
    HWND window = FindWindowA("#32768", nullptr);
    HMENU menu = window ? reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0)) : nullptr;
    if (!menu) return {"<no menu>"};
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        GetMenuItemInfoA(menu, i, TRUE, &info);
        char text[256] = {};
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        entries.push_back(info.fType & MFT_SEPARATOR ? "-" : text);
    }
    return entries;
}

// What to do once the menu is up: runs from a timer inside the menu's loop,
// which looks again a moment later while no menu is showing yet.
std::function<void()> g_whileMenuIsUp;
bool g_menuHandled = false;

void CALLBACK RunWhileMenuIsUp(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    HWND menu = FindWindowA("#32768", nullptr);
    if (!menu || !IsWindowVisible(menu)) {
        if (g_whileMenuIsUp) SetTimer(nullptr, 0, 50, RunWhileMenuIsUp);
        return;
    }
    if (g_whileMenuIsUp) g_whileMenuIsUp();
    g_whileMenuIsUp = nullptr;
    g_menuHandled = true;
}

class SpellChecker : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "qorspell" + std::to_string(GetCurrentProcessId()) + "_" +
                 std::to_string(++counter);
        CreateDirectoryA(folder.c_str(), nullptr);
        GetEnvironmentVariableA("TEMP", savedTemp, sizeof savedTemp);
        SetEnvironmentVariableA("TEMP", folder.c_str());
        customDic = ProgramFolder() + "\\custom.dic";
        DeleteFileA(customDic.c_str());
        ASSERT_TRUE(host.Load());
        host.AddRectangle("Rect1", 10, 10, 460, 200);
        host.Activate();
    }
    void TearDown() override {
        host.Unload();
        SetEnvironmentVariableA("TEMP", savedTemp);
        DeleteFileA(customDic.c_str());
        for (const char* name : {"en0_US1.aff", "en0_US1.dic", "xx_XX.aff", "xx_XX.dic", "bad.aff", "bad.dic",
                                 "half.dic", "ll_LL.aff", "ll_LL.dic"})
            DeleteFileA((folder + "\\" + name).c_str());
        RemoveDirectoryA(folder.c_str());
    }

    bool Create(const std::string& text) {
        if (!host.Exec("qorCreateSmartEdit", {"Rect1", "[Text]"})) return false;
        // A known font and no wrapping: positions follow from the text alone.
        if (!host.Exec("qorSmartEditSetProperties", {"Rect1", "", "False", "", "", "'Arial', 12, (), (clBlack)",
                                                      "clNone", "2", ""})) {
            ADD_FAILURE() << host.LastError();
            return false;
        }
        return host.Exec("qorSmartEditSetText", {"Rect1", text, "0"});
    }
    bool Activate(const std::string& dictionary = "", const std::string& options = kOptionsOff) {
        return host.Exec("qorSmartEditActiveSpellChecker", {"Rect1", dictionary, options});
    }
    HWND Edit() { return qortest::EditOf(host.ControlWindow("Rect1")); }
    std::string EditText() { return qortest::WindowText(Edit()); }

    // The editor's client area as a paint of all of it leaves it on the screen.
    std::vector<COLORREF> Screen(int& width, int& height) {
        RedrawWindow(Edit(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        host.Pump(30);
        return Capture(width, height);
    }
    // The editor's client area as it is on the screen now.
    std::vector<COLORREF> Capture(int& width, int& height) { return qortest::ClientPixels(Edit(), width, height); }

    // Where the words of `expected` (line, word) lie in the editor, from the
    // edit's own character positions.
    // The first occurrence at or after `from` (0: the line's start).
    Span SpanOf(int line, const std::string& word, size_t& from) {
        HWND edit = Edit();
        const size_t lineStart = static_cast<size_t>(SendMessageA(edit, EM_LINEINDEX, line, 0));
        const std::string text = qortest::WindowText(edit);
        const size_t at = text.find(word, std::max(from, lineStart));
        from = at + word.size();
        const LRESULT a = SendMessageA(edit, EM_POSFROMCHAR, at, 0);
        // The end of the text has no position of its own: measure the word.
        HDC dc = GetDC(edit);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0)));
        SIZE size{};
        GetTextExtentPoint32A(dc, word.c_str(), static_cast<int>(word.size()), &size);
        SelectObject(dc, old);
        ReleaseDC(edit, dc);
        const int left = static_cast<short>(LOWORD(a));
        return {line, left, left + size.cx};
    }

    // Checks that red lies under each of `words` (line, word) and nowhere else.
    void ExpectZigzagsUnder(const std::vector<std::pair<int, std::string>>& words, int caller = __builtin_LINE()) {
        SCOPED_TRACE("checked from line " + std::to_string(caller));
        std::vector<Span> spans;
        size_t from = 0;
        for (const auto& [line, word] : words) spans.push_back(SpanOf(line, word, from));
        int width = 0, height = 0;
        const std::vector<COLORREF> pixels = Screen(width, height);
        const int lineHeight = LineHeight();
        std::vector<int> redColumns(spans.size(), 0);
        int stray = 0;
        std::string strayAt;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (pixels[static_cast<size_t>(y) * width + x] != kRed) continue;
                bool inside = false;
                for (size_t i = 0; i < spans.size(); ++i) {
                    const Span& s = spans[i];
                    // The zigzag lies in the lower part of its own line.
                    const int top = 1 + s.line * lineHeight + lineHeight / 2;
                    const int bottom = 1 + (s.line + 1) * lineHeight + 2;
                    if (x >= s.left && x <= s.right && y >= top && y <= bottom) {
                        inside = true;
                        ++redColumns[i];
                    }
                }
                if (!inside && ++stray <= 3) strayAt += " (" + std::to_string(x) + "," + std::to_string(y) + ")";
            }
        }
        EXPECT_EQ(stray, 0) << "red outside the misspelt words at" << strayAt << " in \"" << EditText() << "\"";
        for (size_t i = 0; i < spans.size(); ++i)
            EXPECT_GE(redColumns[i], (spans[i].right - spans[i].left) / 2)
                << "no zigzag under \"" << words[i].second << "\" on line " << words[i].first;
    }

    // The height of a line of the editor's font.
    int LineHeight() {
        HWND edit = Edit();
        HDC dc = GetDC(edit);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0)));
        TEXTMETRICA tm{};
        GetTextMetricsA(dc, &tm);
        SelectObject(dc, old);
        ReleaseDC(edit, dc);
        return static_cast<int>(tm.tmHeight);
    }

    // What is on the screen now against what a paint of everything shows:
    // the number of pixels that differ, and where the first few are.
    std::string DifferenceFromAFullPaint() {
        int width = 0, height = 0;
        const std::vector<COLORREF> now = Capture(width, height);
        const std::vector<COLORREF> full = Screen(width, height);
        int differ = 0;
        std::string at;
        for (size_t i = 0; i < now.size() && i < full.size(); ++i)
            if (now[i] != full[i] && ++differ <= 3)
                at += " (" + std::to_string(i % width) + "," + std::to_string(i / width) + ")";
        return differ == 0 ? std::string() : std::to_string(differ) + " pixels differ, at" + at;
    }

    // Asks the editor for its context menu; while the menu is up, records its
    // entries, then picks the entry `choose` key presses down (separators are
    // skipped), or closes the menu for 0.
    Strings RightClickMenu(int choose) {
        Strings seen;
        g_menuHandled = false;
        g_whileMenuIsUp = [&] {
            seen = TrackedMenuEntries();
            HWND menu = FindWindowA("#32768", nullptr);
            if (choose == 0) {
                EndMenu();
                return;
            }
            for (int i = 0; i < choose; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
        };
        SetTimer(nullptr, 0, 50, RunWhileMenuIsUp);
        EXPECT_TRUE(host.Activate());
        // The request a right-button release makes, without the detour of
        // mouse input through the X server.
        POINT at{300, 150};
        ClientToScreen(Edit(), &at);
        PostMessageA(Edit(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Edit()), MAKELPARAM(at.x, at.y));
        EXPECT_TRUE(WaitFor([] { return g_menuHandled; })) << "no menu opened";
        g_whileMenuIsUp = nullptr;
        host.Pump(50);
        return seen;
    }
    // Pumps messages until the condition holds (input travels through the X
    // server and may take a while on a busy machine); false after 5 seconds.
    bool WaitFor(const std::function<bool()>& condition) {
        for (int waited = 0; waited < 5000; waited += 20) {
            if (condition()) return true;
            host.Pump(20);
        }
        return condition();
    }
    void CaretAt(int column, int line) {
        ASSERT_TRUE(host.Exec("qorSmartEditSetCaretPos", {"Rect1", std::to_string(column), std::to_string(line)}));
    }

    HostEmulator host;
    std::string folder;
    std::string customDic;
    char savedTemp[MAX_PATH] = {};
    static int counter;
};

int SpellChecker::counter = 0;

// ---- Activation and files ----------------------------------------------------

TEST_F(SpellChecker, ActivationLaysDownTheDefaultDictionaryOnceAndChecksOptions) {
    EXPECT_FALSE(Activate());
    EXPECT_EQ(host.LastError(), "There is no smartedit control attached to an object named Rect1.");
    const std::string dic = ReadAll(folder + "\\en0_US1.dic");
    const std::string aff = ReadAll(folder + "\\en0_US1.aff");
    EXPECT_EQ(dic, ReadAll("Z:\\usr\\share\\hunspell\\en_US.dic")) << "written even without a SmartEdit";
    EXPECT_EQ(aff, ReadAll("Z:\\usr\\share\\hunspell\\en_US.aff"));
    EXPECT_NE(aff.find("SET UTF-8"), std::string::npos);
    const DWORD missing = GetFileAttributesA((folder + "\\libhunspell.dll").c_str());
    EXPECT_EQ(missing, INVALID_FILE_ATTRIBUTES) << "no engine library is written anywhere";

    // Present files of the embedded size are left as they are.
    std::string edited = aff;
    edited.replace(edited.find("TRY "), 4, "TRY#");
    WriteAll(folder + "\\en0_US1.aff", edited);
    ASSERT_TRUE(Create("Hello wrold"));
    ASSERT_TRUE(Activate());
    EXPECT_EQ(ReadAll(folder + "\\en0_US1.aff"), edited);
    EXPECT_EQ(ReadAll(folder + "\\en0_US1.dic"), dic);

    host.SetVar("[qorBrindavelLastError]", "");
    EXPECT_FALSE(Activate("", "True,Maybe,False,False"));
    EXPECT_EQ(host.LastError(), "'Maybe' is not a valid boolean value");
    EXPECT_FALSE(Activate("", "True"));
    EXPECT_EQ(host.LastError(), "'' is not a valid boolean value");
}

TEST_F(SpellChecker, ATemporaryFolderThatCannotBeWrittenIsReported) {
    SetEnvironmentVariableA("TEMP", (folder + "\\no\\such\\folder").c_str());
    ASSERT_TRUE(Create("Hello"));
    EXPECT_FALSE(Activate());
    const std::string expected = "Cannot create file \"" + folder + "\\no\\such\\folder\\en0_US1.dic\". ";
    EXPECT_EQ(host.LastError().substr(0, expected.size()), expected);
    EXPECT_GT(host.LastError().size(), expected.size()) << "the system's reason follows";
}

// ---- Underlining -------------------------------------------------------------

TEST_F(SpellChecker, TheZigzagLiesUnderExactlyTheMisspeltWords) {
    ASSERT_TRUE(Create("Ths line has a wrold in it.\r\n'qoted' and 'fine' and x\r\nQWRTY abc123 dictionary"));
    int width = 0, height = 0;
    std::vector<COLORREF> before = Screen(width, height);
    EXPECT_EQ(std::count(before.begin(), before.end(), kRed), 0) << "no checking before activation";

    ASSERT_TRUE(Activate("", kOptionsOff));
    ExpectZigzagsUnder({{0, "Ths"}, {0, "wrold"}, {1, "qoted"}, {2, "QWRTY"}, {2, "abc123"}});

    // Ignoring capitals and digits (a new activation, new verdicts).
    ASSERT_TRUE(Activate("", "False,True,True,False"));
    ExpectZigzagsUnder({{0, "Ths"}, {0, "wrold"}, {1, "qoted"}});

    // Typing a misspelt word underlines it; mending it takes the line away.
    ASSERT_TRUE(host.Exec("qorSmartEditSetCaretPos", {"Rect1", "2", "1"}));
    ASSERT_TRUE(host.Activate());
    ASSERT_TRUE(host.Exec("qorSmartEditFocus", {"Rect1"}));
    host.TypeText("l");
    ASSERT_TRUE(WaitFor([&] { return EditText().substr(0, 5) == "Thls "; })) << EditText();
    ExpectZigzagsUnder({{0, "Thls"}, {0, "wrold"}, {1, "qoted"}});
    host.KeyPress(VK_BACK);
    host.TypeText("i");
    ASSERT_TRUE(WaitFor([&] { return EditText().substr(0, 5) == "This "; })) << EditText();
    ExpectZigzagsUnder({{0, "wrold"}, {1, "qoted"}});

    // Scrolled: only what is visible, at its new place.
    std::string many;
    for (int i = 0; i < 40; ++i) many += "line " + std::to_string(i) + (i == 25 ? " mispelt" : " fine") + "\r\n";
    ASSERT_TRUE(host.Exec("qorSmartEditSetText", {"Rect1", many, "0"}));
    ASSERT_TRUE(host.Exec("qorSmartEditScroll", {"Rect1", "0", "20"}));
    ExpectZigzagsUnder({{5, "mispelt"}});
}

// A paint of part of the editor (what the edit asks for when a character is
// typed or a window uncovers it) shows what a paint of all of it shows.
TEST_F(SpellChecker, APartialPaintShowsWhatAFullPaintShows) {
    std::string text;
    for (int i = 0; i < 20; ++i) text += "line wrold " + std::to_string(i) + " Ths fine\r\n";
    ASSERT_TRUE(Create(text));
    ASSERT_TRUE(Activate("", kOptionsOff));
    int width = 0, height = 0;
    Screen(width, height);
    const int h = LineHeight();
    struct Band {
        const char* what;
        RECT rect;
    };
    const Band bands[] = {
        {"halves of lines", {30, 2 * h + h / 2, 200, 4 * h + h / 2}},
        {"the rows of one line's underline", {0, 3 * h - 4, width, 3 * h + 2}},
        {"the row below a line", {0, 3 * h + 1, width, 3 * h + 2}},
        {"a column through every line", {60, 0, 64, height}},
        {"the bottom edge", {0, height - 3, width, height}},
    };
    for (const Band& band : bands) {
        InvalidateRect(Edit(), &band.rect, TRUE);
        UpdateWindow(Edit());
        host.Pump(30);
        EXPECT_EQ(DifferenceFromAFullPaint(), "") << band.what;
    }
    // Scrolling moves what is shown and paints only the lines it uncovers.
    ASSERT_TRUE(host.Exec("qorSmartEditScroll", {"Rect1", "0", "3"}));
    ASSERT_EQ(SendMessageA(Edit(), EM_GETFIRSTVISIBLELINE, 0, 0), 3);
    UpdateWindow(Edit());
    host.Pump(30);
    EXPECT_EQ(DifferenceFromAFullPaint(), "") << "after scrolling";

    // Typing: the edit updates the typed line only.
    CaretAt(20, 2);
    ASSERT_TRUE(host.Activate());
    ASSERT_TRUE(host.Exec("qorSmartEditFocus", {"Rect1"}));
    host.TypeText("q");
    ASSERT_TRUE(WaitFor([&] { return EditText().find("finqe") != std::string::npos; })) << EditText();
    host.Pump(30);
    HideCaret(Edit()); // a blinking caret is no part of the comparison
    EXPECT_EQ(DifferenceFromAFullPaint(), "") << "after typing";
    ShowCaret(Edit());
}

TEST_F(SpellChecker, ADisabledOrUncheckedEditorDrawsNoRed) {
    ASSERT_TRUE(Create("wrold wrold"));
    WriteAll(folder + "\\half.dic", "2\nwrold\nhello\n");
    ASSERT_TRUE(Activate(folder + "\\half.dic")) << "a missing .aff is not an error";
    int width = 0, height = 0;
    std::vector<COLORREF> pixels = Screen(width, height);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), kRed), 0);

    ASSERT_TRUE(Activate(folder + "\\nowhere.dic"));
    pixels = Screen(width, height);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), kRed), 0);

    // A damaged dictionary: no checking, and the editor keeps working.
    WriteAll(folder + "\\bad.aff", std::string("\x01\x02SET \xFF\xFF\nPFX", 14));
    WriteAll(folder + "\\bad.dic", std::string("\xFF\xFE garbage \x00\x01\n", 14));
    ASSERT_TRUE(Activate(folder + "\\bad.dic", "True,True,True,True"));
    pixels = Screen(width, height);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), kRed), 0);
    EXPECT_TRUE(RightClickMenu(0).size() > 1) << "the edit's standard menu";
    ASSERT_TRUE(host.Exec("qorSmartEditFocus", {"Rect1"}));
    host.KeyPress(VK_END, false, true);
    host.TypeText("!");
    EXPECT_TRUE(WaitFor([&] { return host.Var("[Text]") == "wrold wrold!"; })) << host.Var("[Text]");
}

TEST_F(SpellChecker, DictionariesByPathAndTheirCodePages) {
    ASSERT_EQ(GetACP(), 1252u) << "the accented texts below are Windows-1252";
    struct Dictionary {
        const char* name;
        std::string aff, dic;
    } dictionaries[] = {
        {"xx_XX", "SET UTF-8\nTRY ea\n", "3\nzorblat\ncaf\xC3\xA9\nna\xC3\xAFve\n"},
        {"ll_LL", "SET ISO8859-1\nTRY ea\n", "3\nzorblat\ncaf\xE9\nna\xEFve\n"},
    };
    ASSERT_TRUE(Create("zorblat caf\xE9 hello cafe na\xEFve"));
    for (const Dictionary& d : dictionaries) {
        SCOPED_TRACE(d.name);
        WriteAll(folder + "\\" + d.name + ".aff", d.aff);
        WriteAll(folder + "\\" + d.name + ".dic", d.dic);
        ASSERT_TRUE(Activate(folder + "\\" + d.name + ".dic"));
        ExpectZigzagsUnder({{0, "hello"}, {0, "cafe"}});
        // The suggestion comes back in the system's code page.
        CaretAt(21, 1);
        const Strings menu = RightClickMenu(1);
        ASSERT_FALSE(menu.empty());
        EXPECT_EQ(menu.front(), "caf\xE9");
        EXPECT_EQ(EditText(), "zorblat caf\xE9 hello caf\xE9 na\xEFve");
        ASSERT_TRUE(host.Exec("qorSmartEditSetText", {"Rect1", "zorblat caf\xE9 hello cafe na\xEFve", "0"}));
    }
}

// ---- The right-click menu ---------------------------------------------------------

TEST_F(SpellChecker, ChoosingASuggestionReplacesTheWordAndKeepsTheCaret) {
    ASSERT_TRUE(Create("This is a wrold of words"));
    ASSERT_TRUE(Activate("", kOptionsOff));
    CaretAt(12, 1);
    const Strings menu = RightClickMenu(1);
    ASSERT_FALSE(menu.empty());
    EXPECT_EQ(menu.front(), "world");
    EXPECT_EQ(std::count(menu.begin(), menu.end(), "-"), 0) << "no Add/Ignore menu asked for";
    EXPECT_EQ(EditText(), "This is a world of words");
    EXPECT_EQ(host.Var("[Text]"), "This is a world of words");
    DWORD start = 0, end = 0;
    SendMessageA(Edit(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 12u);
    EXPECT_EQ(end, 12u);
    ExpectZigzagsUnder({});

    // In a correct word the edit's own menu opens.
    CaretAt(2, 1);
    const Strings standard = RightClickMenu(0);
    EXPECT_EQ(std::find(standard.begin(), standard.end(), "world"), standard.end());
    EXPECT_GT(standard.size(), 3u);
}

TEST_F(SpellChecker, IgnoreAndAddWithAndWithoutTheCustomList) {
    ASSERT_TRUE(Create("zqxw one zqxw\r\nvvbn two"));
    ASSERT_TRUE(Activate("", "True,False,False,False"));
    CaretAt(1, 1);
    Strings menu = RightClickMenu(0);
    ASSERT_GE(menu.size(), 2u);
    EXPECT_EQ(menu[menu.size() - 2], "-");
    EXPECT_EQ(menu.back(), "Ignore \"zqxw\"") << "without the custom list the menu ends with Ignore";
    const int ignoreAt = static_cast<int>(menu.size()) - 1; // separators are skipped by the keys
    RightClickMenu(ignoreAt);
    ExpectZigzagsUnder({{1, "vvbn"}});

    ASSERT_TRUE(Activate("", "True,False,False,True"));
    // Ignoring lasts until the engine restarts.
    ExpectZigzagsUnder({{0, "zqxw"}, {0, "zqxw"}, {1, "vvbn"}});
    CaretAt(2, 2);
    menu = RightClickMenu(0);
    ASSERT_GE(menu.size(), 3u);
    EXPECT_EQ(menu[menu.size() - 3], "-");
    EXPECT_EQ(menu[menu.size() - 2], "Ignore \"vvbn\"");
    EXPECT_EQ(menu.back(), "Add \"vvbn\"");
    RightClickMenu(static_cast<int>(menu.size()) - 1);
    ExpectZigzagsUnder({{0, "zqxw"}, {0, "zqxw"}});
    EXPECT_EQ(ReadAll(customDic), "") << "the list is saved when the engine shuts down";

    ASSERT_TRUE(host.Exec("qorRemoveSmartEdit", {"Rect1"}));
    EXPECT_EQ(ReadAll(customDic), "vvbn\r\n");

    // A new SmartEdit with the custom list accepts the word from the file.
    ASSERT_TRUE(Create("vvbn zqxw"));
    ASSERT_TRUE(Activate("", "True,False,False,True"));
    ExpectZigzagsUnder({{0, "zqxw"}});
    ASSERT_TRUE(Activate("", "True,False,False,False"));
    // The engine starts before the option turns the list off: it keeps the
    // saved word until it starts again.
    ExpectZigzagsUnder({{0, "zqxw"}});
}

TEST_F(SpellChecker, SwitchingTheCustomListOnKeepsTheSavedFile) {
    WriteAll(customDic, "keptword\r\nzqxw\r\n");
    ASSERT_TRUE(Create("zqxw"));
    ASSERT_TRUE(Activate("", kOptionsOff));
    ExpectZigzagsUnder({{0, "zqxw"}});
    ASSERT_TRUE(Activate("", "False,False,False,True"));
    ExpectZigzagsUnder({});
    ASSERT_TRUE(host.Exec("qorRemoveSmartEdit", {"Rect1"}));
    EXPECT_EQ(ReadAll(customDic), "keptword\r\nzqxw\r\n");
}

TEST_F(SpellChecker, TheCustomListKeepsWordsSavedElsewhereAndAFileItCouldNotRead) {
    const auto addWordAtCaret = [&] {
        CaretAt(2, 1);
        const Strings menu = RightClickMenu(0);
        ASSERT_FALSE(menu.empty());
        ASSERT_EQ(menu.back(), "Add \"vvbn\"");
        RightClickMenu(static_cast<int>(menu.size()) - 1);
    };
    // Another editor or program saves a word while this engine runs: both
    // words are in the file afterwards, the file's order first.
    WriteAll(customDic, "keptword\r\n");
    ASSERT_TRUE(Create("vvbn"));
    ASSERT_TRUE(Activate("", "True,False,False,True"));
    addWordAtCaret();
    WriteAll(customDic, "keptword\r\notherword\r\n");
    ASSERT_TRUE(host.Exec("qorRemoveSmartEdit", {"Rect1"}));
    EXPECT_EQ(ReadAll(customDic), "keptword\r\notherword\r\nvvbn\r\n");

    // A list that cannot be read when the engine starts is never written.
    WriteAll(customDic, "keptword\r\n");
    ASSERT_TRUE(Create("vvbn"));
    const HANDLE held =
        CreateFileA(customDic.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(Activate("", "True,False,False,True"));
    CloseHandle(held);
    addWordAtCaret();
    ASSERT_TRUE(host.Exec("qorRemoveSmartEdit", {"Rect1"}));
    EXPECT_EQ(ReadAll(customDic), "keptword\r\n");

    // A save that fails half way leaves the list as it was.
    ASSERT_TRUE(Create("vvbn"));
    ASSERT_TRUE(Activate("", "True,False,False,True"));
    addWordAtCaret();
    SetEnvironmentVariableA("QOR_TEST_WRITE_FAIL_AFTER", "4");
    ASSERT_TRUE(host.Exec("qorRemoveSmartEdit", {"Rect1"}));
    SetEnvironmentVariableA("QOR_TEST_WRITE_FAIL_AFTER", nullptr);
    EXPECT_EQ(ReadAll(customDic), "keptword\r\n");
}

TEST_F(SpellChecker, APartialDefaultDictionaryIsLaidDownAgainAndNoTempFolderFails) {
    const std::string full = ReadAll("Z:\\usr\\share\\hunspell\\en_US.dic");
    WriteAll(folder + "\\en0_US1.dic", full.substr(0, 4096));
    ASSERT_TRUE(Create("zqxw"));
    ASSERT_TRUE(Activate());
    EXPECT_EQ(ReadAll(folder + "\\en0_US1.dic"), full);
    ExpectZigzagsUnder({{0, "zqxw"}});

    SetEnvironmentVariableA("TEMP", "");
    EXPECT_FALSE(Activate());
    EXPECT_EQ(host.LastError(), "Cannot write the default dictionary: the TEMP environment variable names no folder.");
}

// ---- The zigzag's pixels -----------------------------------------------------------

// The editor writes its zigzags straight into the image's pixels: exactly the
// pixels GDI's 1-pixel polyline through the zigzag's points sets, clip and all.
TEST(SpellCheckerPixels, TheWrittenZigzagIsThePolylineOfItsPoints) {
    constexpr int kWidth = 40, kHeight = 12;
    struct Case {
        int start, end, baseLine;
        qor::PixelRect clip;
    } cases[] = {
        {2, 30, 3, {0, 0, kWidth, kHeight}},   {3, 28, 4, {0, 0, kWidth, kHeight}},
        {5, 6, 2, {0, 0, kWidth, kHeight}},    {5, 7, 2, {0, 0, kWidth, kHeight}},
        {0, 39, 9, {0, 0, kWidth, kHeight}},   {-5, 45, 4, {2, 5, 37, 6}},
        {1, 33, 8, {4, 9, 20, 10}},            {10, 4, 2, {0, 0, kWidth, kHeight}},
    };
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = kWidth;
    format.bmiHeader.biHeight = -kHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    HDC dc = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    HBITMAP image = CreateDIBSection(dc, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(image, nullptr);
    HGDIOBJ oldImage = SelectObject(dc, image);
    HPEN pen = CreatePen(PS_SOLID, 1, kRed);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    auto* pixels = static_cast<uint32_t*>(bits);
    // Steps of 2 pixels at 96 DPI, wider at higher DPIs.
    for (int step : {2, 3, 4})
    for (const Case& c : cases) {
        SCOPED_TRACE("from " + std::to_string(c.start) + " to " + std::to_string(c.end) + " by " + std::to_string(step));
        std::fill(pixels, pixels + kWidth * kHeight, 0u);
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, c.clip.left, c.clip.top, c.clip.right, c.clip.bottom);
        std::vector<POINT> points;
        for (const qor::ZigzagPoint& p : qor::ZigzagPoints(c.start, c.end, c.baseLine, step)) points.push_back({p.x, p.y});
        Polyline(dc, points.data(), static_cast<int>(points.size()));
        RestoreDC(dc, saved);
        GdiFlush();
        const std::vector<uint32_t> drawn(pixels, pixels + kWidth * kHeight);
        std::fill(pixels, pixels + kWidth * kHeight, 0u);
        qor::PaintZigzag(pixels, kWidth, c.clip, c.start, c.end, c.baseLine, 0xFF0000, step);
        const std::vector<uint32_t> written(pixels, pixels + kWidth * kHeight);
        EXPECT_EQ(written, drawn);
        if (c.end - c.start >= step && c.clip.right - c.clip.left == kWidth) {
            EXPECT_GT(std::count(drawn.begin(), drawn.end(), 0xFF0000u), 0) << "the polyline drew nothing";
        }
    }
    SelectObject(dc, oldPen);
    SelectObject(dc, oldImage);
    DeleteObject(pen);
    DeleteObject(image);
    DeleteDC(dc);
}

// ---- Hit testing in long texts -------------------------------------------------------

TEST(EditHitTest, CharacterFromPointBeyond65535Characters) {
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_POPUP | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                                0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
    std::string text;
    for (int i = 0; i < 1800; ++i) text += "line " + std::to_string(100000 + i) + " of some text here, long enough\r\n";
    ASSERT_GT(text.size(), 70000u);
    SetWindowTextA(edit, text.c_str());
    for (int line : {3, 1300, 1390}) {
        SCOPED_TRACE(line);
        const int first = static_cast<int>(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
        SendMessageA(edit, EM_LINESCROLL, 0, line - 2 - first);
        const int target = static_cast<int>(SendMessageA(edit, EM_LINEINDEX, line, 0)) + 9;
        const LRESULT at = SendMessageA(edit, EM_POSFROMCHAR, target, 0);
        ASSERT_NE(at, -1);
        const POINT p{static_cast<short>(LOWORD(at)) + 1, static_cast<short>(HIWORD(at)) + 2};
        EXPECT_EQ(qor::EditCharAtPoint(edit, p), target);
        if (target > 0xFFFF)
            EXPECT_NE(static_cast<int>(LOWORD(SendMessageA(edit, EM_CHARFROMPOS, 0, MAKELPARAM(p.x, p.y)))), target)
                << "the message alone cannot tell";
    }
    DestroyWindow(edit);
}

} // namespace
