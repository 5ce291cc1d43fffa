#pragma once
// The actions this plug-in adds to the host's script language, in the order in
// which they are announced to the host.
#include <cstdint>
#include <string>

namespace qor {

constexpr int kCatalogueSize = 84;
constexpr int32_t kFirstActionId = 1;
constexpr int32_t kLastActionId = 73;
constexpr int kMaxParameters = 10;

enum ParameterKind : uint8_t {
    KindText = 1,     // the parameter's text is used as a value
    KindVariable = 6, // the parameter names a host variable
};

struct CatalogueEntry {
    int32_t id;        // 0 for a category header
    const char* name;  // script name, or the category title
    const char* hint;  // empty for a header
    uint8_t count;     // number of parameters
    uint8_t kinds[kMaxParameters];

    bool IsHeader() const { return id == 0; }
};

const CatalogueEntry* CatalogueBegin();
const CatalogueEntry* CatalogueEnd();
// nullptr for ids outside 1..73.
const CatalogueEntry* FindAction(int32_t id);
const CatalogueEntry* FindActionByName(const std::string& name);

} // namespace qor
