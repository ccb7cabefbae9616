// The plug-in's own bounded formatter: the toolchain's static printf in the
// DLL (correct rounding of doubles, no C runtime DLL), the C library natively.
#pragma once
#include <cstdarg>
#include <cstddef>
#include <cstdio>

#if defined(_WIN32) && defined(__i386__)
extern "C" int __mingw_vsnprintf(char* buffer, std::size_t size, const char* format, va_list);
#define KORV_VSNPRINTF __mingw_vsnprintf
#else
#define KORV_VSNPRINTF std::vsnprintf
#endif

// Writes at most size bytes including the terminator; cuts what does not fit.
inline int formatText(char* buffer, std::size_t size, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    int length = KORV_VSNPRINTF(buffer, size, format, arguments);
    va_end(arguments);
    return length;
}
