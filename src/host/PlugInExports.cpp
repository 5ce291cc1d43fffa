// The eight entry points the host calls. None of them lets an exception out.
#include "host/PlugInUtils.h"

#include "host/AboutBox.h"
#include "host/ActionCatalogue.h"
#include "host/ExecDispatch.h"
#include "host/PlugInLifetime.h"

namespace {

HINSTANCE g_instance = nullptr;

const char kName[] = "qorBrindavel";
const char kDeveloper[] = "Telvane.Duskmere";
const char kDescription[] =
    "This plugin enhances the ability of your application by adding HotKey Gadget, HotKey Manager, "
    "DropDown, ListBox, SmartEdit, CheckListBox, RadioListBox, FileDragDrop, TrackBar/ VolumeSlider "
    "and customized dialogues with much more enhanced features.";

void AnnounceCatalogue(qor::HostAddActionFn addAction) {
    if (!addAction) return;
    for (const qor::CatalogueEntry* entry = qor::CatalogueBegin(); entry != qor::CatalogueEnd(); ++entry) {
        const int32_t count = entry->count;
        addAction(entry->id, entry->name, entry->hint,
                  QOR_STACK_ARGS3(entry->kinds, count - 1, count));
    }
}

} // namespace

namespace qor {
HINSTANCE PlugInInstance() { return g_instance; }
} // namespace qor

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_instance = instance;
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        qor::OnUnload();
    } else if (reason == DLL_PROCESS_DETACH) {
        // Process exit: other DLLs may already be gone.
        qor::OnProcessExit();
    }
    return TRUE;
}

void QOR_HOSTCALL nbInitPlugIn(int32_t hostHandle, qor::HostString* name, qor::HostString* developer,
                               qor::HostString* description) {
    try {
        qor::Slots().hostHandle = hostHandle;
        if (name) qor::AssignHostString(*name, kName);
        if (developer) qor::AssignHostString(*developer, kDeveloper);
        if (description) qor::AssignHostString(*description, kDescription);
    } catch (...) {
    }
}

void QOR_HOSTCALL nbRegisterPlugIn(qor::HostAddActionFn addAction, qor::HostAddFileFn addFile,
                                   qor::HostGetVariableFn getVariable, qor::HostSetVariableFn setVariable) {
    try {
        qor::HostSlots& slots = qor::Slots();
        slots.addAction = addAction;
        slots.addFile = addFile;
        slots.getVariable = getVariable;
        slots.setVariable = setVariable;
        AnnounceCatalogue(addAction);
    } catch (...) {
    }
}

void QOR_HOSTCALL nbRegisterScriptProcessor(qor::HostScriptProcessorFn processor) {
    qor::Slots().scriptProcessor = processor;
}

void QOR_HOSTCALL nbRegisterInterfaceAccess(qor::HostInterfaceAccessFn access) {
    qor::Slots().interfaceAccess = access;
}

qor::HostBool QOR_HOSTCALL nbExecAction(int32_t id, qor::HostString* params) {
    return qor::ExecuteAction(id, params);
}

qor::HostBool QOR_HOSTCALL nbEditAction(int32_t id, qor::HostString* params, void*) {
    return qor::EditAction(id, params);
}

void QOR_HOSTCALL nbMessage(int32_t code, intptr_t, intptr_t) {
    if (code == 2) qor::DestroyAllAttachedControls();
}

void QOR_HOSTCALL nbAbout() {
    qor::ShowAboutBox(GetActiveWindow());
}

} // extern "C"
