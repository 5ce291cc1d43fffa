/*
 * check32: a stand-in for the authoring host, built for i686. It loads the
 * plug-in library, finds its eight entry points by name and calls them
 * through hand-written register-convention thunks (register_thunks.S),
 * giving it host callbacks written the same way. It uses none of the
 * plug-in's own headers, so a mismatch between the plug-in's idea of the
 * calling convention and the real one shows up here.
 *
 * Besides the entry points it hosts a control of each of the seven kinds on
 * rectangles of its own window and drives them with real input, presses the
 * hot keys, operates an editing dialog of each family and the system colour
 * dialog, and ends with nbMessage 2 and unloading. Every procedure the
 * plug-in hands to the window system (window procedures, subclasses, hooks,
 * timers, dialog procedures) is called through a stub that checks the
 * convention on the way back.
 *
 * Usage: check32.exe [path of qorBrindavel.nbp]
 * (default: qorBrindavel.nbp beside check32.exe)
 *
 * Prints one line per check, then "N passed, M failed"; exit code 0 only
 * when nothing failed.
 */
#include <windows.h>
#include <stdarg.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* ---- register_thunks.S ------------------------------------------------ */
extern uint32_t reg_call(const void *fn, const uint32_t *args, int nargs);
extern uint32_t reg_esp_expected, reg_esp_after;
extern uint32_t reg_ebx_after, reg_esi_after, reg_edi_after, reg_ebp_after;
extern void host_add_action(void);
extern void host_add_file(void);
extern void host_get_variable(void);
extern void host_set_variable(void);
extern void host_script_processor(void);
extern void host_interface_access(void);

#define REG_SENTINEL_EBX 0x1B1B1B1Bu
#define REG_SENTINEL_ESI 0x15151515u
#define REG_SENTINEL_EDI 0x1D1D1D1Du
#define REG_SENTINEL_EBP 0x1E1E1E1Eu

#define LAST_ERROR_VAR "[qorBrindavelLastError]"

/* ---- results ------------------------------------------------------------ */
static int passed, failed;
static const char *current_step = "start";

static void check(int ok, const char *fmt, ...)
{
    va_list ap;
    printf("%s  ", ok ? "PASS" : "FAIL");
    va_start(ap, fmt);
    vprintf(fmt, ap);
    va_end(ap);
    printf("\n");
    if (ok)
        passed++;
    else
        failed++;
}

static void note(const char *fmt, ...)
{
    va_list ap;
    printf("      ");
    va_start(ap, fmt);
    vprintf(fmt, ap);
    va_end(ap);
    printf("\n");
}

static int finish(void)
{
    printf("%d passed, %d failed\n", passed, failed);
    fflush(stdout);
    return failed == 0 ? 0 : 1;
}

static LONG WINAPI on_crash(EXCEPTION_POINTERS *info)
{
    check(0, "%s: exception 0x%08lx at %p", current_step,
          (unsigned long)info->ExceptionRecord->ExceptionCode,
          info->ExceptionRecord->ExceptionAddress);
    ExitProcess((UINT)finish());
    return EXCEPTION_EXECUTE_HANDLER;
}

/* ---- recording host ----------------------------------------------------- */
struct announcement {
    int id;
    const char *name_ptr, *hint_ptr;
    char name[160], hint[192];
    const unsigned char *kinds_ptr;
    int high, count;
    unsigned char kinds[32];
};

#define MAX_ANNOUNCEMENTS 200
static struct announcement announced[MAX_ANNOUNCEMENTS];
static int announced_count; /* may exceed MAX_ANNOUNCEMENTS; only the first are kept */

struct set_call {
    char name[128];
    char value[512];
};
#define MAX_SET_CALLS 16
static struct set_call set_calls[MAX_SET_CALLS];
static int set_count, get_count, script_count, access_count, add_file_count;
static int add_action_outside_register; /* HostAddAction after nbRegisterPlugIn returned */
static int in_register;

static void copy_text(char *dst, size_t size, const char *src)
{
    if (!src) {
        strcpy(dst, "(null)");
        return;
    }
    strncpy(dst, src, size - 1);
    dst[size - 1] = 0;
}

int on_add_action(int id, const char *name, const char *hint,
                  const unsigned char *kinds, int high, int count)
{
    if (!in_register)
        add_action_outside_register++;
    if (announced_count < MAX_ANNOUNCEMENTS) {
        struct announcement *a = &announced[announced_count];
        a->id = id;
        a->name_ptr = name;
        a->hint_ptr = hint;
        copy_text(a->name, sizeof a->name, name);
        copy_text(a->hint, sizeof a->hint, hint);
        a->kinds_ptr = kinds;
        a->high = high;
        a->count = count;
        /* a swapped argument order shows up as a "pointer" that is really a
           small number: record it instead of crashing on it */
        if ((uintptr_t)kinds >= 0x10000 && high >= 0 && high < (int)sizeof a->kinds &&
            !IsBadReadPtr(kinds, (UINT_PTR)high + 1))
            memcpy(a->kinds, kinds, (size_t)high + 1);
        else if (high >= 0)
            a->kinds_ptr = NULL;
    }
    announced_count++;
    return 1;
}

int on_add_file(void)
{
    add_file_count++;
    return 0;
}

/* ---- the host's variables, and what the plug-in sent, in order ---------- */
struct variable {
    char *name, *value;
};
#define MAX_VARIABLES 256
static struct variable variables[MAX_VARIABLES];
static int variable_count;

static char *dup_text(const char *text)
{
    char *copy = (char *)malloc(strlen(text ? text : "") + 1);
    strcpy(copy, text ? text : "");
    return copy;
}

static struct variable *find_variable(const char *name)
{
    int i;
    for (i = 0; name && i < variable_count; i++)
        if (strcmp(variables[i].name, name) == 0)
            return &variables[i];
    return NULL;
}

static const char *var_text(const char *name)
{
    struct variable *v = find_variable(name);
    return v ? v->value : "";
}

static void var_put(const char *name, const char *value)
{
    struct variable *v = find_variable(name);
    if (!v && variable_count < MAX_VARIABLES) {
        v = &variables[variable_count++];
        v->name = dup_text(name);
        v->value = NULL;
    }
    if (v) {
        free(v->value);
        v->value = dup_text(value);
    }
}

/* Every HostSetVariable ("name=value") and script line, in order. */
#define MAX_LOG 4096
static char *log_entries[MAX_LOG];
static int log_count;

static void log_add(const char *name, const char *value)
{
    char *entry;
    if (log_count >= MAX_LOG)
        return;
    entry = (char *)malloc((name ? strlen(name) + 1 : 0) + strlen(value ? value : "") + 1);
    sprintf(entry, "%s%s%s", name ? name : "", name ? "=" : "", value ? value : "");
    log_entries[log_count++] = entry;
}

static void log_clear(void)
{
    while (log_count > 0)
        free(log_entries[--log_count]);
}

int on_set_variable(const char *name, const char *value)
{
    if (set_count < MAX_SET_CALLS) {
        copy_text(set_calls[set_count].name, sizeof set_calls[set_count].name, name);
        copy_text(set_calls[set_count].value, sizeof set_calls[set_count].value, value);
    }
    set_count++;
    var_put(name, value);
    log_add(name ? name : "(null)", value);
    return 1;
}

int on_get_variable(const char *name, char **value)
{
    struct variable *v = find_variable(name);
    get_count++;
    if (value && v) {
        char *block = (char *)GlobalAlloc(GMEM_FIXED, strlen(v->value) + 1);
        if (block)
            strcpy(block, v->value);
        *value = block;
    }
    return v != NULL;
}

int on_script_processor(const char *line)
{
    script_count++;
    log_add(NULL, line);
    return 1;
}

/* The host's rectangle objects: request 7 answers with their windows. */
struct rectangle {
    const char *name;
    int x, y, width, height;
    HWND window;
};
static struct rectangle rectangles[] = {
    {"RDrop", 10, 10, 220, 80, NULL},    {"RList", 240, 10, 200, 100, NULL},
    {"RHot", 450, 10, 160, 30, NULL},    {"REdit", 10, 120, 460, 120, NULL},
    {"RCheck", 10, 250, 200, 100, NULL}, {"RFiles", 220, 250, 200, 120, NULL},
    {"RTrack", 430, 250, 120, 30, NULL},
};
#define RECTANGLES ((int)(sizeof rectangles / sizeof rectangles[0]))

static HWND rectangle_window(const char *name)
{
    int i;
    for (i = 0; name && i < RECTANGLES; i++)
        if (strcmp(rectangles[i].name, name) == 0)
            return rectangles[i].window;
    return NULL;
}

/* Request 7 (window of an object): the rectangle's window as decimal text,
   "0" for any other name. Other requests: no answer. */
int on_interface_access(int code, char **text)
{
    access_count++;
    if (code == 7 && text) {
        char answer[16];
        char *block;
        snprintf(answer, sizeof answer, "%lu", (unsigned long)(uintptr_t)rectangle_window(*text));
        block = (char *)GlobalAlloc(GMEM_FIXED, strlen(answer) + 1);
        if (*text)
            GlobalFree(*text);
        if (block)
            strcpy(block, answer);
        *text = block;
        return 1;
    }
    return 0;
}

/* callbacks other than HostAddAction and HostAddFile since reset_callbacks() */
static int callbacks_seen(void)
{
    return set_count + get_count + script_count + access_count;
}

static void reset_callbacks(void)
{
    set_count = get_count = script_count = access_count = 0;
}

/* ---- GlobalFree as the plug-in calls it --------------------------------- */
static HGLOBAL(WINAPI *real_global_free)(HGLOBAL);
#define MAX_FREED 64
static HGLOBAL freed[MAX_FREED];
static int freed_count;

static HGLOBAL WINAPI recording_global_free(HGLOBAL block)
{
    if (freed_count < MAX_FREED)
        freed[freed_count] = block;
    freed_count++;
    return real_global_free(block);
}

static int was_freed(HGLOBAL block)
{
    int i;
    for (i = 0; i < freed_count && i < MAX_FREED; i++)
        if (freed[i] == block)
            return 1;
    return 0;
}

/* Points the module's import of dll!function at hook; returns 1 on success. */
static int patch_import(HMODULE module, const char *dll, const char *function,
                        void *hook, void **original)
{
    BYTE *base = (BYTE *)module;
    IMAGE_DOS_HEADER *dos = (IMAGE_DOS_HEADER *)base;
    IMAGE_NT_HEADERS *nt = (IMAGE_NT_HEADERS *)(base + dos->e_lfanew);
    IMAGE_DATA_DIRECTORY dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    IMAGE_IMPORT_DESCRIPTOR *desc;
    if (!dir.VirtualAddress)
        return 0;
    for (desc = (IMAGE_IMPORT_DESCRIPTOR *)(base + dir.VirtualAddress); desc->Name; desc++) {
        IMAGE_THUNK_DATA *names, *slots;
        if (_stricmp((const char *)(base + desc->Name), dll) != 0)
            continue;
        names = (IMAGE_THUNK_DATA *)(base + (desc->OriginalFirstThunk ? desc->OriginalFirstThunk
                                                                      : desc->FirstThunk));
        slots = (IMAGE_THUNK_DATA *)(base + desc->FirstThunk);
        for (; names->u1.AddressOfData; names++, slots++) {
            IMAGE_IMPORT_BY_NAME *by_name;
            DWORD protect;
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            by_name = (IMAGE_IMPORT_BY_NAME *)(base + names->u1.AddressOfData);
            if (strcmp((const char *)by_name->Name, function) != 0)
                continue;
            if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protect))
                return 0;
            *original = (void *)slots->u1.Function;
            slots->u1.Function = (ULONG_PTR)hook;
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protect, &protect);
            return 1;
        }
    }
    return 0;
}

/* ---- calling the plug-in ------------------------------------------------ */
/* reg_call with at least three entries (the register arguments). */
static uint32_t reg_call_padded(const char *what, FARPROC fn, const uint32_t *args, int nargs)
{
    uint32_t padded[16] = {0};
    int i;
    for (i = 0; i < nargs; i++)
        padded[i] = args[i];
    current_step = what;
    return reg_call((const void *)fn, padded, nargs < 3 ? 3 : nargs);
}

/* Calls fn with the register convention and checks that the stack pointer
   came back to where it was and that EBX, ESI, EDI and EBP survived. */
static uint32_t call_plugin(const char *what, FARPROC fn, const uint32_t *args, int nargs)
{
    uint32_t result = reg_call_padded(what, fn, args, nargs);
    if (reg_esp_after == reg_esp_expected)
        check(1, "%s: stack balanced (%d stack argument%s removed by the callee)", what,
              nargs > 3 ? nargs - 3 : 0, nargs == 4 ? "" : "s");
    else
        check(0, "%s: stack unbalanced: ESP after the call is %lld bytes %s", what,
              llabs((long long)reg_esp_after - (long long)reg_esp_expected),
              reg_esp_after > reg_esp_expected ? "higher (callee removed too much)"
                                               : "lower (callee left arguments behind)");
    check(reg_ebx_after == REG_SENTINEL_EBX && reg_esi_after == REG_SENTINEL_ESI &&
              reg_edi_after == REG_SENTINEL_EDI && reg_ebp_after == REG_SENTINEL_EBP,
          "%s: EBX ESI EDI EBP preserved (got %08lx %08lx %08lx %08lx)", what,
          (unsigned long)reg_ebx_after, (unsigned long)reg_esi_after,
          (unsigned long)reg_edi_after, (unsigned long)reg_ebp_after);
    return result;
}

/* ---- the catalogue as the host must receive it -------------------------- */
struct expected_action {
    int id;
    const char *name, *hint;
    int count;
    const char *kinds;
};

static const struct expected_action catalogue[84] = {
    { 0, "HotKey Gadget", "", 0, ""},
    { 1, "qorCreateHotKey", "Creates hot key object.", 4, "\x01\x01\x01\x06"},
    {23, "qorSetHotKey", "Set the hot key.", 2, "\x01\x01"},
    {72, "qorFocusHotKey", "Actives the hot key control.", 2, "\x01\x01"},
    { 2, "qorRemoveHotKey", "Removes hot key object.", 1, "\x01"},
    { 3, "qorLoadHotKeys", "Loads hot keys.", 2, "\x01\x01"},
    { 4, "qorSaveHotKeys", "Saves hot keys.", 2, "\x01\x01"},
    { 0, "HotKey Manager", "", 0, ""},
    {64, "qorAddHotKeyInManager", "Adds specified hotkey in the hotkey manager.", 2, "\x01\x01"},
    {65, "qorDeleteHotKeyFromManager", "Removes specified hotkey from hotkey manager", 1, "\x01"},
    {66, "qorLoadHotKeyManager", "Loads hotkey manager from file.", 2, "\x01\x01"},
    {67, "qorSaveHotKeyManager", "Saves hotkey manage to a file.", 2, "\x01\x01"},
    { 0, "LocalKey Manager", "", 0, ""},
    {68, "qorAddLocalKeyInManager", "Adds specified localkey in the localkey manager.", 2, "\x01\x01"},
    {69, "qorDeleteLocalKeyFromManager", "Removes specified localkey from localkey manager", 1, "\x01"},
    {70, "qorLoadLocalKeyManager", "Loads localkey manager from file.", 2, "\x01\x01"},
    {71, "qorSaveLocalKeyManager", "Saves localkey manage to a file.", 2, "\x01\x01"},
    { 0, "DropDown", "", 0, ""},
    { 5, "qorCreateDropDown", "Creates DropDown Object.", 10, "\x01\x01\x01\x01\x01\x01\x01\x01\x01\x06"},
    {14, "qorDropDownSetProperties", "Set DropDown object properties.i.e. font, color", 8, "\x01\x01\x01\x01\x01\x01\x01\x01"},
    {15, "qorDropDownCaptureEvents", " Captures events of DropDown.", 4, "\x01\x01\x01\x01"},
    {16, "qorDropDownSelect", "Select items of the DropDown.", 3, "\x01\x01\x01"},
    {17, "qorRemoveDropDown", "Remove DropDown control.", 1, "\x01"},
    { 0, "ListBox", "", 0, ""},
    {18, "qorCreateListBox", "Creates ListBox Object.", 10, "\x01\x01\x01\x01\x01\x01\x01\x01\x01\x06"},
    {19, "qorListBoxSetProperties", "Sets properties of the ListBox. i.e. font, color", 5, "\x01\x01\x01\x01\x01"},
    {20, "qorListBoxCaptureEvents", "Capture ListBox Events.", 4, "\x01\x01\x01\x01"},
    {21, "qorListBoxSelect", "Select items of the ListBox.", 3, "\x01\x01\x01"},
    {22, "qorRemoveListBox", "Removes ListBox Control.", 1, "\x01"},
    { 0, "SmartEdit", "", 0, ""},
    {24, "qorCreateSmartEdit", "Creates SmartEdit.", 2, "\x01\x06"},
    {73, "qorSmartEditActiveSpellChecker", "Activates spell checker in smartedit.", 3, "\x01\x01\x01"},
    {25, "qorSmartEditSetProperties", "Sets SmartEdit Properties. i.e. font, color", 9, "\x01\x01\x01\x01\x01\x01\x01\x01\x01"},
    {26, "qorSmartEditCaptureEvents", "Capture SmartEdit Events.", 5, "\x01\x01\x01\x01\x01"},
    {27, "qorSmartEditSetText", "Set text in the SmartEdit object.", 3, "\x01\x01\x01"},
    {29, "qorSmartEditUndo", "Undo the text written in the SmartEdit.", 1, "\x01"},
    {30, "qorSmartEditRedo", "Redo the text undone in the SmartEdit.", 1, "\x01"},
    {31, "qorSmartEditClearUndo", "Clear undo in the SmartEdit.", 1, "\x01"},
    {32, "qorSmartEditCut", "Cut the selected text from the SmartEdit.", 1, "\x01"},
    {33, "qorSmartEditCopy", "Copy the selected text from the SmartEdit.", 1, "\x01"},
    {34, "qorSmartEditPaste", "Paste text in the SmartEdit.", 1, "\x01"},
    {35, "qorSmartEditDelete", "Deletes selected text from the SmartEdit.", 1, "\x01"},
    {36, "qorSmartEditSelectAll", "Select all the text in the SmartEdit.", 1, "\x01"},
    {37, "qorSmartEditDeselectAll", "Deselect all the selected text in the SmartEdit.", 1, "\x01"},
    {38, "qorSmartEditFocus", "Actives the SmartEdit control.", 1, "\x01"},
    {43, "qorSmartEditSetCaretPos", "Move Caret to a specific position.", 3, "\x01\x01\x01"},
    {39, "qorSmartEditScrollToCaret", "Move scroll to the caret.", 1, "\x01"},
    {40, "qorSmartEditScroll", "Scrolls the SmartEdit.", 3, "\x01\x01\x01"},
    {41, "qorSmartEditSelect", "Select text from the SmartEdit.", 3, "\x01\x01\x01"},
    {42, "qorSmartEditGetInfo", "Gets the information of the SmartEdit.", 3, "\x01\x01\x06"},
    {28, "qorRemoveSmartEdit", "Removes the SmartEdit from the rectangle object..", 1, "\x01"},
    { 0, "CheckListBox", "", 0, ""},
    {51, "qorCreateCheckListBox", "Create CheckListBox object.", 10, "\x01\x01\x01\x01\x01\x01\x06\x06\x06\x06"},
    {52, "qorCheckListBoxSetProperties", "Sets the properties of the CheckListBox.", 3, "\x01\x01\x01"},
    {53, "qorCheckListBoxCaptureEvents", "Captures events of CheckListBox.", 6, "\x01\x01\x01\x01\x01\x06"},
    {54, "qorCheckListBoxSelect", "Select items of the CheckListBox.", 3, "\x01\x01\x01"},
    {55, "qorCheckListBoxSetState", "Set the state of the CheckBox/ RadioButton.", 4, "\x01\x01\x01\x01"},
    {56, "qorRemoveCheckListBox", "Removes CheckListBox Control.", 1, "\x01"},
    { 0, "Dropdown and ListBox and SmartEdit", "", 0, ""},
    { 6, "qorListAddItem", "Add item in the DropDown, ListBox, SmartEdit and CheckListBox.", 3, "\x01\x01\x01"},
    { 7, "qorListChangeItem", "Modify an existing item in a DropDown or ListBox or SmartEdit or CheckListBox object.", 3, "\x01\x01\x01"},
    { 8, "qorListDeleteItem", "Remove an item from a DropDown or ListBox or SmartEdit or CheckListBox object..", 2, "\x01\x01"},
    { 9, "qorListFindItem", "Search for an item in a DropDown or ListBox or SmartEdit or CheckListBox object.", 3, "\x01\x01\x06"},
    {57, "qorListFindItemEx", "Search for an item exactly/ partially in a DropDown or ListBox or SmartEdit or CheckListBox object.", 6, "\x01\x01\x01\x01\x01\x06"},
    {58, "qorListFindNextItemEx", "Search for the next item exactly/ partially in a DropDown or ListBox or SmartEdit or CheckListBox object.", 2, "\x01\x06"},
    {10, "qorListGetItem", "Retrieve the text of an item in a DropDown or ListBox or SmartEdit or CheckListBox object.", 3, "\x01\x01\x06"},
    {11, "qorListMoveItem", "Move an item in a DropDown or ListBox or SmartEdit or CheckListBox object.", 3, "\x01\x01\x01"},
    {12, "qorListSize", "Count the total number of items in a DropDown or ListBox or SmartEdit or CheckListBox object.", 2, "\x01\x06"},
    {13, "qorListSort", "Arrange the items in a DropDown or ListBox or CheckListBox object in alphabetical order.", 2, "\x01\x06"},
    { 0, "FileDragDrop", "", 0, ""},
    {44, "qorCreateFileDragDrop", "Creates FileDragDrop Object.", 8, "\x01\x01\x01\x01\x06\x06\x06\x01"},
    {45, "qorRemoveFileDragDrop", "Removes FileDragDrop Control", 1, "\x01"},
    { 0, "TrackBar and VolumeSlider", "", 0, ""},
    {46, "qorCreateTrackBar", "Creates a TrackBar object.", 9, "\x01\x01\x01\x01\x01\x01\x01\x01\x06"},
    {47, "qorTrackBarSetProperties", "Sets property of the TrackBar object.", 8, "\x01\x01\x01\x01\x01\x01\x01\x01"},
    {48, "qorTrackBarCaptureEvents", "Captures events of CheckListBox.", 4, "\x01\x01\x01\x01"},
    {49, "qorTrackBarUpdate", "Updates the Value/ Minimum or Maximum of the TrackBar object.", 3, "\x01\x01\x01"},
    {50, "qorRemoveTrackBar", "Removes TrackBar Control", 1, "\x01"},
    { 0, "Dialogs", "", 0, ""},
    {59, "qorFileOpenDialog", "Shows the FileOpenDialog.", 7, "\x01\x01\x01\x01\x01\x01\x06"},
    {62, "qorFileSaveDialog", "Shows the FileSaveDialog.", 7, "\x01\x01\x01\x01\x01\x01\x06"},
    {63, "qorFolderBoxDialog", "Shows the FolderBoxDialog.", 5, "\x01\x01\x01\x01\x06"},
    {60, "qorFontDialog", "Shows a FontDialog.", 3, "\x01\x01\x06"},
    {61, "qorColorDialog", "Shows a ColorDialog.", 6, "\x01\x01\x01\x01\x06\x06"},
};

static const char *describe_kinds(const unsigned char *kinds, int count, char *buf)
{
    int i;
    buf[0] = 0;
    for (i = 0; i < count && i < 32; i++)
        sprintf(buf + strlen(buf), "%s%d", i ? " " : "", kinds[i]);
    return buf;
}

static int announcement_matches(const struct announcement *a, const struct expected_action *e)
{
    return a->id == e->id && strcmp(a->name, e->name) == 0 && strcmp(a->hint, e->hint) == 0 &&
           a->count == e->count && a->high == e->count - 1 &&
           (e->count == 0 || (a->kinds_ptr && memcmp(a->kinds, e->kinds, (size_t)e->count) == 0));
}

static void show_announcement(int pos, const struct announcement *a)
{
    char buf[128];
    note("position %d: id %d \"%s\" \"%s\" high %d count %d kinds %s", pos, a->id, a->name, a->hint,
         a->high, a->count,
         a->high >= 0 && a->high < 32 ? describe_kinds(a->kinds, a->high + 1, buf) : "-");
}

static void spot_check(int pos)
{
    const struct announcement *a = &announced[pos - 1];
    const struct expected_action *e = &catalogue[pos - 1];
    char buf[128];
    int ok = announced_count >= pos && announcement_matches(a, e);
    check(ok, "announcement %d: id %d %s \"%s\" kinds %s", pos, e->id, e->name, e->hint,
          describe_kinds((const unsigned char *)e->kinds, e->count, buf));
    if (!ok && announced_count >= pos)
        show_announcement(pos, a);
}

static void check_catalogue(void)
{
    int seen[74] = {0};
    int i, headers = 0, headers_ok = 1, ids_ok = 1, shapes_ok = 1, mismatches = 0, stable = 1;
    int n = announced_count < 84 ? announced_count : 84;

    check(announced_count == 84, "nbRegisterPlugIn announced %d calls (84 expected)", announced_count);

    for (i = 0; i < n; i++) {
        const struct announcement *a = &announced[i];
        if (a->id == 0) {
            headers++;
            if (a->hint[0] != 0 || a->high != -1 || a->count != 0 || strcmp(a->name, catalogue[i].name) != 0 ||
                catalogue[i].id != 0) {
                headers_ok = 0;
                show_announcement(i + 1, a);
            }
        } else if (a->id >= 1 && a->id <= 73) {
            seen[a->id]++;
        }
        if (a->count != a->high + 1 || a->count < 0) {
            shapes_ok = 0;
        } else {
            int k;
            for (k = 0; k < a->count && k < 32; k++)
                if (a->kinds[k] != 1 && a->kinds[k] != 6)
                    shapes_ok = 0;
        }
    }
    check(headers == 11 && headers_ok,
          "%d category headers, each id 0 with its title, empty hint, high index -1, count 0", headers);
    for (i = 1; i <= 73; i++)
        if (seen[i] != 1) {
            ids_ok = 0;
            note("id %d announced %d times", i, seen[i]);
        }
    check(ids_ok, "ids 1 to 73 announced once each");
    check(shapes_ok, "every announcement: count = high index + 1, kinds only 1 or 6");

    spot_check(2);
    spot_check(5);
    spot_check(64);
    spot_check(84);

    for (i = 0; i < n; i++)
        if (!announcement_matches(&announced[i], &catalogue[i])) {
            if (mismatches++ < 5)
                show_announcement(i + 1, &announced[i]);
        }
    check(n == 84 && mismatches == 0, "all announcements equal the catalogue, in order (%d differ)", mismatches);

    for (i = 0; i < n; i++) {
        const struct announcement *a = &announced[i];
        if (!a->name_ptr || !a->hint_ptr || strcmp(a->name_ptr, a->name) != 0 || strcmp(a->hint_ptr, a->hint) != 0)
            stable = 0;
    }
    check(stable, "names and hints still readable and unchanged after nbRegisterPlugIn returned");
    check(add_action_outside_register == 0, "HostAddAction called only during nbRegisterPlugIn");
}

/* ---- nbInitPlugIn ------------------------------------------------------- */
static const char *const identity_field[3] = {"name", "developer", "description"};
static const char *const identity_text[3] = {
    "qorBrindavel",
    "Telvane.Duskmere",
    "This plugin enhances the ability of your application by adding HotKey Gadget, HotKey Manager, "
    "DropDown, ListBox, SmartEdit, CheckListBox, RadioListBox, FileDragDrop, TrackBar/ VolumeSlider "
    "and customized dialogues with much more enhanced features."};

/* A large block: the heap gives it its own mapping and returns that to the
   system when it is freed, so the plug-in's new, small block cannot land on
   the same address. */
static char *stale_block(const char *text)
{
    char *block = (char *)GlobalAlloc(GMEM_FIXED, 1 << 20);
    if (block)
        strcpy(block, text);
    return block;
}

static void check_init(FARPROC init, int hooked)
{
    char *strings[3];
    char *before[3];
    char *second[3];
    uint32_t args[4];
    int i, round;

    for (i = 0; i < 3; i++)
        strings[i] = before[i] = stale_block("left over from an earlier call");
    for (round = 1; round <= 2; round++) {
        const char *what = round == 1 ? "nbInitPlugIn" : "nbInitPlugIn (second call)";
        int first_freed = freed_count;
        args[0] = 0x00C0FFEE; /* host handle */
        args[1] = (uint32_t)&strings[0];
        args[2] = (uint32_t)&strings[1];
        args[3] = (uint32_t)&strings[2];
        call_plugin(what, init, args, 4);
        for (i = 0; i < 3; i++) {
            int ok = strings[i] && strcmp(strings[i], identity_text[i]) == 0;
            check(ok, "%s: %s is \"%.40s%s\"", what, identity_field[i], identity_text[i],
                  strlen(identity_text[i]) > 40 ? "..." : "");
            if (!ok)
                note("got: %s", strings[i] ? strings[i] : "(null)");
        }
        for (i = 0; i < 3; i++) {
            /* Only the first round's blocks were large enough to rule out the
               heap handing the same address out again; the second round
               relies on the GlobalFree record below. */
            SIZE_T size = strings[i] ? GlobalSize(strings[i]) : 0;
            check(strings[i] && (round == 2 || strings[i] != before[i]) &&
                      size == strlen(identity_text[i]) + 1,
                  "%s: %s holds a %sGlobalAlloc block of length + 1 bytes (%lu)", what,
                  identity_field[i], round == 1 ? "new " : "", (unsigned long)size);
        }
        if (hooked) {
            int ok = 1;
            for (i = 0; i < 3; i++)
                ok &= was_freed(before[i]);
            check(ok, "%s: the three blocks passed in were released with GlobalFree (%d calls)",
                  what, freed_count - first_freed);
        } else {
            check(0, "%s: could not watch GlobalFree (the library does not import it from KERNEL32)", what);
        }
        for (i = 0; i < 3; i++)
            second[i] = before[i] = strings[i];
    }
    for (i = 0; i < 3; i++)
        if (second[i])
            GlobalFree(second[i]);
}

/* ---- nbExecAction / nbEditAction ---------------------------------------- */
#define PARAMS 12
static char *params[PARAMS];
static char *params_copy[PARAMS];
static char params_text[PARAMS][64];

static void make_params(const char *first)
{
    int i;
    for (i = 0; i < PARAMS; i++) {
        char text[64];
        if (i == 0)
            snprintf(text, sizeof text, "%s", first);
        else
            snprintf(text, sizeof text, "parameter %d", i + 1);
        if (params[i])
            GlobalFree(params[i]);
        params[i] = (char *)GlobalAlloc(GMEM_FIXED, strlen(text) + 1);
        strcpy(params[i], text);
        strcpy(params_text[i], text);
        params_copy[i] = params[i];
    }
}

static int params_unchanged(void)
{
    int i;
    for (i = 0; i < PARAMS; i++)
        if (params[i] != params_copy[i] || strcmp(params[i], params_text[i]) != 0)
            return 0;
    return 1;
}

static void check_out_of_range(const char *export_name, FARPROC fn, int id, int nargs)
{
    char what[64];
    uint32_t args[3];
    uint32_t result;
    snprintf(what, sizeof what, "%s(%d)", export_name, id);
    make_params("Rect1");
    reset_callbacks();
    args[0] = (uint32_t)id;
    args[1] = (uint32_t)params;
    args[2] = 0x5A5A5A5A; /* nbEditAction's third argument, never read */
    result = call_plugin(what, fn, args, nargs);
    check((result & 0xFF) == 0, "%s returns false (AL = %lu)", what, (unsigned long)(result & 0xFF));
    check(callbacks_seen() == 0 && params_unchanged(),
          "%s: no callback, parameters untouched", what);
}

static void check_remove_hot_key(FARPROC exec)
{
    static const char expected[] = "There is no hot key control attached to an object named NoSuchRect.";
    uint32_t args[2];
    uint32_t result;
    int others;
    make_params("NoSuchRect");
    reset_callbacks();
    args[0] = 2; /* qorRemoveHotKey */
    args[1] = (uint32_t)params;
    result = call_plugin("nbExecAction(2 qorRemoveHotKey, NoSuchRect)", exec, args, 2);
    check((result & 0xFF) == 0, "qorRemoveHotKey on a rectangle without a hot key returns false (AL = %lu)",
          (unsigned long)(result & 0xFF));
    check(set_count == 1 && strcmp(set_calls[0].name, LAST_ERROR_VAR) == 0 && set_calls[0].value[0] != 0,
          "qorRemoveHotKey writes one non-empty message to " LAST_ERROR_VAR " (%d HostSetVariable call%s)",
          set_count, set_count == 1 ? "" : "s");
    if (set_count >= 1) {
        note("HostSetVariable(\"%s\", \"%s\")", set_calls[0].name, set_calls[0].value);
        if (strcmp(set_calls[0].value, expected) == 0)
            note("the message is exactly the expected sentence");
        else
            note("the message differs from the expected \"%s\"", expected);
    }
    others = callbacks_seen() - set_count;
    check(others == 0 && params_unchanged(), "qorRemoveHotKey: no other callback, parameters untouched");
}

/* ---- nbEditAction with a dialog: operated from a timer in its modal loop - */
/* Dispatches what reaches this thread for the given time (0: what is there). */
static void pump(int milliseconds)
{
    DWORD end = GetTickCount() + (DWORD)milliseconds;
    do {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (milliseconds > 0)
            MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
    } while (milliseconds > 0 && (LONG)(end - GetTickCount()) > 0);
}

/* A step: the dialog captioned `caption` is up; do something to it. */
struct dialog_step {
    const char *caption;
    void (*act)(HWND dialog, const char *label);
    const char *label;
};

static const struct dialog_step *steps;
static int step_count, step_next, step_busy, step_gave_up;
static DWORD step_since;

static BOOL CALLBACK find_caption(HWND window, LPARAM param)
{
    char text[128];
    GetWindowTextA(window, text, sizeof text);
    if (IsWindowVisible(window) && IsWindowEnabled(window) && strcmp(text, steps[step_next].caption) == 0) {
        *(HWND *)param = window;
        return FALSE;
    }
    return TRUE;
}

static void CALLBACK step_timer(HWND window, UINT message, UINT_PTR id, DWORD time)
{
    HWND dialog = NULL;
    (void)window; (void)message; (void)id; (void)time;
    if (step_busy)
        return;
    /* a window that never comes must not hold the run: after a minute the
       dialogs still open are cancelled, the innermost first */
    if (step_next < step_count && GetTickCount() - step_since > 60000)
        step_gave_up = 1;
    if (step_gave_up) {
        if ((dialog = GetActiveWindow()) != NULL)
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    if (step_next >= step_count)
        return;
    EnumThreadWindows(GetCurrentThreadId(), find_caption, (LPARAM)&dialog);
    if (!dialog)
        return;
    step_busy = 1; /* an act may pump messages, and this timer with them */
    steps[step_next].act(dialog, steps[step_next].label);
    step_next++;
    step_since = GetTickCount();
    step_busy = 0;
}

/* Calls nbEditAction(id) on `blocks` while the timer plays `acts` (at most
   four, the list ended by a null caption) in its modal loop; returns AL. */
static uint32_t edit_playing(const char *what, uint32_t (*call)(const char *, FARPROC, const uint32_t *, int),
                             FARPROC edit, int id, char **blocks, const struct dialog_step *acts)
{
    uint32_t args[3];
    UINT_PTR timer;
    uint32_t result;
    steps = acts;
    for (step_count = 0; step_count < 4 && acts[step_count].caption; step_count++)
        ;
    step_next = step_gave_up = 0;
    step_since = GetTickCount();
    args[0] = (uint32_t)id;
    args[1] = (uint32_t)blocks;
    args[2] = 0x5A5A5A5A;
    timer = SetTimer(NULL, 0, 50, step_timer);
    result = call(what, edit, args, 3) & 0xFF;
    KillTimer(NULL, timer);
    return result;
}

/* Ticks the check box labelled `label`, as the author would, then OK. */
static void act_tick_and_confirm(HWND dialog, const char *label)
{
    HWND child;
    char text[128];
    for (child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        GetWindowTextA(child, text, sizeof text);
        if (strcmp(text, label) == 0)
            SendMessageA(child, BM_CLICK, 0, 0);
    }
    SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

static void act_cancel(HWND dialog, const char *label)
{
    (void)label;
    SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
}

/* Edits id with an automated OK (the "Decrypt before load" box ticked first)
   or Cancel; returns nbEditAction's AL. */
static uint32_t edit_with_dialog(FARPROC edit, int id, const char *caption, int confirm, const char *first)
{
    char what[96];
    struct dialog_step acts[2] = {{NULL, NULL, NULL}, {NULL, NULL, NULL}};
    uint32_t result;
    acts[0].caption = caption;
    acts[0].act = confirm ? act_tick_and_confirm : act_cancel;
    acts[0].label = "Decrypt before load";
    snprintf(what, sizeof what, "nbEditAction(%d, %s)", id, confirm ? "OK" : "Cancel");
    make_params(first);
    reset_callbacks();
    freed_count = 0;
    result = edit_playing(what, call_plugin, edit, id, params, acts);
    /* under emulation the window system's notices about the closed dialog
       arrive long after it has gone: taken here, not in the next dialog */
    pump(3000);
    check(step_next == 1, "%s: the dialog \"%s\" was shown", what, caption);
    return result;
}

static void check_edit_dialogs(FARPROC edit)
{
    int i, others = 1;
    /* qorLoadHotKeys: the file field is rewritten, the ticked box writes True. */
    uint32_t result = edit_with_dialog(edit, 3, "LoadHotKeys Properties", 1, "keys.txt");
    check(result == 1, "nbEditAction(3) confirmed returns true (AL = %lu)", (unsigned long)result);
    /* (the new block may sit where the released one was) */
    check(was_freed(params_copy[0]) && strcmp(params[0], "keys.txt") == 0,
          "nbEditAction(3): parameter 1 replaced by a new block holding \"%s\"", params[0]);
    check(was_freed(params_copy[1]) && strcmp(params[1], "True") == 0,
          "nbEditAction(3): parameter 2 replaced by \"True\" (got \"%s\")", params[1]);
    for (i = 2; i < PARAMS; i++)
        others &= params[i] == params_copy[i] && strcmp(params[i], params_text[i]) == 0;
    check(others && freed_count == 2 && callbacks_seen() == 0,
          "nbEditAction(3): no other entry touched (%d blocks released), no callback", freed_count);

    /* qorSmartEditUndo cancelled: nothing replaced. */
    result = edit_with_dialog(edit, 29, "SmartEditUndo Properties", 0, "Memo1");
    check(result == 0, "nbEditAction(29) cancelled returns false (AL = %lu)", (unsigned long)result);
    check(params_unchanged() && freed_count == 0, "nbEditAction(29) cancelled: every block kept");
}

/* ---- the convention on every path into and out of the plug-in ------------ */
/* Where a call from the window system into the plug-in came from. */
enum path { PATH_DIRECT, PATH_WINDOW, PATH_HOOK, PATH_TIMER, PATH_DIALOG, PATHS };
static const char *const path_name[PATHS] = {
    "a host entry point", "a window procedure", "the keyboard hook", "a timer of its windows", "a modal dialog"};

static int current_path = PATH_DIRECT;
static int callbacks_total;                 /* host callbacks made by the plug-in */
static int callbacks_on[PATHS];             /* ... by path */
static int callbacks_df_set;                /* ... entered with the direction flag set */
static int callbacks_clobbered;             /* this side failed its half (never expected) */

void cb_entered(uint32_t flags)
{
    callbacks_total++;
    callbacks_on[current_path]++;
    if (flags & 0x400)
        callbacks_df_set++;
}

void cb_left_clobbered(void)
{
    callbacks_clobbered++;
}

struct wrapped {
    void *original;
    int nargs;
    int path;
    unsigned char code[12];
};
#define MAX_WRAPPED 64
static struct wrapped *wrapped_procs; /* executable: each holds its own stub */
static int wrapped_count;
extern void wrap_common(void);
extern uint32_t wrap_seen_ebx, wrap_seen_esi, wrap_seen_edi, wrap_seen_ebp;
extern uint32_t wrap_seen_esp, wrap_seen_eax, wrap_seen_flags;

#define MAX_DEPTH 256
uint32_t wrap_depth;
uint32_t wrap_frames[MAX_DEPTH];
static int depth_path[MAX_DEPTH], depth_self[MAX_DEPTH], depth_callbacks[MAX_DEPTH];
static int wrapped_calls[PATHS], wrapped_calls_with_callbacks[PATHS], wrapped_faults[PATHS];
static char first_fault[256];

void wrap_entered(struct wrapped *w, uint32_t frame)
{
    int path = w->path;
    /* the plug-in's timers belong to its windows: their WM_TIMER (the
       message, second argument) comes through its window procedure */
    if (path == PATH_WINDOW && ((const uint32_t *)(uintptr_t)frame)[3] == WM_TIMER)
        path = PATH_TIMER;
    if (wrap_depth >= MAX_DEPTH) {
        printf("FAIL  calls into the plug-in nested deeper than %d\n", MAX_DEPTH);
        ExitProcess(3);
    }
    wrap_frames[wrap_depth] = frame;
    depth_path[wrap_depth] = current_path;
    depth_self[wrap_depth] = path;
    depth_callbacks[wrap_depth] = callbacks_total;
    wrap_depth++;
    current_path = path;
    wrapped_calls[path]++;
}

void wrap_returned(void)
{
    struct wrapped *w;
    uint32_t frame;
    int ok, path;
    wrap_depth--;
    frame = wrap_frames[wrap_depth];
    path = depth_self[wrap_depth];
    w = *(struct wrapped **)(uintptr_t)(frame - 16);
    ok = wrap_seen_ebx == REG_SENTINEL_EBX && wrap_seen_esi == REG_SENTINEL_ESI &&
         wrap_seen_edi == REG_SENTINEL_EDI && wrap_seen_ebp == REG_SENTINEL_EBP &&
         wrap_seen_esp == frame - 16 && !(wrap_seen_flags & 0x400);
    if (callbacks_total > depth_callbacks[wrap_depth])
        wrapped_calls_with_callbacks[path]++;
    if (!ok && wrapped_faults[path]++ == 0 && !first_fault[0])
        snprintf(first_fault, sizeof first_fault,
                 "%s %p: EBX %08lx ESI %08lx EDI %08lx EBP %08lx, ESP %+ld, DF %d", path_name[path],
                 w->original, (unsigned long)wrap_seen_ebx, (unsigned long)wrap_seen_esi,
                 (unsigned long)wrap_seen_edi, (unsigned long)wrap_seen_ebp,
                 (long)(wrap_seen_esp - (frame - 16)), (wrap_seen_flags & 0x400) != 0);
    current_path = depth_path[wrap_depth];
}

static BYTE *plugin_base;
static SIZE_T plugin_size;

static int in_plugin(const void *address)
{
    return plugin_base && (const BYTE *)address >= plugin_base && (const BYTE *)address < plugin_base + plugin_size;
}

/* The stub that stands for the plug-in's procedure (the same one each time). */
static void *wrap_proc(void *original, int nargs, int path)
{
    struct wrapped *w;
    int i;
    if (!original || !in_plugin(original))
        return original;
    if (!wrapped_procs)
        wrapped_procs = (struct wrapped *)VirtualAlloc(NULL, MAX_WRAPPED * sizeof *wrapped_procs,
                                                       MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE);
    for (i = 0; i < wrapped_count; i++)
        if (wrapped_procs[i].original == original)
            return wrapped_procs[i].code;
    if (!wrapped_procs || wrapped_count >= MAX_WRAPPED)
        return original;
    w = &wrapped_procs[wrapped_count++];
    w->original = original;
    w->nargs = nargs;
    w->path = path;
    w->code[0] = 0xB8; /* mov eax, w */
    *(uint32_t *)&w->code[1] = (uint32_t)(uintptr_t)w;
    w->code[5] = 0xE9; /* jmp wrap_common */
    *(int32_t *)&w->code[6] = (int32_t)((uintptr_t)wrap_common - (uintptr_t)&w->code[10]);
    FlushInstructionCache(GetCurrentProcess(), w->code, sizeof w->code);
    return w->code;
}

static void *stub_of(void *original)
{
    int i;
    for (i = 0; i < wrapped_count; i++)
        if (wrapped_procs[i].original == original)
            return wrapped_procs[i].code;
    return original;
}

/* The plug-in's imports that hand procedures to the window system. */
static LONG(WINAPI *real_set_window_long)(HWND, int, LONG);
static HHOOK(WINAPI *real_set_hook)(int, HOOKPROC, HINSTANCE, DWORD);
static UINT_PTR(WINAPI *real_set_timer)(HWND, UINT_PTR, UINT, TIMERPROC);
static INT_PTR(WINAPI *real_dialog_box)(HINSTANCE, LPCDLGTEMPLATEA, HWND, DLGPROC, LPARAM);
static BOOL(WINAPI *real_set_subclass)(HWND, void *, UINT_PTR, DWORD_PTR);
static BOOL(WINAPI *real_remove_subclass)(HWND, void *, UINT_PTR);

static LONG WINAPI watch_set_window_long(HWND window, int index, LONG value)
{
    if (index == GWL_WNDPROC)
        value = (LONG)(uintptr_t)wrap_proc((void *)(uintptr_t)value, 4, PATH_WINDOW);
    return real_set_window_long(window, index, value);
}

static HHOOK WINAPI watch_set_hook(int kind, HOOKPROC proc, HINSTANCE module, DWORD thread)
{
    return real_set_hook(kind, (HOOKPROC)wrap_proc((void *)proc, 3, PATH_HOOK), module, thread);
}

static UINT_PTR WINAPI watch_set_timer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC proc)
{
    return real_set_timer(window, id, elapse, (TIMERPROC)wrap_proc((void *)proc, 4, PATH_TIMER));
}

static INT_PTR WINAPI watch_dialog_box(HINSTANCE module, LPCDLGTEMPLATEA layout, HWND owner, DLGPROC proc,
                                       LPARAM param)
{
    return real_dialog_box(module, layout, owner, (DLGPROC)wrap_proc((void *)proc, 4, PATH_DIALOG), param);
}

static BOOL WINAPI watch_set_subclass(HWND window, void *proc, UINT_PTR id, DWORD_PTR data)
{
    /* a subclass procedure runs inside whatever the window is doing: inside a
       dialog's loop it counts as the dialog's */
    return real_set_subclass(window, wrap_proc(proc, 6, PATH_WINDOW), id, data);
}

static BOOL WINAPI watch_remove_subclass(HWND window, void *proc, UINT_PTR id)
{
    return real_remove_subclass(window, stub_of(proc), id);
}

static int watch_plugin_calls(HMODULE plugin)
{
    IMAGE_NT_HEADERS *nt = (IMAGE_NT_HEADERS *)((BYTE *)plugin + ((IMAGE_DOS_HEADER *)plugin)->e_lfanew);
    int ok = 1;
    plugin_base = (BYTE *)plugin;
    plugin_size = nt->OptionalHeader.SizeOfImage;
    ok &= patch_import(plugin, "user32.dll", "SetWindowLongA", (void *)watch_set_window_long,
                       (void **)&real_set_window_long);
    ok &= patch_import(plugin, "user32.dll", "SetWindowsHookExA", (void *)watch_set_hook, (void **)&real_set_hook);
    ok &= patch_import(plugin, "user32.dll", "SetTimer", (void *)watch_set_timer, (void **)&real_set_timer);
    ok &= patch_import(plugin, "user32.dll", "DialogBoxIndirectParamA", (void *)watch_dialog_box,
                       (void **)&real_dialog_box);
    ok &= patch_import(plugin, "comctl32.dll", "SetWindowSubclass", (void *)watch_set_subclass,
                       (void **)&real_set_subclass);
    ok &= patch_import(plugin, "comctl32.dll", "RemoveWindowSubclass", (void *)watch_remove_subclass,
                       (void **)&real_remove_subclass);
    return ok;
}

/* One line per path: how often the plug-in was called on it and made host
   callbacks from it, and whether every return kept the convention. */
static void check_paths(void)
{
    int p;
    for (p = PATH_WINDOW; p < PATHS; p++) {
        if (wrapped_calls[p] == 0) {
            note("no call reached the plug-in through %s", path_name[p]);
            continue;
        }
        check(wrapped_faults[p] == 0,
              "%d calls through %s (%d with host callbacks, %d callbacks): EBX ESI EDI EBP, ESP and DF kept "
              "on every return (%d not)",
              wrapped_calls[p], path_name[p], wrapped_calls_with_callbacks[p], callbacks_on[p], wrapped_faults[p]);
    }
    if (first_fault[0])
        note("first: %s", first_fault);
    check(callbacks_df_set == 0, "%d host callbacks, each entered with the direction flag clear (%d not)",
          callbacks_total, callbacks_df_set);
    check(callbacks_clobbered == 0, "the host's callbacks kept EBX ESI EDI EBP for the plug-in (%d did not)",
          callbacks_clobbered);
}

/* ---- the host at run time: its window, rectangles and a user ------------ */
static HWND host_window, other_window, other_edit;

static LRESULT CALLBACK plain_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return DefWindowProcA(window, message, wparam, lparam);
}

static void make_host_windows(void)
{
    WNDCLASSA wc;
    int i;
    memset(&wc, 0, sizeof wc);
    wc.lpfnWndProc = plain_proc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.hCursor = LoadCursor(NULL, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = "Check32Host";
    RegisterClassA(&wc);
    wc.style = CS_DBLCLKS;
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = "Check32Rectangle";
    RegisterClassA(&wc);
    host_window = CreateWindowExA(0, "Check32Host", "check32 host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE,
                                  0, 0, 640, 420, NULL, NULL, wc.hInstance, NULL);
    for (i = 0; i < RECTANGLES; i++)
        rectangles[i].window = CreateWindowExA(0, "Check32Rectangle", rectangles[i].name,
                                               WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rectangles[i].x,
                                               rectangles[i].y, rectangles[i].width, rectangles[i].height,
                                               host_window, NULL, wc.hInstance, NULL);
    /* another program's window, where keys go while the hot keys are pressed */
    other_window = CreateWindowExA(0, "Check32Host", "another window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 660, 0, 300,
                                   200, NULL, NULL, wc.hInstance, NULL);
    other_edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 5, 5, 280, 150, other_window,
                                 NULL, wc.hInstance, NULL);
}

static int focus_holds(HWND window)
{
    HWND top = GetAncestor(window, GA_ROOT), focus = GetFocus();
    if (GetForegroundWindow() != top || !focus)
        return 0;
    return window == top ? (focus == top || IsChild(top, focus)) : focus == window;
}

/* Makes window the keyboard focus in the foreground window, and waits until
   that holds for a moment. */
static int focus_window(HWND window)
{
    HWND top = GetAncestor(window, GA_ROOT);
    DWORD start = GetTickCount();
    int steady = 0;
    while (steady < 3) {
        if (GetTickCount() - start > 5000)
            return 0;
        if (!focus_holds(window)) {
            steady = 0;
            SetForegroundWindow(top);
            SetActiveWindow(top);
            SetFocus(window);
        }
        pump(15);
        steady = focus_holds(window) ? steady + 1 : 0;
    }
    return 1;
}

static INPUT mouse_move_input(HWND target, int x, int y, POINT *screen)
{
    INPUT in;
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    screen->x = x;
    screen->y = y;
    ClientToScreen(target, screen);
    memset(&in, 0, sizeof in);
    in.type = INPUT_MOUSE;
    in.mi.dx = (screen->x * 65535 + w / 2) / (w - 1);
    in.mi.dy = (screen->y * 65535 + h / 2) / (h - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return in;
}

static INPUT mouse_button_input(DWORD flags)
{
    INPUT in;
    memset(&in, 0, sizeof in);
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    return in;
}

/* The pointer to a client point of target, repeated until it is there. */
static void mouse_to(HWND target, int x, int y)
{
    POINT screen, now;
    INPUT move = mouse_move_input(target, x, y, &screen);
    int attempt;
    for (attempt = 0; attempt < 20; attempt++) {
        SendInput(1, &move, sizeof move);
        pump(10);
        if (GetCursorPos(&now) && now.x == screen.x && now.y == screen.y)
            return;
    }
}

static void left_button(int down)
{
    INPUT in = mouse_button_input(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
    SendInput(1, &in, sizeof in);
    pump(20);
}

/* The move and the click in one batch. */
static void click_at(HWND target, int x, int y)
{
    POINT screen;
    INPUT in[3];
    in[0] = mouse_move_input(target, x, y, &screen);
    in[1] = mouse_button_input(MOUSEEVENTF_LEFTDOWN);
    in[2] = mouse_button_input(MOUSEEVENTF_LEFTUP);
    SendInput(3, in, sizeof in[0]);
    pump(30);
}

static void click_centre(HWND target)
{
    RECT r;
    GetClientRect(target, &r);
    click_at(target, r.right / 2, r.bottom / 2);
}

static void add_key(INPUT *keys, int *n, WORD vk, int up)
{
    memset(&keys[*n], 0, sizeof keys[*n]);
    keys[*n].type = INPUT_KEYBOARD;
    keys[*n].ki.wVk = vk;
    keys[*n].ki.wScan = (WORD)MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
    keys[*n].ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    (*n)++;
}

enum { SHIFT = 1, CTRL = 2, ALT = 4 };

static void add_key_press(INPUT *keys, int *n, WORD vk, int modifiers)
{
    if (modifiers & CTRL) add_key(keys, n, VK_CONTROL, 0);
    if (modifiers & ALT) add_key(keys, n, VK_MENU, 0);
    if (modifiers & SHIFT) add_key(keys, n, VK_SHIFT, 0);
    add_key(keys, n, vk, 0);
    add_key(keys, n, vk, 1);
    if (modifiers & SHIFT) add_key(keys, n, VK_SHIFT, 1);
    if (modifiers & ALT) add_key(keys, n, VK_MENU, 1);
    if (modifiers & CTRL) add_key(keys, n, VK_CONTROL, 1);
}

/* Queued without pumping (a modal loop may be the one to see them). */
static void send_key(WORD vk, int modifiers)
{
    INPUT keys[8];
    int n = 0;
    add_key_press(keys, &n, vk, modifiers);
    SendInput((UINT)n, keys, sizeof keys[0]);
}

static void key_press(WORD vk, int modifiers, int milliseconds)
{
    send_key(vk, modifiers);
    pump(milliseconds);
}

static void type_text(const char *text)
{
    INPUT keys[256];
    int n = 0;
    for (; *text && n < 248; text++) {
        SHORT scan = VkKeyScanA(*text);
        if (scan != -1)
            add_key_press(keys, &n, LOBYTE(scan), (HIBYTE(scan) & 1 ? SHIFT : 0) | (HIBYTE(scan) & 2 ? CTRL : 0));
    }
    SendInput((UINT)n, keys, sizeof keys[0]);
    pump(30);
}

struct class_search {
    const char *name;
    HWND found;
};

static BOOL CALLBACK match_class(HWND window, LPARAM param)
{
    struct class_search *search = (struct class_search *)param;
    char name[64];
    GetClassNameA(window, name, sizeof name);
    if (_stricmp(name, search->name) != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

/* The first window of a class inside parent (at any depth). */
static HWND child_of_class(HWND parent, const char *class_name)
{
    struct class_search search = {class_name, NULL};
    if (parent)
        EnumChildWindows(parent, match_class, (LPARAM)&search);
    return search.found;
}

/* The control window the plug-in put into a rectangle. */
static HWND control_of(const char *rectangle)
{
    HWND window = rectangle_window(rectangle);
    return window ? GetWindow(window, GW_CHILD) : NULL;
}

/* ---- running actions ---------------------------------------------------- */
static FARPROC fn_exec, fn_edit, fn_message;
static int entry_calls, entry_faults;

/* call_plugin without a line per call: a fault is reported, the rest counted. */
static uint32_t call_plugin_quietly(const char *what, FARPROC fn, const uint32_t *args, int nargs)
{
    uint32_t result = reg_call_padded(what, fn, args, nargs);
    entry_calls++;
    if (reg_esp_after != reg_esp_expected || reg_ebx_after != REG_SENTINEL_EBX || reg_esi_after != REG_SENTINEL_ESI ||
        reg_edi_after != REG_SENTINEL_EDI || reg_ebp_after != REG_SENTINEL_EBP) {
        entry_faults++;
        check(0, "%s: ESP %+ld after the call, EBX ESI EDI EBP %08lx %08lx %08lx %08lx", what,
              (long)(reg_esp_after - reg_esp_expected), (unsigned long)reg_ebx_after,
              (unsigned long)reg_esi_after, (unsigned long)reg_edi_after, (unsigned long)reg_ebp_after);
    }
    return result;
}

/* nbExecAction(id, parameters); returns its AL. */
static int exec_action(int id, const char *const *texts, int n)
{
    char *blocks[16];
    char what[48];
    uint32_t args[2];
    int i, result;
    for (i = 0; i < n && i < 16; i++) {
        blocks[i] = (char *)GlobalAlloc(GMEM_FIXED, strlen(texts[i]) + 1);
        strcpy(blocks[i], texts[i]);
    }
    snprintf(what, sizeof what, "nbExecAction(%d, %s)", id, n ? texts[0] : "");
    args[0] = (uint32_t)id;
    args[1] = (uint32_t)blocks;
    result = (int)(call_plugin_quietly(what, fn_exec, args, 2) & 0xFF);
    for (i = 0; i < n && i < 16; i++)
        GlobalFree(blocks[i]);
    return result;
}

#define TEXTS(...) ((const char *const[]){__VA_ARGS__})
#define COUNT(...) ((int)(sizeof(TEXTS(__VA_ARGS__)) / sizeof(const char *)))
#define EXEC(id, ...) exec_action(id, TEXTS(__VA_ARGS__), COUNT(__VA_ARGS__))

/* Text for a report line: CR and LF written out. */
static const char *shown(const char *text)
{
    static char buffers[4][4096];
    static int next;
    char *out = buffers[next++ % 4];
    size_t n = 0;
    for (; *text && n < sizeof buffers[0] - 8; text++) {
        if (*text == '\r') { out[n++] = '\\'; out[n++] = 'r'; }
        else if (*text == '\n') { out[n++] = '\\'; out[n++] = 'n'; }
        else out[n++] = *text;
    }
    out[n] = 0;
    return out;
}

/* The log joined by " | ". With collapse, a write of the value the variable
   got at its previous write is left out (a control that reports every mouse
   message writes the same value again and again). */
static const char *log_joined(int collapse)
{
    static char joined[16384];
    size_t n = 0;
    int i, j;
    joined[0] = 0;
    for (i = 0; i < log_count; i++) {
        const char *entry = log_entries[i];
        const char *eq = strchr(entry, '=');
        if (collapse && entry[0] == '[' && eq) {
            int repeat = 0;
            for (j = i - 1; j >= 0; j--)
                if (strncmp(log_entries[j], entry, (size_t)(eq - entry) + 1) == 0) {
                    repeat = strcmp(log_entries[j], entry) == 0;
                    break;
                }
            if (repeat)
                continue;
        }
        n += (size_t)snprintf(joined + n, sizeof joined - n, "%s%s", n ? " | " : "", entry);
        if (n >= sizeof joined)
            break;
    }
    return joined;
}

static void expect_log(const char *what, const char *expected, int collapse)
{
    const char *got = log_joined(collapse);
    int ok = strcmp(got, expected) == 0;
    check(ok, "%s: %s", what, shown(expected));
    if (!ok)
        note("got: %s", shown(got));
}

static void expect_var(const char *what, const char *name, const char *expected)
{
    const char *got = var_text(name);
    check(strcmp(got, expected) == 0, "%s: %s is \"%s\"%s%s%s", what, name, shown(expected),
          strcmp(got, expected) ? " (got \"" : "", strcmp(got, expected) ? shown(got) : "",
          strcmp(got, expected) ? "\")" : "");
}

/* How many log entries an expected log text names. */
static int entries_in(const char *expected)
{
    int n = 1;
    for (; (expected = strstr(expected, " | ")) != NULL; expected += 3)
        n++;
    return n;
}

/* Pumps until the log has n entries (or a few seconds passed). */
static void pump_until_logged(int n)
{
    DWORD start = GetTickCount();
    while (log_count < n && GetTickCount() - start < 4000)
        pump(20);
    pump(50);
}

/* ---- the seven kinds under real input ----------------------------------- */
static char drop_file[MAX_PATH], drop_folder[MAX_PATH], drop_root[MAX_PATH];

static int create_kinds(void)
{
    int ok = 1;
    ok &= EXEC(5, "RDrop", "False", "False", "one\r\ntwo\r\nthree", "0", "0", "", "0", "1", "[Choice]");
    ok &= EXEC(15, "RDrop", "Changed", "None", "None");
    ok &= EXEC(18, "RList", "0", "0", "one\r\ntwo\r\nthree", "0", "0", "", "0", "1", "[Sel]");
    ok &= EXEC(20, "RList", "Changed", "None", "None");
    ok &= EXEC(1, "RHot", "", "OnKey", "[HK]");
    ok &= EXEC(24, "REdit", "[Text]");
    ok &= EXEC(25, "REdit", "", "False", "", "", "'Arial', 12, (), (clBlack)", "clNone", "2", "");
    ok &= EXEC(26, "REdit", "Changed", "None", "None", "None");
    ok &= EXEC(51, "RCheck", "False", "True", "Blue\r\nRed", "0", "True", "[Checked]", "[Unchecked]", "[Grayed]",
               "[Selected]");
    ok &= EXEC(53, "RCheck", "Sel", "None", "None", "State", "[Clicked]");
    ok &= EXEC(44, "RFiles", "Drop files here", "clRed", "true", "[Folders]", "[Files]", "[Items]", "OnDrop");
    ok &= EXEC(46, "RTrack", "20", "16", "0", "100", "10", "0", "False", "[Pos]");
    ok &= EXEC(48, "RTrack", "Changing", "Changed", "None");
    return ok;
}

static void pick_combo_item(HWND combo, int index)
{
    COMBOBOXINFO info;
    RECT r;
    GetClientRect(combo, &r);
    click_at(combo, r.right - 6, r.bottom / 2);
    info.cbSize = sizeof info;
    GetComboBoxInfo(combo, &info);
    SendMessageA(info.hwndList, LB_SETTOPINDEX, (WPARAM)index, 0); /* the open list shows two rows */
    SendMessageA(info.hwndList, LB_GETITEMRECT, (WPARAM)index, (LPARAM)&r);
    click_at(info.hwndList, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

static void list_item_click(HWND list, int index, int x)
{
    RECT r;
    SendMessageA(list, LB_GETITEMRECT, (WPARAM)index, (LPARAM)&r);
    click_at(list, r.left + x, (r.top + r.bottom) / 2);
}

static void operate_drop_down(void)
{
    HWND combo = child_of_class(control_of("RDrop"), "ComboBox");
    focus_window(host_window);
    pick_combo_item(combo, 2);
    SendMessageA(combo, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    type_text("tw");
}

static void operate_list_box(void)
{
    HWND list = child_of_class(control_of("RList"), "ListBox");
    focus_window(host_window);
    list_item_click(list, 1, 10);
    key_press(VK_UP, 0, 50);
}

static void operate_smart_edit(void)
{
    focus_window(child_of_class(control_of("REdit"), "Edit"));
    type_text("ab");
}

static void operate_check_list(void)
{
    focus_window(host_window);
    list_item_click(child_of_class(control_of("RCheck"), "ListBox"), 0, 7); /* on the check glyph */
}

/* Wide paths, each ended by a zero, the list by a second zero: the block the
   shell posts with WM_DROPFILES. */
static HGLOBAL drop_block(const char *const *paths, int n, POINT at)
{
    size_t chars = 1, used = 0;
    int i;
    HGLOBAL block;
    BYTE *base;
    WCHAR *list;
    for (i = 0; i < n; i++)
        chars += (size_t)MultiByteToWideChar(CP_ACP, 0, paths[i], -1, NULL, 0);
    block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 20 + chars * sizeof(WCHAR));
    base = (BYTE *)GlobalLock(block);
    *(DWORD *)base = 20;          /* pFiles: the list follows the 20-byte header */
    *(LONG *)(base + 4) = at.x;   /* pt */
    *(LONG *)(base + 8) = at.y;
    *(BOOL *)(base + 12) = FALSE; /* fNC */
    *(BOOL *)(base + 16) = TRUE;  /* fWide */
    list = (WCHAR *)(base + 20);
    for (i = 0; i < n; i++)
        used += (size_t)MultiByteToWideChar(CP_ACP, 0, paths[i], -1, list + used, (int)(chars - used));
    GlobalUnlock(block);
    return block;
}

static void operate_file_drop(void)
{
    const char *paths[2] = {drop_file, drop_folder};
    POINT at = {100, 60}, screen = at;
    HWND target;
    ClientToScreen(rectangle_window("RFiles"), &screen);
    for (target = WindowFromPoint(screen); target; target = GetParent(target))
        if (GetWindowLongA(target, GWL_EXSTYLE) & WS_EX_ACCEPTFILES)
            break;
    check(target != NULL && IsChild(rectangle_window("RFiles"), target),
          "FileDragDrop: the window under the drop point inside its rectangle accepts files");
    if (!target)
        return;
    ScreenToClient(target, &screen);
    PostMessageA(target, WM_DROPFILES, (WPARAM)drop_block(paths, 2, screen), 0);
    pump_until_logged(4);
}

/* Press at x 20 (the thumb's middle at value 10), drag pixel by pixel to 24,
   release. */
static void operate_track_bar(void)
{
    HWND form = control_of("RTrack");
    int x;
    focus_window(host_window);
    mouse_to(form, 20, 15);
    left_button(1);
    for (x = 21; x <= 24; x++)
        mouse_to(form, x, 15);
    left_button(0);
    pump(30);
}

static void operate_hot_key_field(void)
{
    /* a combination typed into the field, then pressed elsewhere */
    HWND field = child_of_class(control_of("RHot"), "msctls_hotkey32");
    check(EXEC(72, "RHot", "ignored") && focus_window(field), "qorFocusHotKey gives the field the focus");
    key_press(VK_F7, ALT, 80);
    focus_window(other_edit);
    key_press(VK_F7, ALT, 150);
}

static char drop_expected[1024];

struct kind_case {
    const char *what;
    void (*operate)(void);
    const char *expected;
    int collapse;
};

static void check_kinds(void)
{
    const struct kind_case cases[] = {
        {"DropDown: the third item picked with the mouse, then \"tw\" typed over the text", operate_drop_down,
         "[Choice]=three | GoSub \"Changed\" | [Choice]=t | GoSub \"Changed\" | [Choice]=tw | GoSub \"Changed\"", 0},
        {"ListBox: the second item clicked, then Up", operate_list_box,
         "[Sel]=two | GoSub \"Changed\" | [Sel]=one | GoSub \"Changed\"", 0},
        {"SmartEdit: \"ab\" typed", operate_smart_edit,
         "[Text]=a | GoSub \"Changed\" | [Text]=ab | GoSub \"Changed\"", 0},
        {"CheckListBox: the first item's box clicked (gray allowed, one variable per item)", operate_check_list,
         "Blue=Grayed | [Clicked]=Blue | GoSub \"State\" | [Checked]= | [Unchecked]=Red | [Grayed]=Blue | "
         "[Selected]=Blue | GoSub \"Sel\"", 0},
        {"FileDragDrop: a file and a folder dropped", operate_file_drop, drop_expected, 0},
        {"TrackBar: pressed on the thumb, dragged 4 pixels, released (a repeated write of an unchanged value "
         "counted once)", operate_track_bar,
         "[Pos]=10 | GoSub \"Changing\" | [Pos]=11 | GoSub \"Changing\" | [Pos]=12 | GoSub \"Changing\" | "
         "[Pos]=13 | GoSub \"Changing\" | [Pos]=14 | GoSub \"Changing\" | GoSub \"Changed\"", 1},
        {"HotKey field: Alt+F7 typed into it (Alt alone names no key: the empty text; a repeated write of an "
         "unchanged value counted once), then pressed in another window", operate_hot_key_field,
         "[HK]= | [HK]=Alt+F7 | GoSub \"OnKey\"", 1},
    };
    int i;
    HANDLE file;

    GetTempPathA(sizeof drop_root, drop_root);
    snprintf(drop_root + strlen(drop_root), sizeof drop_root - strlen(drop_root), "check32 drop %lu",
             (unsigned long)GetCurrentProcessId());
    CreateDirectoryA(drop_root, NULL);
    snprintf(drop_file, sizeof drop_file, "%s\\caf\xE9 list.txt", drop_root);
    snprintf(drop_folder, sizeof drop_folder, "%s\\Fotos", drop_root);
    file = CreateFileA(drop_file, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    CloseHandle(file);
    CreateDirectoryA(drop_folder, NULL);
    snprintf(drop_expected, sizeof drop_expected,
             "[Files]=%s | [Folders]=%s | [Items]=%s\r\n%s | GoSub \"OnDrop\"", drop_file, drop_folder, drop_file,
             drop_folder);

    check(create_kinds(), "the seven kinds created on their rectangles with their events captured");
    for (i = 0; i < RECTANGLES; i++)
        check(control_of(rectangles[i].name) != NULL, "%s holds the plug-in's control window",
              rectangles[i].name);
    for (i = 0; i < (int)(sizeof cases / sizeof cases[0]); i++) {
        current_step = cases[i].what;
        log_clear();
        cases[i].operate();
        pump_until_logged(entries_in(cases[i].expected));
        expect_log(cases[i].what, cases[i].expected, cases[i].collapse);
    }
}

/* ---- the spell checker's underline -------------------------------------- */
static void check_zigzag(void)
{
    static const char text[] = "Good wrold here";
    HWND edit;
    HDC dc, memory;
    HBITMAP bitmap;
    HGDIOBJ old_bitmap, old_font;
    RECT client;
    SIZE size;
    TEXTMETRICA metrics;
    BITMAPINFO info;
    DWORD *bits = NULL;
    int x, y, left, top, bottom, inside = 0, stray = 0, before = 0;
    int *columns;

    current_step = "spell checker";
    check(EXEC(27, "REdit", text, "0"), "qorSmartEditSetText puts \"%s\" into the SmartEdit", text);
    edit = child_of_class(control_of("REdit"), "Edit");
    for (x = 0; x < 2; x++) {
        if (x == 1)
            check(EXEC(73, "REdit", "", "False,False,False,False"),
                  "qorSmartEditActiveSpellChecker with the default dictionary");
        RedrawWindow(edit, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        pump(100);
        GetClientRect(edit, &client);
        dc = GetDC(edit);
        old_font = SelectObject(dc, (HFONT)SendMessageA(edit, WM_GETFONT, 0, 0));
        GetTextMetricsA(dc, &metrics);
        GetTextExtentPoint32A(dc, "wrold", 5, &size);
        SelectObject(dc, old_font);
        left = (short)LOWORD(SendMessageA(edit, EM_POSFROMCHAR, 5, 0));
        top = 1 + metrics.tmHeight / 2;
        bottom = 1 + metrics.tmHeight + 2;
        memset(&info, 0, sizeof info);
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = client.right;
        info.bmiHeader.biHeight = -client.bottom; /* top row first */
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        memory = CreateCompatibleDC(dc);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, (void **)&bits, NULL, 0);
        old_bitmap = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
        GdiFlush();
        columns = (int *)calloc((size_t)client.right + 1, sizeof *columns);
        for (y = 0; y < client.bottom; y++) {
            int xx;
            for (xx = 0; xx < client.right; xx++) {
                if ((bits[y * client.right + xx] & 0xFFFFFF) != 0xFF0000) /* pure red */
                    continue;
                if (x == 0)
                    before++;
                else if (xx >= left && xx <= left + size.cx && y >= top && y <= bottom)
                    columns[xx] = 1;
                else
                    stray++;
            }
        }
        for (y = 0; y <= client.right; y++)
            inside += columns[y];
        free(columns);
        SelectObject(memory, old_bitmap);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(edit, dc);
    }
    check(before == 0, "no red in the SmartEdit before checking is on (%d pixels)", before);
    check(inside >= size.cx / 2 && stray == 0,
          "the zigzag lies under \"wrold\" only: red in %d of its %ld columns, %d red pixels elsewhere", inside,
          (long)size.cx, stray);
}

/* ---- hot keys: the field's combination, the global and local managers ---- */
struct key_case {
    const char *what;
    HWND focus;      /* where the keys go */
    WORD key;
    int modifiers;
    const char *expected;
};

static void check_hot_keys(void)
{
    struct key_case cases[] = {
        {"HotKey field set to ctrl+shift+k, Ctrl+Shift+K pressed in another window", NULL, 'K', CTRL | SHIFT,
         "GoSub \"OnKey\""},
        {"global manager, key-down mode: Ctrl+Alt+F2 (a script command)", NULL, VK_F2, CTRL | ALT, "Set [X] 1"},
        {"global manager, key-down mode: Ctrl+Alt+F3 (a subroutine)", NULL, VK_F3, CTRL | ALT, "GoSub \"Sub1\""},
        {"global manager, key-up mode: Ctrl+Alt+F3", NULL, VK_F3, CTRL | ALT, "GoSub \"Sub1\""},
        {"local manager: Shift+Ctrl+Z typed", NULL, 'Z', CTRL | SHIFT, "GoSub \"Sub1\""},
    };
    int i;
    current_step = "hot keys";
    check(EXEC(23, "RHot", "ctrl+shift+k"), "qorSetHotKey(RHot, ctrl+shift+k)");
    expect_var("qorSetHotKey", "[HK]", "Shift+Ctrl+K");
    check(EXEC(64, "Ctrl+Alt+F2", "*Set [X] 1") && EXEC(64, "Ctrl+Alt+F3", ":Sub1"),
          "qorAddHotKeyInManager twice");
    expect_var("qorAddHotKeyInManager", "[qorHotKeyManagerList]", "Ctrl+Alt+F2=Set [X] 1\r\nCtrl+Alt+F3=Sub1\r\n");
    for (i = 0; i < (int)(sizeof cases / sizeof cases[0]); i++) {
        current_step = cases[i].what;
        if (i == 3)
            var_put("[qorBrindavelHKEventOn]", "KeyUp");
        if (i == 4) {
            var_put("[qorBrindavelHKEventOn]", "");
            check(EXEC(68, "Q", "*Marker") && EXEC(68, "Shift+Ctrl+Z", ":Sub1"), "qorAddLocalKeyInManager twice");
            expect_var("qorAddLocalKeyInManager", "[qorLocalKeyManagerList]", "Q=*Marker\r\nShift+Ctrl+Z=:Sub1\r\n");
        }
        focus_window(other_edit);
        log_clear();
        key_press(cases[i].key, cases[i].modifiers, 0);
        pump_until_logged(1);
        pump(150); /* a second run would show now */
        expect_log(cases[i].what, cases[i].expected, 0);
    }
    /* the hook takes a bound key and lets the others through */
    current_step = "local manager typing";
    SetWindowTextA(other_edit, "");
    focus_window(other_edit);
    log_clear();
    type_text("aqb");
    pump_until_logged(1);
    pump(150);
    {
        char typed[64];
        GetWindowTextA(other_edit, typed, sizeof typed);
        check(strcmp(typed, "ab") == 0, "local manager: \"aqb\" typed reaches the window as \"ab\" (got \"%s\")",
              typed);
    }
    expect_log("local manager: the bound Q ran its command once", "Marker", 0);
}

/* ---- one editing dialog per family ---------------------------------------- */
/* The control a label names: the label's next id, or the labelled box itself. */
static HWND field_of(HWND dialog, const char *label)
{
    HWND child;
    char text[128];
    for (child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        GetWindowTextA(child, text, sizeof text);
        if (strcmp(text, label) == 0) {
            int id = GetDlgCtrlID(child);
            return (id - 100) % 20 != 0 ? child : GetDlgItem(dialog, id + 1);
        }
    }
    return NULL;
}

static void act_click(HWND dialog, const char *label)
{
    click_centre(field_of(dialog, label));
}

static void act_press(HWND dialog, const char *label)
{
    (void)label;
    SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

/* The last picker button beside the field: the field's own chooser (the
   colour chooser here; the ones before it pick a variable or a rectangle). */
static void act_picker(HWND dialog, const char *label)
{
    int base = 100 + (GetDlgCtrlID(field_of(dialog, label)) - 100) / 20 * 20, offset;
    for (offset = 19; offset >= 12; offset--)
        if (GetDlgItem(dialog, base + offset)) {
            PostMessageA(GetDlgItem(dialog, base + offset), BM_CLICK, 0, 0);
            return;
        }
}

static void act_system_ok(HWND dialog, const char *label)
{
    (void)label;
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

struct dialog_case {
    const char *family;
    int id;
    const char *caption;
    const char *in[10];
    struct dialog_step acts[4];
    const char *out[10];
    const char *replaced; /* one letter per parameter: R replaced, k kept */
};

static void check_family_dialogs(void)
{
    static const struct dialog_case cases[] = {
        {"lists", 15, "DropDownCaptureEvents Properties", {"DD1", "Changed", "None", ""},
         {{"DropDownCaptureEvents Properties", act_press, NULL}}, {"DD1", "Changed", "None", ""}, "RRRR"},
        {"SmartEdit", 24, "CreateSmartEdit Properties", {"Memo1", "[Text]"},
         {{"CreateSmartEdit Properties", act_press, NULL}}, {"Memo1", "[Text]"}, "RR"},
        {"check list", 53, "CheckListBoxCaptureEvents Properties", {"CLB1", "Sel", "None", "", "State", "[Clicked]"},
         {{"CheckListBoxCaptureEvents Properties", act_press, NULL}},
         {"CLB1", "Sel", "None", "", "State", "[Clicked]"}, "RRRRRR"},
        {"track bar", 47, "TrackBarSetProperties Properties", {"TB", "[s]", "True", "", "clRed", "[b]", "", ""},
         {{"TrackBarSetProperties Properties", act_click, "Track border"},
          {"TrackBarSetProperties Properties", act_press, NULL}},
         {"TB", "[s]", "True", "False", "clRed", "[b]", "clNone", "clNone"}, "RkRRRkRR"},
        {"file drop", 44, "CreateFileDragDrop Properties",
         {"FD1", "Drop files here", "clRed", "True", "[Folders]", "[Files]", "[Items]", "OnDrop"},
         {{"CreateFileDragDrop Properties", act_press, NULL}},
         {"FD1", "Drop files here", "clRed", "True", "[Folders]", "[Files]", "[Items]", "OnDrop"}, "RRRRRRRR"},
        {"hot keys", 23, "SetHotKey Properties", {"HK1", "[K]"}, {{"SetHotKey Properties", act_press, NULL}},
         {"HK1", "[K]"}, "Rk"},
        {"dialog actions, with the system colour dialog", 61, "ColorDialog Properties",
         {"clred", "", "[p]", "", "", ""},
         {{"ColorDialog Properties", act_picker, "Color:"}, {"Color", act_system_ok, NULL},
          {"ColorDialog Properties", act_press, NULL}},
         {"clRed", "", "[p]", "False", "", ""}, "RRkRRR"},
    };
    int c, i;
    for (c = 0; c < (int)(sizeof cases / sizeof cases[0]); c++) {
        const struct dialog_case *d = &cases[c];
        int n = (int)strlen(d->replaced), same = 1, result, ok;
        char *blocks[10], *before[10], got[10];
        char what[96];
        snprintf(what, sizeof what, "nbEditAction(%d) (%s)", d->id, d->family);
        for (i = 0; i < n; i++) {
            blocks[i] = before[i] = (char *)GlobalAlloc(GMEM_FIXED, strlen(d->in[i]) + 1);
            strcpy(blocks[i], d->in[i]);
        }
        freed_count = 0;
        focus_window(host_window);
        result = (int)edit_playing(what, call_plugin_quietly, fn_edit, d->id, blocks, d->acts);
        for (i = 0; i < n; i++) {
            got[i] = was_freed(before[i]) ? 'R' : 'k';
            same &= strcmp(blocks[i], d->out[i]) == 0;
        }
        got[n] = 0;
        ok = result == 1 && step_next == step_count && !step_gave_up && same && strcmp(got, d->replaced) == 0;
        check(ok, "%s \"%s\" operated and confirmed: true, the texts written back, blocks replaced %s", what,
              d->caption, d->replaced);
        if (!ok) {
            note("result %d, %d of %d steps, blocks replaced %s", result, step_next, step_count, got);
            if (step_gave_up)
                note("no window \"%s\" came within a minute: the dialogs were cancelled",
                     d->acts[step_next].caption);
            for (i = 0; i < n; i++)
                note("parameter %d: \"%s\"", i + 1, shown(blocks[i]));
        }
        for (i = 0; i < n; i++)
            GlobalFree(blocks[i]);
    }
}

/* ---- the end: nbMessage 2 with every kind alive, then unloading ---------- */
#define MAX_LEFT 64
static HWND plugin_windows[MAX_LEFT];
static int plugin_window_count;

static void note_plugin_window(HWND window)
{
    if (plugin_window_count < MAX_LEFT &&
        (HMODULE)GetClassLongPtrA(window, GCLP_HMODULE) == (HMODULE)plugin_base)
        plugin_windows[plugin_window_count++] = window;
}

static BOOL CALLBACK note_plugin_windows(HWND window, LPARAM param)
{
    (void)param;
    note_plugin_window(window);
    EnumChildWindows(window, note_plugin_windows, 0);
    return TRUE;
}

/* Every window of the plug-in's classes: on this thread and message-only. */
static int find_plugin_windows(void)
{
    HWND window = NULL;
    plugin_window_count = 0;
    EnumThreadWindows(GetCurrentThreadId(), note_plugin_windows, 0);
    while ((window = FindWindowExA(HWND_MESSAGE, window, NULL, NULL)) != NULL)
        note_plugin_window(window);
    return plugin_window_count;
}

static int combination_free(UINT modifiers, UINT key)
{
    int free_now = RegisterHotKey(other_window, 0x7F00, modifiers, key) != 0;
    if (free_now)
        UnregisterHotKey(other_window, 0x7F00);
    return free_now;
}

static void check_end(HMODULE plugin, FARPROC message)
{
    static const char *const emptied[] = {"[Choice]", "[Sel]", "[HK]", "[Text]", "[Checked]", "[Unchecked]",
                                          "[Grayed]", "[Selected]", "[Clicked]", "Blue", "Red", "[Files]",
                                          "[Folders]", "[Items]", "[Pos]"};
    uint32_t args[3] = {2, 0xDEADBEEF, 0xFEEDFACE};
    int i, alive = 0, left = 0, all_empty = 1, calls_before, hook_calls;
    char typed[64];

    current_step = "the end";
    for (i = 0; i < RECTANGLES; i++)
        alive += control_of(rectangles[i].name) != NULL;
    check(alive == RECTANGLES, "before nbMessage 2: a control of each of the seven kinds is alive (%d)", alive);
    find_plugin_windows();
    note("%d windows of the plug-in's classes before nbMessage 2", plugin_window_count);
    log_clear();
    call_plugin("nbMessage(2)", message, args, 3);
    pump(50);
    for (i = 0; i < RECTANGLES; i++)
        left += control_of(rectangles[i].name) != NULL;
    check(left == 0, "nbMessage 2: no rectangle holds a control window any more (%d do)", left);
    for (i = 0; i < (int)(sizeof emptied / sizeof emptied[0]); i++)
        if (var_text(emptied[i])[0]) {
            all_empty = 0;
            note("%s still \"%s\"", emptied[i], shown(var_text(emptied[i])));
        }
    check(all_empty && !strstr(log_joined(0), "GoSub"),
          "nbMessage 2: every variable the controls mirrored emptied, no subroutine run");
    check(combination_free(MOD_CONTROL | MOD_SHIFT, 'K'), "nbMessage 2 released the HotKey field's Ctrl+Shift+K");
    check(!combination_free(MOD_CONTROL | MOD_ALT, VK_F3), "the global manager keeps Ctrl+Alt+F3 after nbMessage 2");
    args[0] = 0;
    call_plugin("nbMessage(0)", message, args, 3);
    find_plugin_windows();
    note("%d windows of the plug-in's classes left for unloading (its two managers' hidden windows)",
         plugin_window_count);

    hook_calls = wrapped_calls[PATH_HOOK];
    current_step = "FreeLibrary";
    check(FreeLibrary(plugin), "FreeLibrary of the plug-in");
    left = 0;
    for (i = 0; i < plugin_window_count; i++)
        left += IsWindow(plugin_windows[i]) != 0;
    check(left == 0, "after unloading: none of the plug-in's windows remains (%d do)", left);
    check(combination_free(MOD_CONTROL | MOD_ALT, VK_F2) && combination_free(MOD_CONTROL | MOD_ALT, VK_F3),
          "after unloading: the global manager's combinations are free again");
    current_step = "typing after unloading";
    calls_before = wrapped_calls[PATH_WINDOW] + wrapped_calls[PATH_HOOK] + wrapped_calls[PATH_TIMER] +
                   wrapped_calls[PATH_DIALOG];
    SetWindowTextA(other_edit, "");
    focus_window(other_edit);
    type_text("qz");
    pump(300);
    GetWindowTextA(other_edit, typed, sizeof typed);
    check(strcmp(typed, "qz") == 0 && wrapped_calls[PATH_HOOK] == hook_calls,
          "after unloading: no keyboard hook of the plug-in: \"qz\" arrives whole (got \"%s\")", typed);
    check(wrapped_calls[PATH_WINDOW] + wrapped_calls[PATH_HOOK] + wrapped_calls[PATH_TIMER] +
                  wrapped_calls[PATH_DIALOG] == calls_before,
          "after unloading: no window procedure, hook or timer of the plug-in is called while the host runs on");
    check(SendMessageTimeoutA(host_window, WM_NULL, 0, 0, SMTO_NORMAL, 2000, NULL) != 0 && IsWindow(host_window),
          "the host keeps running: its window answers");
}

/* ---- Wine's cursor-clipping window --------------------------------------
 * Wine's X11 driver keeps the X id of the desktop process's cursor-clipping
 * window in a property of the desktop window; each thread here that makes a
 * top-level window takes that id, and releasing the cursor clip (Wine does it
 * whenever a window in the foreground is destroyed) unmaps that X window.
 * Under 32-bit Wine on an emulated CPU the X connection that made it is
 * closed early, and the X server gives its id to the first window of this
 * program: the unmap then hides a window of ours, and once that one is
 * destroyed the X error ends the program. Neither this program nor the
 * library clips the cursor, so the property is dropped as soon as the
 * desktop process has set it, before this program makes any window. Only
 * under Wine. */
static void drop_stale_clip_window(void)
{
    static const char prop[] = "__wine_x11_clip_window";
    HWND desktop;
    HANDLE id;
    DWORD waited = 0;

    if (!GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version"))
        return;
    desktop = GetDesktopWindow();
    /* the desktop process may still be starting: it sets the property once */
    while (!GetPropA(desktop, prop) && waited < 180000) {
        Sleep(500);
        waited += 500;
    }
    id = RemovePropA(desktop, prop);
    if (id)
        note("Wine: dropped the desktop's cursor-clipping window (X id %#lx) after %lu ms",
             (unsigned long)(ULONG_PTR)id, (unsigned long)waited);
    else
        note("Wine: the desktop has no cursor-clipping window (waited %lu ms)", (unsigned long)waited);
}

/* ---- main --------------------------------------------------------------- */
static const char *const export_names[8] = {
    "nbInitPlugIn", "nbRegisterPlugIn", "nbRegisterScriptProcessor", "nbRegisterInterfaceAccess",
    "nbExecAction", "nbEditAction", "nbMessage", "nbAbout"};
enum { INIT, REGISTER, REGISTER_SCRIPT, REGISTER_ACCESS, EXEC, EDIT, MESSAGE, ABOUT };

int main(int argc, char **argv)
{
    char path[MAX_PATH];
    FARPROC fn[8];
    HMODULE plugin;
    uint32_t args[4];
    int i, all_found = 1, hooked;

    setvbuf(stdout, NULL, _IONBF, 0);
    SetUnhandledExceptionFilter(on_crash);
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    drop_stale_clip_window();

    if (argc > 1) {
        snprintf(path, sizeof path, "%s", argv[1]);
    } else {
        char *slash;
        GetModuleFileNameA(NULL, path, sizeof path);
        slash = strrchr(path, '\\');
        snprintf(slash ? slash + 1 : path, sizeof path - (size_t)(slash ? slash + 1 - path : 0),
                 "qorBrindavel.nbp");
    }

    current_step = "LoadLibrary";
    plugin = LoadLibraryA(path);
    check(plugin != NULL, "LoadLibrary %s", path);
    if (!plugin) {
        note("error %lu", (unsigned long)GetLastError());
        return finish();
    }

    for (i = 0; i < 8; i++) {
        fn[i] = GetProcAddress(plugin, export_names[i]);
        if (!fn[i]) {
            all_found = 0;
            note("missing export %s", export_names[i]);
        }
    }
    check(all_found, "the eight entry points are exported under their plain names");
    if (!all_found)
        return finish();

    hooked = patch_import(plugin, "kernel32.dll", "GlobalFree", (void *)recording_global_free,
                          (void **)&real_global_free);
    check(watch_plugin_calls(plugin),
          "the procedures the plug-in hands to the window system are watched (its six imports found)");

    check_init(fn[INIT], hooked);

    in_register = 1;
    args[0] = (uint32_t)host_add_action;
    args[1] = (uint32_t)host_add_file;
    args[2] = (uint32_t)host_get_variable;
    args[3] = (uint32_t)host_set_variable;
    call_plugin("nbRegisterPlugIn", fn[REGISTER], args, 4);
    in_register = 0;
    check_catalogue();

    args[0] = (uint32_t)host_script_processor;
    call_plugin("nbRegisterScriptProcessor", fn[REGISTER_SCRIPT], args, 1);
    args[0] = (uint32_t)host_interface_access;
    call_plugin("nbRegisterInterfaceAccess", fn[REGISTER_ACCESS], args, 1);

    check_out_of_range("nbExecAction", fn[EXEC], 0, 2);
    check_out_of_range("nbExecAction", fn[EXEC], 74, 2);
    check_out_of_range("nbExecAction", fn[EXEC], -1, 2);
    check_out_of_range("nbEditAction", fn[EDIT], 0, 3);
    check_out_of_range("nbEditAction", fn[EDIT], 74, 3);

    check_remove_hot_key(fn[EXEC]);
    check_edit_dialogs(fn[EDIT]);

    fn_exec = fn[EXEC];
    fn_edit = fn[EDIT];
    fn_message = fn[MESSAGE];
    make_host_windows();
    check_kinds();
    check_zigzag();
    check_hot_keys();
    check_family_dialogs();
    check_end(plugin, fn[MESSAGE]);

    current_step = "end";
    check_paths();
    check(entry_faults == 0, "%d further entry point calls: stack balanced, EBX ESI EDI EBP kept in each (%d not)",
          entry_calls, entry_faults);
    check(add_file_count == 0, "HostAddFile never called");
    return finish();
}
