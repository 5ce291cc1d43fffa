#pragma once
// A stand-in for the authoring host: it loads the plug-in, calls its entry
// points in the host's order, implements the six callbacks with the host's
// string ownership rules, and owns a visible host window whose rectangle
// objects are real child windows. Tests and the publication runner drive it.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace qorhost {

struct Announcement {
    int32_t id = 0;
    std::string name;
    std::string hint;
    std::vector<uint8_t> kinds;
    int32_t kindsHigh = 0;
    int32_t count = 0;
};

enum class LogKind { SetVariable, ScriptLine };

struct LogEntry {
    LogKind kind;
    std::string name;  // variable name (SetVariable) or empty
    std::string value; // value written, or the script line
    bool operator==(const LogEntry& other) const {
        return kind == other.kind && name == other.name && value == other.value;
    }
};

// What the plug-in did with memory blocks that cross the boundary.
struct BlockReport {
    size_t handedOverNotReleased = 0; // blocks the host gave away that the plug-in kept
    size_t pluginBlocksAlive = 0;     // blocks the plug-in allocated and still holds
    size_t hostBlocksFreed = 0;       // blocks the plug-in freed but did not own
    size_t pluginAllocations = 0;     // GlobalAlloc calls of the plug-in seen so far
};

class HostEmulator {
public:
    HostEmulator();
    ~HostEmulator();
    HostEmulator(const HostEmulator&) = delete;
    HostEmulator& operator=(const HostEmulator&) = delete;

    // The plug-in next to the running executable.
    static std::string DefaultPluginPath();

    // Loads the plug-in and runs the host's start sequence: nbInitPlugIn,
    // nbRegisterPlugIn (collecting the catalogue), nbRegisterScriptProcessor,
    // nbRegisterInterfaceAccess. Returns false when the DLL or an export is missing.
    bool Load(const std::string& path = DefaultPluginPath());
    // Loads and calls only nbInitPlugIn, with the three var strings preset.
    bool LoadWithoutRegistering(const std::string& path);
    void Unload();
    // Unloads without nbMessage code 2 first, as a host may on an error path.
    void UnloadWithoutCleanup();
    HMODULE module() const { return module_; }
    FARPROC Export(const char* name) const;
    // Points the loaded plug-in's import of dll!function at replacement (to
    // watch its calls); returns what it pointed at, null when not imported.
    void* PatchPluginImport(const char* dll, const char* function, void* replacement);

    // Identity texts returned by nbInitPlugIn.
    std::string pluginName, pluginDeveloper, pluginDescription;
    const std::vector<Announcement>& announcements() const { return announcements_; }
    int32_t ActionId(const std::string& name) const; // -1 when not announced

    // Entry points.
    // nullEntry >= 0: that entry is handed over as a null pointer.
    bool Exec(int32_t id, const std::vector<std::string>& params, int nullEntry = -1);
    bool Exec(const std::string& action, const std::vector<std::string>& params);
    bool Edit(int32_t id, std::vector<std::string>& params);
    // After Edit: per entry, whether the plug-in replaced the block handed over.
    std::vector<bool> lastEditReplaced;
    // The plug-in's GlobalAlloc answers no memory once this many more of its
    // calls succeeded (-1: never), as a system short of memory does.
    int globalAllocsBeforeFailure = -1;
    void Message(int32_t code);
    void About();
    void InitAgain(const std::string& presetName, const std::string& presetDeveloper,
                   const std::string& presetDescription);

    // Variables and the ordered log of what the plug-in sent.
    std::string Var(const std::string& name) const;
    bool HasVar(const std::string& name) const;
    void SetVar(const std::string& name, const std::string& value);
    std::string LastError() const { return Var("[qorBrindavelLastError]"); }
    const std::vector<LogEntry>& log() const { return log_; }
    // Told of every entry as it is made (before a GoSub line's subroutine runs).
    std::function<void(const LogEntry&)> onLogEntry;
    // Off: writes and script lines are carried out but not kept in the log
    // (benchmarks writing megabytes per call).
    bool keepLog = true;
    void ClearLog() { log_.clear(); }
    std::vector<std::string> ScriptLines() const;
    std::vector<std::string> WritesTo(const std::string& variable) const;
    // Supply no HostGetVariable at registration (the plug-in must read "").
    bool supplyGetVariable = true;
    // Off: nbRegisterInterfaceAccess is never called (no pickers, no subroutine list).
    bool supplyInterfaceAccess = true;

    // Subroutines run by "GoSub "Name"" lines.
    void DefineSubroutine(const std::string& name, std::function<void()> body);
    // Any other script line goes here (after being logged).
    std::function<void(const std::string&)> onOtherScriptLine;

    // Interface requests.
    std::string subroutineList;                    // answer to request 5
    std::function<bool(std::string&)> pickObject;  // request 8: fill and return true, or false
    std::function<bool(std::string&)> pickVariable;// request 14
    void SetObjectWindowAnswer(const std::string& name, const std::string& answer);
    std::vector<std::pair<int32_t, std::string>> requests; // every request: code and text passed in

    // The host window and its rectangle objects.
    HWND window() const { return window_; }
    HWND AddRectangle(const std::string& name, int x, int y, int width, int height);
    void RemoveRectangle(const std::string& name);
    void MoveRectangle(const std::string& name, int x, int y, int width, int height);
    HWND Rectangle(const std::string& name) const;
    // The control window the plug-in placed in a rectangle (its first child), or null.
    HWND ControlWindow(const std::string& rectangle) const;
    LRESULT SendObjectMessage(HWND control, LPARAM subCode, WPARAM wParam = 0);

    // Simulating the user with real input.
    static void Pump(int milliseconds = 0);
    // Pumps until done() holds or the time is up; returns done().
    static bool PumpUntil(const std::function<bool()>& done, int milliseconds = 5000);
    // Makes window's top-level window the foreground window and window the
    // keyboard focus (a top-level window: the focus anywhere inside it), and
    // pumps until both hold for a moment (the window system may hand the
    // foreground back while it catches up); false when they never did.
    // Keys sent right after it reach window.
    static bool FocusWindow(HWND window, int milliseconds = 5000);
    // The host window as foreground and focus window.
    bool Activate();
    void ClickAt(HWND target, int x, int y, bool right = false, bool doubleClick = false);
    // A drag's parts: the pointer to a client point of target; the left button down or up.
    void MouseTo(HWND target, int x, int y);
    void LeftButton(bool down);
    void KeyPress(WORD virtualKey, bool shift = false, bool ctrl = false, bool alt = false);
    void TypeText(const std::string& text);
    // The same keys queued without pumping (for a modal loop to see them).
    static void SendKeyPress(WORD virtualKey, bool shift = false, bool ctrl = false, bool alt = false);
    static void SendText(const std::string& text);
    // Drops paths as the shell's drag loop ends: WM_DROPFILES posted to the
    // window at a client point of `over` (or its nearest ancestor) that
    // accepts files. False when none there does. ANSI paths are widened
    // through the ANSI code page; wide ones go as they are.
    static bool DropFiles(HWND over, int x, int y, const std::vector<std::string>& paths);
    static bool DropFiles(HWND over, int x, int y, const std::vector<std::wstring>& paths);

    // PNG files (through the system's imaging component) of what the screen
    // shows of the host window, or of any window (an open dialog, say).
    bool SaveScreenshot(const std::string& path);
    static bool SaveWindowScreenshot(HWND window, const std::string& path);

    BlockReport Blocks() const;

    // Callback plumbing (public so the static callbacks can reach it).
    void OnAddAction(int32_t id, const char* name, const char* hint, const uint8_t* kinds, int32_t high,
                     int32_t count);
    void OnGetVariable(const char* name, char** value);
    void OnSetVariable(const char* name, const char* value);
    void OnScriptLine(const char* line);
    bool OnInterfaceAccess(int32_t request, char** text);
    bool OnGlobalFree(HGLOBAL block);
    void OnGlobalAlloc(HGLOBAL block);

private:
    char* HandOver(const std::string& text);      // a block the plug-in must free
    char* HostBlock(const std::string& text);     // a block the plug-in must not free
    void FreeHostBlock(char* block);
    std::string TakeFromPlugin(char*& block);     // copies and frees a plug-in block
    void RegisterWindowClasses();
    void Record(LogEntry entry);

    HMODULE module_ = nullptr;
    HWND window_ = nullptr;
    std::vector<Announcement> announcements_;
    std::map<std::string, std::string> variables_;
    std::vector<LogEntry> log_;
    std::map<std::string, std::function<void()>> subroutines_;
    std::map<std::string, HWND> rectangles_;
    std::map<std::string, std::string> objectWindowAnswers_;
    std::set<void*> handedOver_, hostOwned_, pluginOwned_;
    size_t hostBlocksFreed_ = 0;
    size_t pluginAllocations_ = 0;
};

// Text in the ANSI code page, as wide characters.
std::wstring Widen(const std::string& ansi);

} // namespace qorhost
