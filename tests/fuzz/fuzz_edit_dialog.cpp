// Editing dialogs reading stored parameter texts: any texts load into every
// routed dialog, OK writes one entry or none per parameter, and a dialog
// reopened on what it wrote writes the same again (multi-line fields aside,
// whose codes the host's notation cannot always round-trip).
#include "FuzzSupport.h"
#include "core/EditDialog.h"
#include "host/ActionCatalogue.h"
#include "host/EditRoutes.h"

using namespace qor;
using namespace qor::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    const std::vector<EditRoute>& routes = EditRoutes();
    const EditRoute& route = routes[data[0] % routes.size()];
    const CatalogueEntry* entry = FindAction(route.id);
    std::vector<std::string> params(entry->count);
    size_t n = 0;
    for (size_t i = 1; i < size; ++i) {
        if (data[i] == '\n') {
            if (++n == params.size()) break;
        } else {
            params[n] += static_cast<char>(data[i]);
        }
    }
    const DialogSpec spec = route.dialog(route.id);
    DialogModel first(spec, params);
    first.Show();
    const std::vector<std::optional<std::string>> written = first.Write(params.size());
    Require(written.size() == params.size(), "one entry per parameter");
    std::vector<std::string> stored = params;
    for (size_t i = 0; i < params.size(); ++i)
        if (written[i]) stored[i] = *written[i];
    DialogModel again(spec, stored);
    again.Show();
    const std::vector<std::optional<std::string>> rewritten = again.Write(params.size());
    for (size_t i = 0; i < params.size(); ++i) {
        const int field = first.FieldOf(static_cast<int>(i));
        if (field < 0) {
            Require(!written[i], "a parameter without a field is written");
            continue;
        }
        if (spec.fields[field].kind == FieldKind::MultiLine) continue;
        Require(rewritten[i].value_or(stored[i]) == stored[i], "a reopened dialog writes something else");
    }
    return 0;
}
