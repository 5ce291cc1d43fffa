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
 * Host callbacks. Each takes its arguments as the convention passes them and
 * hands them to a cdecl C function. Around that call each one
 *
 *   - reports the flags the plug-in called with (cb_entered: the direction
 *     flag must be clear on every call);
 *   - compares EBX, ESI, EDI and EBP after the C body with the values the
 *     plug-in handed over (cb_left: this side's half of the convention);
 *   - leaves junk in the registers the convention lets a callee change: ECX
 *     and EDX always, EAX wherever the result is not read (and the upper
 *     three bytes of EAX where only AL is), so a plug-in that keeps anything
 *     in them across the call goes wrong where the check can see it;
 *   - returns with "ret N", removing its own stack arguments.
 *
 * CB_BEGIN expects the stack arguments (if any) above the return address and
 * the register arguments still in EAX, EDX and ECX; it leaves them there.
 * Frame after CB_BEGIN: [esp] edi, esi, ebx, ebp as the plug-in had them.
 */
        .macro  CB_BEGIN
        push    ebp
        push    ebx
        push    esi
        push    edi
        push    ecx
        push    edx
        push    eax
        pushfd
        call    _cb_entered                /* cb_entered(flags) */
        add     esp, 4
        pop     eax
        pop     edx
        pop     ecx
        .endm

        /* After the C body: the result is in EAX. \junk is the mask of EAX
           bits that are replaced by junk (0xFFFFFFFF: all; 0xFFFFFF00: all
           but AL). \pop is the "ret" operand. */
        .macro  CB_END junk, pop
        cmp     edi, [esp]
        jne     91f
        cmp     esi, [esp + 4]
        jne     91f
        cmp     ebx, [esp + 8]
        jne     91f
        cmp     ebp, [esp + 12]
        je      92f
91:     push    eax
        call    _cb_left_clobbered
        pop     eax
92:     and     eax, (0xFFFFFFFF ^ \junk)
        or      eax, (0xA5A5A5A5 & \junk)
        mov     ecx, 0xC3C3C3C3
        mov     edx, 0xD4D4D4D4
        pop     edi
        pop     esi
        pop     ebx
        pop     ebp
        ret     \pop
        .endm

/* HostAddAction(id, name, hint, kinds: open array of bytes, count)
 *   EAX id, EDX name, ECX hint; the open array takes two positions (pointer,
 *   high index), so three values are pushed: pointer, high, count.
 *   After CB_BEGIN: [esp+20] count, [esp+24] high, [esp+28] pointer.
 *   -> on_add_action(id, name, hint, pointer, high, count) */
        .globl  _host_add_action
_host_add_action:
        CB_BEGIN
        push    dword ptr [esp + 20]       /* count */
        push    dword ptr [esp + 28]       /* high */
        push    dword ptr [esp + 36]       /* pointer */
        push    ecx
        push    edx
        push    eax
        call    _on_add_action
        add     esp, 24
        CB_END  0xFFFFFFFF, 12

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
        CB_BEGIN
        push    edx
        push    eax
        call    _on_get_variable
        add     esp, 8
        CB_END  0xFFFFFFFF, 0

/* HostSetVariable(name, value): EAX, EDX -> on_set_variable(name, value) */
        .globl  _host_set_variable
_host_set_variable:
        CB_BEGIN
        push    edx
        push    eax
        call    _on_set_variable
        add     esp, 8
        CB_END  0xFFFFFFFF, 0

/* HostScriptProcessor(line): EAX -> on_script_processor(line) */
        .globl  _host_script_processor
_host_script_processor:
        CB_BEGIN
        push    eax
        call    _on_script_processor
        add     esp, 4
        CB_END  0xFFFFFFFF, 0

/* HostInterfaceAccess(code, var text): EAX code, EDX address of the text;
 *   boolean result in AL -> on_interface_access(code, text_ptr) */
        .globl  _host_interface_access
_host_interface_access:
        CB_BEGIN
        push    edx
        push    eax
        call    _on_interface_access
        add     esp, 8
        CB_END  0xFFFFFF00, 0

/*
 * Calls from the window system into the plug-in, watched.
 *
 * Every window procedure, dialog procedure, subclass procedure and hook
 * procedure that the plug-in hands to the window system is replaced by a
 * small stub (made at run time by check32.c) that loads EAX with the address
 * of a record { original, number of stdcall arguments, path } and jumps
 * here. This copies the arguments, loads the REG_SENTINEL_* values into
 * EBX, ESI, EDI and EBP and calls the plug-in's procedure. Afterwards it
 * stores what came back (wrap_seen_*) and lets wrap_returned() compare: a
 * stdcall callee, like a register-convention one, must keep EBX, ESI, EDI
 * and EBP, remove exactly its arguments and return with the direction flag
 * clear; host callbacks made during the call left junk in EAX, ECX and EDX.
 * Calls nest (a procedure sends messages), so each level keeps its frame in
 * wrap_frames[], indexed by wrap_depth, both maintained by wrap_entered().
 *
 * Frame: [ebp+4] return address, [ebp+8] first argument; [ebp-4] ebx,
 * [ebp-8] esi, [ebp-12] edi of the window system, [ebp-16] the record.
 */
        .globl  _wrap_seen_ebx, _wrap_seen_esi, _wrap_seen_edi, _wrap_seen_ebp
        .globl  _wrap_seen_esp, _wrap_seen_eax, _wrap_seen_flags
        .bss
        .balign 4
_wrap_seen_ebx:   .long 0
_wrap_seen_esi:   .long 0
_wrap_seen_edi:   .long 0
_wrap_seen_ebp:   .long 0
_wrap_seen_esp:   .long 0
_wrap_seen_eax:   .long 0
_wrap_seen_flags: .long 0
        .text

        .globl  _wrap_common
_wrap_common:
        push    ebp
        mov     ebp, esp
        push    ebx
        push    esi
        push    edi
        push    eax                        /* the record */
        push    ebp
        push    eax
        call    _wrap_entered              /* wrap_entered(record, frame) */
        add     esp, 8
        mov     eax, [ebp - 16]
        mov     ecx, [eax + 4]             /* arguments */
1:      test    ecx, ecx
        jz      2f
        push    dword ptr [ebp + 4 + ecx * 4]
        dec     ecx
        jmp     1b
2:      mov     ecx, [eax]                 /* the plug-in's procedure */
        mov     ebx, 0x1B1B1B1B            /* REG_SENTINEL_EBX */
        mov     esi, 0x15151515            /* REG_SENTINEL_ESI */
        mov     edi, 0x1D1D1D1D            /* REG_SENTINEL_EDI */
        mov     ebp, 0x1E1E1E1E            /* REG_SENTINEL_EBP */
        call    ecx
        mov     [_wrap_seen_eax], eax
        mov     [_wrap_seen_ebx], ebx
        mov     [_wrap_seen_esi], esi
        mov     [_wrap_seen_edi], edi
        mov     [_wrap_seen_ebp], ebp
        mov     [_wrap_seen_esp], esp
        pushfd
        pop     dword ptr [_wrap_seen_flags]
        cld
        mov     ecx, [_wrap_depth]
        mov     ebp, [_wrap_frames + ecx * 4 - 4]
        lea     esp, [ebp - 16]
        call    _wrap_returned             /* wrap_returned(): checks, depth - 1 */
        mov     edx, [ebp - 16]
        mov     edx, [edx + 4]             /* arguments to remove */
        mov     eax, [_wrap_seen_eax]
        mov     ebx, [ebp - 4]
        mov     esi, [ebp - 8]
        mov     edi, [ebp - 12]
        mov     esp, ebp
        pop     ebp
        pop     ecx                        /* return address */
        lea     esp, [esp + edx * 4]
        jmp     ecx
