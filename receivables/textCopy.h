#pragma once
#include <cstddef>

// Copies a terminated text into a field of width + 1 bytes, cut to width
// characters: host texts may be longer than the field, or lack a terminator.
inline void copyTextCut(char* field, const char* text, std::size_t width) {
    std::size_t length = 0;
    while (length < width && text[length]) {
        field[length] = text[length];
        ++length;
    }
    field[length] = '\0';
}
