// First call of a host service: ask the host once, fill the slot, and fall back
// to the missing-service report when the host lacks the service.
#include "binding/binding.h"

#include <windows.h>

namespace {

void storeSlot(ServiceSlot* slot, void* value) {
    // One aligned pointer store; the entries read the slot on every call.
    *static_cast<void* volatile*>(slot) = value;
}

}  // namespace

extern "C" void __stdcall bindService(ServiceId service, ServiceSlot* slot) {
    void* address = reinterpret_cast<void*>(hostCallback(hostOperationFindService, service));
    storeSlot(slot, address);
    if (address) return;

    if (reportMissingService(service, nullptr))
        pickNullReturn(service, slot);
    else
        storeSlot(slot, nullptr);

    if (!*static_cast<void* volatile*>(slot)) {
        // No service to continue into: end the pending call here, where the
        // host's exception handling sees it, instead of jumping to address 0.
        ULONG_PTR arguments[2] = {service, reinterpret_cast<ULONG_PTR>(slot)};
        RaiseException(unboundServiceException, EXCEPTION_NONCONTINUABLE, 2, arguments);
    }
}
