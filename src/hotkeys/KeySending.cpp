#include "hotkeys/KeySending.h"

#include <cstring>
#include <utility>
#include <vector>

#include "core/AnsiText.h"
#include "core/ScriptError.h"
#include "host/HostServices.h"
#include "hotkeys/HotKeyFiles.h"

namespace qor {

namespace {

constexpr char kBackupFileName[] = "qorClipBack000.dat";
constexpr char kTempDirVariable[] = "[TempDir]";
constexpr int kOpenAttempts = 10;
constexpr DWORD kOpenRetryPause = 10;
constexpr DWORD kKeyPollPause = 5;
constexpr DWORD kKeyWaitLimit = 10000;
constexpr UINT kRestoreFlags = GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_SHARE;

// The clipboard, open for the scope. Other programs hold it briefly, so
// opening is tried a few times.
class OpenClipboardScope {
public:
    explicit OpenClipboardScope(HWND owner) {
        for (int attempt = 0; attempt < kOpenAttempts && !open_; ++attempt) {
            if (attempt) Sleep(kOpenRetryPause);
            open_ = OpenClipboard(owner) != FALSE;
        }
        if (!open_) throw ScriptError("Cannot open clipboard");
    }
    ~OpenClipboardScope() { CloseClipboard(); }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;

private:
    bool open_ = false;
};

// Global memory locked for the scope.
class GlobalLockScope {
public:
    explicit GlobalLockScope(HGLOBAL block) : block_(block), data_(block ? GlobalLock(block) : nullptr) {}
    ~GlobalLockScope() { if (data_) GlobalUnlock(block_); }
    GlobalLockScope(const GlobalLockScope&) = delete;
    GlobalLockScope& operator=(const GlobalLockScope&) = delete;
    void* data() const { return data_; }

private:
    HGLOBAL block_;
    void* data_;
};

std::string FormatName(UINT format) {
    wchar_t name[256] = {};
    const int length = GetClipboardFormatNameW(format, name, 256);
    if (length <= 0) return {};
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, name, length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, name, length, &utf8[0], bytes, nullptr, nullptr);
    return utf8;
}

UINT FormatIdOf(const std::string& utf8Name) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8Name.data(), static_cast<int>(utf8Name.size()), nullptr, 0);
    std::wstring name(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8Name.data(), static_cast<int>(utf8Name.size()), &name[0], length);
    return RegisterClipboardFormatW(name.c_str());
}

// Hands a copy of the bytes to the clipboard under `format`.
void PutBytes(UINT format, const void* data, size_t size) {
    UniqueGlobal block(GlobalAlloc(kRestoreFlags, size ? size : 1));
    if (!block) throw ScriptError("Out of memory");
    {
        GlobalLockScope lock(block.get());
        if (!lock.data()) throw ScriptError("Out of memory");
        if (size) std::memcpy(lock.data(), data, size);
    }
    if (SetClipboardData(format, block.get())) block.release(); // the clipboard owns it now
}

// The open clipboard's formats whose data is memory, as bytes. A format whose
// data cannot be locked, or is empty, is left out.
std::vector<ClipboardItem> CopyMemoryFormats() {
    std::vector<ClipboardItem> items;
    for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
        if (!IsMemoryFormat(format)) continue;
        HANDLE data = GetClipboardData(format);
        if (!data) continue;
        GlobalLockScope lock(data);
        if (!lock.data()) continue; // not global memory: left out, the rest is kept
        const SIZE_T size = GlobalSize(data);
        if (!size) continue;
        items.push_back({format, FormatName(format), std::string(static_cast<const char*>(lock.data()), size)});
    }
    return items;
}

// Hands the items to the open clipboard. The ids come from a file other
// programs can write: only memory formats are handed over.
void PutMemoryFormats(const std::vector<ClipboardItem>& items) {
    for (const ClipboardItem& item : items) {
        const UINT format = item.name.empty() ? item.id : FormatIdOf(item.name);
        if (IsMemoryFormat(format)) PutBytes(format, item.data.data(), item.data.size());
    }
}

UniquePalette CopyPalette(HPALETTE source) {
    const UINT count = source ? GetPaletteEntries(source, 0, 0, nullptr) : 0;
    if (!count) return UniquePalette();
    std::vector<BYTE> buffer(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
    auto* palette = reinterpret_cast<LOGPALETTE*>(buffer.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = static_cast<WORD>(count);
    GetPaletteEntries(source, 0, count, palette->palPalEntry);
    return UniquePalette(CreatePalette(palette));
}

void SendKey(BYTE key, bool up) {
    keybd_event(key, static_cast<BYTE>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC)), up ? KEYEVENTF_KEYUP : 0, 0);
}

// Every keyboard message waiting for this thread, handled now.
void DrainKeyboardMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void SendKeyAndDrain(BYTE key, bool up) {
    SendKey(key, up);
    DrainKeyboardMessages();
}

bool AnyKeyDown() {
    for (int key = 255; key >= 0; --key)
        if (GetAsyncKeyState(key) & 0x8000) return true;
    return false;
}

} // namespace

std::string ClipboardBackup::BackupFilePath() { return GetHostVariable(kTempDirVariable) + kBackupFileName; }

void ClipboardBackup::Backup(HWND owner) {
    kept_ = Kept::Nothing;
    bitmap_.reset();
    palette_.reset();
    items_.clear();
    std::vector<ClipboardItem> items;
    {
        OpenClipboardScope open(owner);
        if (IsClipboardFormatAvailable(CF_BITMAP)) {
            bitmap_.reset(static_cast<HBITMAP>(CopyImage(GetClipboardData(CF_BITMAP), IMAGE_BITMAP, 0, 0, 0)));
            if (!bitmap_) return;
            if (IsClipboardFormatAvailable(CF_PALETTE))
                palette_ = CopyPalette(static_cast<HPALETTE>(GetClipboardData(CF_PALETTE)));
        }
        items = CopyMemoryFormats();
    }
    if (!bitmap_) {
        try {
            WriteWholeFile(BackupFilePath(), WriteClipboardStream(items));
            kept_ = Kept::File;
            return;
        } catch (...) {
            // The old file stays as it was; the clipboard still comes back.
            items_ = std::move(items);
            kept_ = Kept::Memory;
            throw;
        }
    }
    items_ = std::move(items);
    kept_ = Kept::Memory;
}

void ClipboardBackup::Restore(HWND owner) {
    const Kept kept = std::exchange(kept_, Kept::Nothing);
    if (kept == Kept::Nothing) return;
    std::vector<ClipboardItem> items = std::move(items_);
    items_.clear();
    // The whole file is read and checked before the clipboard is touched.
    if (kept == Kept::File && !ReadClipboardStream(ReadWholeFile(BackupFilePath()), items))
        throw ScriptError("The clipboard backup is damaged.");
    OpenClipboardScope open(owner);
    EmptyClipboard();
    if (bitmap_ && SetClipboardData(CF_BITMAP, bitmap_.get())) bitmap_.release();
    if (palette_ && SetClipboardData(CF_PALETTE, palette_.get())) palette_.release();
    PutMemoryFormats(items);
}

void PutPasteText(HWND owner, const std::string& text) {
    OpenClipboardScope open(owner);
    EmptyClipboard();
    PutBytes(CF_TEXT, text.c_str(), text.size() + 1);
    const DWORD zero = 0;
    PutBytes(RegisterClipboardFormatA("ExcludeClipboardContentFromMonitorProcessing"), &zero, sizeof zero);
    PutBytes(RegisterClipboardFormatA("CanIncludeInClipboardHistory"), &zero, sizeof zero);
}

void SendPasteKeystroke() {
    SendKeyAndDrain(VK_CONTROL, false);
    const SHORT scan = VkKeyScanA('v');
    if (scan != -1) {
        const BYTE key = LOBYTE(scan);
        const BYTE shifts = HIBYTE(scan);
        const BYTE modifiers[] = {VK_SHIFT, VK_CONTROL, VK_MENU};
        const BYTE bits[] = {1, 2, 4};
        for (int i = 0; i < 3; ++i)
            if (shifts & bits[i]) SendKeyAndDrain(modifiers[i], false);
        SendKeyAndDrain(key, false);
        SendKeyAndDrain(key, true);
        for (int i = 0; i < 3; ++i)
            if (shifts & bits[i]) SendKeyAndDrain(modifiers[i], true);
    }
    SendKeyAndDrain(VK_CONTROL, true);
}

void ReleaseModifiersOf(const std::string& shortCutText) {
    const std::string raised = AnsiUpperCase(shortCutText);
    if (raised.find("ALT") != std::string::npos) SendKey(VK_MENU, true);
    if (raised.find("SHIFT") != std::string::npos) SendKey(VK_SHIFT, true);
    if (raised.find("CTRL") != std::string::npos) SendKey(VK_CONTROL, true);
}

bool WaitForKeysReleased() {
    const DWORD start = GetTickCount();
    while (AnyKeyDown()) {
        if (GetTickCount() - start >= kKeyWaitLimit) return false;
        Sleep(kKeyPollPause);
    }
    return true;
}

} // namespace qor
