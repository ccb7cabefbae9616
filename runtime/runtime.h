// The plug-in's own minimal C runtime: a private heap, static initialisers and
// exit-time routines, and the few C library functions that the toolchain's
// static formatter and the computation need. No C runtime DLL is imported.
#pragma once
#include <windows.h>

// The runtime's module routine: reason 1 starts the runtime, 0 ends it if it
// was started, 2 and 3 (thread notifications) do nothing. Returns a truth value.
BOOL runtimeModuleRoutine(HMODULE module, DWORD reason, void* reserved);

// True between a start and the end of the runtime.
bool runtimeStarted();
