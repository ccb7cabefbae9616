// Replacements for operating-system functions, exported by the host's
// executable under the functions' own names. The plug-in's delay-load routing
// looks there when KERNEL32 lacks a function it delay-imports, as on the older
// systems the host still runs on; each replacement says so in the transcript.
#include <windows.h>

#include "sim/win32/transcript.h"

extern "C" {

HWND WINAPI simGetConsoleWindow() {
    transcript("export GetConsoleWindow() -> null");
    return nullptr;
}

BOOL WINAPI simTryEnterCriticalSection(CRITICAL_SECTION* section) {
    transcript("export TryEnterCriticalSection()");
    EnterCriticalSection(section);  // one thread: never contended
    return TRUE;
}

BOOL WINAPI simGetSystemPowerStatus(SYSTEM_POWER_STATUS* status) {
    transcript("export GetSystemPowerStatus()");
    ZeroMemory(status, sizeof *status);
    status->ACLineStatus = 1;
    status->BatteryFlag = 128;  // no battery
    status->BatteryLifePercent = 255;
    status->BatteryLifeTime = status->BatteryFullLifeTime = static_cast<DWORD>(-1);
    return TRUE;
}

}  // extern "C"

// Exported under the functions' plain names.
__asm__(".section .drectve\n"
        ".ascii \" -export:GetConsoleWindow=simGetConsoleWindow@0\"\n"
        ".ascii \" -export:TryEnterCriticalSection=simTryEnterCriticalSection@4\"\n"
        ".ascii \" -export:GetSystemPowerStatus=simGetSystemPowerStatus@4\"\n"
        ".text\n");
