#include "tests/support/nativeHost.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "frame/hostServices.h"

namespace testHost {
namespace {

sim::LedgerHost* current;
UiCalls uiCalls;

}  // namespace

Installed::Installed(sim::LedgerHost& host) : previous_(current) { current = &host; }
Installed::~Installed() { current = previous_; }

sim::LedgerHost& host() {
    if (!current) {
        std::fprintf(stderr, "a host service was called with no test host installed\n");
        std::abort();
    }
    return *current;
}

UiCalls& ui() { return uiCalls; }

}  // namespace testHost

using testHost::host;
using testHost::ui;

extern "C" {

void* openTable(std::int32_t table) { return host().openTable(table); }
std::int32_t scanBegin(void* state, void* handle, std::int32_t index, const char* key, std::int32_t exact,
                       std::int32_t zero) {
    return host().scanBegin(state, handle, index, key, exact, zero);
}
std::int32_t scanNext(void* state) { return host().scanNext(state); }
void scanEnd(void* state) { host().scanEnd(state); }
void makeDataFileName(std::int32_t number, char* buffer, const char* prefix, const char* extension,
                      std::int32_t kind) {
    host().makeDataFileName(number, buffer, prefix, extension, kind);
}
void copyField(char* destination, const char* field, std::int32_t width) {
    host().copyField(destination, field, width);
}
double roundAmount(double amount, std::int32_t precision) { return host().roundAmount(amount, precision); }
void todayDate(char* buffer) { host().todayDate(buffer); }
std::int32_t compareDates(const char* a, const char* b) { return host().compareDates(a, b); }
void addDays(char* dateText, std::int32_t days) { host().addDays(dateText, days); }
void formatDate(char* buffer, const char* stored) { host().formatDate(buffer, stored); }
void* memRealloc(void* block, std::uint32_t bytes) { return host().memRealloc(block, bytes); }
void memFree(void* block) { host().memFree(block); }

std::int32_t startProcess(const char*, char*, void*, void*, std::int32_t, std::uint32_t, void*, const char*,
                          void*, void*) {
    ui().lines.push_back("startProcess");
    return 0;
}
std::uint32_t buildStamp(const char*) { return 0xFFFFFFFFu; }
void runDialog(const void*, std::int32_t dialogNumber, std::int16_t*, DialogProc, RowTextProc) {
    ui().lines.push_back("runDialog(" + std::to_string(dialogNumber) + ")");
}
std::int32_t messageBox(const char* caption, const char* text, std::uint32_t) {
    ui().lines.push_back(std::string("messageBox(") + caption + ", " + text + ")");
    return ui().messageBoxAnswer;
}
void showError(const char* text) { ui().lines.push_back(std::string("showError(") + text + ")"); }
void setBusy(std::int32_t, std::int32_t, std::int32_t on) {
    ui().lines.push_back("setBusy(" + std::to_string(on) + ")");
}
void listSelection(std::int16_t* cell, std::int32_t) {
    *cell = 0;
    ui().lines.push_back("listSelection");
}
void showDocument(std::int32_t viewKind, std::int32_t, std::uint32_t viewRef, std::uint32_t documentId) {
    ui().lines.push_back("showDocument(" + std::to_string(viewKind) + ", " + std::to_string(viewRef) + ", " +
                         std::to_string(documentId) + ")");
}
void convertText(char* destination, const char* source, std::int32_t, std::int32_t) {
    if (destination != source) std::strcpy(destination, source);
}
EventHook setEventHook(EventHook) { return nullptr; }
std::int16_t* hookContext() {
    static std::int16_t context = 1;
    return &context;
}
std::int32_t getStateFlags() { return 0; }
void setStateFlags(std::int32_t, std::int32_t) {}

}  // extern "C"
