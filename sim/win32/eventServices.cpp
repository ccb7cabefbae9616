// The event hook chain and the host state the plug-in's hook consults.
#include <cstdint>
#include <string>

#include "sim/win32/console.h"
#include "sim/win32/host.h"
#include "sim/win32/options.h"
#include "sim/win32/registry.h"
#include "sim/win32/transcript.h"

namespace {

// --fault: the host hands the plug-in a pointer it must not follow.
enum class Fault { None, PreviousHook, HookContext };
Fault fault = Fault::None;
void* const badPointer = reinterpret_cast<void*>(0x0BAD0000);

// A hook of the host's own, installed before the plug-in (--host-hook).
enum class HostHook { None, Pass, MinusOne };
HostHook hostHookKind = HostHook::None;

SessionResetRegistration resetFaults([] {
    fault = Fault::None;
    hostHookKind = HostHook::None;
});

extern "C" std::int32_t __stdcall simHostHook(std::int32_t code) {
    std::int32_t result = hostHookKind == HostHook::MinusOne ? -1 : static_cast<std::int16_t>(code);
    transcript("host hook %d -> %d", static_cast<std::int16_t>(code), static_cast<std::int16_t>(result));
    return result;
}

extern "C" HostEventHook __stdcall simSetEventHook(HostEventHook hook) {
    HostEventHook previous = host.hookChain;
    if (fault == Fault::PreviousHook) previous = reinterpret_cast<HostEventHook>(badPointer);
    host.hookChain = hook;
    transcript("52249 setEventHook(%s) -> %s", hexPointer(reinterpret_cast<void*>(hook)).c_str(),
               previous ? hexPointer(reinterpret_cast<void*>(previous)).c_str() : "null");
    return previous;
}

extern "C" std::int16_t* __stdcall simHookContext() {
    std::int16_t* p = &host.contextValue;
    if (fault == Fault::HookContext) p = static_cast<std::int16_t*>(badPointer);
    transcript("52267 hookContext() -> %s (%d)", hexPointer(p).c_str(),
               p == &host.contextValue ? host.contextValue : 0);
    return p;
}

extern "C" std::int32_t __stdcall simGetStateFlags() {
    // Only the low half is defined: fill the upper half to show it is not read.
    std::int32_t word = static_cast<std::int32_t>(0xA5A50000u | host.stateFlags);
    transcript("32300 getStateFlags() -> 0x%04X", host.stateFlags);
    return word;
}

extern "C" void __stdcall simSetStateFlags(std::int32_t mask, std::int32_t on) {
    auto m = static_cast<std::uint16_t>(mask);
    host.stateFlags = on ? (host.stateFlags | m) : (host.stateFlags & ~m);
    transcript("32408 setStateFlags(0x%04X, %d) -> 0x%04X", m, on, host.stateFlags);
}

const ServiceDef services[] = {
    {52249, "_setEventHook@4", reinterpret_cast<void*>(&simSetEventHook)},
    {52267, "_hookContext@0", reinterpret_cast<void*>(&simHookContext)},
    {32300, "_getStateFlags@0", reinterpret_cast<void*>(&simGetStateFlags)},
    {32408, "_setStateFlags@8", reinterpret_cast<void*>(&simSetStateFlags)},
};
ServiceRegistration registration(services);

bool applyEvents(const char* value, std::string& error) {
    host.events.clear();
    for (const std::string& item : splitList(value)) {
        long long v;
        if (!parseInteger(item.c_str(), -32768, 65535, v)) {
            error = "\"" + item + "\" is not a 16-bit event code";
            return false;
        }
        host.events.push_back(static_cast<std::int16_t>(v));
    }
    return true;
}

bool applyContext(const char* value, std::string& error) {
    long long v;
    if (!parseInteger(value, -32768, 32767, v)) {
        error = "expected a signed 16-bit number";
        return false;
    }
    host.contextValue = static_cast<std::int16_t>(v);
    return true;
}

bool applyStateFlags(const char* value, std::string& error) {
    long long v;
    if (!parseInteger(value, 0, 0xFFFF, v)) {
        error = "expected a 16-bit flag word, e.g. 0x8000";
        return false;
    }
    host.stateFlags = static_cast<std::uint16_t>(v);
    return true;
}

bool applyHostHook(const char* value, std::string& error) {
    std::string v = value;
    if (v == "none") hostHookKind = HostHook::None;
    else if (v == "pass") hostHookKind = HostHook::Pass;
    else if (v == "minus1") hostHookKind = HostHook::MinusOne;
    else {
        error = "expected none, pass or minus1";
        return false;
    }
    host.hookChain = hostHookKind == HostHook::None ? nullptr : &simHostHook;
    return true;
}

bool applyFault(const char* value, std::string& error) {
    std::string v = value;
    if (v == "previous-hook") fault = Fault::PreviousHook;
    else if (v == "hook-context") fault = Fault::HookContext;
    else {
        error = "expected previous-hook or hook-context";
        return false;
    }
    return true;
}

const OptionDef options[] = {
    {OptionGroup::scripting, "--events", "LIST", "event codes to fire, e.g. 4098,-1,7181; the last one repeats (at most 100)",
     applyEvents},
    {OptionGroup::scripting, "--context", "N", "the value behind hookContext (default 1; 0 means no context)", applyContext},
    {OptionGroup::scripting, "--state-flags", "WORD", "the host's state flag word at start (default 0)", applyStateFlags},
    {OptionGroup::scripting, "--host-hook", "KIND", "a hook of the host's own before the plug-in's: none, pass, minus1",
     applyHostHook},
    {OptionGroup::faults, "--fault", "KIND", "hand the plug-in a bad pointer: previous-hook, hook-context", applyFault},
};
OptionRegistration optionRegistration(options);

}  // namespace
