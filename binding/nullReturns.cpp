// Choosing the null return that answers a missing service after Ignore.
#include "binding/nullReturns.h"

#include "binding/binding.h"

namespace {

void* entryRemoving(unsigned bytes) {
    return bytes % 4 == 0 && bytes / 4 < nullReturnCount ? nullReturns[bytes / 4] : nullptr;
}

// The numbering's last two digits give the argument bytes only in part of the
// catalogue; for the services the plug-in calls, the call itself is known and
// wins, so the caller's stack stays balanced whatever the number says.
const ServiceCall* knownCall(ServiceId service) {
    for (const ServiceCall& call : servicesCalled)
        if (call.number == service) return &call;
    return nullptr;
}

void* forNumber(ServiceId number) {
    if (const ServiceCall* call = knownCall(number)) {
        if (call->answersDouble)
            return call->argumentBytes == 12 ? reinterpret_cast<void*>(nullReturnDouble12)
                                             : nullptr;
        return entryRemoving(call->callerRemoves ? 0 : call->argumentBytes);
    }
    unsigned digits = number % 100;
    if (digits == 99) return nullReturns[0];  // the caller removes the arguments
    return entryRemoving(digits);
}

// "_name@12": the byte count after the last '@', rounded down to whole cells.
void* forName(const char* name) {
    const char* at = nullptr;
    for (const char* p = name; *p; ++p)
        if (*p == '@') at = p;
    if (!at || at[1] < '0' || at[1] > '9') return nullReturns[0];
    unsigned bytes = 0;
    for (const char* p = at + 1; *p >= '0' && *p <= '9'; ++p) {
        bytes = bytes * 10 + static_cast<unsigned>(*p - '0');
        if (bytes >= 4 * nullReturnCount) return nullptr;  // also stops overflow
    }
    return nullReturns[bytes / 4];
}

}  // namespace

bool hostServiceIgnored(std::uint16_t number) {
    for (int i = 0; i < serviceSlotCount; ++i) {
        if (serviceSlotNumbers[i] != number) continue;
        void* bound = *static_cast<void* volatile*>(&serviceSlots[i]);
        if (bound == reinterpret_cast<void*>(nullReturnDouble12)) return true;
        for (void* entry : nullReturns)
            if (bound == entry) return true;
    }
    return false;
}

extern "C" void __stdcall pickNullReturn(ServiceId service, ServiceSlot* slot) {
    *static_cast<void* volatile*>(slot) =
        service < firstServiceName ? forNumber(service)
                                   : forName(reinterpret_cast<const char*>(service));
}
