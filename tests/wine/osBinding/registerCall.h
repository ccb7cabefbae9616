// Calls through a routine with patterned registers; see registerCall.S.
#pragma once
#include <cstddef>
#include <cstdint>

struct __attribute__((packed, aligned(4))) RegisterCall {
    const void* target;
    std::uint32_t count;
    std::uint32_t args[14];
    std::uint32_t popDouble;  // nonzero: the answer is on the x87 stack
    std::uint32_t eax, ebx, ecx, edx, esi, edi, ebp;
    std::uint32_t espBefore, espAfter;
    std::uint16_t fpuBefore, fpuAfter;
    double resultDouble;
};
static_assert(offsetof(RegisterCall, popDouble) == 64);
static_assert(offsetof(RegisterCall, eax) == 68);
static_assert(offsetof(RegisterCall, espBefore) == 96);
static_assert(offsetof(RegisterCall, fpuBefore) == 104);
static_assert(offsetof(RegisterCall, resultDouble) == 108);

inline constexpr std::uint32_t patternEbx = 0xB0B0B0B0, patternEcx = 0xC1C1C1C1,
                               patternEdx = 0xD2D2D2D2, patternEsi = 0x51515151,
                               patternEdi = 0xD1D1D1D1, patternEbp = 0xBEBEBEBE;

extern "C" {
void callPatterned(RegisterCall* call);
// 0, or the code of an exception raised inside routine.
std::uint32_t runCatching(void (*routine)(void*), void* argument);
}

// The registers other than EAX that differ from their patterns, e.g. "ECX EDX".
const char* clobbered(const RegisterCall& call);
// The x87 stack depth change (TOP field of the status word) across the call.
int fpuDepthChange(const RegisterCall& call);
