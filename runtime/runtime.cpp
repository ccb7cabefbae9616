// Minimal C runtime for a freestanding DLL. Built with -ffreestanding and
// -fno-builtin so that the compiler does not turn these loops back into calls
// of the functions they implement.
#include "runtime/runtime.h"

#include <cerrno>
#include <clocale>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace {

HANDLE runtimeHeap;
bool started;

using ExitRoutine = void (*)();
constexpr int maxExitRoutines = 32;
ExitRoutine exitRoutines[maxExitRoutines];
int exitRoutineCount;

int errnoCell;

HANDLE heap() {
    // The formatter may allocate before the load call starts the runtime (a
    // delay-load failure box, say), so the heap comes into being on first use.
    if (!runtimeHeap) runtimeHeap = HeapCreate(0, 0x10000, 0);
    return runtimeHeap;
}

}  // namespace

// The linker script places these around the .ctors sections: a -1 marker,
// the constructors, a terminating 0.
extern "C" void (*__CTOR_LIST__[])();

bool runtimeStarted() { return started; }

BOOL runtimeModuleRoutine(HMODULE, DWORD reason, void*) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        if (started) return TRUE;  // a repeated start keeps the running runtime
        heap();
        started = true;
        {
            // Count, then run in reverse order of the list, as GCC's own
            // __do_global_ctors does.
            std::size_t count = 0;
            while (__CTOR_LIST__[count + 1]) ++count;
            for (std::size_t i = count; i >= 1; --i) __CTOR_LIST__[i]();
        }
        return TRUE;
    case DLL_PROCESS_DETACH:
        if (!started) return FALSE;
        while (exitRoutineCount > 0) exitRoutines[--exitRoutineCount]();
        if (runtimeHeap) HeapDestroy(runtimeHeap);
        runtimeHeap = nullptr;
        started = false;
        return TRUE;
    default:
        return TRUE;
    }
}

extern "C" {

int atexit(void (*routine)()) {
    if (exitRoutineCount == maxExitRoutines) return -1;
    exitRoutines[exitRoutineCount++] = routine;
    return 0;
}

int* _errno() { return &errnoCell; }

void* malloc(std::size_t size) { return HeapAlloc(heap(), 0, size ? size : 1); }

void free(void* block) {
    if (block && runtimeHeap) HeapFree(runtimeHeap, 0, block);
}

void* calloc(std::size_t count, std::size_t size) {
    if (size && count > SIZE_MAX / size) return nullptr;
    std::size_t bytes = count * size;
    return HeapAlloc(heap(), HEAP_ZERO_MEMORY, bytes ? bytes : 1);
}

void* realloc(void* block, std::size_t size) {
    if (!block) return malloc(size);
    if (!size) {
        free(block);
        return nullptr;
    }
    return HeapReAlloc(heap(), 0, block, size);
}

void* memcpy(void* destination, const void* source, std::size_t count) {
    auto* d = static_cast<unsigned char*>(destination);
    auto* s = static_cast<const unsigned char*>(source);
    while (count--) *d++ = *s++;
    return destination;
}

void* memmove(void* destination, const void* source, std::size_t count) {
    auto* d = static_cast<unsigned char*>(destination);
    auto* s = static_cast<const unsigned char*>(source);
    if (d < s) {
        while (count--) *d++ = *s++;
    } else {
        while (count--) d[count] = s[count];
    }
    return destination;
}

void* memset(void* destination, int value, std::size_t count) {
    auto* d = static_cast<unsigned char*>(destination);
    while (count--) *d++ = static_cast<unsigned char>(value);
    return destination;
}

int memcmp(const void* a, const void* b, std::size_t count) {
    auto* x = static_cast<const unsigned char*>(a);
    auto* y = static_cast<const unsigned char*>(b);
    for (; count; --count, ++x, ++y)
        if (*x != *y) return *x < *y ? -1 : 1;
    return 0;
}

std::size_t strlen(const char* text) {
    const char* end = text;
    while (*end) ++end;
    return static_cast<std::size_t>(end - text);
}

std::size_t strnlen(const char* text, std::size_t limit) {
    std::size_t length = 0;
    while (length < limit && text[length]) ++length;
    return length;
}

int strcmp(const char* a, const char* b) {
    while (*a && *a == *b) ++a, ++b;
    return static_cast<unsigned char>(*a) - static_cast<unsigned char>(*b);
}

char* strcpy(char* destination, const char* source) {
    char* d = destination;
    while ((*d++ = *source++)) {
    }
    return destination;
}

std::size_t wcslen(const wchar_t* text) {
    const wchar_t* end = text;
    while (*end) ++end;
    return static_cast<std::size_t>(end - text);
}

char* strerror(int) { return const_cast<char*>("error"); }

struct lconv* localeconv() {
    static char point[] = ".";
    static char empty[] = "";
    static struct lconv c = {};
    c.decimal_point = point;
    c.thousands_sep = empty;
    c.grouping = empty;
    return &c;
}

// The plug-in formats single-byte texts only: one byte is one character.
std::size_t mbrtowc(wchar_t* wide, const char* text, std::size_t count, mbstate_t*) {
    if (!text) return 0;
    if (!count) return static_cast<std::size_t>(-2);
    if (wide) *wide = static_cast<unsigned char>(*text);
    return *text ? 1 : 0;
}

std::size_t wcrtomb(char* text, wchar_t wide, mbstate_t*) {
    if (!text) return 1;
    if (wide > 0xFF) {
        errnoCell = EILSEQ;
        return static_cast<std::size_t>(-1);
    }
    *text = static_cast<char>(wide);
    return 1;
}

// The formatter's stream output is never used: the plug-in prints nothing.
int fputc(int character, FILE*) { return character; }

void abort() { RaiseException(0xE04B0001u, EXCEPTION_NONCONTINUABLE, 0, nullptr); for (;;) {} }

}  // extern "C"
