#include "smartedit/SpellCheckerAction.h"

#include <windows.h>

#include "core/ControlRegistry.h"
#include "core/FileStore.h"
#include "core/ScriptError.h"
#include "core/ValueEncodings.h"
#include "host/PlugInUtils.h"
#include "smartedit/SpellText.h"
#include "smartedit/UTCustomMemo.h"

namespace qor {

namespace {

std::string TempFolder() {
    char buffer[MAX_PATH * 2] = {};
    const DWORD length = GetEnvironmentVariableA("TEMP", buffer, sizeof buffer);
    return length < sizeof buffer ? std::string(buffer, length) : std::string();
}

// Lays an embedded resource down as `path` unless a file of its exact size is
// there already. A new file appears whole or not at all: it is written under a
// temporary name and moved into place, so another process activating at the
// same moment never reads half of it. A file of another size (a partial copy
// left by an older writer) is replaced the same way.
void WriteMissingResource(const char* name, const std::string& path) {
    const HMODULE module = PlugInInstance();
    const HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(10)); // RT_RCDATA
    const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (!bytes) throw ScriptError("The resource " + std::string(name) + " is missing from the plug-in.");
    const std::string_view content(bytes, SizeofResource(module, found));
    const auto whole = [&] { return FileSize(path) == static_cast<long long>(content.size()); };
    if (whole()) return;
    FileWriteResult result = FileExists(path) ? ReplaceFileWhole(path, content) : PlaceNewFile(path, content);
    if (!result && result.error == ERROR_ALREADY_EXISTS) {
        if (whole()) return; // another process put it there meanwhile
        result = ReplaceFileWhole(path, content);
    }
    if (!result) throw ScriptError("Cannot create file \"" + path + "\". " + SystemErrorText(result.error));
}

// The folder part of a path (with its final delimiter) and its file name
// without the extension.
void SplitDictionaryPath(const std::string& path, std::string& folder, std::string& base) {
    const size_t slash = path.find_last_of("\\/:");
    folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    base = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = base.rfind('.');
    if (dot != std::string::npos) base.resize(dot);
}

} // namespace

bool qorSmartEditActiveSpellChecker(const Params& params) {
    const std::string temp = TempFolder();
    if (temp.empty())
        throw ScriptError("Cannot write the default dictionary: the TEMP environment variable names no folder.");
    WriteMissingResource("qoENUSDic", temp + "\\" + kDefaultDictionaryName + ".dic");
    WriteMissingResource("qoENUSAff", temp + "\\" + kDefaultDictionaryName + ".aff");

    std::string folder, base;
    if (params.at(1).empty()) {
        folder = temp + "\\";
        base = kDefaultDictionaryName;
    } else {
        SplitDictionaryPath(params[1], folder, base);
    }
    const std::vector<std::string> options = SplitSpellOptions(params.at(2));

    auto memo = RequireControl<TFMCustomMemo>(ControlKind::SmartEdit, params.at(0), "smartedit");
    THunSpell& engine = memo->HunSpell1;
    // Whatever was set before a bad option stays set, and shows.
    struct Repaint {
        THunSpellMemo& editor;
        ~Repaint() { editor.Recheck(); }
    } repaint{memo->Memo1};
    engine.SetEnabled(true);
    engine.SetCustomDic(TextToFlag(options[3]));
    engine.SetDict(base);
    engine.SetDictDir(folder);
    engine.SetIgnoreAllCaps(TextToFlag(options[2]));
    engine.SetIgnoreWordsWithNumbers(TextToFlag(options[1]));
    memo->Memo1.AddMenu = TextToFlag(options[0]);
    return true;
}

} // namespace qor
