// Until the missing-service report exists, a missing service is not offered to
// be ignored: the report answers abort, and the binding ends the pending call.
#include "binding/binding.h"

extern "C" std::int32_t __stdcall reportMissingService(ServiceId, const char*) { return 0; }

extern "C" void __stdcall pickNullReturn(ServiceId, ServiceSlot* slot) { *slot = nullptr; }
