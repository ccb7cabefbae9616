// The host's callback, which the load call brings: the plug-in's one way to
// find the host's services.
#pragma once
#include <cstdint>

// A service number below 0x10000, or the address of a decorated service name.
using ServiceId = std::uintptr_t;
inline constexpr ServiceId firstServiceName = 0x10000;

// Operation 2 answers a service's address, or 0.
using HostCallback = std::uintptr_t(__cdecl*)(std::int32_t operation, ServiceId service);
inline constexpr std::int32_t hostOperationFindService = 2;

extern "C" {
extern HostCallback hostCallback;
}
