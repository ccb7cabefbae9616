// Output of the simulator: UTF-8 text to standard output or error, written as
// wide characters when the stream is a console, as bytes otherwise.
#pragma once
#include <string>
#include <string_view>

void writeOut(std::string_view utf8);
void writeErr(std::string_view utf8);
// One line on standard error, prefixed "vantreo-sim: ".
void complain(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string formatted(const char* format, ...) __attribute__((format(printf, 1, 2)));
