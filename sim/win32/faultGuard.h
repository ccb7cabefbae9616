// The host's own handling of faults in plug-in code: a call made through
// guardedInvoke that ends in a structured exception (a processor fault, or an
// exception the plug-in raises) comes back here with the exception recorded.
#pragma once
#include <windows.h>

#include <cstdint>

struct GuardFault {
    DWORD code;
    DWORD flags;
    void* address;
    DWORD parameterCount;
    ULONG_PTR parameters[EXCEPTION_MAXIMUM_PARAMETERS];
};

extern "C" {
// Calls thunk(context) under a frame-based exception handler. Returns 0 when
// the thunk returned normally, 1 when an exception ended it (fault filled in).
int __cdecl guardedInvoke(void (*thunk)(void*), void* context, GuardFault* fault);
}

// Calls f() under the guard; a lambda may capture what it needs.
template <typename F>
int guardedCall(F&& f, GuardFault* fault) {
    return guardedInvoke([](void* p) { (*static_cast<F*>(p))(); }, &f, fault);
}
