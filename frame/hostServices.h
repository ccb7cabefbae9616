// The host services the plug-in calls, by name, with the host's own conventions.
// In the plug-in each name is the service's entry in the generated service table
// (binding/services.txt), so a call is one indirect jump through the service's slot.
// In a native build (unit tests, fuzzing, benchmark) the same names are plain
// functions that a test host defines.
#pragma once
#include <cstdint>

#if defined(_WIN32) && defined(__i386__)
#define HOST_STDCALL __attribute__((stdcall))
#define HOST_CDECL __attribute__((cdecl))
#define HOST_ENTRY(number) __asm__("_serviceEntry" #number)
#else
#define HOST_STDCALL
#define HOST_CDECL
#define HOST_ENTRY(number)
#endif

// 16-bit arguments travel sign-extended in 32-bit cells; results that the host
// defines only in their low 16 bits are declared 32-bit and cut by the caller.
using EventHook = std::int32_t(HOST_STDCALL*)(std::int32_t code);
using DialogProc = std::int32_t(HOST_STDCALL*)(std::int32_t control, std::int32_t message);
using RowTextProc = std::intptr_t(HOST_STDCALL*)(std::int32_t row, std::int32_t unused);

extern "C" {
// 52005: the ten arguments of CreateProcessA.
std::int32_t HOST_STDCALL startProcess(const char* application, char* commandLine,
                                       void* processAttributes, void* threadAttributes,
                                       std::int32_t inheritHandles, std::uint32_t creationFlags,
                                       void* environment, const char* currentDirectory,
                                       void* startupInfo, void* processInformation)
    HOST_ENTRY(52005);
std::uint32_t HOST_STDCALL buildStamp(const char* dateText) HOST_ENTRY(52006);
void HOST_CDECL runDialog(const void* description, std::int32_t dialogNumber,
                          std::int16_t* selectionCell, DialogProc dialogProc,
                          RowTextProc rowProc) HOST_ENTRY(52026);
std::int32_t HOST_STDCALL messageBox(const char* caption, const char* text, std::uint32_t style)
    HOST_ENTRY(52028);
void HOST_STDCALL showError(const char* text) HOST_ENTRY(52030);
void HOST_STDCALL setBusy(std::int32_t zero, std::int32_t mask, std::int32_t on) HOST_ENTRY(52034);
void HOST_STDCALL listSelection(std::int16_t* cell, std::int32_t one) HOST_ENTRY(52040);
void HOST_STDCALL showDocument(std::int32_t viewKind, std::int32_t zero, std::uint32_t viewRef,
                               std::uint32_t documentId) HOST_ENTRY(52128);
void HOST_STDCALL convertText(char* destination, const char* source, std::int32_t from,
                              std::int32_t to) HOST_ENTRY(52158);
void HOST_STDCALL copyField(char* destination, const char* field, std::int32_t width)
    HOST_ENTRY(52161);
double HOST_STDCALL roundAmount(double amount, std::int32_t precision) HOST_ENTRY(52179);
EventHook HOST_STDCALL setEventHook(EventHook hook) HOST_ENTRY(52249);
void* HOST_STDCALL openTable(std::int32_t table) HOST_ENTRY(52256);
std::int16_t* HOST_STDCALL hookContext() HOST_ENTRY(52267);
std::int32_t HOST_STDCALL scanBegin(void* scanState, void* handle, std::int32_t index,
                                    const char* key, std::int32_t exact, std::int32_t zero)
    HOST_ENTRY(52278);
std::int32_t HOST_STDCALL scanNext(void* scanState) HOST_ENTRY(52279);
void HOST_STDCALL scanEnd(void* scanState) HOST_ENTRY(52281);
void HOST_STDCALL makeDataFileName(std::int32_t number, char* buffer, const char* prefix,
                                   const char* extension, std::int32_t kind) HOST_ENTRY(52311);
void* HOST_CDECL memRealloc(void* block, std::uint32_t bytes) HOST_ENTRY(21286);
void HOST_CDECL memFree(void* block) HOST_ENTRY(21287);
void HOST_STDCALL todayDate(char* buffer) HOST_ENTRY(30204);
std::int32_t HOST_STDCALL compareDates(const char* a, const char* b) HOST_ENTRY(30908);
void HOST_STDCALL addDays(char* dateText, std::int32_t days) HOST_ENTRY(31708);
void HOST_STDCALL formatDate(char* buffer, const char* stored) HOST_ENTRY(32008);
std::int32_t HOST_STDCALL getStateFlags() HOST_ENTRY(32300);
void HOST_STDCALL setStateFlags(std::int32_t mask, std::int32_t on) HOST_ENTRY(32408);
}

// True once the host turned out to lack the service and the user chose to go
// on without it: its calls answer 0, which tells nothing about the host.
bool hostServiceIgnored(std::uint16_t number);
