// The call transcript: one line per host service call, callback request,
// event and plug-in entry call, for tests and for plug-in developers
// (--transcript FILE). Texts appear quoted, converted to UTF-8.
#pragma once
#include <cstdint>
#include <string>

#include "sim/core/codepage.h"

bool openTranscript(const char* path);
void closeTranscript();
void transcript(const char* format, ...) __attribute__((format(printf, 1, 2)));
// A text as a quoted UTF-8 literal ("null" for a null pointer); control
// bytes appear as \n or \xNN. Texts are in Mazovia unless decode says else.
std::string quoted(const char* text, char32_t (*decode)(unsigned char) = sim::mazoviaToUnicode);
std::string hexPointer(const void* p);
