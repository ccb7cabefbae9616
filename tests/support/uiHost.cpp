#include "tests/support/uiHost.h"

#include <cstdio>
#include <cstring>

#include "sim/core/codepage.h"
#include "ui/eventHook.h"

namespace testHost {
namespace {

UiHost current;

std::string hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

void resetHookCells() {
    previousEventHook = nullptr;
    promptPending = 1;
    eventHookInstalled = false;
}

}  // namespace

UiHost& ui() { return current; }

UiScope::UiScope() {
    current = UiHost{};
    resetHookCells();
}

UiScope::~UiScope() {
    current = UiHost{};
    resetHookCells();
}

}  // namespace testHost

using testHost::ui;

// Texts are recorded in UTF-8, so that tests compare them with the Polish
// letters they mean rather than with Mazovia bytes.
extern "C" {

std::int32_t startProcess(const char*, char*, void*, void*, std::int32_t, std::uint32_t, void*, const char*,
                          void*, void*) {
    ui().calls.push_back("startProcess");
    return 0;
}
std::uint32_t buildStamp(const char*) { return 0xFFFFFFFFu; }
void showError(const char* text) { ui().calls.push_back("showError(" + sim::mazoviaToUtf8(text) + ")"); }

std::int32_t messageBox(const char* caption, const char* text, std::uint32_t style) {
    ui().calls.push_back("messageBox(" + sim::mazoviaToUtf8(caption) + ", " + sim::mazoviaToUtf8(text) + ", " +
                         testHost::hex(style) + ")");
    if (ui().duringMessageBox) ui().duringMessageBox();
    return ui().messageBoxAnswer;
}

void runDialog(const void* description, std::int32_t dialogNumber, std::int16_t* cell, DialogProc dialogProc,
               RowTextProc rowProc) {
    ui().calls.push_back("runDialog(" + std::to_string(dialogNumber) + ")");
    if (ui().dialog) ui().dialog(description, cell, dialogProc, rowProc);
}

void setBusy(std::int32_t zero, std::int32_t mask, std::int32_t on) {
    ui().calls.push_back("setBusy(" + std::to_string(zero) + ", " + std::to_string(mask) + ", " +
                         std::to_string(on) + ")");
}

void listSelection(std::int16_t* cell, std::int32_t one) {
    ui().calls.push_back("listSelection(" + std::to_string(one) + ")");
    *cell = ui().selection;
}

void showDocument(std::int32_t viewKind, std::int32_t zero, std::uint32_t viewRef, std::uint32_t documentId) {
    ui().calls.push_back("showDocument(" + std::to_string(viewKind) + ", " + std::to_string(zero) + ", " +
                         std::to_string(viewRef) + ", " + std::to_string(documentId) + ")");
}

void convertText(char* destination, const char* source, std::int32_t, std::int32_t) {
    if (destination != source) std::strcpy(destination, source);
}

EventHook setEventHook(EventHook hook) {
    ui().calls.push_back("setEventHook");
    EventHook previous = ui().chain;
    ui().chain = hook;
    return previous;
}

std::int16_t* hookContext() {
    ui().calls.push_back("hookContext");
    return ui().nullContext ? nullptr : &ui().context;
}

std::int32_t getStateFlags() {
    ui().calls.push_back("getStateFlags");
    if (hostServiceIgnored(32300)) return 0;  // the null return after Ignore
    // Only the low half is defined.
    return static_cast<std::int32_t>(0x5A5A0000u | ui().stateFlags);
}

void setStateFlags(std::int32_t mask, std::int32_t on) {
    ui().calls.push_back("setStateFlags(" + testHost::hex(static_cast<std::uint32_t>(mask)) + ", " +
                         std::to_string(on) + ")");
    auto m = static_cast<std::uint16_t>(mask);
    ui().stateFlags = static_cast<std::uint16_t>(on ? ui().stateFlags | m : ui().stateFlags & ~m);
}

}  // extern "C"

bool hostServiceIgnored(std::uint16_t number) {
    for (std::uint16_t ignored : ui().ignored)
        if (ignored == number) return true;
    return false;
}
