// First call of a host service: ask the host once, fill the slot, and fall back
// to the missing-service report when the host lacks the service.
#include "binding/binding.h"

#include <windows.h>

namespace {

// Slots whose service could not be bound (the user aborted, or no null return
// fits), one bit each. Such a slot holds its bind stub again, so a later call
// lands here instead of jumping to address 0, and ends like the first one.
constexpr int endedWords = (serviceSlotCount + 31) / 32;
std::uint32_t endedSlots[endedWords];

int slotIndex(const ServiceSlot* slot) { return static_cast<int>(slot - serviceSlots); }

void storeSlot(ServiceSlot* slot, void* value) {
    // One aligned pointer store; the entries read the slot on every call.
    *static_cast<void* volatile*>(slot) = value;
}

[[noreturn]] void endPendingCall(ServiceId service, ServiceSlot* slot) {
    // No service to continue into: end the call here, where the host's
    // exception handling sees it.
    ULONG_PTR arguments[2] = {service, reinterpret_cast<ULONG_PTR>(slot)};
    RaiseException(unboundServiceException, EXCEPTION_NONCONTINUABLE, 2, arguments);
    __builtin_unreachable();
}

}  // namespace

extern "C" bool serviceEnded(const ServiceSlot* slot) {
    int i = slotIndex(slot);
    return (endedSlots[i / 32] >> (i % 32)) & 1u;
}

extern "C" void __stdcall bindService(ServiceId service, ServiceSlot* slot) {
    if (serviceEnded(slot)) endPendingCall(service, slot);
    void* stub = *static_cast<void* volatile*>(slot);

    void* address = reinterpret_cast<void*>(hostCallback(hostOperationFindService, service));
    storeSlot(slot, address);
    if (address) return;

    if (reportMissingService(service, nullptr))
        pickNullReturn(service, slot);
    else
        storeSlot(slot, nullptr);

    if (!*static_cast<void* volatile*>(slot)) {
        int i = slotIndex(slot);
        endedSlots[i / 32] |= 1u << (i % 32);
        storeSlot(slot, stub);
        endPendingCall(service, slot);
    }
}
