// Routing of nbEditAction: action id -> its dialog table, shown by the dialog
// engine; on OK the parameters it writes replace their host strings in order.
#include <array>

#include "core/EditDialogView.h"
#include "core/WinHandles.h"
#include "host/ActionCatalogue.h"
#include "host/EditRoutes.h"
#include "host/EditTestDialog.h"
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

// Shows the dialog for `count` parameters; on OK replaces the entries it writes.
bool RunDialog(const DialogSpec& spec, const std::string& caption, HostString* params, int count) {
    std::vector<std::string> texts;
    for (int i = 0; i < count; ++i) texts.emplace_back(params[i] ? params[i] : "");
    DialogModel model(spec, texts);
    if (!ShowEditDialog(GetActiveWindow(), caption, model)) return false;
    const std::vector<std::optional<std::string>> writes = model.Write(count);
    // Every new block first: when one cannot be had, every parameter stays
    // as it was (the blocks made so far go again) and the call fails.
    std::vector<UniqueGlobal> blocks(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        if (writes[i]) blocks[i].reset(NewHostString(*writes[i]));
    for (int i = 0; i < count; ++i) {
        if (!writes[i]) continue;
        ReleaseHostString(params[i]);
        params[i] = static_cast<HostString>(blocks[i].release());
    }
    return true;
}

} // namespace

bool EditAction(int32_t id, HostString* params) noexcept {
    if (!params) return false;
    try {
#ifdef QOR_TEST_BUILD
        if (id == kTestDialogId) {
            const DialogSpec spec = TestDialog(id);
            return RunDialog(spec, spec.caption, params, 4);
        }
#endif
        const CatalogueEntry* entry = FindAction(id);
        if (!entry) return false;
        static const EditTable dialogs = BuildEditTable();
        const DialogMaker maker = dialogs[id];
        if (!maker) return false;
        const DialogSpec spec = maker(id);
        return RunDialog(spec, spec.caption.empty() ? DialogCaption(entry->name) : spec.caption, params,
                         entry->count);
    } catch (...) {
        return false;
    }
}

} // namespace qor
