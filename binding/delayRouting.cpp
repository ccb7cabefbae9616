// The delay-load hook: "32KAV.dll" stands for KERNEL32.dll with the host as a
// fallback, wsprintfA is the plug-in's own formatter, and the host may replace
// USER32 and GDI32 functions.
#include "binding/delayRouting.h"

#include <cstdint>

#include "binding/binding.h"
#include "runtime/format.h"

extern "C" int __cdecl __mingw_sprintf(char* buffer, const char* format, ...);

namespace {

constexpr char pseudoKernel[] = "32KAV.dll";

bool isOrdinal(const char* procedure) {
    return reinterpret_cast<std::uintptr_t>(procedure) < 0x10000;
}

FARPROC askHost(const char* procedure) {
    HostCallback host = hostCallback;
    if (!host) return nullptr;  // before the load call there is no host to ask
    return reinterpret_cast<FARPROC>(
        host(hostOperationFindService, reinterpret_cast<ServiceId>(procedure)));
}

}  // namespace

extern "C" FARPROC WINAPI findProcedure(HMODULE module, const char* procedure) {
    if (FARPROC found = GetProcAddress(module, procedure)) return found;
    // The host program may export replacements under the functions' own names.
    if (FARPROC found = GetProcAddress(GetModuleHandleA(nullptr), procedure)) return found;
    return askHost(procedure);
}

extern "C" HMODULE WINAPI redirectLibrary(const char* library) {
    if (lstrcmpA(library, pseudoKernel) == 0) return GetModuleHandleA("KERNEL32.dll");
    return nullptr;
}

extern "C" FARPROC WINAPI routeProcedure(HMODULE module, const char* library,
                                         const char* procedure) {
    if (isOrdinal(procedure)) return nullptr;
    if (lstrcmpA(procedure, "wsprintfA") == 0)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(__mingw_sprintf));
    if (lstrcmpA(procedure, "MessageBoxA") == 0) return nullptr;  // never the host's
    if (lstrcmpiA(library, "GDI32.DLL") == 0 || lstrcmpiA(library, "USER32.DLL") == 0) {
        if (FARPROC found = askHost(procedure)) return found;
        return GetProcAddress(module, procedure);
    }
    if (lstrcmpA(library, pseudoKernel) != 0) return nullptr;

    if (FARPROC found = findProcedure(module, procedure)) return found;
    // The formatter cuts what does not fit, so a long name cannot overrun.
    char text[delayFailureTextSize];
    formatText(text, sizeof text, "Nie znaleziono\n%s\nfrom %s", procedure, library);
    MessageBoxA(nullptr, text, "Blad wtyczki", MB_ICONINFORMATION | MB_OK);
    return nullptr;
}

extern "C" FARPROC WINAPI delayLoadHook(unsigned notification, PDelayLoadInfo info) {
    switch (notification) {
    case dliNotePreLoadLibrary:
        return reinterpret_cast<FARPROC>(redirectLibrary(info->szDll));
    case dliNotePreGetProcAddress:
        return routeProcedure(info->hmodCur, info->szDll, info->dlp.szProcName);
    default:
        return nullptr;
    }
}

extern "C" {
PfnDliHook __pfnDliNotifyHook2 = delayLoadHook;
}
