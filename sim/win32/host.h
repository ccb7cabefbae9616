// The simulated host: its run mode, its state word and context value, its
// event hook chain, and the calls it makes into the plug-in.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using PluginEntry = std::int32_t(__stdcall*)(std::uintptr_t(__cdecl*)(std::int32_t, std::uintptr_t),
                                             char*);
using HostEventHook = std::int32_t(__stdcall*)(std::int32_t);

enum class RunMode { Interactive, Answer, Rows };

struct HostState {
    RunMode mode = RunMode::Interactive;
    bool answerYes = true;
    std::string pluginPath;  // default: korvandilek.dll beside the executable
    std::vector<std::int16_t> events{4098, -1, 0x1C0D};  // the last repeats
    std::int16_t contextValue = 1;                      // behind hookContext
    std::uint16_t stateFlags = 0;
    HostEventHook hookChain = nullptr;  // the hook installed last
    bool questionAsked = false;         // the plug-in's question came
    bool dialogRan = false;
    // What the session's end report (--end-report) tells.
    int faults = 0;                   // plug-in faults that reached the host's handler
    int faultsBeforeList = -1;        // of those, before the rows were printed; -1: no rows printed
    int rowsListed = 0;
    std::uint16_t stateFlagsAtStart = 0;
    HMODULE plugin = nullptr;
    PluginEntry entry = nullptr;
};
extern HostState host;

inline constexpr std::uint32_t questionStyle = 0x30009;
inline constexpr std::int32_t answerYesCode = 0x5001;
inline constexpr std::int32_t answerNoCode = 0x5002;
inline constexpr int maxScriptedEvents = 100;

// The simulator can run several sessions in one process (--then): each loads
// the plug-in afresh with its own options. Whatever an option or a session
// changes outside HostState is put back by a reset registered here.
using SessionReset = void (*)();
void addSessionReset(SessionReset reset);
void resetSession();
struct SessionResetRegistration {
    explicit SessionResetRegistration(SessionReset reset) { addSessionReset(reset); }
};

// Checks made when a session has ended, before its transcript closes: what
// the plug-in left behind (blocks it still holds, say).
using SessionEndCheck = void (*)();
void addSessionEndCheck(SessionEndCheck check);
void endSession();
struct SessionEndCheckRegistration {
    explicit SessionEndCheckRegistration(SessionEndCheck check) { addSessionEndCheck(check); }
};

// Ends the current session with an exit status (thrown from simulator code only).
struct SessionEnd {
    int status;
};

// Steps that must succeed before the plug-in is loaded (reading the ledger,
// say); a step returns false with a one-line message.
using StartupStep = bool (*)(std::string& error);
void addStartupStep(StartupStep step);
bool runStartupSteps(std::string& error);

// Calls into the plug-in under the host's fault handling. A fault is reported
// on standard error in one line and, as a host does by default, ends the
// session with exit status 5: only the outermost call is guarded, so a fault
// in a nested call (a dialog procedure inside runDialog inside the event
// hook) unwinds to the outermost one. With --on-fault continue every call is
// guarded on its own, a fault abandons just that call (its results stay as
// they were before it) and the host goes on; the session then exits with 5.
void callPlugin(const char* what, const std::function<void()>& call);
bool continueAfterFaults();

// Passes one event through the hook chain; returns the resulting code.
std::int32_t fireEvent(std::int16_t code);

// The main job without a terminal: fire events until the question comes.
void runScripted();
// The interactive host screen.
int runInteractive();

enum ExitStatus {
    exitOk = 0,
    exitLedger = 1,
    exitUsage = 2,
    exitNotLoadable = 3,
    exitRefused = 4,
    exitPluginFault = 5,
};
