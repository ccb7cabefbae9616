#include "sim/win32/registry.h"

#include <cstring>
#include <set>
#include <vector>

#include "sim/win32/host.h"
#include "sim/win32/transcript.h"

namespace {

std::vector<ServiceDef>& services() {
    static std::vector<ServiceDef> all;
    return all;
}

std::set<std::uint16_t>& withheld() {
    static std::set<std::uint16_t> numbers;
    return numbers;
}

}  // namespace

void registerServices(const ServiceDef* defs, std::size_t count) {
    services().insert(services().end(), defs, defs + count);
}

void withholdService(std::uint16_t number) { withheld().insert(number); }

namespace {
SessionResetRegistration resetWithheld([] { withheld().clear(); });
}

const ServiceDef* findServiceDef(std::uint16_t number) {
    for (const auto& s : services())
        if (s.number == number) return &s;
    return nullptr;
}

extern "C" std::uintptr_t __cdecl hostCallback(std::int32_t operation, std::uintptr_t argument) {
    const ServiceDef* found = nullptr;
    std::string asked;
    if (argument < 0x10000) {
        asked = std::to_string(argument);
        found = findServiceDef(static_cast<std::uint16_t>(argument));
    } else {
        const char* name = reinterpret_cast<const char*>(argument);
        asked = quoted(name);
        for (const auto& s : services())
            if (std::strcmp(s.decoratedName, name) == 0) found = &s;
    }
    if (operation != 2) found = nullptr;
    if (found && withheld().count(found->number)) found = nullptr;
    auto address = found ? reinterpret_cast<std::uintptr_t>(found->address) : 0;
    transcript("callback %d %s -> %s", operation, asked.c_str(),
               found ? found->decoratedName : "0");
    return address;
}
