#include "smartedit/HunSpell.h"

#include <hunspell/hunspell.h>

#include <cstring>

#include "core/AnsiText.h"
#include "core/ScriptError.h"
#include "core/FileStore.h"
#include "smartedit/SpellText.h"

namespace qor {

namespace {

// Words go to the engine through a buffer of this many bytes; suggestions come
// back through one of this many UTF-16 characters.
constexpr size_t kWordBytes = 1024;
constexpr size_t kSuggestionChars = 512;
// A text being typed meets many passing words: the remembered verdicts start
// over once there are this many.
constexpr size_t kMostVerdicts = 200000;
// Room for a few pages of words before the first rehash.
constexpr size_t kVerdictsAtStart = 4096;
// ... or once their bytes would pass this.
constexpr size_t kMostVerdictBytes = 16u << 20;
// Enough of a dictionary to see its first line.
constexpr size_t kDictionaryHead = 64;

std::wstring Widen(std::string_view text, UINT codePage, size_t limit) {
    if (text.empty()) return {};
    const int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    if (wide.size() > limit) wide.resize(limit);
    return wide;
}

std::string Narrow(const std::wstring& wide, UINT codePage, size_t limit) {
    if (wide.empty()) return {};
    const int length =
        WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string text(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), &text[0], length, nullptr, nullptr);
    if (text.size() > limit) text.resize(limit);
    return text;
}

std::string WithBackslash(std::string folder) {
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

bool IsAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

} // namespace

void THunSpell::EngineCloser::operator()(Hunhandle* engine) const noexcept { Hunspell_destroy(engine); }

THunSpell::THunSpell() : verdicts_(kMostVerdicts, kMostVerdictBytes, kVerdictsAtStart) {}

THunSpell::~THunSpell() { Shutdown(); }

// ---- Properties ------------------------------------------------------------

void THunSpell::SetDict(const std::string& value) {
    if (SameTextAnsi(value, dict_)) return;
    dict_ = value;
    if (enabled_) Initialize();
}

void THunSpell::SetDictDir(const std::string& value) {
    if (SameTextAnsi(value, dictDir_)) return;
    dictDir_ = value;
    if (enabled_) Initialize();
}

void THunSpell::SetEnabled(bool value) {
    enabled_ = value;
    if (value)
        Initialize();
    else
        Shutdown();
}

void THunSpell::SetCustomDic(bool value) {
    const bool switchedOn = value && !customDic_;
    customDic_ = value;
    if (switchedOn && Initialized()) Initialize();
}

void THunSpell::SetIgnoreWordsWithNumbers(bool value) {
    if (value != ignoreNumbers_) Forget();
    ignoreNumbers_ = value;
}

void THunSpell::SetIgnoreAllCaps(bool value) {
    if (value != ignoreAllCaps_) Forget();
    ignoreAllCaps_ = value;
}

// ---- Engine lifetime ---------------------------------------------------------

std::string THunSpell::CustomDicPath() {
    char path[MAX_PATH * 2] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string program(path, length < sizeof path ? length : 0);
    const size_t slash = program.find_last_of("\\/");
    return (slash == std::string::npos ? std::string() : program.substr(0, slash)) + "\\custom.dic";
}

void THunSpell::Initialize() {
    Shutdown();
    if (dict_.empty() || dictDir_.empty()) return;
    const std::string base = WithBackslash(dictDir_) + dict_;
    const std::string affixPath = base + ".aff";
    const std::string dictionaryPath = base + ".dic";
    if (!FileExists(affixPath) || !FileExists(dictionaryPath)) return;
    // A file that does not start as a dictionary would leave an engine that
    // rejects every word: no checking instead.
    std::string head;
    if (!ReadFileStart(dictionaryPath, kDictionaryHead, head) || !LooksLikeDictionary(head)) return;

    engine_.reset(Hunspell_create(affixPath.c_str(), dictionaryPath.c_str()));
    if (!engine_) return;
    Forget();
    const UINT ansi = GetACP();
    const char* encoding = Hunspell_get_dic_encoding(engine_.get());
    codePage_ = CodePageOfEncoding(encoding ? encoding : "", ansi);
    sameCodePage_ = SameCodePage(codePage_, ansi);

    // A list that exists but cannot be read (shared away, no rights) is not
    // used, so that shutting down never writes an empty list over it.
    customListInUse_ = false;
    if (customDic_) {
        std::string saved;
        if (!FileExists(CustomDicPath())) {
            customListInUse_ = true;
        } else if (ReadFileStart(CustomDicPath(), SIZE_MAX, saved)) {
            customListInUse_ = true;
            for (const std::string& word : ParseWordList(saved)) AddToEngine(word);
        }
    }
    if (OnInit) OnInit();
}

void THunSpell::Shutdown() noexcept {
    if (!engine_) return;
    // The list is written only for an engine that read it (switching the list
    // on must not overwrite the file before it was loaded), and only with what
    // it adds to the file as it is now: another editor or process may have
    // saved words meanwhile. A file that cannot be read now is left alone.
    if (customDic_ && customListInUse_ && !addedWords_.empty()) {
        try {
            std::string saved;
            const bool exists = FileExists(CustomDicPath());
            if (!exists || ReadFileStart(CustomDicPath(), SIZE_MAX, saved))
                ReplaceFileWhole(CustomDicPath(), FormatWordList(MergeWordLists(ParseWordList(saved), addedWords_)));
        } catch (...) {
        }
    }
    addedWords_.clear();
    engine_.reset();
    customListInUse_ = false;
    verdicts_.Clear();
    if (OnUninit) {
        try {
            OnUninit();
        } catch (...) {
        }
    }
}

void THunSpell::RequireEngine() const {
    if (!engine_) throw ScriptError("Hunspell not initialized");
}

// ---- Words ---------------------------------------------------------------------

bool THunSpell::PassesUnchanged(std::string_view word) const {
    // Every code page of the table (and every ANSI code page) keeps ASCII as
    // it is: only other texts need converting.
    return sameCodePage_ || (IsAscii(word) && word.size() < kWordBytes);
}

std::string THunSpell::ToDictionary(std::string_view word) const {
    if (PassesUnchanged(word)) return std::string(word);
    return Narrow(Widen(word, CP_ACP, SIZE_MAX), codePage_, kWordBytes - 1);
}

std::string THunSpell::FromDictionary(const char* text) const {
    if (sameCodePage_ || (IsAscii(text) && std::strlen(text) < kSuggestionChars)) return text;
    return Narrow(Widen(text, codePage_, kSuggestionChars - 1), CP_ACP, SIZE_MAX);
}

bool THunSpell::CheckWord(std::string_view word) {
    RequireEngine();
    if (IgnoredWord(word, ignoreNumbers_, ignoreAllCaps_)) return true;
    const SpellVerdicts::Verdict known = verdicts_.Find(word);
    if (known != SpellVerdicts::Verdict::Unknown) return known == SpellVerdicts::Verdict::Correct;
    ++engineChecks_;
    if (PassesUnchanged(word))
        engineWord_.assign(word); // keeps its buffer from word to word
    else
        engineWord_ = ToDictionary(word);
    const bool correct = Hunspell_spell(engine_.get(), engineWord_.c_str()) != 0;
    verdicts_.Remember(word, correct);
    return correct;
}

int THunSpell::Suggest(const std::string& word, std::vector<std::string>& list) {
    list.clear();
    RequireEngine();
    char** suggestions = nullptr;
    int count = 0;
    try {
        count = Hunspell_suggest(engine_.get(), &suggestions, ToDictionary(word).c_str());
        for (int i = 0; i < count; ++i) list.push_back(FromDictionary(suggestions[i]));
    } catch (...) {
        list.clear();
    }
    if (suggestions) Hunspell_free_list(engine_.get(), &suggestions, count);
    return static_cast<int>(list.size());
}

void THunSpell::AddToEngine(const std::string& word) {
    Hunspell_add(engine_.get(), ToDictionary(word).c_str());
}

void THunSpell::IgnoreWord(const std::string& word) {
    RequireEngine();
    AddToEngine(word);
    Forget();
}

void THunSpell::AddWord(const std::string& word) {
    RequireEngine();
    AddToEngine(word);
    if (customDic_ && customListInUse_) addedWords_.push_back(word);
    Forget();
}

} // namespace qor
