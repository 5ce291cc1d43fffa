// Timing of the SmartEdit's spell checking against raw Hunspell calls in the
// same run.
//
// A full visible page: 50 lines of 80 characters made of dictionary words,
// three of them misspelt on every line, all lines visible. The plug-in side
// paints the page with checking on (the edit's own paint, the words cut out
// and measured, every word judged, the zigzags drawn off-screen and copied
// back); the raw side calls Hunspell's spell for the same words of the same
// page. Every round shows words not judged before, so the first paint asks
// the engine for every word; the repaint of the unchanged page asks it for
// none. A second SmartEdit without checking paints the same page: the edit's
// own paint, printed beside and taken off the checked paints. The last rows
// split the checked first paint further: what it costs over the repaint (the
// engine's verdicts for the page), and the plug-in's checker on its own,
// outside any paint, on the same fresh words and on remembered ones, and the
// repaint of one line's band, as the edit asks for it when a key is typed.
#include <windows.h>

#include <hunspell/hunspell.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "HostEmulator.h"
#include "smartedit/HunSpell.h"
#include "smartedit/SpellText.h"

namespace {

constexpr int kLines = 50;
constexpr size_t kLineChars = 80;
constexpr int kRounds = 40;

std::vector<std::string> DictionaryWords(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> words;
    std::string line;
    std::getline(in, line); // the entry count
    while (std::getline(in, line)) {
        line = line.substr(0, line.find_first_of("/\r"));
        if (line.size() >= 3 && line.size() <= 9 && std::all_of(line.begin(), line.end(), [](char c) {
                return c >= 'a' && c <= 'z';
            }))
            words.push_back(line);
    }
    return words;
}

// One page of fresh words from `next` on; three words per line misspelt.
std::string Page(const std::vector<std::string>& pool, size_t& next, std::mt19937& random) {
    std::string page;
    for (int line = 0; line < kLines; ++line) {
        std::string text;
        std::vector<std::string> words;
        while (true) {
            const std::string& word = pool[next % pool.size()];
            if (text.size() + word.size() + 1 > kLineChars) break;
            ++next;
            words.push_back(word);
            text += (text.empty() ? "" : " ") + word;
        }
        for (int k = 0; k < 3; ++k) {
            std::string& word = words[random() % words.size()];
            word.insert(word.begin() + static_cast<long>(random() % word.size()), 'q');
            word.push_back('x');
        }
        text.clear();
        for (const std::string& word : words) text += (text.empty() ? "" : " ") + word;
        page += text + "\r\n";
    }
    return page;
}

std::vector<std::string> PageWords(const std::string& page) {
    std::vector<std::string> words;
    for (const std::string_view line : {std::string_view(page)}) {
        size_t start = 0;
        while (start < line.size()) {
            size_t end = line.find("\r\n", start);
            if (end == std::string_view::npos) end = line.size();
            const std::string_view text = line.substr(start, end - start);
            for (const qor::WordSpan& whole : qor::SplitWords(text)) {
                const qor::WordSpan word = qor::StripEnclosingQuotes(text, whole);
                if (word.length > 1) words.emplace_back(text.substr(word.start, word.length));
            }
            start = end + 2;
        }
    }
    return words;
}

// The height of a line of the edit's font.
int TextHeight(HWND edit) {
    HDC dc = GetDC(edit);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0)));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(edit, dc);
    return metrics.tmHeight;
}

// How many whole lines the edit shows from its first visible line on.
int VisibleLines(HWND edit) {
    RECT format{};
    SendMessageA(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    const int height = TextHeight(edit);
    return height > 0 ? (format.bottom - format.top) / height : 0;
}

void Repaint(HWND edit) { RedrawWindow(edit, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }

// The band of one line, as the edit invalidates it when a character is typed.
void RepaintLine(HWND edit, int line) {
    const LRESULT at = SendMessageA(edit, EM_POSFROMCHAR, SendMessageA(edit, EM_LINEINDEX, line, 0), 0);
    RECT client{};
    GetClientRect(edit, &client);
    const int top = static_cast<short>(HIWORD(at));
    const RECT band{0, top, client.right, top + TextHeight(edit)};
    RedrawWindow(edit, &band, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

} // namespace

int main() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "qorspellbench";
    CreateDirectoryA(folder.c_str(), nullptr);
    SetEnvironmentVariableA("TEMP", folder.c_str());

    qorhost::HostEmulator host;
    if (!qorbench::LoadPlugin(host)) return 1;
    MoveWindow(host.window(), 0, 0, 1240, 1000, TRUE);
    // Rect1 checks, Rect2 shows the same page without checking.
    host.AddRectangle("Rect1", 0, 0, 600, 760);
    host.AddRectangle("Rect2", 610, 0, 600, 760);
    host.Activate();
    HWND edits[2] = {};
    for (int i = 0; i < 2; ++i) {
        const std::string rect = i == 0 ? "Rect1" : "Rect2";
        host.Exec("qorCreateSmartEdit", {rect, ""});
        host.Exec("qorSmartEditSetProperties", {rect, "", "False", "", "", "", "clNone", "2", ""});
        for (HWND child = GetWindow(host.ControlWindow(rect), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            edits[i] = child;
        if (!edits[i]) return 1;
    }

    std::vector<std::string> pool = DictionaryWords("Z:\\usr\\share\\hunspell\\en_US.dic");
    std::mt19937 random(12345);
    std::shuffle(pool.begin(), pool.end(), random);
    size_t next = 0;

    // The engine and the raw handle read the same files.
    if (!host.Exec("qorSmartEditActiveSpellChecker", {"Rect1", "", "False,False,False,False"})) return 1;
    const std::string aff = folder + "\\en0_US1.aff", dic = folder + "\\en0_US1.dic";
    Hunhandle* raw = Hunspell_create(aff.c_str(), dic.c_str());
    // The plug-in's checker on its own, outside any paint: its verdicts cost.
    qor::THunSpell checker;
    checker.SetDict("en0_US1");
    checker.SetDictDir(folder);
    checker.SetEnabled(true);
    if (!checker.Initialized()) return 1;

    // Each case's fastest round: the one least disturbed by the rest of the
    // machine (every round shows a page of the same make).
    double plain = 1e30, plainAgain = 1e30, first = 1e30, again = 1e30, rawTime = 1e30, judged = 1e30,
           known = 1e30, line = 1e30, plainLine = 1e30;
    auto fastest = [](double& best, double seconds) { best = std::min(best, seconds); };
    size_t words = 0;
    int misspelt = 0;
    for (int round = 0; round < kRounds; ++round) {
        // Fresh words: the engine has judged none of them yet.
        const std::string page = Page(pool, next, random);
        const std::vector<std::string> pageWords = PageWords(page);
        words += pageWords.size();
        for (const char* rect : {"Rect1", "Rect2"}) {
            host.Exec("qorSmartEditSetText", {rect, page, "0"});
            host.Exec("qorSmartEditSetCaretPos", {rect, "0", "1"});
        }
        // The raw side's words are those the plug-in sees: every line shown.
        for (HWND edit : edits)
            if (SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0) != 0 || VisibleLines(edit) < kLines) {
                std::printf("the editor shows %d of the page's %d lines\n", VisibleLines(edit), kLines);
                return 1;
            }
        // The text change invalidated both editors; nothing painted them yet.
        fastest(plain, qorbench::Seconds([&] { Repaint(edits[1]); }));
        for (int i = 0; i < 3; ++i) fastest(plainAgain, qorbench::Seconds([&] { Repaint(edits[1]); }));
        fastest(rawTime, qorbench::Seconds([&] {
            for (const std::string& word : pageWords) misspelt += Hunspell_spell(raw, word.c_str()) == 0;
        }));
        fastest(judged, qorbench::Seconds([&] {
            for (const std::string& word : pageWords) checker.CheckWord(word);
        }));
        fastest(known, qorbench::Seconds([&] {
            for (const std::string& word : pageWords) checker.CheckWord(word);
        }));
        fastest(first, qorbench::Seconds([&] { Repaint(edits[0]); }));
        for (int i = 0; i < 3; ++i) fastest(again, qorbench::Seconds([&] { Repaint(edits[0]); }));
        fastest(line, qorbench::Seconds([&] { RepaintLine(edits[0], kLines / 2); }));
        fastest(plainLine, qorbench::Seconds([&] { RepaintLine(edits[1], kLines / 2); }));
    }
    Hunspell_destroy(raw);

    std::printf("spell check: %d rounds of a page of %d lines x %zu chars, %zu words, %d misspelt\n", kRounds, kLines,
                kLineChars, words / kRounds, misspelt / kRounds);
    std::printf("%-44s %9s %9s %7s\n", "case (ms, fastest round)", "plug-in", "raw", "ratio");
    auto row = [](const char* name, double mine, double bare) {
        std::printf("%-44s %9.3f %9.3f %7.2f\n", name, mine * 1e3, bare * 1e3, bare > 0 ? mine / bare : 0.0);
    };
    row("first paint, checking on vs raw spell calls", first, rawTime);
    row("repaint of the unchanged page vs raw calls", again, rawTime);
    row("first paint without checking vs raw calls", plain, rawTime);
    row("repaint without checking vs raw calls", plainAgain, rawTime);
    row("first paint: what checking adds vs raw", first - plain, rawTime);
    row("repaint: what checking adds vs raw", again - plainAgain, rawTime);
    row("first paint less repaint, checking on", first - again, rawTime);
    row("checker alone, words not judged before", judged, rawTime);
    row("checker alone, remembered verdicts", known, rawTime);
    row("repaint of one line (typing), checking on", line, rawTime);
    row("repaint of one line (typing), no checking", plainLine, rawTime);
    return 0;
}
