// Services of the plug-in frame: build stamps and the error box.
#include <cstdint>
#include <optional>
#include <string>

#include "sim/core/codepage.h"
#include "sim/core/stamp.h"
#include "sim/win32/console.h"
#include "sim/win32/host.h"
#include "sim/win32/options.h"
#include "sim/win32/registry.h"
#include "sim/win32/transcript.h"

namespace {

// The host's own date; any date after the plug-in's requirement.
const std::uint32_t defaultHostStamp = *sim::buildStampOf("Oct 17 2011");
std::uint32_t hostStamp = defaultHostStamp;
SessionResetRegistration resetStamp([] { hostStamp = defaultHostStamp; });

extern "C" std::uint32_t __stdcall simBuildStamp(const char* text) {
    std::uint32_t stamp = hostStamp;
    if (text) {
        auto s = sim::buildStampOf(text);
        if (!s) complain("buildStamp: cannot read the date text %s", quoted(text).c_str());
        stamp = s.value_or(0);
    }
    transcript("52006 buildStamp(%s) -> %u", quoted(text).c_str(), stamp);
    return stamp;
}

extern "C" void __stdcall simShowError(const char* text) {
    transcript("52030 showError(%s)", quoted(text).c_str());
    writeErr("[error]\n" + sim::mazoviaToUtf8(text ? text : "") + "\n");
}

const ServiceDef services[] = {
    {52006, "_buildStamp@4", reinterpret_cast<void*>(&simBuildStamp)},
    {52030, "_showError@4", reinterpret_cast<void*>(&simShowError)},
};
ServiceRegistration registration(services);

bool applyHostStamp(const char* value, std::string& error) {
    auto s = sim::buildStampOf(value);
    if (!s) {
        error = "expected a date as \"Mmm dd yyyy\" from 1980 on, e.g. \"Jul 30 2004\"";
        return false;
    }
    hostStamp = *s;
    return true;
}

bool applyHostStampValue(const char* value, std::string& error) {
    long long v;
    if (!parseInteger(value, 0, 0xFFFFFFFFll, v)) {
        error = "expected a number from 0 to 4294967295";
        return false;
    }
    hostStamp = static_cast<std::uint32_t>(v);
    return true;
}

const OptionDef options[] = {
    {OptionGroup::hostVersion, "--host-stamp", "TEXT", "the date whose stamp buildStamp(null) reports (default \"Oct 17 2011\")",
     applyHostStamp},
    {OptionGroup::hostVersion, "--host-stamp-value", "N", "buildStamp(null) reports this number as it is", applyHostStampValue},
};
OptionRegistration optionRegistration(options);

}  // namespace
