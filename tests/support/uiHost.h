// The host's user-interface side for native tests: the message box, the
// dialog runner, the list selection, busy mask, document view, hook chain,
// hook context and state flags. Each service records its call in one list,
// in order, and behaves as the test sets it up.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "frame/hostServices.h"

namespace testHost {

struct UiHost {
    std::vector<std::string> calls;

    // setEventHook: a chain as the host keeps it; the hook installed last is
    // called first and receives the one before it.
    EventHook chain = nullptr;

    // hookContext answers the address of context, or null.
    std::int16_t context = 1;
    bool nullContext = false;

    std::uint16_t stateFlags = 0;

    std::int32_t messageBoxAnswer = 0x5001;
    // Runs while the message box is open (before it answers).
    std::function<void()> duringMessageBox;

    // What runDialog does; by default nothing but the record.
    std::function<void(const void* description, std::int16_t* cell, DialogProc, RowTextProc)> dialog;

    std::int16_t selection = 0;  // what listSelection writes

    // Services the host lacks and the user ignored (hostServiceIgnored).
    std::vector<std::uint16_t> ignored;
};

// The host of the running test; fresh for each test through UiScope.
UiHost& ui();

// Gives the test a fresh UiHost and the plug-in's hook cells a fresh load's
// values, and restores both on the way out.
struct UiScope {
    UiScope();
    ~UiScope();
};

}  // namespace testHost
