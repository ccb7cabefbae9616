// Placeholder until the guard table exists: attach calls this first thing.
#include "binding/importGuards.h"

extern "C" void installImportGuards() {}
