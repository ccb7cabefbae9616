// Lazy binding of host services by number (or decorated name).
#pragma once
#include <cstdint>

#include "serviceTable.h"

// A service number below 0x10000, or the address of a decorated service name.
using ServiceId = std::uintptr_t;
inline constexpr ServiceId firstServiceName = 0x10000;

// The host's callback: operation 2 answers a service's address, or 0.
using HostCallback = std::uintptr_t(__cdecl*)(std::int32_t operation, ServiceId service);
inline constexpr std::int32_t hostOperationFindService = 2;

// The exception that ends a pending call whose service could not be bound
// (the user aborted, or no null return fits), and every later call of it.
// Parameters: the ServiceId and the slot's address. Raised non-continuable:
// there is no service to go on in.
inline constexpr std::uint32_t unboundServiceException = 0xE04B5301u;

extern "C" {
extern HostCallback hostCallback;

// Called by the bind stubs only.
void __stdcall bindService(ServiceId service, ServiceSlot* slot);
// True once the slot's service could not be bound: the slot holds its bind
// stub again and every call of it ends in unboundServiceException, without
// asking the host or the user again.
bool serviceEnded(const ServiceSlot* slot);

// Missing-service report: nonzero when the user ignores the missing service.
std::int32_t __stdcall reportMissingService(ServiceId service, const char* moduleName);
// Stores the null return that fits the service into the slot, or null.
void __stdcall pickNullReturn(ServiceId service, ServiceSlot* slot);
}
