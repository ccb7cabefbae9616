#include "tests/wine/osBinding/support.h"

#include <delayimp.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "tests/wine/osBinding/registerCall.h"

// ---- checks -----------------------------------------------------------------
namespace {
int passed, failed;
}

void checkThat(bool ok, const char* file, int line, const std::string& what) {
    if (ok) {
        ++passed;
        return;
    }
    ++failed;
    const char* base = std::strrchr(file, '/');
    std::printf("FAIL %s:%d: %s\n", base ? base + 1 : file, line, what.c_str());
    std::fflush(stdout);
}

int reportChecks(const char* program) {
    std::printf("%s: %d passed, %d failed\n", program, passed, failed);
    return failed ? 1 : 0;
}

std::string hex(std::uintptr_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lx", static_cast<unsigned long>(value));
    return text;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '\n')
            lines.emplace_back();
        else
            lines.back() += c;
    }
    return lines;
}

const char* clobbered(const RegisterCall& call) {
    static std::string names;
    names.clear();
    auto note = [](bool changed, const char* name) {
        if (!changed) return;
        if (!names.empty()) names += ' ';
        names += name;
    };
    note(call.ebx != patternEbx, "EBX");
    note(call.ecx != patternEcx, "ECX");
    note(call.edx != patternEdx, "EDX");
    note(call.esi != patternEsi, "ESI");
    note(call.edi != patternEdi, "EDI");
    note(call.ebp != patternEbp, "EBP");
    return names.c_str();
}

int fpuDepthChange(const RegisterCall& call) {
    int before = (call.fpuBefore >> 11) & 7, after = (call.fpuAfter >> 11) & 7;
    return ((before - after) % 8 + 8) % 8;  // a push lowers TOP by one
}

// ---- exceptions ---------------------------------------------------------------
extern "C" {
extern std::uint32_t catchStack;
void catchResume();
}

namespace {
LONG CALLBACK resumeAfterException(EXCEPTION_POINTERS* pointers) {
    if (!catchStack) return EXCEPTION_CONTINUE_SEARCH;
    pointers->ContextRecord->Esp = catchStack;
    pointers->ContextRecord->Eip = reinterpret_cast<DWORD>(catchResume);
    pointers->ContextRecord->Eax = pointers->ExceptionRecord->ExceptionCode;
    return EXCEPTION_CONTINUE_EXECUTION;
}

struct InstallCatcher {
    InstallCatcher() { AddVectoredExceptionHandler(1, resumeAfterException); }
} installCatcher;
}  // namespace

// ---- message boxes --------------------------------------------------------------
namespace {
std::vector<ShownBox> shownBoxes;
std::vector<int> boxAnswers;
std::size_t nextAnswer;

int WINAPI boxStandIn(HWND, LPCSTR text, LPCSTR caption, UINT style) {
    shownBoxes.push_back({text ? text : "", caption ? caption : "", style});
    return nextAnswer < boxAnswers.size() ? boxAnswers[nextAnswer++] : IDABORT;
}

// jmp rel32, written over the start of user32's MessageBoxA.
struct __attribute__((packed)) JumpRel32 {
    std::uint8_t opcode;  // 0xE9
    std::int32_t offset;  // from the end of this instruction
};
}  // namespace

void installBoxStandIn() {
    auto* target = reinterpret_cast<std::uint8_t*>(
        GetProcAddress(LoadLibraryA("user32.dll"), "MessageBoxA"));
    JumpRel32 jump = {0xE9, static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(boxStandIn) -
                                                      reinterpret_cast<std::uintptr_t>(target) -
                                                      sizeof(JumpRel32))};
    DWORD protection;
    VirtualProtect(target, sizeof jump, PAGE_EXECUTE_READWRITE, &protection);
    std::memcpy(target, &jump, sizeof jump);
    VirtualProtect(target, sizeof jump, protection, &protection);
    FlushInstructionCache(GetCurrentProcess(), target, sizeof jump);
}

void scriptBoxes(std::vector<int> answers) {
    boxAnswers = std::move(answers);
    nextAnswer = 0;
}

std::vector<ShownBox> takeBoxes() {
    std::vector<ShownBox> boxes;
    boxes.swap(shownBoxes);
    return boxes;
}

// ---- the test host --------------------------------------------------------------
TestHost testHost;
int hostMessageBoxes;
std::string lastHostBoxCaption, lastHostBoxText;
std::uint32_t lastHostBoxStyle;
int startProcessCalls;

std::uintptr_t __cdecl testHostCallback(std::int32_t operation, std::uintptr_t service) {
    if (operation != 2) return 0;
    testHost.asked.push_back(service);
    if (service >= 0x10000) {
        std::string name = reinterpret_cast<const char*>(service);
        testHost.askedNames.push_back(name);
        for (auto& [known, address] : testHost.namedServices)
            if (known == name) return reinterpret_cast<std::uintptr_t>(address);
        return 0;
    }
    for (std::uint32_t number : testHost.withheld)
        if (number == service) return 0;
    for (auto& [number, address] : testHost.services)
        if (number == service) return reinterpret_cast<std::uintptr_t>(address);
    return 0;
}

namespace {
std::uint32_t WINAPI hostBuildStamp(const char* date) { return date ? 9000 : 9500; }
void WINAPI hostShowError(const char*) {}
std::int32_t WINAPI hostMessageBox(const char* caption, const char* text, std::uint32_t style) {
    ++hostMessageBoxes;
    lastHostBoxCaption = caption;
    lastHostBoxText = text;
    lastHostBoxStyle = style;
    return 20486;
}
// Mazovia's Polish letters to Windows-1250; other bytes stay.
void WINAPI hostConvertText(char* destination, const char* source, std::int32_t, std::int32_t) {
    static const unsigned char from[] = {0x8F, 0x95, 0x90, 0x9C, 0xA5, 0xA3, 0x98, 0xA0, 0xA1,
                                         0x86, 0x8D, 0x91, 0x92, 0xA4, 0xA2, 0x9E, 0xA6, 0xA7};
    static const unsigned char to[] = {0xA5, 0xC6, 0xCA, 0xA3, 0xD1, 0xD3, 0x8C, 0x8F, 0xAF,
                                       0xB9, 0xE6, 0xEA, 0xB3, 0xF1, 0xF3, 0x9C, 0x9F, 0xBF};
    std::size_t i = 0;
    for (; source[i]; ++i) {
        unsigned char c = static_cast<unsigned char>(source[i]);
        for (std::size_t k = 0; k < sizeof from; ++k)
            if (c == from[k]) {
                c = to[k];
                break;
            }
        destination[i] = static_cast<char>(c);
    }
    destination[i] = 0;
}
std::int32_t WINAPI hostStartProcess(const char*, char*, void*, void*, std::int32_t, std::uint32_t,
                                     void*, const char*, void*, void*) {
    ++startProcessCalls;
    return 1;
}
void* WINAPI hostSetEventHook(void*) { return nullptr; }
}  // namespace

void offerStandardServices() {
    testHost = {};
    testHost.services = {
        {52006, reinterpret_cast<void*>(hostBuildStamp)},
        {52030, reinterpret_cast<void*>(hostShowError)},
        {52028, reinterpret_cast<void*>(hostMessageBox)},
        {52158, reinterpret_cast<void*>(hostConvertText)},
        {52005, reinterpret_cast<void*>(hostStartProcess)},
        {52249, reinterpret_cast<void*>(hostSetEventHook)},
    };
}

// ---- the plug-in module ---------------------------------------------------------
namespace {
template <typename T>
T* atRva(HMODULE module, DWORD rva) {
    return reinterpret_cast<T*>(reinterpret_cast<char*>(module) + rva);
}

IMAGE_NT_HEADERS32* headers(HMODULE module) {
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(module);
    return atRva<IMAGE_NT_HEADERS32>(module, dos->e_lfanew);
}

// The cell of `function` among one library's imports by name: the name table
// and the cells at the two RVAs run in step.
std::uintptr_t* namedCell(HMODULE module, DWORD namesRva, DWORD cellsRva, const char* function) {
    auto* names = atRva<IMAGE_THUNK_DATA32>(module, namesRva);
    auto* cells = atRva<std::uintptr_t>(module, cellsRva);
    for (int i = 0; names[i].u1.AddressOfData; ++i) {
        if (IMAGE_SNAP_BY_ORDINAL32(names[i].u1.Ordinal)) continue;
        auto* byName = atRva<IMAGE_IMPORT_BY_NAME>(module, names[i].u1.AddressOfData);
        if (std::strcmp(reinterpret_cast<char*>(byName->Name), function) == 0) return &cells[i];
    }
    return nullptr;
}
}  // namespace

std::uintptr_t* loadImportCell(HMODULE module, const char* library, const char* function) {
    auto& directory = headers(module)->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = atRva<IMAGE_IMPORT_DESCRIPTOR>(module, directory.VirtualAddress); d->Name; ++d) {
        if (lstrcmpiA(atRva<char>(module, d->Name), library) != 0) continue;
        if (auto* cell = namedCell(module, d->OriginalFirstThunk, d->FirstThunk, function)) return cell;
    }
    return nullptr;
}

std::uintptr_t* delayImportCell(HMODULE module, const char* library, const char* function) {
    auto& directory = headers(module)->OptionalHeader.DataDirectory[13];
    if (!directory.VirtualAddress) return nullptr;
    for (auto* d = atRva<ImgDelayDescr>(module, directory.VirtualAddress); d->rvaDLLName; ++d) {
        if (std::strcmp(atRva<char>(module, d->rvaDLLName), library) != 0) continue;
        if (auto* cell = namedCell(module, d->rvaINT, d->rvaIAT, function)) return cell;
    }
    return nullptr;
}

std::uintptr_t* delayModuleCell(HMODULE module, const char* library) {
    auto& directory = headers(module)->OptionalHeader.DataDirectory[13];
    if (!directory.VirtualAddress) return nullptr;
    for (auto* d = atRva<ImgDelayDescr>(module, directory.VirtualAddress); d->rvaDLLName; ++d)
        if (std::strcmp(atRva<char>(module, d->rvaDLLName), library) == 0)
            return atRva<std::uintptr_t>(module, d->rvaHmod);
    return nullptr;
}

void* Plugin::symbol(const char* name) const {
    std::ifstream file(path, std::ios::binary);
    std::string image((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    auto read32 = [&](std::size_t at) {
        std::uint32_t v;
        std::memcpy(&v, image.data() + at, 4);
        return v;
    };
    auto read16 = [&](std::size_t at) {
        std::uint16_t v;
        std::memcpy(&v, image.data() + at, 2);
        return v;
    };
    std::size_t coff = read32(0x3C) + 4;
    std::uint16_t sectionCount = read16(coff + 2);
    std::uint32_t symbols = read32(coff + 8), symbolCount = read32(coff + 12);
    std::size_t sectionTable = coff + 20 + read16(coff + 16);
    std::size_t strings = symbols + 18 * symbolCount;
    for (std::uint32_t i = 0; i < symbolCount; i += 1 + static_cast<unsigned char>(image[symbols + 18 * i + 17])) {
        std::size_t entry = symbols + 18 * i;
        std::string symbolName = read32(entry) == 0 ? std::string(image.data() + strings + read32(entry + 4))
                                                    : std::string(image.data() + entry, strnlen(image.data() + entry, 8));
        auto section = static_cast<std::int16_t>(read16(entry + 12));
        if (symbolName != name || section <= 0 || section > sectionCount) continue;
        std::uint32_t sectionRva = read32(sectionTable + 40 * (section - 1) + 12);
        return reinterpret_cast<char*>(module) + sectionRva + read32(entry + 8);
    }
    checkThat(false, __FILE__, __LINE__, std::string("no symbol ") + name);
    return nullptr;
}

std::uintptr_t* Plugin::importCell(const char* library, const char* function) const {
    return loadImportCell(module, library, function);
}

std::uintptr_t* Plugin::delayCell(const char* library, const char* function) const {
    return delayImportCell(module, library, function);
}

void Plugin::setHostCallback() const {
    *static_cast<void**>(symbol("_hostCallback")) = reinterpret_cast<void*>(testHostCallback);
}

Plugin loadPlugin(const char* file) {
    Plugin plugin;
    char folder[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, folder, MAX_PATH);
    while (n && folder[n - 1] != '\\') --n;
    folder[n] = 0;
    plugin.path = std::string(folder) + file;
    plugin.module = LoadLibraryA(plugin.path.c_str());
    checkThat(plugin.module != nullptr, __FILE__, __LINE__, "loads " + plugin.path);
    return plugin;
}

void unloadPlugin(Plugin& plugin) {
    if (plugin.module) FreeLibrary(plugin.module);
    // A module that is still loaded would keep its bound slots for the next test.
    checkThat(GetModuleHandleA(plugin.path.c_str()) == nullptr, __FILE__, __LINE__,
              "unloaded " + plugin.path);
    plugin.module = nullptr;
}
