// The clipboard backup file lies where other programs can write: reading any
// bytes stays inside them, and what was read writes back to a file that reads
// the same.
#include "FuzzSupport.h"
#include "hotkeys/ClipboardStream.h"

using namespace qor;
using namespace qor::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<ClipboardItem> items;
    if (!ReadClipboardStream(Text(data, size), items))
        return 0;
    size_t total = 0;
    for (const auto& item : items) total += item.name.size() + item.data.size();
    Require(total <= size, "items hold more bytes than the file");
    std::vector<ClipboardItem> again;
    Require(ReadClipboardStream(WriteClipboardStream(items), again), "written list does not read");
    Require(again == items, "written list reads differently");
    return 0;
}
