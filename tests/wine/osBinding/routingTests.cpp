// Delay-load routing: korvandilek.dll's own delay imports, and a probe module
// (delayProbe.dll) whose delay imports reach every branch of the same hook.
#include "tests/wine/osBinding/support.h"

#include <delayimp.h>

#include <algorithm>
#include <cstring>

#include "tests/wine/osBinding/registerCall.h"
#include "tests/wine/osBinding/tests.h"

// Exported by this program: a host executable's replacement for a function
// that KERNEL32 lacks.
extern "C" __declspec(dllexport) int WINAPI probeHostExport(int x) { return x + 1000; }
// Also exported, under the name of a KERNEL32 function (by a linker directive,
// as the name itself is declared by windows.h): KERNEL32's own must win.
extern "C" BOOL WINAPI hostIsValidCodePage(UINT codePage) { return static_cast<BOOL>(codePage + 3000); }
__asm__(".section .drectve\n\t.ascii \" -export:IsValidCodePage=hostIsValidCodePage@4\"\n\t.text");

namespace {

int WINAPI callbackOnly(int x) { return x + 2000; }
int WINAPI hostGetSystemMetrics(int) { return 4242; }
HGDIOBJ WINAPI hostGetStockObject(int) { return reinterpret_cast<HGDIOBJ>(0x5151); }
int WINAPI hostMessageBoxA(HWND, LPCSTR, LPCSTR, UINT) { return 77; }

template <typename F>
F cellFunction(std::uintptr_t* cell) {
    return reinterpret_cast<F>(cellValue(cell));
}

// Records the delay-load helper's notifications, passing each on to the hook.
PfnDliHook pluginHook;
std::vector<unsigned> notifications;
FARPROC WINAPI countingHook(unsigned notification, PDelayLoadInfo info) {
    notifications.push_back(notification);
    return pluginHook(notification, info);
}

void pluginDelayImports(const Plugin& plugin) {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    std::uintptr_t* cell = plugin.delayCell("32KAV.dll", "lstrlenW");
    CHECK(cell && cellValue(cell) > reinterpret_cast<std::uintptr_t>(plugin.module),
          "lstrlenW: cell holds its load thunk before the first call");
    if (cell) {
        int length = cellFunction<int(WINAPI*)(LPCWSTR)>(cell)(L"abcd");
        CHECK(length == 4, "lstrlenW: first call answers " + std::to_string(length));
        CHECK(cellValue(cell) == reinterpret_cast<std::uintptr_t>(GetProcAddress(kernel, "lstrlenW")),
              "lstrlenW: bound to KERNEL32's");
        CHECK(GetModuleHandleA("32KAV.dll") == nullptr, "no library named 32KAV.dll was loaded");
    }

    // The handle stays in the descriptor's module cell, so the library's other
    // functions bind without asking for the library again.
    std::uintptr_t* moduleCell = delayModuleCell(plugin.module, "32KAV.dll");
    CHECK(moduleCell && cellValue(moduleCell) == reinterpret_cast<std::uintptr_t>(kernel),
          "32KAV.dll: the module cell holds KERNEL32's handle");
    std::uintptr_t* lcid = plugin.delayCell("32KAV.dll", "GetUserDefaultLCID");
    auto* hook = static_cast<PfnDliHook*>(plugin.symbol("___pfnDliNotifyHook2"));
    if (lcid && hook) {
        pluginHook = *hook;
        *hook = countingHook;
        notifications.clear();
        LCID answer = cellFunction<LCID(WINAPI*)()>(lcid)();
        *hook = pluginHook;
        CHECK(answer == GetUserDefaultLCID() && !notifications.empty() &&
                  std::count(notifications.begin(), notifications.end(), dliNotePreLoadLibrary) == 0,
              "GetUserDefaultLCID: bound without loading 32KAV.dll again (" +
                  std::to_string(notifications.size()) + " notifications)");
    }

    std::uintptr_t* format = plugin.delayCell("USER32.dll", "wsprintfA");
    CHECK(format != nullptr, "wsprintfA has a delay cell");
    if (format) {
        char text[128];
        int n = cellFunction<int(__cdecl*)(char*, const char*, ...)>(format)(
            text, "%.3f|%e|%5.1f|%g|%s|%d", 3.14159, 12345.678, -0.05, 1e-5, "ok", -7);
        std::string want = "3.142|1.234568e+04| -0.1|1e-05|ok|-7";
        CHECK(text == want && n == static_cast<int>(want.size()), std::string("wsprintfA formats '") + text + "'");
        CHECK(cellValue(format) == reinterpret_cast<std::uintptr_t>(plugin.symbol("___mingw_sprintf")),
              "wsprintfA bound to the plug-in's formatter");
    }
}

using Redirect = HMODULE(WINAPI*)(const char*);
using Route = FARPROC(WINAPI*)(HMODULE, const char*, const char*);

struct ProbeCall {
    const char* label;
    const char* library;
    const char* function;
    bool takesArgument;      // one 4-byte argument, or none
    int argument;
    int answer;              // when bound
    std::uint32_t exception; // 0 when the call binds
    std::size_t boxes;       // failure boxes shown
};

const std::string longName = "probe" + std::string(250, 'L');

const ProbeCall probeCalls[] = {
    {"exported by the host's executable", "32KAV.dll", "probeHostExport", true, 1, 1001, 0, 0},
    {"offered by KERNEL32 and the host's executable", "32KAV.dll", "IsValidCodePage", true, 1250, 1, 0, 0},
    {"known only to HostCallback", "32KAV.dll", "probeCallbackOnly", true, 2, 2002, 0, 0},
    {"found nowhere", "32KAV.dll", "probeNowhere", false, 0, 0, 0xC06D007F, 1},
    {"found nowhere, long name", "32KAV.dll", longName.c_str(), false, 0, 0, 0xC06D007F, 1},
    {"USER32 in another case, host answers", "user32.DLL", "GetSystemMetrics", true, 0, 4242, 0, 0},
    {"GDI32 in another case, host answers", "Gdi32.dll", "GetStockObject", true, 0, 0x5151, 0, 0},
    {"32KAV.dll in another case", "32kav.dll", "GetTickCount", false, 0, 0, 0xC06D007E, 0},
};

struct Pending {
    std::uintptr_t* cell;
    int argument;
    int answer;
};

void callProbe(void* p) {
    auto* pending = static_cast<Pending*>(p);
    pending->answer = reinterpret_cast<int(WINAPI*)(int)>(cellValue(pending->cell))(pending->argument);
}

// For the functions without arguments (stdcall: the callee removes what it takes).
void callProbeNoArguments(void* p) {
    auto* pending = static_cast<Pending*>(p);
    pending->answer = reinterpret_cast<int(WINAPI*)()>(cellValue(pending->cell))();
}

void probeRouting(HMODULE probe) {
    *reinterpret_cast<void**>(GetProcAddress(probe, "hostCallback")) = reinterpret_cast<void*>(testHostCallback);
    testHost = {};
    testHost.namedServices = {
        {"probeCallbackOnly", reinterpret_cast<void*>(callbackOnly)},
        {"GetSystemMetrics", reinterpret_cast<void*>(hostGetSystemMetrics)},
        {"GetStockObject", reinterpret_cast<void*>(hostGetStockObject)},
        {"MessageBoxA", reinterpret_cast<void*>(hostMessageBoxA)},
    };
    for (const ProbeCall& c : probeCalls) {
        std::uintptr_t* cell = delayImportCell(probe, c.library, c.function);
        CHECK(cell != nullptr, std::string(c.label) + ": probe has the cell");
        if (!cell) continue;
        testHost.askedNames.clear();
        Pending pending = {cell, c.argument, 0};
        std::uint32_t code = runCatching(c.takesArgument ? callProbe : callProbeNoArguments, &pending);
        auto boxes = takeBoxes();
        CHECK(code == c.exception, std::string(c.label) + ": exception " + hex(code));
        if (!c.exception) CHECK(pending.answer == c.answer, std::string(c.label) + ": answer " + std::to_string(pending.answer));
        CHECK(boxes.size() == c.boxes, std::string(c.label) + ": " + std::to_string(boxes.size()) + " boxes");
        if (!boxes.empty()) {
            std::string want = std::string("Nie znaleziono\n") + c.function + "\nfrom 32KAV.dll";
            if (want.size() > 207) want.resize(207);
            CHECK(boxes[0].text == want, std::string(c.label) + ": box text '" + boxes[0].text + "'");
            CHECK(boxes[0].caption == "Blad wtyczki" && boxes[0].style == MB_ICONINFORMATION,
                  std::string(c.label) + ": caption and style");
        }
        if (std::strcmp(c.library, "32kav.dll") == 0)
            CHECK(testHost.askedNames.empty(), std::string(c.label) + ": nothing asked of the host");
        if (c.answer == 4242 || c.answer == 0x5151)
            CHECK(testHost.askedNames.size() == 1 && testHost.askedNames[0] == c.function,
                  std::string(c.label) + ": asked of the host first");
    }

    // USER32 functions the host does not supply come from USER32 itself.
    std::uintptr_t* desktop = delayImportCell(probe, "user32.DLL", "GetDesktopWindow");
    if (desktop) {
        Pending pending = {desktop, 0, 0};
        CHECK(runCatching(callProbeNoArguments, &pending) == 0 &&
                  cellValue(desktop) == reinterpret_cast<std::uintptr_t>(
                                            GetProcAddress(GetModuleHandleA("user32.dll"), "GetDesktopWindow")),
              "GetDesktopWindow: the host answers 0, USER32's is used");
    }

    auto redirect = reinterpret_cast<Redirect>(reinterpret_cast<void*>(GetProcAddress(probe, "redirectLibrary@4")));
    auto route = reinterpret_cast<Route>(reinterpret_cast<void*>(GetProcAddress(probe, "routeProcedure@12")));
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    CHECK(redirect && redirect("32KAV.dll") == kernel, "redirectLibrary: 32KAV.dll is KERNEL32");
    CHECK(redirect && redirect("32kav.dll") == nullptr && redirect("32KAV.DLL") == nullptr,
          "redirectLibrary: other letter cases are not recognised");
    CHECK(redirect && redirect("KERNEL32.dll") == nullptr, "redirectLibrary: other libraries load themselves");
    if (route) {
        CHECK(route(kernel, "32kav.dll", "lstrlenW") == nullptr, "routeProcedure: 32kav.dll not routed");
        CHECK(route(kernel, "32KAV.dll", "lstrlenW") == GetProcAddress(kernel, "lstrlenW"),
              "routeProcedure: 32KAV.dll routed to KERNEL32");
        CHECK(route(kernel, "32KAV.dll", reinterpret_cast<const char*>(9)) == nullptr,
              "routeProcedure: ordinals are not routed");
        CHECK(route(GetModuleHandleA("user32.dll"), "USER32.DLL", "MessageBoxA") == nullptr,
              "routeProcedure: MessageBoxA is never the host's");
        CHECK(route(nullptr, "OLEAUT32.dll", "VariantClear") == nullptr,
              "routeProcedure: other libraries are not routed");
    }
}

}  // namespace

void runDelayRoutingTests() {
    Plugin plugin = loadPlugin();
    pluginDelayImports(plugin);
    unloadPlugin(plugin);
}

void runProbeTests() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    while (n && path[n - 1] != '\\') --n;
    lstrcpyA(path + n, "delayProbe.dll");
    HMODULE probe = LoadLibraryA(path);
    CHECK(probe != nullptr, "loads delayProbe.dll");
    if (probe) probeRouting(probe);
}
