// Shared pieces of the OS binding tests: checks, a scripted message box, a
// test host, and access to korvandilek.dll's internals and import cells.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// ---- checks -----------------------------------------------------------------
void checkThat(bool ok, const char* file, int line, const std::string& what);
#define CHECK(cond, what) checkThat((cond), __FILE__, __LINE__, (what))
int reportChecks(const char* program);  // prints the totals; exit status
std::string hex(std::uintptr_t value);

// ---- operating system message boxes -------------------------------------------
struct ShownBox {
    std::string text, caption;
    UINT style;
};
// Sends user32's MessageBoxA to a scripted stand-in (before anything binds it).
void installBoxStandIn();
// Answers for the next boxes, in order; when they run out a box answers IDABORT.
void scriptBoxes(std::vector<int> answers);
std::vector<ShownBox> takeBoxes();  // the boxes shown since the last call

// ---- the test host --------------------------------------------------------------
struct TestHost {
    std::vector<std::pair<std::uint32_t, void*>> services;        // by number
    std::vector<std::pair<std::string, void*>> namedServices;     // by name
    std::vector<std::uint32_t> withheld;                           // answered 0
    std::vector<std::uintptr_t> asked;                             // every request
    std::vector<std::string> askedNames;
};
extern TestHost testHost;
// The HostCallback: operation 2 with a number or a name.
std::uintptr_t __cdecl testHostCallback(std::int32_t operation, std::uintptr_t service);
// The host's services that the report and the loader use: buildStamp,
// showError, messageBox (records, answers 20486), convertText (Mazovia to
// Windows-1250), startProcess (records), setEventHook.
void offerStandardServices();
extern int hostMessageBoxes;
extern std::string lastHostBoxCaption, lastHostBoxText;
extern std::uint32_t lastHostBoxStyle;
extern int startProcessCalls;

// ---- the plug-in module ---------------------------------------------------------
struct Plugin {
    HMODULE module = nullptr;
    std::string path;
    void* symbol(const char* name) const;  // from the image's COFF symbols
    // The import cell of a function, from the load-time or the delay tables.
    std::uintptr_t* importCell(const char* library, const char* function) const;
    std::uintptr_t* delayCell(const char* library, const char* function) const;
    void setHostCallback() const;  // writes testHostCallback into hostCallback
};
// Loads a fresh copy (unloading the previous one) from the program's folder.
Plugin loadPlugin(const char* file = "korvandilek.dll");
void unloadPlugin(Plugin& plugin);
// For any module: import cells read from the loaded image.
std::uintptr_t* loadImportCell(HMODULE module, const char* library, const char* function);
std::uintptr_t* delayImportCell(HMODULE module, const char* library, const char* function);
// Where a library's delay descriptor keeps its module handle.
std::uintptr_t* delayModuleCell(HMODULE module, const char* library);

// Reads a cell as it is now (the compiler may otherwise keep an old value).
inline std::uintptr_t cellValue(const std::uintptr_t* cell) {
    return *static_cast<const volatile std::uintptr_t*>(cell);
}
std::vector<std::string> splitLines(const std::string& text);
