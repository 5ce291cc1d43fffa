#pragma once
// The host's binary interface: calling convention, callback types, the callback
// slots and the string ownership helpers. Every declaration that depends on the
// host's calling convention lives in this header and nowhere else.
//
// i686 (the product): the host uses the Borland register convention. The first
// three arguments travel in EAX, EDX and ECX, the rest are pushed left to right
// and popped by the callee, and a boolean comes back in AL. GCC reaches it with
// regparm(3) + stdcall; stdcall pushes right to left, so every parameter after
// the third is declared in reverse order (QOR_STACK_ARGS reverses them).
// x86_64 (the test build): the platform's default convention, natural order.
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

#if defined(__i386__)
#define QOR_HOSTCALL __attribute__((regparm(3), stdcall))
#define QOR_STACK_ARGS3(a, b, c) c, b, a
#else
#define QOR_HOSTCALL
#define QOR_STACK_ARGS3(a, b, c) a, b, c
#endif

namespace qor {

// A zero-terminated ANSI string. Ones that outlive a call are GMEM_FIXED blocks.
using HostString = char*;
using HostBool = bool; // one byte, returned in AL
// An action's parameters, copied as texts: what every action handler takes.
using Params = std::vector<std::string>;

// Host callbacks, in the argument order of the host's documentation. Open
// arrays (the kind list) occupy two positions: first byte and high index.
using HostAddActionFn = HostBool(QOR_HOSTCALL*)(int32_t id, const char* name, const char* hint,
                                                QOR_STACK_ARGS3(const uint8_t* kinds, int32_t kindsHigh,
                                                                int32_t count));
using HostAddFileFn = void*; // announced by the host, never called
using HostGetVariableFn = HostBool(QOR_HOSTCALL*)(const char* name, HostString* value);
using HostSetVariableFn = HostBool(QOR_HOSTCALL*)(const char* name, const char* value);
using HostScriptProcessorFn = HostBool(QOR_HOSTCALL*)(const char* line);
using HostInterfaceAccessFn = HostBool(QOR_HOSTCALL*)(int32_t request, HostString* text);

// Requests of HostInterfaceAccess.
enum HostRequest : int32_t {
    RequestSubroutineList = 5,
    RequestObjectWindow = 7,
    RequestPickObject = 8,
    RequestPickVariable = 14,
};

// Process-wide callback slots, empty at load, written by the entry points.
struct HostSlots {
    int32_t hostHandle = 0;
    HostAddActionFn addAction = nullptr;
    HostAddFileFn addFile = nullptr;
    HostGetVariableFn getVariable = nullptr;
    HostSetVariableFn setVariable = nullptr;
    HostScriptProcessorFn scriptProcessor = nullptr;
    HostInterfaceAccessFn interfaceAccess = nullptr;
};
HostSlots& Slots();

// A new GMEM_FIXED block holding text and its terminator; throws
// std::bad_alloc when the system has no memory for it.
HostString NewHostString(const std::string& text);
// Stores a new GMEM_FIXED block holding text and its terminator in target,
// then releases the old one (if any) with GlobalFree; without memory for the
// new block target keeps the old one and std::bad_alloc is thrown.
void AssignHostString(HostString& target, const std::string& text);
// Releases target (if any) with GlobalFree and sets it to null.
void ReleaseHostString(HostString& target);

} // namespace qor

// The eight exports, as the host calls them.
extern "C" {
void QOR_HOSTCALL nbInitPlugIn(int32_t hostHandle, qor::HostString* name,
                                                     qor::HostString* developer,
                                                     qor::HostString* description);
void QOR_HOSTCALL nbRegisterPlugIn(qor::HostAddActionFn addAction,
                                                         qor::HostAddFileFn addFile,
                                                         qor::HostGetVariableFn getVariable,
                                                         qor::HostSetVariableFn setVariable);
void QOR_HOSTCALL nbRegisterScriptProcessor(qor::HostScriptProcessorFn processor);
void QOR_HOSTCALL nbRegisterInterfaceAccess(qor::HostInterfaceAccessFn access);
qor::HostBool QOR_HOSTCALL nbExecAction(int32_t id, qor::HostString* params);
qor::HostBool QOR_HOSTCALL nbEditAction(int32_t id, qor::HostString* params,
                                                              void* unused);
// Only the first argument is read; the other two register slots absorb
// whatever else the host passes without disturbing the stack.
void QOR_HOSTCALL nbMessage(int32_t code, intptr_t unused1, intptr_t unused2);
void QOR_HOSTCALL nbAbout();
}

namespace qor {
// The DLL's own module handle (window classes, resources).
HINSTANCE PlugInInstance();
} // namespace qor
