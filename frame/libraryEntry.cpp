// The loader's entry point. The runtime is not started here: it needs the
// host's callback, which only the load call brings.
#include "frame/plugin.h"
#include "runtime/runtime.h"

AttachArguments attachArguments;

extern "C" BOOL __stdcall libraryEntry(HINSTANCE module, DWORD reason, void* reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        installImportGuards();
        // Looked up, not imported: some environments lack it.
        using DisableCalls = BOOL(WINAPI*)(HMODULE);
        HMODULE kernel = GetModuleHandleA("Kernel32");
        auto disable = kernel ? reinterpret_cast<DisableCalls>(reinterpret_cast<void*>(
                                    GetProcAddress(kernel, "DisableThreadLibraryCalls")))
                              : nullptr;
        if (disable) disable(module);
        attachArguments = {module, reason, reserved};
        return TRUE;
    }
    return runtimeModuleRoutine(module, reason, reserved);
}
