// The plug-in's frame: entry points, display name and host check.
#pragma once
#include <windows.h>

#include <cstdint>

#include "frame/hostCallback.h"

extern "C" {
// The module's only export, ordinal 30001: the load call (callback set) and the
// unload call (callback null). Returns 0, or -1 for a refused host.
std::int32_t __stdcall pluginEntry(HostCallback callback, char* nameBuffer);
BOOL __stdcall libraryEntry(HINSTANCE module, DWORD reason, void* reserved);
// Writes the display name with its terminator; returns buffer.
char* copyDisplayName(char* buffer);
}

// What the entries start, defined by the folders above: the import guards
// (binding) at process attach, the event hook (ui) once the host is accepted.
extern "C" void installImportGuards();
void installEventHook();

// What the loader passed at process attach; read by the load call.
struct AttachArguments {
    HMODULE module;
    DWORD reason;
    void* reserved;
};
extern AttachArguments attachArguments;

inline constexpr char displayName[] = "'Dorvantelisken'";
static_assert(sizeof(displayName) == 17, "16 characters and the terminator");
inline constexpr char requiredHostDate[] = "Jul 30 2004";
