#include "smartedit/SpellCheckerAction.h"

#include <windows.h>

#include "core/ControlRegistry.h"
#include "core/ScriptError.h"
#include "core/ValueEncodings.h"
#include "host/PlugInUtils.h"
#include "smartedit/SpellFiles.h"
#include "smartedit/SpellText.h"
#include "smartedit/UTCustomMemo.h"

namespace qor {

namespace {

std::string TempFolder() {
    char buffer[MAX_PATH * 2] = {};
    const DWORD length = GetEnvironmentVariableA("TEMP", buffer, sizeof buffer);
    return length < sizeof buffer ? std::string(buffer, length) : std::string();
}

// Writes an embedded resource to `path` unless that file exists already.
void WriteMissingResource(const char* name, const std::string& path) {
    if (FileExists(path)) return;
    const HMODULE module = PlugInInstance();
    const HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(10)); // RT_RCDATA
    const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) throw ScriptError("The resource " + std::string(name) + " is missing from the plug-in.");
    if (const DWORD error = WriteWholeFile(path, bytes, SizeofResource(module, found)))
        throw ScriptError("Cannot create file \"" + path + "\". " + SystemErrorText(error));
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
