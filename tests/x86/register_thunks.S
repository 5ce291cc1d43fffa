/*
 * Calls into and out of code that uses the Borland "register" calling
 * convention of 32-bit x86, written by hand so that the check does not depend
 * on how any compiler models that convention:
 *
 *   - the first three arguments travel in EAX, EDX and ECX, in that order;
 *   - further arguments are pushed left to right (the last one ends up
 *     nearest to the return address) and the called function removes them;
 *   - a result comes back in EAX (a boolean in AL);
 *   - EBX, ESI, EDI and EBP survive the call.
 *
 * Symbols carry the leading underscore of i686 Windows C names.
 */
        .intel_syntax noprefix

        .bss
        .balign 4
        .globl  _reg_esp_expected, _reg_esp_after, _reg_eax_after
        .globl  _reg_ebx_after, _reg_esi_after, _reg_edi_after, _reg_ebp_after
_reg_frame:        .long 0
_reg_target:       .long 0
_reg_esp_expected: .long 0
_reg_esp_after:    .long 0
_reg_eax_after:    .long 0
_reg_ebx_after:    .long 0
_reg_esi_after:    .long 0
_reg_edi_after:    .long 0
_reg_ebp_after:    .long 0

        .text

/*
 * uint32_t reg_call(const void *fn, const uint32_t *args, int nargs);
 * (cdecl, for C)
 *
 * Calls fn with args[0..nargs-1] in the register convention. args must hold
 * at least three entries (unused ones are loaded into the registers too).
 * The stack pointer is deliberately left 8 bytes off a 16-byte boundary at
 * the call, as a host that only keeps 4-byte alignment may leave it.
 * Afterwards _reg_esp_after must equal _reg_esp_expected (the callee removed
 * exactly its stack arguments), and _reg_ebx/esi/edi/ebp_after must hold the
 * REG_SENTINEL_* values loaded before the call.
 */
        .globl  _reg_call
_reg_call:
        push    ebp
        push    ebx
        push    esi
        push    edi
        mov     [_reg_frame], esp
        mov     eax, [esp + 20]            /* fn */
        mov     [_reg_target], eax
        mov     esi, [esp + 24]            /* args */
        mov     ecx, [esp + 28]            /* nargs */

        /* bytes of stack arguments */
        mov     eax, ecx
        sub     eax, 3
        jge     1f
        xor     eax, eax
1:      shl     eax, 2
        /* choose the stack pointer at the call: 8 mod 16, below our frame */
        mov     edx, esp
        sub     edx, eax
        sub     edx, 64
        and     edx, -16
        add     edx, 8
        add     edx, eax                   /* where the pushes start */
        mov     esp, edx
        mov     [_reg_esp_expected], esp

        /* stack arguments, left to right */
        mov     edx, 3
2:      cmp     edx, ecx
        jge     3f
        push    dword ptr [esi + edx * 4]
        inc     edx
        jmp     2b

3:      mov     eax, [esi]
        mov     edx, [esi + 4]
        mov     ecx, [esi + 8]
        mov     ebx, 0x1B1B1B1B            /* REG_SENTINEL_EBX */
        mov     esi, 0x15151515            /* REG_SENTINEL_ESI */
        mov     edi, 0x1D1D1D1D            /* REG_SENTINEL_EDI */
        mov     ebp, 0x1E1E1E1E            /* REG_SENTINEL_EBP */
        call    dword ptr [_reg_target]

        mov     [_reg_esp_after], esp
        mov     [_reg_eax_after], eax
        mov     [_reg_ebx_after], ebx
        mov     [_reg_esi_after], esi
        mov     [_reg_edi_after], edi
        mov     [_reg_ebp_after], ebp
        mov     esp, [_reg_frame]
        pop     edi
        pop     esi
        pop     ebx
        pop     ebp
        mov     eax, [_reg_eax_after]
        ret

/*
 * Host callbacks. Each takes its arguments as the convention passes them,
 * hands them to a cdecl C function (which keeps EBX, ESI, EDI and EBP) and
 * returns with "ret N", removing its own stack arguments.
 */

/* HostAddAction(id, name, hint, kinds: open array of bytes, count)
 *   EAX id, EDX name, ECX hint; the open array takes two positions (pointer,
 *   high index), so three values are pushed: pointer, high, count.
 *   On entry: [esp+4] count, [esp+8] high, [esp+12] pointer.
 *   -> on_add_action(id, name, hint, pointer, high, count) */
        .globl  _host_add_action
_host_add_action:
        push    dword ptr [esp + 4]        /* count */
        push    dword ptr [esp + 12]       /* high */
        push    dword ptr [esp + 20]       /* pointer */
        push    ecx
        push    edx
        push    eax
        call    _on_add_action
        add     esp, 24
        ret     12

/* HostAddFile: never to be called; its arguments are unknown here, so it
 * only records the call and returns false. */
        .globl  _host_add_file
_host_add_file:
        call    _on_add_file
        ret

/* HostGetVariable(name, var value): EAX name, EDX address of the value
 *   -> on_get_variable(name, value_ptr) */
        .globl  _host_get_variable
_host_get_variable:
        push    edx
        push    eax
        call    _on_get_variable
        add     esp, 8
        ret

/* HostSetVariable(name, value): EAX, EDX -> on_set_variable(name, value) */
        .globl  _host_set_variable
_host_set_variable:
        push    edx
        push    eax
        call    _on_set_variable
        add     esp, 8
        ret

/* HostScriptProcessor(line): EAX -> on_script_processor(line) */
        .globl  _host_script_processor
_host_script_processor:
        push    eax
        call    _on_script_processor
        add     esp, 4
        ret

/* HostInterfaceAccess(code, var text): EAX code, EDX address of the text;
 *   boolean result in AL -> on_interface_access(code, text_ptr) */
        .globl  _host_interface_access
_host_interface_access:
        push    edx
        push    eax
        call    _on_interface_access
        add     esp, 8
        ret
