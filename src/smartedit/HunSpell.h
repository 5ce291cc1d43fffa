#pragma once
// THunSpell: one SmartEdit's spell-check engine. It holds a Hunspell engine
// (linked into the plug-in, used through its C interface) on the dictionary
// DictDir\Dict.aff + .dic, converts words between the system's 8-bit code
// page and the dictionary's encoding, applies the ignore options, keeps the
// custom word list "custom.dic" beside the host program, and remembers the
// verdicts it gave until the dictionary, the ignored words or the options
// change.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "smartedit/SpellVerdicts.h"

struct Hunhandle;

namespace qor {

class THunSpell {
public:
    THunSpell();
    ~THunSpell();
    THunSpell(const THunSpell&) = delete;
    THunSpell& operator=(const THunSpell&) = delete;

    // Published properties. Setting Enabled true initializes (again), false
    // shuts down; a Dict or DictDir that differs (ignoring case) initializes
    // again while enabled; CustomDic switched on while initialized too.
    const std::string& Dict() const { return dict_; }
    void SetDict(const std::string& value);
    const std::string& DictDir() const { return dictDir_; }
    void SetDictDir(const std::string& value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    bool CustomDic() const { return customDic_; }
    void SetCustomDic(bool value);
    bool IgnoreWordsWithNumbers() const { return ignoreNumbers_; }
    void SetIgnoreWordsWithNumbers(bool value);
    bool IgnoreAllCaps() const { return ignoreAllCaps_; }
    void SetIgnoreAllCaps(bool value);
    std::function<void()> OnInit;
    std::function<void()> OnUninit;

    bool Initialized() const { return engine_ != nullptr; }
    // Each throws ScriptError("Hunspell not initialized") without an engine.
    bool CheckWord(std::string_view word);
    int Suggest(const std::string& word, std::vector<std::string>& list);
    // Accepted until the engine is shut down.
    void IgnoreWord(const std::string& word);
    // Accepted, and kept in the custom word list when CustomDic is on.
    void AddWord(const std::string& word);

    uint32_t CodePage() const { return codePage_; }
    // "custom.dic" in the host program's folder.
    static std::string CustomDicPath();
    // How many times the engine was asked for a verdict (the cache missed).
    uint64_t EngineChecks() const { return engineChecks_; }

private:
    struct EngineCloser {
        void operator()(Hunhandle* engine) const noexcept;
    };

    void Initialize();
    void Shutdown() noexcept;
    void RequireEngine() const;
    void Forget() { verdicts_.Clear(); }
    void AddToEngine(const std::string& word);
    // System code page to the dictionary's, and back.
    std::string ToDictionary(std::string_view word) const;
    // The word needs no conversion for the dictionary.
    bool PassesUnchanged(std::string_view word) const;
    std::string FromDictionary(const char* text) const;

    std::string dict_;
    std::string dictDir_;
    bool enabled_ = false;
    bool customDic_ = false;
    bool ignoreNumbers_ = false;
    bool ignoreAllCaps_ = false;

    std::unique_ptr<Hunhandle, EngineCloser> engine_;
    uint32_t codePage_ = 0;
    bool sameCodePage_ = true;
    // The list was loaded for this engine (or there was none): only then is
    // the file rewritten, with the words added since.
    bool customListInUse_ = false;
    std::vector<std::string> addedWords_;
    SpellVerdicts verdicts_;
    // The word being checked, as the engine takes it: kept to spare an
    // allocation per word.
    std::string engineWord_;
    uint64_t engineChecks_ = 0;
};

} // namespace qor
