// The import guards of korvandilek.dll, checked through its own import cells.
#include <cstring>

#include "importGuardTable.h"
#include "tests/wine/osBinding/registerCall.h"
#include "tests/wine/osBinding/support.h"
#include "tests/wine/osBinding/tests.h"

namespace {

char fullPath[MAX_PATH];
WCHAR wide[8];
char narrow[8];
DWORD sectors, bytes, freeClusters, clusters;
HANDLE duplicate;

// One guarded call per argument count; each answer is known in advance.
struct GuardCase {
    const char* function;
    int arguments;
    std::uint32_t args[8];
    bool (*answerOk)(std::uint32_t eax);
};

const GuardCase guardCases[] = {
    {"GetCurrentThreadId", 0, {}, [](std::uint32_t eax) { return eax == GetCurrentThreadId(); }},
    {"GetModuleHandleA", 1, {0},
     [](std::uint32_t eax) { return eax == reinterpret_cast<std::uint32_t>(GetModuleHandleA(nullptr)); }},
    {"GetProcAddress", 2,
     {reinterpret_cast<std::uint32_t>(GetModuleHandleA("kernel32.dll")),
      reinterpret_cast<std::uint32_t>("lstrlenW")},
     [](std::uint32_t eax) {
         return eax == reinterpret_cast<std::uint32_t>(
                           GetProcAddress(GetModuleHandleA("kernel32.dll"), "lstrlenW"));
     }},
    {"GetModuleFileNameA", 3, {0, reinterpret_cast<std::uint32_t>(fullPath), MAX_PATH},
     [](std::uint32_t eax) { return eax > 0 && eax == std::strlen(fullPath); }},
    {"GetFullPathNameA", 4,
     {reinterpret_cast<std::uint32_t>("C:\\x\\y.txt"), MAX_PATH, reinterpret_cast<std::uint32_t>(fullPath), 0},
     [](std::uint32_t eax) { return eax == 10 && std::strcmp(fullPath, "C:\\x\\y.txt") == 0; }},
    {"GetDiskFreeSpaceA", 5,
     {reinterpret_cast<std::uint32_t>("C:\\"), reinterpret_cast<std::uint32_t>(&sectors),
      reinterpret_cast<std::uint32_t>(&bytes), reinterpret_cast<std::uint32_t>(&freeClusters),
      reinterpret_cast<std::uint32_t>(&clusters)},
     [](std::uint32_t eax) { return eax != 0 && bytes != 0; }},
    {"MultiByteToWideChar", 6,
     {CP_ACP, 0, reinterpret_cast<std::uint32_t>("abc"), static_cast<std::uint32_t>(-1),
      reinterpret_cast<std::uint32_t>(wide), 8},
     [](std::uint32_t eax) { return eax == 4 && wide[0] == L'a' && wide[3] == 0; }},
    {"DuplicateHandle", 7,
     {reinterpret_cast<std::uint32_t>(GetCurrentProcess()), reinterpret_cast<std::uint32_t>(GetCurrentProcess()),
      reinterpret_cast<std::uint32_t>(GetCurrentProcess()), reinterpret_cast<std::uint32_t>(&duplicate), 0,
      FALSE, DUPLICATE_SAME_ACCESS},
     [](std::uint32_t eax) { return eax != 0 && duplicate != nullptr && CloseHandle(duplicate); }},
    {"WideCharToMultiByte", 8,
     {CP_ACP, 0, reinterpret_cast<std::uint32_t>(L"abc"), static_cast<std::uint32_t>(-1),
      reinterpret_cast<std::uint32_t>(narrow), 8, 0, 0},
     [](std::uint32_t eax) { return eax == 4 && std::strcmp(narrow, "abc") == 0; }},
};

RegisterCall callThrough(const void* target, const GuardCase& c) {
    RegisterCall call = {};
    call.target = target;
    call.count = static_cast<std::uint32_t>(c.arguments);
    std::memcpy(call.args, c.args, sizeof c.args);
    callPatterned(&call);
    return call;
}

bool isGuard(std::uintptr_t address, const Plugin& plugin) {
    auto* start = static_cast<unsigned char*>(plugin.symbol("_importGuardCode"));
    auto* end = static_cast<unsigned char*>(plugin.symbol("_importGuardCodeEnd"));
    auto* at = reinterpret_cast<unsigned char*>(address);
    return at >= start && at < end;
}

void guardsKeepRegisters(const Plugin& plugin) {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    int directClobbers = 0;
    for (const GuardCase& c : guardCases) {
        std::string name = std::string(c.function) + "/" + std::to_string(c.arguments);
        std::uintptr_t* cell = plugin.importCell("KERNEL32.dll", c.function);
        CHECK(cell && isGuard(cellValue(cell), plugin), name + ": import cell holds a guard");
        if (!cell) continue;

        RegisterCall call = callThrough(reinterpret_cast<void*>(cellValue(cell)), c);
        CHECK(c.answerOk(call.eax), name + ": answer " + hex(call.eax));
        CHECK(*clobbered(call) == 0, name + ": changed " + clobbered(call));
        CHECK(call.espAfter == call.espBefore + 4 * c.arguments, name + ": removes its arguments");

        // The same function called directly: shows what the guard is for.
        RegisterCall direct = callThrough(reinterpret_cast<void*>(GetProcAddress(kernel, c.function)), c);
        if (*clobbered(direct)) ++directClobbers;
    }
    // Without this the table above could not tell a guard from no guard.
    CHECK(directClobbers > 0, "some KERNEL32 function called directly changes a register");
}

void everyListedCellGuarded(const Plugin& plugin) {
    auto& table = *static_cast<ImportGuardTable*>(plugin.symbol("_importGuardTable"));
    auto* guards = static_cast<void* const*>(plugin.symbol("_importGuards"));
    CHECK(table.installed == 1, "installed flag set at attach");
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    int kernelCells = 0, delayCells = 0;
    for (int i = 0; i < importGuardCount; ++i) {
        const char* function = importGuardDeclarations[i].function;
        std::uintptr_t* cell = plugin.importCell("KERNEL32.dll", function);
        bool delayed = cell == nullptr;
        if (delayed) cell = plugin.delayCell("32KAV.dll", function);
        CHECK(cell != nullptr, std::string(function) + ": has an import cell");
        if (!cell) continue;
        (delayed ? delayCells : kernelCells)++;
        CHECK(cellValue(cell) == reinterpret_cast<std::uintptr_t>(guards[i]),
              std::string(function) + ": cell holds its own guard");
        std::uintptr_t saved = table.cells[i];
        if (delayed)
            CHECK(saved != 0 && !isGuard(saved, plugin) &&
                      saved > reinterpret_cast<std::uintptr_t>(plugin.module),
                  std::string(function) + ": table keeps the delay-load entry");
        else
            CHECK(saved == reinterpret_cast<std::uintptr_t>(GetProcAddress(kernel, function)),
                  std::string(function) + ": table keeps KERNEL32's function");
    }
    CHECK(kernelCells == 108 && delayCells == 20,
          "108 KERNEL32 and 20 32KAV.dll cells, found " + std::to_string(kernelCells) + " and " +
              std::to_string(delayCells));
}

void delayedGuardFirstCallOnly(const Plugin& plugin) {
    std::uintptr_t* cell = plugin.delayCell("32KAV.dll", "GetUserDefaultLCID");
    CHECK(cell && isGuard(cellValue(cell), plugin), "GetUserDefaultLCID: guarded before its first call");
    if (!cell) return;
    GuardCase c = {"GetUserDefaultLCID", 0, {}, nullptr};
    RegisterCall first = callThrough(reinterpret_cast<void*>(cellValue(cell)), c);
    CHECK(first.eax == GetUserDefaultLCID(), "GetUserDefaultLCID: first answer " + hex(first.eax));
    CHECK(*clobbered(first) == 0, std::string("GetUserDefaultLCID: first call changed ") + clobbered(first));
    std::uintptr_t bound = reinterpret_cast<std::uintptr_t>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetUserDefaultLCID"));
    CHECK(cellValue(cell) == bound, "GetUserDefaultLCID: bound cell skips the guard from then on");
}

void installerTwice(const Plugin& plugin) {
    auto& table = *static_cast<ImportGuardTable*>(plugin.symbol("_importGuardTable"));
    std::vector<std::uintptr_t*> cells;
    for (int i = 0; i < importGuardCount; ++i) {
        const char* function = importGuardDeclarations[i].function;
        std::uintptr_t* cell = plugin.importCell("KERNEL32.dll", function);
        cells.push_back(cell ? cell : plugin.delayCell("32KAV.dll", function));
    }
    cells.push_back(plugin.importCell("KERNEL32.dll", "CreateProcessA"));
    std::vector<std::uintptr_t> before;
    for (auto* cell : cells) before.push_back(cell ? cellValue(cell) : 0);
    ImportGuardTable tableBefore;
    std::memcpy(&tableBefore, &table, sizeof table);

    reinterpret_cast<void (*)()>(plugin.symbol("_installImportGuards"))();

    bool same = true;
    for (std::size_t i = 0; i < cells.size(); ++i)
        if (cells[i] && cellValue(cells[i]) != before[i]) same = false;
    CHECK(same, "a second installation leaves every import cell as it was");
    CHECK(std::memcmp(&tableBefore, &table, sizeof table) == 0,
          "a second installation leaves the guard table as it was");
}

void createProcessGoesToHost(const Plugin& plugin, bool hostHasIt) {
    std::uintptr_t* cell = plugin.importCell("KERNEL32.dll", "CreateProcessA");
    CHECK(cell && cellValue(cell) == reinterpret_cast<std::uintptr_t>(plugin.symbol("_serviceEntry52005")),
          "CreateProcessA's cell holds startProcess's entry");
    if (!cell) return;
    offerStandardServices();
    if (!hostHasIt) testHost.withheld = {52005};
    plugin.setHostCallback();
    startProcessCalls = 0;
    scriptBoxes({IDIGNORE});
    RegisterCall call = {};
    call.target = reinterpret_cast<void*>(cellValue(cell));
    call.count = 10;
    callPatterned(&call);
    auto boxes = takeBoxes();
    std::string label = hostHasIt ? "startProcess offered: " : "startProcess withheld: ";
    CHECK(call.espAfter == call.espBefore + 40, label + "40 bytes removed");
    CHECK(*clobbered(call) == 0, label + "registers kept, changed " + clobbered(call));
    if (hostHasIt) {
        CHECK(startProcessCalls == 1 && call.eax == 1, label + "the host's startProcess ran");
        CHECK(boxes.empty(), label + "no report");
    } else {
        CHECK(startProcessCalls == 0 && call.eax == 0, label + "answered 0 after Ignore");
        CHECK(boxes.size() == 1 && splitLines(boxes[0].text).size() > 1 &&
                  splitLines(boxes[0].text)[1] == "brak wpisu  52005 ",
              label + "the report names 52005");
    }
}

}  // namespace

void runGuardTests() {
    {
        Plugin plugin = loadPlugin();
        everyListedCellGuarded(plugin);
        guardsKeepRegisters(plugin);
        delayedGuardFirstCallOnly(plugin);
        installerTwice(plugin);
        createProcessGoesToHost(plugin, true);
        unloadPlugin(plugin);
    }
    {
        Plugin plugin = loadPlugin();
        createProcessGoesToHost(plugin, false);
        unloadPlugin(plugin);
    }
}
