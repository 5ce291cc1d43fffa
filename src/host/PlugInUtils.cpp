#include "host/PlugInUtils.h"

#include <cstring>
#include <new>

namespace qor {

HostSlots& Slots() {
    static HostSlots slots;
    return slots;
}

HostString NewHostString(const std::string& text) {
    auto* block = static_cast<char*>(GlobalAlloc(GMEM_FIXED, text.size() + 1));
    if (!block) throw std::bad_alloc();
    std::memcpy(block, text.c_str(), text.size() + 1);
    return block;
}

void AssignHostString(HostString& target, const std::string& text) {
    HostString block = NewHostString(text); // the old block stays when there is no memory
    ReleaseHostString(target);
    target = block;
}

void ReleaseHostString(HostString& target) {
    if (target) GlobalFree(target);
    target = nullptr;
}

} // namespace qor
