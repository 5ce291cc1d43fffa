// Routing of nbEditAction: action id -> its dialog table, shown by the dialog
// engine; on OK the parameters it writes replace their host strings in order.
#include <array>

#include "core/EditDialogView.h"
#include "host/ActionCatalogue.h"
#include "host/EditRoutes.h"
#include "host/PlugInLifetime.h"

namespace qor {

namespace {

using EditTable = std::array<DialogMaker, kLastActionId + 1>;

EditTable BuildEditTable() {
    EditTable table{};
    for (const EditRoute& route : EditRoutes())
        if (route.id >= kFirstActionId && route.id <= kLastActionId) table[route.id] = route.dialog;
    return table;
}

} // namespace

bool EditAction(int32_t id, HostString* params) noexcept {
    const CatalogueEntry* entry = FindAction(id);
    if (!entry || !params) return false;
    try {
        static const EditTable dialogs = BuildEditTable();
        const DialogMaker maker = dialogs[id];
        if (!maker) return false;
        const DialogSpec spec = maker(id);
        std::vector<std::string> texts;
        for (int i = 0; i < entry->count; ++i) texts.emplace_back(params[i] ? params[i] : "");
        DialogModel model(spec, texts);
        const std::string caption = spec.caption.empty() ? DialogCaption(entry->name) : spec.caption;
        if (!ShowEditDialog(GetActiveWindow(), caption, model)) return false;
        const std::vector<std::optional<std::string>> writes = model.Write(entry->count);
        for (int i = 0; i < entry->count; ++i)
            if (writes[i]) AssignHostString(params[i], *writes[i]);
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace qor
