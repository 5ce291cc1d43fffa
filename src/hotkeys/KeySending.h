#pragma once
// What a paste command needs: a backup of the clipboard and its restore, the
// text placed on the clipboard for the paste, and the paste keystroke.
//
// The backup keeps a bitmap (with its palette) in memory; any other clipboard
// is written to "qorClipBack000.dat" in the folder named by "[TempDir]". A
// restore after a backup that failed leaves the clipboard alone, so that an
// older backup never comes back.
#include <windows.h>

#include <string>

#include "core/WinHandles.h"

namespace qor {

class ClipboardBackup {
public:
    // Failures throw (the caller ignores them).
    void Backup(HWND owner);
    void Restore(HWND owner);

    // The backup file: "[TempDir]" followed directly by the file name.
    static std::string BackupFilePath();

private:
    bool valid_ = false;   // the last backup succeeded and was not restored yet
    bool picture_ = false; // it kept a picture instead of writing the file
    UniqueBitmap bitmap_;
    UniquePalette palette_;
};

// Empties the clipboard and puts `text` on it as plain text, marked so that
// clipboard history and clipboard monitors leave it out.
void PutPasteText(HWND owner, const std::string& text);

// Ctrl+V as synthetic input, with the key that types "v" on the current layout;
// keyboard messages of this thread are handled after every event.
void SendPasteKeystroke();

// Key-up events for Alt, Shift and Ctrl when the shortcut text names them.
void ReleaseModifiersOf(const std::string& shortCutText);

// Polls every few milliseconds until no key is down; gives up after 10 s.
void WaitForKeysReleased();

} // namespace qor
