// The load and unload calls of the host.
#include "frame/plugin.h"
#include "frame/hostServices.h"
#include "runtime/runtime.h"

HostCallback hostCallback;

namespace {

// "Do poprawnego działania wtyczki 'Dorvantelisken'\npotrzebna jest nowsza
// wersja programu Vantreo", in the Mazovia code page (ł = 0x92).
constexpr char refusalText[] =
    "Do poprawnego dzia\x92" "ania wtyczki 'Dorvantelisken'\n"
    "potrzebna jest nowsza wersja programu Vantreo";

}  // namespace

extern "C" char* copyDisplayName(char* buffer) {
    for (unsigned i = 0; i < sizeof(displayName); ++i) buffer[i] = displayName[i];
    return buffer;
}

extern "C" std::int32_t __stdcall pluginEntry(HostCallback callback, char* nameBuffer) {
    if (!callback) return 0;  // unload: everything stays as it is until detach

    hostCallback = callback;
    // A repeated load call finds the runtime running and keeps it.
    runtimeModuleRoutine(attachArguments.module, attachArguments.reason, attachArguments.reserved);
    if (nameBuffer) copyDisplayName(nameBuffer);

    // This toolchain has no translation of structured exceptions into C++
    // exceptions, and the plug-in catches nothing: a processor fault goes
    // straight to the host's own handling.

    std::uint32_t hostStamp = buildStamp(nullptr);
    std::uint32_t requiredStamp = buildStamp(requiredHostDate);
    if (hostStamp < requiredStamp) {
        showError(refusalText);
        return -1;
    }
    installEventHook();
    return 0;
}
