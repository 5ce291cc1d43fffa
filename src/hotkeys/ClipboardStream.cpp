#include "hotkeys/ClipboardStream.h"

namespace qor {

namespace {

enum Tag : uint8_t {
    ListEnd = 0x00,
    ListBegin = 0x01,
    Int8 = 0x02,
    Int16 = 0x03,
    Int32 = 0x04,
    ShortText = 0x06,
    LongText = 0x0C,
    Int64 = 0x13,
    Utf8Text = 0x14,
};

void PutLittleEndian(std::string& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void PutInteger(std::string& out, int64_t value) {
    if (value >= -128 && value <= 127) {
        out += static_cast<char>(Int8);
        PutLittleEndian(out, static_cast<uint64_t>(value), 1);
    } else if (value >= -32768 && value <= 32767) {
        out += static_cast<char>(Int16);
        PutLittleEndian(out, static_cast<uint64_t>(value), 2);
    } else if (value >= INT32_MIN && value <= INT32_MAX) {
        out += static_cast<char>(Int32);
        PutLittleEndian(out, static_cast<uint64_t>(value), 4);
    } else {
        out += static_cast<char>(Int64);
        PutLittleEndian(out, static_cast<uint64_t>(value), 8);
    }
}

void PutText(std::string& out, const std::string& text) {
    bool ascii = true;
    for (char c : text) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii && text.size() <= 255) {
        out += static_cast<char>(ShortText);
        PutLittleEndian(out, text.size(), 1);
    } else {
        out += static_cast<char>(ascii ? LongText : Utf8Text);
        PutLittleEndian(out, text.size(), 4);
    }
    out += text;
}

// Reads values off the front of the bytes; every read checks what is left.
class Reader {
public:
    explicit Reader(std::string_view bytes) : rest_(bytes) {}
    bool AtEnd() const { return rest_.empty(); }

    bool Byte(uint8_t& value) {
        if (rest_.empty()) return false;
        value = static_cast<uint8_t>(rest_[0]);
        rest_.remove_prefix(1);
        return true;
    }
    bool Unsigned(int bytes, uint64_t& value) {
        if (rest_.size() < static_cast<size_t>(bytes)) return false;
        value = 0;
        for (int i = 0; i < bytes; ++i) value |= static_cast<uint64_t>(static_cast<uint8_t>(rest_[i])) << (8 * i);
        rest_.remove_prefix(static_cast<size_t>(bytes));
        return true;
    }
    bool Integer(int64_t& value) {
        uint8_t tag = 0;
        uint64_t raw = 0;
        if (!Byte(tag)) return false;
        switch (tag) {
        case Int8:
            if (!Unsigned(1, raw)) return false;
            value = static_cast<int8_t>(raw);
            return true;
        case Int16:
            if (!Unsigned(2, raw)) return false;
            value = static_cast<int16_t>(raw);
            return true;
        case Int32:
            if (!Unsigned(4, raw)) return false;
            value = static_cast<int32_t>(raw);
            return true;
        }
        return false; // 64-bit sizes are never accepted
    }
    bool Text(std::string& text) {
        uint8_t tag = 0;
        uint64_t length = 0;
        if (!Byte(tag)) return false;
        if (tag == ShortText) {
            if (!Unsigned(1, length)) return false;
        } else if (tag == LongText || tag == Utf8Text) {
            if (!Unsigned(4, length)) return false;
        } else {
            return false;
        }
        return Bytes(length, text);
    }
    bool Bytes(uint64_t count, std::string& out) {
        if (count > rest_.size()) return false;
        out.assign(rest_.data(), static_cast<size_t>(count));
        rest_.remove_prefix(static_cast<size_t>(count));
        return true;
    }
    bool PeekIsListEnd() const { return !rest_.empty() && static_cast<uint8_t>(rest_[0]) == ListEnd; }

private:
    std::string_view rest_;
};

} // namespace

bool IsMemoryFormat(uint32_t format) {
    if (format == 0 || format > 0xFFFF) return false;
    if (format >= 0x200 && format <= 0x3FF) return false; // private handles, GDI objects
    switch (format) {
    case 2:    // bitmap
    case 3:    // metafile picture
    case 9:    // palette
    case 14:   // enhanced metafile
    case 0x80: // owner display
    case 0x82: // display bitmap
    case 0x83: // display metafile picture
    case 0x8E: // display enhanced metafile
        return false;
    }
    return true;
}

std::string WriteClipboardStream(const std::vector<ClipboardItem>& items) {
    std::string out;
    out += static_cast<char>(ListBegin);
    for (const ClipboardItem& item : items) {
        PutInteger(out, static_cast<int64_t>(static_cast<int32_t>(item.id)));
        PutText(out, item.name);
        PutInteger(out, static_cast<int64_t>(item.data.size()));
        out += item.data;
    }
    out += static_cast<char>(ListEnd);
    return out;
}

bool ReadClipboardStream(std::string_view bytes, std::vector<ClipboardItem>& items) {
    items.clear();
    Reader in(bytes);
    uint8_t marker = 0;
    if (!in.Byte(marker) || marker != ListBegin) return false;
    while (!in.PeekIsListEnd()) {
        ClipboardItem item;
        int64_t id = 0, size = 0;
        if (!in.Integer(id) || !in.Text(item.name) || !in.Integer(size) || size < 0) return false;
        if (!in.Bytes(static_cast<uint64_t>(size), item.data)) return false;
        item.id = static_cast<uint32_t>(id);
        items.push_back(std::move(item));
    }
    in.Byte(marker); // the list-end marker
    return true;
}

} // namespace qor
