#include "hotkeys/UTCustomHotKey.h"

#include <commctrl.h>

#include "core/ControlRegistry.h"
#include "core/ScriptError.h"
#include "core/ValueEncodings.h"
#include "core/WinValues.h"
#include "host/PlugInUtils.h"
#include "hotkeys/HotKeyFiles.h"
#include "hotkeys/HotKeyList.h"
#include "hotkeys/ShortCutText.h"

namespace qor {

namespace {

constexpr int kFieldId = 1;
constexpr char kKindWords[] = "hotkey";
constexpr char kRefused[] = "ERROR";

std::shared_ptr<TFMCustomHotKey> RequireField(const std::string& name) {
    return RequireControl<TFMCustomHotKey>(ControlKind::HotKey, name, kKindWords);
}

// The hot key id of every field: the atom of the running program's path.
std::string ProgramPath() {
    char path[MAX_PATH * 2] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, length);
}

FontSpec DefaultHotKeyFont() {
    FontSpec spec;
    spec.faceName = "Arial";
    spec.size = 10;
    spec.color = SystemColor(COLOR_WINDOWTEXT);
    return spec;
}

// The input control's HOTKEYF_ modifiers in its high byte; ours in bits 13 to 15.
uint32_t FromControlValue(LRESULT word) {
    const uint32_t key = static_cast<uint32_t>(word) & 0xFF;
    const uint32_t mods = (static_cast<uint32_t>(word) >> 8) & 0xFF;
    if (key == 0) return 0;
    return key | ((mods & HOTKEYF_SHIFT) ? kHotKeyShift : 0) | ((mods & HOTKEYF_CONTROL) ? kHotKeyCtrl : 0) |
           ((mods & HOTKEYF_ALT) ? kHotKeyAlt : 0);
}

// An extended key (Left, Del, ...) is named by the field only with HOTKEYF_EXT;
// without it the field shows the keypad key of the same scan code.
WPARAM ToControlValue(uint32_t value) {
    const uint32_t key = value & kHotKeyCodeMask;
    const uint32_t mods = ((value & kHotKeyShift) ? HOTKEYF_SHIFT : 0) | ((value & kHotKeyCtrl) ? HOTKEYF_CONTROL : 0) |
                          ((value & kHotKeyAlt) ? HOTKEYF_ALT : 0) | (IsExtendedKey(key) ? HOTKEYF_EXT : 0);
    return key ? (key | (mods << 8)) : 0;
}

// True when the window and every window above it are enabled and visible.
bool CanFocus(HWND window) {
    if (!IsWindowVisible(window)) return false;
    for (HWND w = window; w; w = GetAncestor(w, GA_PARENT)) {
        if (w == GetDesktopWindow()) break;
        if (!IsWindowEnabled(w)) return false;
    }
    return true;
}

} // namespace

TFMCustomHotKey::TFMCustomHotKey(const Params& params) : AttachedControl(ControlKind::HotKey, params.at(0)) {
    fontSpec_ = params.at(1);
    OnHotKeySub = params.at(2);
    ResultVariable = params.at(3);
}

void TFMCustomHotKey::BuildContent() {
    INITCOMMONCONTROLSEX init{sizeof init, ICC_HOTKEY_CLASS};
    InitCommonControlsEx(&init);
    // The field is a window of the common controls library, which may be in
    // the process only because the plug-in imports it. Keep that library for
    // good: a field left behind by an unload without cleanup must not call
    // into code that went with the plug-in.
    HMODULE commonControls = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_PIN, "comctl32.dll", &commonControls);
    RECT client{};
    GetClientRect(hwnd(), &client);
    HotKey1.reset(CreateWindowExA(WS_EX_CLIENTEDGE, HOTKEY_CLASSA, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0,
                                  client.right, client.bottom, hwnd(),
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFieldId)), PlugInInstance(), nullptr));
    if (!HotKey1) throw ScriptError("Cannot create the hot key field (error " + std::to_string(GetLastError()) + ").");
    // Any key, with or without modifiers, is a combination.
    SendMessageA(HotKey1.get(), HKM_SETRULES, 0, 0);
    font_ = CreateFontFromSpec(DefaultHotKeyFont());
    SendMessageA(HotKey1.get(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
}

void TFMCustomHotKey::AfterPlaced() {
    if (fontSpec_.empty()) return;
    FontSpec spec = DefaultHotKeyFont();
    SpecToFont(fontSpec_, spec);
    UniqueFont made = CreateFontFromSpec(spec);
    SendMessageA(HotKey1.get(), WM_SETFONT, reinterpret_cast<WPARAM>(made.get()), TRUE);
    font_ = std::move(made);
}

void TFMCustomHotKey::LayoutContent(int width, int height) {
    if (HotKey1) MoveWindow(HotKey1.get(), 0, 0, width, height, TRUE);
}

void TFMCustomHotKey::ClearMirroredVariables() {
    WriteVariable(ResultVariable, "");
    JvApplicationHotKey1.Release();
}

uint32_t TFMCustomHotKey::Value() const {
    return HotKey1 ? FromControlValue(SendMessageA(HotKey1.get(), HKM_GETHOTKEY, 0, 0)) : 0;
}

void TFMCustomHotKey::SetValue(uint32_t value) {
    if (HotKey1) SendMessageA(HotKey1.get(), HKM_SETHOTKEY, ToControlValue(value), 0);
}

void TFMCustomHotKey::Reactivate(uint32_t value) {
    JvApplicationHotKey1.Release();
    if (IsDestroyed()) return;
    if (!JvApplicationHotKey1.Register(hwnd(), ProgramPath(), value, KeyRepeat::Once))
        WriteVariable(ResultVariable, kRefused);
}

void TFMCustomHotKey::CombinationChanged() {
    const std::string text = ShortCutToText(Value());
    WriteVariable(ResultVariable, text);
    if (!text.empty() && !OnHotKeySub.empty())
        Reactivate(Value());
    else
        JvApplicationHotKey1.Release();
}

void TFMCustomHotKey::SetShortCut(const std::string& text) {
    SetValue(TextToShortCut(text));
    CombinationChanged();
}

void TFMCustomHotKey::LoadShortCut(const std::string& text) {
    SetValue(TextToShortCut(text));
    if (!OnHotKeySub.empty()) Reactivate(Value());
    WriteVariable(ResultVariable, text);
}

void TFMCustomHotKey::Focus() {
    if (!HotKey1 || !CanFocus(HotKey1.get())) throw ScriptError("Cannot focus a disabled or invisible window");
    SetFocus(HotKey1.get());
}

LRESULT TFMCustomHotKey::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (HotKey1 && reinterpret_cast<HWND>(lParam) == HotKey1.get() && HIWORD(wParam) == EN_CHANGE) {
            CombinationChanged();
            return 0;
        }
        break;
    case WM_HOTKEY:
        if (JvApplicationHotKey1.Active() && wParam == JvApplicationHotKey1.Id()) {
            // Once per press, however long the combination is held.
            if (JvApplicationHotKey1.TakePress()) RunEvent(OnHotKeySub);
            return 0;
        }
        break;
    case WM_TIMER:
        if (JvApplicationHotKey1.Poll(wParam)) return 0;
        break;
    case WM_DESTROY:
        // Also when the host destroys the rectangle's window first. The field
        // goes with this window: forget it, so no later action reaches a dead
        // or reused handle.
        JvApplicationHotKey1.Release();
        HotKey1.release();
        break;
    }
    return AttachedControl::WindowProc(message, wParam, lParam);
}

// ---- Actions -----------------------------------------------------------------

bool qorCreateHotKey(const Params& params) {
    CreateAttachedControl(std::make_shared<TQORHotKey>(params));
    return true;
}

bool qorSetHotKey(const Params& params) {
    RequireField(params.at(0))->SetShortCut(params.at(1));
    return true;
}

bool qorFocusHotKey(const Params& params) {
    RequireField(params.at(0))->Focus();
    return true;
}

bool qorSaveHotKeys(const Params& params) {
    if (!ControlListExists(ControlKind::HotKey)) return true;
    std::vector<std::string> lines;
    for (const auto& control : ControlsOfKind(ControlKind::HotKey))
        if (auto field = std::dynamic_pointer_cast<TFMCustomHotKey>(control))
            lines.push_back(field->RectangleName() + "=" + ShortCutToText(field->Value()));
    WriteListFile(params.at(0), lines, IsTrueFlag(params.at(1)));
    return true;
}

void ReleaseHotKeyFieldsAtDetach(bool processExit) noexcept {
    try {
        for (const auto& control : ControlsOfKind(ControlKind::HotKey)) {
            auto* field = dynamic_cast<TFMCustomHotKey*>(control.get());
            if (!field) continue;
            if (processExit)
                field->JvApplicationHotKey1.ReleaseAtomAtProcessExit();
            else
                field->JvApplicationHotKey1.Release();
        }
    } catch (...) {
    }
}

bool qorLoadHotKeys(const Params& params) {
    if (!ControlListExists(ControlKind::HotKey)) return true;
    KeyLineList file;
    for (auto& line : ReadListFile(params.at(0), IsTrueFlag(params.at(1)))) file.Append(std::move(line));
    for (const auto& control : ControlsOfKind(ControlKind::HotKey)) {
        auto field = std::dynamic_pointer_cast<TFMCustomHotKey>(control);
        if (!field || field->IsDestroyed()) continue;
        const int line = file.Find(field->RectangleName());
        field->LoadShortCut(line < 0 ? std::string() : LineValue(file.Lines()[static_cast<size_t>(line)]));
    }
    return true;
}

} // namespace qor
