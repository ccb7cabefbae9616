#include "sim/win32/host.h"

#include <cstdio>

#include "sim/win32/console.h"
#include "sim/win32/faultGuard.h"
#include "sim/win32/options.h"
#include "sim/win32/transcript.h"

HostState host;

namespace {

int pluginCallDepth;
bool onFaultContinue;

bool applyOnFault(const char* value, std::string& error) {
    std::string v = value;
    if (v != "end" && v != "continue") {
        error = "expected end or continue";
        return false;
    }
    onFaultContinue = v == "continue";
    return true;
}

const OptionDef options[] = {
    {OptionGroup::faults, "--on-fault", "end|continue",
     "after a plug-in fault the host ends the session (end, the default) or abandons the faulting "
     "call and goes on (continue); either way the exit status is 5",
     applyOnFault},
};
OptionRegistration optionRegistration(options);

std::vector<SessionReset>& sessionResets() {
    static std::vector<SessionReset> resets;
    return resets;
}

std::vector<SessionEndCheck>& sessionEndChecks() {
    static std::vector<SessionEndCheck> checks;
    return checks;
}

std::vector<StartupStep>& startupSteps() {
    static std::vector<StartupStep> steps;
    return steps;
}

std::string describeFault(const GuardFault& f) {
    if (f.code == 0xE04B5301u && f.parameterCount >= 1) {
        std::uintptr_t id = f.parameters[0];
        return id < 0x10000 ? formatted("host service %u could not be bound (exception 0x%08lX)",
                                        static_cast<unsigned>(id), f.code)
                            : formatted("a host service bound by name could not be bound "
                                        "(exception 0x%08lX)", f.code);
    }
    std::string text = formatted("exception 0x%08lX at %s", f.code, hexPointer(f.address).c_str());
    if (f.code == EXCEPTION_ACCESS_VIOLATION && f.parameterCount >= 2) {
        const char* kind = f.parameters[0] == 0 ? "reading" : f.parameters[0] == 8 ? "executing" : "writing";
        text += formatted(" (access violation %s %s)", kind,
                          hexPointer(reinterpret_cast<void*>(f.parameters[1])).c_str());
    }
    if (host.plugin) {
        auto base = reinterpret_cast<std::uintptr_t>(host.plugin);
        auto at = reinterpret_cast<std::uintptr_t>(f.address);
        MEMORY_BASIC_INFORMATION info;
        if (VirtualQuery(f.address, &info, sizeof info) && info.AllocationBase == host.plugin)
            text += formatted(", korvandilek.dll+0x%lX", static_cast<unsigned long>(at - base));
    }
    return text;
}

}  // namespace

void addSessionReset(SessionReset reset) { sessionResets().push_back(reset); }

void addSessionEndCheck(SessionEndCheck check) { sessionEndChecks().push_back(check); }

void endSession() {
    for (auto check : sessionEndChecks()) check();
}

void resetSession() {
    host = HostState{};
    pluginCallDepth = 0;
    onFaultContinue = false;
    for (auto reset : sessionResets()) reset();
}

void addStartupStep(StartupStep step) { startupSteps().push_back(step); }

bool runStartupSteps(std::string& error) {
    for (auto step : startupSteps())
        if (!step(error)) return false;
    return true;
}

bool continueAfterFaults() { return onFaultContinue; }

void callPlugin(const char* what, const std::function<void()>& call) {
    if (pluginCallDepth > 0 && !onFaultContinue) {
        call();
        return;
    }
    GuardFault fault{};
    int depth = pluginCallDepth++;
    int faulted = guardedCall([&] { call(); }, &fault);
    pluginCallDepth = depth;  // a fault skipped the nested calls' own bookkeeping
    if (faulted) {
        ++host.faults;
        std::string text = describeFault(fault);
        transcript("fault %s: %s", what, text.c_str());
        complain("plug-in fault during %s: %s", what, text.c_str());
        if (!onFaultContinue) throw SessionEnd{exitPluginFault};
    }
}

std::int32_t fireEvent(std::int16_t code) {
    std::int32_t result = code;
    if (host.hookChain) {
        HostEventHook hook = host.hookChain;
        // The upper half of the argument cell is not defined: make it visible.
        std::int32_t cell = static_cast<std::int32_t>(0x5A5A0000u | static_cast<std::uint16_t>(code));
        callPlugin("an event", [&] { result = hook(cell); });
    }
    transcript("event %d -> %d", code, static_cast<std::int16_t>(result));
    return static_cast<std::int16_t>(result);
}

void runScripted() {
    for (int i = 0; i < maxScriptedEvents && !host.questionAsked; ++i) {
        std::size_t k = static_cast<std::size_t>(i) < host.events.size() ? i : host.events.size() - 1;
        fireEvent(host.events[k]);
    }
}
