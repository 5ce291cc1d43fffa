/*
 * check32: a stand-in for the authoring host, built for i686. It loads the
 * plug-in library, finds its eight entry points by name and calls them
 * through hand-written register-convention thunks (register_thunks.S),
 * giving it host callbacks written the same way. It uses none of the
 * plug-in's own headers, so a mismatch between the plug-in's idea of the
 * calling convention and the real one shows up here.
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

/* A tiny variable store, so that a value the plug-in sets can be read back. */
int on_set_variable(const char *name, const char *value)
{
    if (set_count < MAX_SET_CALLS) {
        copy_text(set_calls[set_count].name, sizeof set_calls[set_count].name, name);
        copy_text(set_calls[set_count].value, sizeof set_calls[set_count].value, value);
    }
    set_count++;
    return 1;
}

int on_get_variable(const char *name, char **value)
{
    const char *text = NULL;
    int i;
    get_count++;
    for (i = (set_count < MAX_SET_CALLS ? set_count : MAX_SET_CALLS) - 1; i >= 0; i--)
        if (name && strcmp(set_calls[i].name, name) == 0) {
            text = set_calls[i].value;
            break;
        }
    if (value && text) {
        char *block = (char *)GlobalAlloc(GMEM_FIXED, strlen(text) + 1);
        if (block)
            strcpy(block, text);
        *value = block;
    }
    return text != NULL;
}

int on_script_processor(const char *line)
{
    (void)line;
    script_count++;
    return 1;
}

/* Request 7 (window of an object): no object exists here, so "0".
   Other requests: no answer. */
int on_interface_access(int code, char **text)
{
    access_count++;
    if (code == 7 && text) {
        char *block = (char *)GlobalAlloc(GMEM_FIXED, 2);
        if (*text)
            GlobalFree(*text);
        if (block)
            strcpy(block, "0");
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
/* Calls fn with the register convention and checks that the stack pointer
   came back to where it was and that EBX, ESI, EDI and EBP survived. */
static uint32_t call_plugin(const char *what, FARPROC fn, const uint32_t *args, int nargs)
{
    uint32_t padded[16] = {0};
    uint32_t result;
    int i;
    for (i = 0; i < nargs; i++)
        padded[i] = args[i];
    current_step = what;
    result = reg_call((const void *)fn, padded, nargs < 3 ? 3 : nargs);
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
static const char *dialog_caption;
static int dialog_confirm, dialog_seen;

static BOOL CALLBACK operate_dialog(HWND window, LPARAM unused)
{
    char text[128];
    HWND child;
    (void)unused;
    GetWindowTextA(window, text, sizeof text);
    if (!IsWindowVisible(window) || strcmp(text, dialog_caption) != 0)
        return TRUE;
    dialog_seen = 1;
    if (dialog_confirm) /* tick the dialog's check box, as the author would */
        for (child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            GetWindowTextA(child, text, sizeof text);
            if (strcmp(text, "Decrypt before load") == 0)
                SendMessageA(child, BM_CLICK, 0, 0);
        }
    SendMessageA(GetDlgItem(window, dialog_confirm ? IDOK : IDCANCEL), BM_CLICK, 0, 0);
    return FALSE;
}

static void CALLBACK dialog_timer(HWND window, UINT message, UINT_PTR id, DWORD time)
{
    (void)window; (void)message; (void)id; (void)time;
    if (!dialog_seen)
        EnumThreadWindows(GetCurrentThreadId(), operate_dialog, 0);
}

/* Dispatches what reaches this thread for the given time. Under emulation the
   window system's notices about a closed dialog arrive long after the dialog
   has gone; they are taken here, not inside the next dialog's modal loop. */
static void pump_messages(DWORD milliseconds)
{
    DWORD start = GetTickCount(), elapsed;
    MSG message;
    while ((elapsed = GetTickCount() - start) < milliseconds) {
        MsgWaitForMultipleObjects(0, NULL, FALSE, milliseconds - elapsed, QS_ALLINPUT);
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

/* Edits id with an automated OK or Cancel; returns nbEditAction's AL. */
static uint32_t edit_with_dialog(FARPROC edit, int id, const char *caption, int confirm, const char *first)
{
    char what[96];
    uint32_t args[3];
    UINT_PTR timer;
    uint32_t result;
    snprintf(what, sizeof what, "nbEditAction(%d, %s)", id, confirm ? "OK" : "Cancel");
    make_params(first);
    reset_callbacks();
    freed_count = 0;
    dialog_caption = caption;
    dialog_confirm = confirm;
    dialog_seen = 0;
    args[0] = (uint32_t)id;
    args[1] = (uint32_t)params;
    args[2] = 0x5A5A5A5A;
    timer = SetTimer(NULL, 0, 100, dialog_timer);
    result = call_plugin(what, edit, args, 3) & 0xFF;
    KillTimer(NULL, timer);
    pump_messages(3000);
    check(dialog_seen, "%s: the dialog \"%s\" was shown", what, caption);
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

    reset_callbacks();
    args[0] = 2;          /* destroy every attached control */
    args[1] = 0xDEADBEEF; /* whatever else the host leaves in EDX and ECX */
    args[2] = 0xFEEDFACE;
    call_plugin("nbMessage(2)", fn[MESSAGE], args, 3);
    args[0] = 0;
    call_plugin("nbMessage(0)", fn[MESSAGE], args, 3);

    current_step = "end";
    check(add_file_count == 0, "HostAddFile never called");
    return finish();
}
