#include "sim/win32/console.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>

namespace {

void writeTo(DWORD which, std::string_view utf8) {
    HANDLE h = GetStdHandle(which);
    if (!h || h == INVALID_HANDLE_VALUE || utf8.empty()) return;
    DWORD mode, written;
    if (GetConsoleMode(h, &mode)) {
        int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(n), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
        WriteConsoleW(h, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
        WriteFile(h, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    }
}

std::string vformatted(const char* format, va_list arguments) {
    va_list copy;
    va_copy(copy, arguments);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, arguments);
    return text;
}

}  // namespace

void writeOut(std::string_view utf8) { writeTo(STD_OUTPUT_HANDLE, utf8); }
void writeErr(std::string_view utf8) { writeTo(STD_ERROR_HANDLE, utf8); }

std::string formatted(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::string text = vformatted(format, arguments);
    va_end(arguments);
    return text;
}

void complain(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::string text = "vantreo-sim: " + vformatted(format, arguments) + "\n";
    va_end(arguments);
    writeErr(text);
}
