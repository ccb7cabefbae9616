// The host's service registry: what HostCallback operation 2 answers, by
// number or by decorated name ("_messageBox@12"). Each group of services
// registers itself with a table of ServiceDefs; --without withholds numbers.
#pragma once
#include <cstddef>
#include <cstdint>

struct ServiceDef {
    std::uint16_t number;
    const char* decoratedName;  // lowerCamel, "@" and the bytes the service removes
    void* address;
};

void registerServices(const ServiceDef* defs, std::size_t count);
void withholdService(std::uint16_t number);
const ServiceDef* findServiceDef(std::uint16_t number);

struct ServiceRegistration {
    template <std::size_t N>
    explicit ServiceRegistration(const ServiceDef (&defs)[N]) {
        registerServices(defs, N);
    }
};

// HostCallback: operation 2 with a number below 0x10000 or a name's address.
extern "C" std::uintptr_t __cdecl hostCallback(std::int32_t operation, std::uintptr_t argument);
