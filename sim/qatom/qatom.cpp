// The simulator's QATOM.dll: the host's atomic exchange, which the plug-in's
// delay-load mechanism imports at load time.
#include <windows.h>

extern "C" LONG WINAPI qatomExchange(LONG volatile* target, LONG value) {
    return __atomic_exchange_n(target, value, __ATOMIC_SEQ_CST);
}
