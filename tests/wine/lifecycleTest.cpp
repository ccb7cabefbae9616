// The plug-in's life as the loader and the host drive it, on the real DLL:
// attach, the load and unload calls, detach, with a host of the test's own.
// Each case loads a fresh copy of the module.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "sim/win32/faultGuard.h"
#include "tests/wine/check.h"

namespace {

using Callback = std::uintptr_t(__cdecl*)(std::int32_t, std::uintptr_t);
using PluginEntry = std::int32_t(__stdcall*)(Callback, char*);
using LibraryEntry = BOOL(__stdcall*)(HINSTANCE, DWORD, void*);
using Hook = std::int32_t(__stdcall*)(std::int32_t);

std::vector<std::string> calls;  // what the plug-in asked of the host
std::uint32_t hostStamp, requiredStamp;
std::vector<Hook> installedHooks;

std::uint32_t __stdcall testBuildStamp(const char* text) {
    calls.push_back(text ? std::string("buildStamp ") + text : "buildStamp null");
    return text ? requiredStamp : hostStamp;
}
void __stdcall testShowError(const char* text) { calls.push_back(std::string("showError ") + text); }
Hook __stdcall testSetEventHook(Hook hook) {
    calls.push_back("setEventHook");
    Hook previous = installedHooks.empty() ? nullptr : installedHooks.back();
    installedHooks.push_back(hook);
    return previous;
}

std::uintptr_t __cdecl testCallback(std::int32_t operation, std::uintptr_t id) {
    calls.push_back("callback " + std::to_string(operation) + " " + std::to_string(id));
    switch (id) {
    case 52006: return reinterpret_cast<std::uintptr_t>(&testBuildStamp);
    case 52030: return reinterpret_cast<std::uintptr_t>(&testShowError);
    case 52249: return reinterpret_cast<std::uintptr_t>(&testSetEventHook);
    default: return 0;
    }
}

struct Module {
    HMODULE handle;
    PluginEntry plugin;
    LibraryEntry library;
};

Module loadModule() {
    Module m{};
    m.handle = LoadLibraryA("korvandilek.dll");
    CHECK(m.handle != nullptr, "LoadLibrary: error %lu", GetLastError());
    if (!m.handle) return m;
    m.plugin = reinterpret_cast<PluginEntry>(
        reinterpret_cast<void*>(GetProcAddress(m.handle, MAKEINTRESOURCEA(30001))));
    auto* base = reinterpret_cast<unsigned char*>(m.handle);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
    m.library = reinterpret_cast<LibraryEntry>(base + nt->OptionalHeader.AddressOfEntryPoint);
    calls.clear();
    installedHooks.clear();
    return m;
}

const char refusal[] =
    "showError Do poprawnego dzia\x92" "ania wtyczki 'Dorvantelisken'\n"
    "potrzebna jest nowsza wersja programu Vantreo";

// The stamp comparison, with the name buffer and the hook installation.
void testHostCheck() {
    struct Case {
        const char* what;
        std::uint32_t host, required;
        std::int32_t result;
    };
    static const Case cases[] = {
        {"equal stamps", 9000, 9000, 0},
        {"one day below", 8999, 9000, -1},
        {"newer host", 12000, 9000, 0},
        {"unsigned: 0x80000000 is above", 0x80000000u, 9000, 0},
        {"unsigned: 0xFFFFFFFF is above", 0xFFFFFFFFu, 0x7FFFFFFFu, 0},
        {"unsigned: required above 0x80000000", 0x7FFFFFFFu, 0x80000000u, -1},
    };
    for (const auto& c : cases) {
        Module m = loadModule();
        if (!m.handle) return;
        hostStamp = c.host;
        requiredStamp = c.required;
        char name[32];
        std::memset(name, 0x55, sizeof name);
        std::int32_t result = m.plugin(&testCallback, name);
        CHECK(result == c.result, "%s: result %d", c.what, result);
        CHECK(std::strcmp(name, "'Dorvantelisken'") == 0 && name[17] == 0x55, "%s: name written, 17 bytes",
              c.what);
        std::vector<std::string> expected = {"callback 2 52006", "buildStamp null", "buildStamp Jul 30 2004"};
        if (c.result == 0) {
            expected.insert(expected.end(), {"callback 2 52249", "setEventHook"});
        } else {
            expected.insert(expected.end(), {"callback 2 52030", refusal});
        }
        CHECK(calls == expected, "%s: %u calls, first different: %s", c.what,
              static_cast<unsigned>(calls.size()), calls.size() > 3 ? calls[3].c_str() : "-");
        FreeLibrary(m.handle);
    }
}

void testUnloadAndRepeatedLoad() {
    Module m = loadModule();
    if (!m.handle) return;
    char name[32];
    std::memset(name, 0x55, sizeof name);
    CHECK(m.plugin(nullptr, name) == 0, "unload before any load returns 0");
    CHECK(calls.empty() && name[0] == 0x55, "unload before load calls nothing and writes nothing");
    CHECK(m.plugin(nullptr, nullptr) == 0, "unload with a null buffer");

    hostStamp = requiredStamp = 100;
    CHECK(m.plugin(&testCallback, nullptr) == 0, "null name buffer: accepted");
    CHECK(installedHooks.size() == 1u, "hook installed");
    calls.clear();
    CHECK(m.plugin(&testCallback, name) == 0, "second load call");
    CHECK(installedHooks.size() == 1u, "a second load call installs no second hook");
    CHECK((calls == std::vector<std::string>{"buildStamp null", "buildStamp Jul 30 2004"}),
          "second load: bound services, no new callback requests (%u calls)", static_cast<unsigned>(calls.size()));
    CHECK(std::strcmp(name, "'Dorvantelisken'") == 0, "second load writes the name");
    calls.clear();
    CHECK(m.plugin(nullptr, name) == 0 && calls.empty(), "unload after load: 0, no host call");
    FreeLibrary(m.handle);
}

// Detach ends the runtime only if a load call started it; its result says so.
void testDetach() {
    Module m = loadModule();
    if (!m.handle) return;
    CHECK(m.library(m.handle, DLL_THREAD_ATTACH, nullptr) == TRUE, "thread notice");
    CHECK(m.library(m.handle, DLL_PROCESS_DETACH, nullptr) == FALSE, "detach without load: 0");
    hostStamp = requiredStamp = 100;
    CHECK(m.plugin(&testCallback, nullptr) == 0, "load");
    CHECK(m.library(m.handle, DLL_PROCESS_DETACH, nullptr) == TRUE, "detach after load: runtime ended");
    CHECK(m.library(m.handle, DLL_PROCESS_DETACH, nullptr) == FALSE, "ended once");
    FreeLibrary(m.handle);
}

}  // namespace

int main() {
    testHostCheck();
    testUnloadAndRepeatedLoad();
    testDetach();
    return checkSummary("lifecycleTest");
}
