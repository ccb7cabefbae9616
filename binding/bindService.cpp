// First call of a host service: ask the host once, fill the slot, and fall back
// to the missing-service report when the host lacks the service.
#include "binding/binding.h"

#include <windows.h>

namespace {

// Slots whose service could not be bound (the user aborted, or no null return
// fits, or the report is still open), one bit each. Such a slot holds its bind
// stub, so a later call lands here instead of jumping to address 0, and ends
// like the first one.
constexpr int endedWords = (serviceSlotCount + 31) / 32;
std::uint32_t endedSlots[endedWords];

int slotIndex(const ServiceSlot* slot) { return static_cast<int>(slot - serviceSlots); }

void markEnded(const ServiceSlot* slot, bool ended) {
    int i = slotIndex(slot);
    std::uint32_t bit = 1u << (i % 32);
    endedSlots[i / 32] = ended ? endedSlots[i / 32] | bit : endedSlots[i / 32] & ~bit;
}

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
    void* address = reinterpret_cast<void*>(hostCallback(hostOperationFindService, service));
    if (address) {
        storeSlot(slot, address);
        return;
    }

    // While the report runs the slot stays unbound and counts as ended: a call
    // of the service meanwhile, or an exception out of the report itself (it
    // needs convertText, which may be missing and aborted too), leaves a slot
    // that ends every call like an aborted one, never one that holds null.
    void* stub = *static_cast<void* volatile*>(slot);
    markEnded(slot, true);
    if (reportMissingService(service, nullptr)) {
        pickNullReturn(service, slot);
        if (*static_cast<void* volatile*>(slot)) {
            markEnded(slot, false);
            return;
        }
    }
    storeSlot(slot, stub);
    endPendingCall(service, slot);
}
