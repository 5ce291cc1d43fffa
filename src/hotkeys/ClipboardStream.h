#pragma once
// The private file that holds a clipboard backup: a list of formats, each as
// its id, its registered name (empty for predefined formats) and its bytes.
//
// Encoding: 0x01 opens the list and 0x00 closes it. Integers are a tag and a
// little-endian payload (0x02: 1 byte, 0x03: 2 bytes, 0x04: 4 bytes, signed,
// the shortest that holds the value); texts are 0x06 + 1 length byte for
// short ASCII, 0x0C + 4 length bytes for longer ASCII, 0x14 + 4 length bytes
// for UTF-8. The file lies in a folder other programs can write, so the
// reader trusts nothing: every length is checked against what is left.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qor {

struct ClipboardItem {
    uint32_t id = 0;
    std::string name; // UTF-8
    std::string data;
    bool operator==(const ClipboardItem& other) const {
        return id == other.id && name == other.name && data == other.data;
    }
};

// True for a format id whose data is a plain memory block, which a backup may
// copy as bytes and a restore hand back: not a bitmap, metafile picture,
// palette, enhanced metafile or other GDI object (0x300-0x3FF), not a private
// handle (0x200-0x2FF), not drawn by its owner; and an id the clipboard can
// hold (1 to 0xFFFF). Any other block handed over under such an id would be
// used, and deleted, as the object the id promises.
bool IsMemoryFormat(uint32_t format);

std::string WriteClipboardStream(const std::vector<ClipboardItem>& items);
// False (items unspecified) when the bytes are not a complete, well-formed list.
bool ReadClipboardStream(std::string_view bytes, std::vector<ClipboardItem>& items);

} // namespace qor
