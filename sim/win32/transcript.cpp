#include "sim/win32/transcript.h"

#include <cstdarg>
#include <cstdio>

#include "sim/core/codepage.h"

namespace {
std::FILE* transcriptFile;
}

bool openTranscript(const char* path) {
    closeTranscript();
    transcriptFile = std::fopen(path, "wb");
    return transcriptFile != nullptr;
}

void closeTranscript() {
    if (transcriptFile) std::fclose(transcriptFile);
    transcriptFile = nullptr;
}

void transcript(const char* format, ...) {
    if (!transcriptFile) return;
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(transcriptFile, format, arguments);
    va_end(arguments);
    std::fputc('\n', transcriptFile);
    std::fflush(transcriptFile);  // a fault later must not lose the lines before it
}

std::string quoted(const char* text, char32_t (*decode)(unsigned char)) {
    if (!text) return "null";
    std::string out = "\"";
    for (const char* c = text; *c; ++c) {
        auto b = static_cast<unsigned char>(*c);
        if (b == '\n') {
            out += "\\n";
        } else if (b == '"' || b == '\\') {
            out += '\\';
            out += static_cast<char>(b);
        } else if (b < 0x20 || b == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", b);
            out += hex;
        } else {
            sim::appendUtf8(out, decode(b));
        }
    }
    return out + "\"";
}

std::string hexPointer(const void* p) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(p)));
    return text;
}
