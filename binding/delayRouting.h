// Where delay-imported operating-system functions come from.
#pragma once
#include <windows.h>
#include <delayimp.h>

extern "C" {
// The delay-load mechanism's notification hook, set statically.
FARPROC WINAPI delayLoadHook(unsigned notification, PDelayLoadInfo info);
// Notification 1: the module handle that stands for a library, or 0.
HMODULE WINAPI redirectLibrary(const char* library);
// Notification 2: the address of a procedure (a name, or an ordinal below
// 0x10000), or 0 to let the mechanism look it up itself.
FARPROC WINAPI routeProcedure(HMODULE module, const char* library, const char* procedure);
// A procedure from the module, else the host's executable, else the host.
FARPROC WINAPI findProcedure(HMODULE module, const char* procedure);
}

inline constexpr unsigned delayFailureTextSize = 208;
