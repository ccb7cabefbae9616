#include "sim/win32/faultGuard.h"

namespace {

struct Registration {
    Registration* previous;
    void* handler;
    void* frameBase;
    GuardFault* fault;
};

}  // namespace

extern "C" void __cdecl guardUnwindTo(Registration* registration) __attribute__((noreturn));

extern "C" EXCEPTION_DISPOSITION __cdecl guardHandler(EXCEPTION_RECORD* record, void* frame,
                                                      CONTEXT*, void*) {
    if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND))
        return ExceptionContinueSearch;
    auto* registration = static_cast<Registration*>(frame);
    GuardFault* fault = registration->fault;
    fault->code = record->ExceptionCode;
    fault->flags = record->ExceptionFlags;
    fault->address = record->ExceptionAddress;
    fault->parameterCount = record->NumberParameters;
    for (DWORD i = 0; i < record->NumberParameters && i < EXCEPTION_MAXIMUM_PARAMETERS; ++i)
        fault->parameters[i] = record->ExceptionInformation[i];
    // Unlink every registration above ours, then continue after the call.
    RtlUnwind(frame, nullptr, record, nullptr);
    guardUnwindTo(registration);
}
