// Installs the register-preserving guards in front of the listed OS imports
// and sends process creation to the host.
#include "binding/importGuards.h"

#include <cstdint>

#include "importGuardTable.h"

extern "C" {
// CreateProcessA's import cell, and the entry of the host's startProcess.
extern std::uintptr_t createProcessCell __asm__("__imp__CreateProcessA@40");
extern unsigned char startProcessEntry[] __asm__("_serviceEntry52005");
// Imported for the module's import table; nothing here calls it.
extern std::uintptr_t rtlUnwindCell __asm__("__imp__RtlUnwind@16");
}
[[gnu::used]] static std::uintptr_t* const keptImports[] = {&rtlUnwindCell};

extern "C" void installImportGuards() {
    // Attach runs once per process, but a second call must not guard a guard.
    if (importGuardTable.installed) return;
    importGuardTable.installed = 1;
    for (int i = 0; i < importGuardCount; ++i) {
        auto* importCell = reinterpret_cast<std::uintptr_t*>(importGuardTable.cells[i]);
        std::uintptr_t function = *importCell;
        *importCell = reinterpret_cast<std::uintptr_t>(importGuards[i]);
        importGuardTable.cells[i] = function;
    }
    createProcessCell = reinterpret_cast<std::uintptr_t>(startProcessEntry);
}
