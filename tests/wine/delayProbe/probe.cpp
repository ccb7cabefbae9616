// A module that uses the plug-in's delay-load hook and helper with delay
// imports of its own, so the tests reach branches that korvandilek.dll's fixed
// import list never takes (a name KERNEL32 lacks, USER32 and GDI32 functions
// a host may replace, a library name in another letter case).
#include "binding/binding.h"

extern "C" {
HostCallback hostCallback;  // set by the test, as the load call would
}
