#pragma once
// What a paste command needs: a backup of the clipboard and its restore, the
// text placed on the clipboard for the paste, and the paste keystroke.
//
// The backup copies every format whose data is a memory block. With a bitmap
// on the clipboard it keeps the bitmap (with its palette) and those formats
// in memory; otherwise it writes them to "qorClipBack000.dat" in the folder
// named by "[TempDir]", and keeps them in memory only when that file cannot
// be written (the old file stays as it was). A restore after a backup that
// failed otherwise leaves the clipboard alone, so that an older backup never
// comes back.
#include <windows.h>

#include <string>
#include <vector>

#include "core/WinHandles.h"
#include "hotkeys/ClipboardStream.h"

namespace qor {

class ClipboardBackup {
public:
    // Failures throw (the caller ignores them).
    void Backup(HWND owner);
    void Restore(HWND owner);

    // The backup file: "[TempDir]" followed directly by the file name.
    static std::string BackupFilePath();

private:
    enum class Kept : uint8_t { Nothing, File, Memory };
    Kept kept_ = Kept::Nothing; // what the last backup kept, until it is restored
    UniqueBitmap bitmap_;       // Memory: the picture, if there was one
    UniquePalette palette_;
    std::vector<ClipboardItem> items_; // Memory: the memory formats
};

// Empties the clipboard and puts `text` on it as plain text, marked so that
// clipboard history and clipboard monitors leave it out.
void PutPasteText(HWND owner, const std::string& text);

// Ctrl+V as synthetic input, with the key that types "v" on the current layout;
// keyboard messages of this thread are handled after every event.
void SendPasteKeystroke();

// Key-up events for Alt, Shift and Ctrl when the shortcut text names them.
void ReleaseModifiersOf(const std::string& shortCutText);

// Polls every few milliseconds until no key is down; gives up after 10 s
// (false then).
bool WaitForKeysReleased();

} // namespace qor
