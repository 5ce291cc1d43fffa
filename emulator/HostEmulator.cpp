#include "HostEmulator.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <fstream>
#include <stdexcept>

#include "PngFile.h"
#include "core/WinHandles.h"

namespace qorhost {

namespace {

HostEmulator* g_active = nullptr;
using GlobalFreeFn = HGLOBAL(WINAPI*)(HGLOBAL);
using GlobalAllocFn = HGLOBAL(WINAPI*)(UINT, SIZE_T);
GlobalFreeFn g_realGlobalFree = ::GlobalFree;
GlobalAllocFn g_realGlobalAlloc = ::GlobalAlloc;

const char kHostClass[] = "QorHostEmulatorWindow";
const char kRectangleClass[] = "QorHostRectangle";

// ---- the six callbacks, as the host implements them ----------------------

bool AddActionCallback(int32_t id, const char* name, const char* hint, const uint8_t* kinds, int32_t high,
                       int32_t count) {
    if (g_active) g_active->OnAddAction(id, name, hint, kinds, high, count);
    return true;
}
bool GetVariableCallback(const char* name, char** value) {
    if (g_active) g_active->OnGetVariable(name, value);
    return true;
}
bool SetVariableCallback(const char* name, const char* value) {
    if (g_active) g_active->OnSetVariable(name, value);
    return true;
}
bool ScriptProcessorCallback(const char* line) {
    if (g_active) g_active->OnScriptLine(line);
    return true;
}
bool InterfaceAccessCallback(int32_t request, char** text) {
    return g_active ? g_active->OnInterfaceAccess(request, text) : false;
}

// ---- watching the plug-in's GlobalAlloc/GlobalFree through its import table

HGLOBAL WINAPI TrackedGlobalFree(HGLOBAL block) {
    if (g_active && !g_active->OnGlobalFree(block)) return block; // refused: not the plug-in's to free
    return g_realGlobalFree(block);
}

HGLOBAL WINAPI TrackedGlobalAlloc(UINT flags, SIZE_T bytes) {
    if (g_active && g_active->globalAllocsBeforeFailure >= 0 && g_active->globalAllocsBeforeFailure-- == 0) {
        g_active->globalAllocsBeforeFailure = 0; // stays out of memory until reset
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    HGLOBAL block = g_realGlobalAlloc(flags, bytes);
    if (g_active && block) g_active->OnGlobalAlloc(block);
    return block;
}

void* PatchImport(HMODULE module, const char* function, void* replacement, const char* dll = "KERNEL32.dll") {
    void* previous = nullptr;
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress) return nullptr;
    for (auto* desc = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); desc->Name; ++desc) {
        if (_stricmp(reinterpret_cast<char*>(base + desc->Name), dll) != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + desc->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + desc->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<char*>(byName->Name), function) != 0) continue;
            DWORD old = 0;
            VirtualProtect(&slots->u1.Function, sizeof(void*), PAGE_READWRITE, &old);
            previous = reinterpret_cast<void*>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof(void*), old, &old);
        }
    }
    return previous;
}

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) return 0; // the emulator decides when the host window goes
    return DefWindowProcA(window, message, wParam, lParam);
}

// A rectangle object: a pale fill, a grey frame and its name in the middle.
void PaintRectangle(HWND window, HDC dc) {
    RECT r;
    GetClientRect(window, &r);
    HBRUSH fill = CreateSolidBrush(RGB(0xE8, 0xEE, 0xF6));
    FillRect(dc, &r, fill);
    DeleteObject(fill);
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    char name[128] = {};
    GetWindowTextA(window, name, sizeof name);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0x80, 0x8C, 0xA0));
    DrawTextA(dc, name, -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

LRESULT CALLBACK RectangleProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        PaintRectangle(window, dc);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        // Hosts print their objects into a DC given to them, as for a
        // page transition.
        if (wParam && (lParam & PRF_CLIENT)) PaintRectangle(window, reinterpret_cast<HDC>(wParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

template <typename Fn>
Fn GetExport(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

using InitFn = void (*)(int32_t, char**, char**, char**);
using RegisterFn = void (*)(void*, void*, void*, void*);
using RegisterOneFn = void (*)(void*);
using ExecFn = bool (*)(int32_t, char**);
using EditFn = bool (*)(int32_t, char**, void*);
using MessageFn = void (*)(int32_t, intptr_t, intptr_t);
using AboutFn = void (*)();

} // namespace

HostEmulator::HostEmulator() {
    if (g_active) throw std::logic_error("only one host emulator may be active at a time");
    g_active = this;
    RegisterWindowClasses();
    window_ = CreateWindowExA(0, kHostClass, "qorBrindavel host emulator", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                              0, 0, 640, 480, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
    Pump();
}

HostEmulator::~HostEmulator() {
    Unload();
    if (window_) DestroyWindow(window_);
    Pump();
    g_active = nullptr;
}

void HostEmulator::RegisterWindowClasses() {
    WNDCLASSA wc{};
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpfnWndProc = HostWindowProc;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kHostClass;
    RegisterClassA(&wc); // a second registration fails harmlessly
    wc.lpfnWndProc = RectangleProc;
    wc.hbrBackground = nullptr;
    wc.lpszClassName = kRectangleClass;
    RegisterClassA(&wc);
}

std::string HostEmulator::DefaultPluginPath() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string exe(path, n);
    return exe.substr(0, exe.find_last_of("\\/") + 1) + "qorBrindavel.nbp";
}

FARPROC HostEmulator::Export(const char* name) const {
    return module_ ? GetProcAddress(module_, name) : nullptr;
}

bool HostEmulator::LoadWithoutRegistering(const std::string& path) {
    Unload();
    module_ = LoadLibraryA(path.c_str());
    if (!module_) return false;
    PatchImport(module_, "GlobalFree", reinterpret_cast<void*>(&TrackedGlobalFree));
    PatchImport(module_, "GlobalAlloc", reinterpret_cast<void*>(&TrackedGlobalAlloc));
    for (const char* name : {"nbInitPlugIn", "nbRegisterPlugIn", "nbRegisterScriptProcessor",
                             "nbRegisterInterfaceAccess", "nbExecAction", "nbEditAction", "nbMessage", "nbAbout"})
        if (!Export(name)) return false;
    InitAgain("", "", "");
    return true;
}

void HostEmulator::InitAgain(const std::string& presetName, const std::string& presetDeveloper,
                             const std::string& presetDescription) {
    // Preset texts are handed over: the plug-in must release them before filling in.
    char* name = presetName.empty() ? nullptr : HandOver(presetName);
    char* developer = presetDeveloper.empty() ? nullptr : HandOver(presetDeveloper);
    char* description = presetDescription.empty() ? nullptr : HandOver(presetDescription);
    GetExport<InitFn>(module_, "nbInitPlugIn")(4711, &name, &developer, &description);
    pluginName = TakeFromPlugin(name);
    pluginDeveloper = TakeFromPlugin(developer);
    pluginDescription = TakeFromPlugin(description);
}

bool HostEmulator::Load(const std::string& path) {
    if (!LoadWithoutRegistering(path)) return false;
    announcements_.clear();
    GetExport<RegisterFn>(module_, "nbRegisterPlugIn")(
        reinterpret_cast<void*>(&AddActionCallback), nullptr,
        supplyGetVariable ? reinterpret_cast<void*>(&GetVariableCallback) : nullptr,
        reinterpret_cast<void*>(&SetVariableCallback));
    GetExport<RegisterOneFn>(module_, "nbRegisterScriptProcessor")(reinterpret_cast<void*>(&ScriptProcessorCallback));
    if (supplyInterfaceAccess)
        GetExport<RegisterOneFn>(module_, "nbRegisterInterfaceAccess")(reinterpret_cast<void*>(&InterfaceAccessCallback));
    return true;
}

void HostEmulator::Unload() {
    if (!module_) return;
    Message(2); // the host discards every attached control before it unloads a plug-in
    FreeLibrary(module_);
    module_ = nullptr;
    Pump();
}

void* HostEmulator::PatchPluginImport(const char* dll, const char* function, void* replacement) {
    return module_ ? PatchImport(module_, function, replacement, dll) : nullptr;
}

void HostEmulator::UnloadWithoutCleanup() {
    if (!module_) return;
    FreeLibrary(module_);
    module_ = nullptr;
    Pump();
}

int32_t HostEmulator::ActionId(const std::string& name) const {
    for (const Announcement& a : announcements_)
        if (a.id != 0 && a.name == name) return a.id;
    return -1;
}

bool HostEmulator::Exec(int32_t id, const std::vector<std::string>& params, int nullEntry) {
    std::vector<char*> blocks;
    for (size_t i = 0; i < params.size(); ++i)
        blocks.push_back(static_cast<int>(i) == nullEntry ? nullptr : HostBlock(params[i]));
    blocks.push_back(nullptr);
    const bool result = GetExport<ExecFn>(module_, "nbExecAction")(id, blocks.data());
    for (char* block : blocks) FreeHostBlock(block);
    return result;
}

bool HostEmulator::Exec(const std::string& action, const std::vector<std::string>& params) {
    const int32_t id = ActionId(action);
    if (id < 0) throw std::invalid_argument("the plug-in did not announce " + action);
    return Exec(id, params);
}

bool HostEmulator::Edit(int32_t id, std::vector<std::string>& params) {
    // The plug-in may replace entries: they are blocks it is allowed to free.
    std::vector<char*> blocks;
    for (const std::string& p : params) blocks.push_back(HandOver(p));
    const std::vector<char*> original = blocks;
    const bool result = GetExport<EditFn>(module_, "nbEditAction")(id, blocks.data(), nullptr);
    // A replaced entry's block was released by the plug-in (its new block may
    // even sit at the same address).
    lastEditReplaced.assign(params.size(), false);
    for (size_t i = 0; i < params.size(); ++i) lastEditReplaced[i] = handedOver_.count(original[i]) == 0;
    for (size_t i = 0; i < params.size(); ++i) {
        params[i] = blocks[i] ? blocks[i] : "";
        if (handedOver_.erase(blocks[i]) == 0) pluginOwned_.erase(blocks[i]);
        g_realGlobalFree(blocks[i]);
    }
    return result;
}

void HostEmulator::Message(int32_t code) { GetExport<MessageFn>(module_, "nbMessage")(code, 0, 0); }

void HostEmulator::About() { GetExport<AboutFn>(module_, "nbAbout")(); }

std::string HostEmulator::Var(const std::string& name) const {
    auto it = variables_.find(name);
    return it == variables_.end() ? std::string() : it->second;
}

bool HostEmulator::HasVar(const std::string& name) const { return variables_.count(name) != 0; }

void HostEmulator::SetVar(const std::string& name, const std::string& value) { variables_[name] = value; }

std::vector<std::string> HostEmulator::ScriptLines() const {
    std::vector<std::string> lines;
    for (const LogEntry& e : log_)
        if (e.kind == LogKind::ScriptLine) lines.push_back(e.value);
    return lines;
}

std::vector<std::string> HostEmulator::WritesTo(const std::string& variable) const {
    std::vector<std::string> values;
    for (const LogEntry& e : log_)
        if (e.kind == LogKind::SetVariable && e.name == variable) values.push_back(e.value);
    return values;
}

void HostEmulator::DefineSubroutine(const std::string& name, std::function<void()> body) {
    subroutines_[name] = std::move(body);
}

void HostEmulator::SetObjectWindowAnswer(const std::string& name, const std::string& answer) {
    objectWindowAnswers_[name] = answer;
}

HWND HostEmulator::AddRectangle(const std::string& name, int x, int y, int width, int height) {
    RemoveRectangle(name);
    HWND rect = CreateWindowExA(0, kRectangleClass, name.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, x, y,
                                width, height, window_, nullptr, GetModuleHandleA(nullptr), nullptr);
    rectangles_[name] = rect;
    Pump();
    return rect;
}

void HostEmulator::RemoveRectangle(const std::string& name) {
    auto it = rectangles_.find(name);
    if (it == rectangles_.end()) return;
    DestroyWindow(it->second);
    rectangles_.erase(it);
}

void HostEmulator::MoveRectangle(const std::string& name, int x, int y, int width, int height) {
    if (HWND rect = Rectangle(name)) MoveWindow(rect, x, y, width, height, TRUE);
}

HWND HostEmulator::Rectangle(const std::string& name) const {
    auto it = rectangles_.find(name);
    return it == rectangles_.end() ? nullptr : it->second;
}

HWND HostEmulator::ControlWindow(const std::string& rectangle) const {
    HWND rect = Rectangle(rectangle);
    return rect ? GetWindow(rect, GW_CHILD) : nullptr;
}

LRESULT HostEmulator::SendObjectMessage(HWND control, LPARAM subCode, WPARAM wParam) {
    return SendMessageA(control, WM_USER + 250, wParam, subCode);
}

void HostEmulator::Pump(int milliseconds) {
    const DWORD end = GetTickCount() + milliseconds;
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (milliseconds > 0) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (milliseconds > 0 && static_cast<LONG>(end - GetTickCount()) > 0);
}

bool HostEmulator::PumpUntil(const std::function<bool()>& done, int milliseconds) {
    const DWORD start = GetTickCount();
    // Looked at before pumping: a condition may be about unhandled messages.
    while (!done()) {
        if (static_cast<int>(GetTickCount() - start) > milliseconds) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        Pump();
    }
    return true;
}

bool HostEmulator::FocusWindow(HWND window, int milliseconds) {
    HWND top = GetAncestor(window, GA_ROOT);
    auto holds = [&] {
        HWND focus = GetFocus();
        if (GetForegroundWindow() != top || !focus) return false;
        return window == top ? focus == top || IsChild(top, focus) : focus == window;
    };
    const DWORD start = GetTickCount();
    int steady = 0; // checks in a row, some ms apart, that found both in place
    while (steady < 3) {
        if (static_cast<int>(GetTickCount() - start) > milliseconds) return false;
        if (!holds()) {
            steady = 0;
            SetForegroundWindow(top);
            SetActiveWindow(top);
            // The top-level window keeps a focus inside it, or takes it when
            // none is there (the focused control may have been destroyed).
            HWND focus = GetFocus();
            if (window != top || !focus || (focus != top && !IsChild(top, focus))) SetFocus(window);
        }
        Pump(15);
        steady = holds() ? steady + 1 : 0;
    }
    return true;
}

bool HostEmulator::Activate() { return FocusWindow(window_); }

namespace {

// An absolute move to a client point of target, in SendInput's units.
INPUT MoveTo(HWND target, int x, int y, POINT& screen) {
    screen = POINT{x, y};
    ClientToScreen(target, &screen);
    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dx = (screen.x * 65535 + screenW / 2) / (screenW - 1);
    move.mi.dy = (screen.y * 65535 + screenH / 2) / (screenH - 1);
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return move;
}

INPUT Button(DWORD flags) {
    INPUT press{};
    press.type = INPUT_MOUSE;
    press.mi.dwFlags = flags;
    return press;
}

void AddKey(std::vector<INPUT>& keys, WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    keys.push_back(in);
}

void AddKeyPress(std::vector<INPUT>& keys, WORD virtualKey, bool shift, bool ctrl, bool alt) {
    if (ctrl) AddKey(keys, VK_CONTROL, false);
    if (alt) AddKey(keys, VK_MENU, false);
    if (shift) AddKey(keys, VK_SHIFT, false);
    AddKey(keys, virtualKey, false);
    AddKey(keys, virtualKey, true);
    if (shift) AddKey(keys, VK_SHIFT, true);
    if (alt) AddKey(keys, VK_MENU, true);
    if (ctrl) AddKey(keys, VK_CONTROL, true);
}

void Send(std::vector<INPUT>& inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

} // namespace

// The window system may still report older pointer positions after a move
// (and put the pointer back there): the move is repeated until it holds.
void HostEmulator::MouseTo(HWND target, int x, int y) {
    POINT screen{};
    std::vector<INPUT> move{MoveTo(target, x, y, screen)};
    auto arrived = [&] {
        POINT now{};
        return GetCursorPos(&now) && now.x == screen.x && now.y == screen.y;
    };
    for (int attempt = 0; attempt < 20; ++attempt) {
        Send(move);
        Pump(10);
        if (arrived()) {
            Pump(10);
            if (arrived()) return;
        }
    }
}

void HostEmulator::LeftButton(bool down) {
    std::vector<INPUT> press{Button(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP)};
    Send(press);
    Pump(20);
}

// The move and the clicks go in one batch: nothing can move the pointer
// between them, and a double click's halves are as close as a user's.
void HostEmulator::ClickAt(HWND target, int x, int y, bool right, bool doubleClick) {
    POINT screen{};
    std::vector<INPUT> inputs{MoveTo(target, x, y, screen)};
    for (int i = 0; i < (doubleClick ? 2 : 1); ++i) {
        inputs.push_back(Button(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN));
        inputs.push_back(Button(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP));
    }
    Send(inputs);
    Pump(30);
}

namespace {

// The DROPFILES block the shell hands over: wide paths, each ended by a zero,
// the list ended by a second zero. Null when memory ran out.
qor::UniqueGlobal DropBlock(const std::vector<std::wstring>& paths, POINT clientPoint) {
    std::wstring list;
    for (const std::wstring& path : paths) {
        list += path;
        list.push_back(L'\0');
    }
    list.push_back(L'\0');
    qor::UniqueGlobal block(
        GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size() * sizeof(wchar_t)));
    auto* drop = block ? static_cast<DROPFILES*>(GlobalLock(block.get())) : nullptr;
    if (!drop) return {};
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = clientPoint;
    drop->fNC = FALSE;
    drop->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(block.get());
    return block;
}

} // namespace

std::wstring Widen(const std::string& ansi) {
    const int n = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), static_cast<int>(ansi.size()), &wide[0], n);
    return wide;
}

bool HostEmulator::DropFiles(HWND over, int x, int y, const std::vector<std::string>& paths) {
    std::vector<std::wstring> wide;
    for (const std::string& path : paths) wide.push_back(Widen(path));
    return DropFiles(over, x, y, wide);
}

bool HostEmulator::DropFiles(HWND over, int x, int y, const std::vector<std::wstring>& paths) {
    POINT screen{x, y};
    ClientToScreen(over, &screen);
    // The shell's choice: the window under the point, or its nearest ancestor that accepts files.
    HWND target = WindowFromPoint(screen);
    while (target && !(GetWindowLongA(target, GWL_EXSTYLE) & WS_EX_ACCEPTFILES)) target = GetParent(target);
    if (!target) return false;
    POINT targetPoint = screen;
    ScreenToClient(target, &targetPoint);
    qor::UniqueGlobal block = DropBlock(paths, targetPoint);
    if (!block || !PostMessageA(target, WM_DROPFILES, reinterpret_cast<WPARAM>(block.get()), 0)) return false;
    block.release(); // the receiver's now: DragFinish frees it
    return true;
}

void HostEmulator::SendKeyPress(WORD virtualKey, bool shift, bool ctrl, bool alt) {
    std::vector<INPUT> keys;
    AddKeyPress(keys, virtualKey, shift, ctrl, alt);
    Send(keys);
}

// One batch: the keys arrive as fast typing does, however busy the machine.
void HostEmulator::SendText(const std::string& text) {
    std::vector<INPUT> keys;
    for (char c : text) {
        const SHORT scan = VkKeyScanA(c);
        if (scan == -1) continue;
        AddKeyPress(keys, LOBYTE(scan), (HIBYTE(scan) & 1) != 0, (HIBYTE(scan) & 2) != 0, (HIBYTE(scan) & 4) != 0);
    }
    if (!keys.empty()) Send(keys);
}

void HostEmulator::KeyPress(WORD virtualKey, bool shift, bool ctrl, bool alt) {
    SendKeyPress(virtualKey, shift, ctrl, alt);
    Pump(10);
}

void HostEmulator::TypeText(const std::string& text) {
    SendText(text);
    Pump(10);
}

bool HostEmulator::SaveScreenshot(const std::string& path) {
    Pump(50);
    return SaveWindowScreenshot(window_, path);
}

bool HostEmulator::SaveWindowScreenshot(HWND window, const std::string& path) {
    std::string error;
    const std::vector<uint8_t> png = EncodePng(CaptureWindow(window), error);
    if (png.empty()) return false;
    // Written beside the target and moved over it: an old picture stays whole
    // until the new one is complete.
    const std::string part = path + ".part";
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
        out.close();
        if (!out) {
            DeleteFileA(part.c_str());
            return false;
        }
    }
    if (MoveFileExA(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    DeleteFileA(part.c_str());
    return false;
}

BlockReport HostEmulator::Blocks() const {
    return BlockReport{handedOver_.size(), pluginOwned_.size(), hostBlocksFreed_, pluginAllocations_};
}

// ---- callbacks --------------------------------------------------------------

void HostEmulator::OnAddAction(int32_t id, const char* name, const char* hint, const uint8_t* kinds, int32_t high,
                               int32_t count) {
    Announcement a;
    a.id = id;
    a.name = name ? name : "";
    a.hint = hint ? hint : "";
    a.kindsHigh = high;
    a.count = count;
    if (kinds && high >= 0) a.kinds.assign(kinds, kinds + high + 1);
    announcements_.push_back(std::move(a));
}

void HostEmulator::OnGetVariable(const char* name, char** value) {
    auto it = variables_.find(name ? name : "");
    if (it != variables_.end()) *value = HandOver(it->second);
}

void HostEmulator::Record(LogEntry entry) {
    if (onLogEntry) onLogEntry(entry);
    if (keepLog) log_.push_back(std::move(entry));
}

void HostEmulator::OnSetVariable(const char* name, const char* value) {
    Record({LogKind::SetVariable, name ? name : "", value ? value : ""});
    variables_[name ? name : ""] = value ? value : "";
}

void HostEmulator::OnScriptLine(const char* line) {
    const std::string text = line ? line : "";
    Record({LogKind::ScriptLine, "", text});
    const std::string prefix = "GoSub \"";
    if (text.size() > prefix.size() && text.compare(0, prefix.size(), prefix) == 0 && text.back() == '"') {
        auto it = subroutines_.find(text.substr(prefix.size(), text.size() - prefix.size() - 1));
        if (it != subroutines_.end()) {
            const std::function<void()> body = it->second; // the body may redefine subroutines
            body();
            return;
        }
    }
    if (onOtherScriptLine) onOtherScriptLine(text);
}

bool HostEmulator::OnInterfaceAccess(int32_t request, char** text) {
    const std::string in = *text ? *text : "";
    requests.emplace_back(request, in);
    std::string answer;
    bool answered = true;
    switch (request) {
    case 5:
        answer = subroutineList;
        break;
    case 7: {
        auto it = objectWindowAnswers_.find(in);
        if (it != objectWindowAnswers_.end()) {
            answer = it->second;
        } else {
            HWND rect = Rectangle(in);
            answer = std::to_string(reinterpret_cast<uintptr_t>(rect));
        }
        break;
    }
    case 8:
        answer = in;
        answered = pickObject && pickObject(answer);
        break;
    case 14:
        answer = in;
        answered = pickVariable && pickVariable(answer);
        break;
    default:
        return false;
    }
    if (!answered) return false;
    // Replace the plug-in's block with the host's answer, as the host does.
    if (*text) {
        pluginOwned_.erase(*text);
        g_realGlobalFree(*text);
    }
    *text = HandOver(answer);
    return true;
}

bool HostEmulator::OnGlobalFree(HGLOBAL block) {
    if (hostOwned_.count(block)) {
        ++hostBlocksFreed_;
        return false;
    }
    handedOver_.erase(block);
    pluginOwned_.erase(block);
    return true;
}

void HostEmulator::OnGlobalAlloc(HGLOBAL block) {
    pluginOwned_.insert(block);
    ++pluginAllocations_;
}

char* HostEmulator::HandOver(const std::string& text) {
    auto* block = static_cast<char*>(g_realGlobalAlloc(GMEM_FIXED, text.size() + 1));
    std::memcpy(block, text.c_str(), text.size() + 1);
    handedOver_.insert(block);
    return block;
}

char* HostEmulator::HostBlock(const std::string& text) {
    auto* block = static_cast<char*>(g_realGlobalAlloc(GMEM_FIXED, text.size() + 1));
    std::memcpy(block, text.c_str(), text.size() + 1);
    hostOwned_.insert(block);
    return block;
}

void HostEmulator::FreeHostBlock(char* block) {
    if (!block) return;
    hostOwned_.erase(block);
    g_realGlobalFree(block);
}

std::string HostEmulator::TakeFromPlugin(char*& block) {
    if (!block) return {};
    std::string text = block;
    pluginOwned_.erase(block);
    handedOver_.erase(block);
    g_realGlobalFree(block);
    block = nullptr;
    return text;
}

} // namespace qorhost
