// Mazovia code page (the host's text encoding): code page 437 with the Polish
// letters at their Mazovia positions. Conversions to and from Unicode.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sim {

// The Unicode code point of a Mazovia byte (0x00-0x1F and 0x7F map to themselves).
char32_t mazoviaToUnicode(unsigned char byte);
// The Mazovia byte of a code point, if the code page has it.
std::optional<unsigned char> unicodeToMazovia(char32_t codePoint);

std::string mazoviaToUtf8(std::string_view mazovia);
// Empty optional when the text is not valid UTF-8 or has a character the code
// page lacks; *badOffset then tells the byte offset of the first such character.
std::optional<std::string> utf8ToMazovia(std::string_view utf8, std::size_t* badOffset = nullptr);

// Windows-1250, the ANSI code page of the operating system's message boxes.
std::optional<unsigned char> unicodeToWindows1250(char32_t codePoint);
char32_t windows1250ToUnicode(unsigned char byte);
std::string windows1250ToUtf8(std::string_view text);
// Mazovia to Windows-1250, byte for byte; a character without a place becomes '?'.
std::string mazoviaToWindows1250(std::string_view mazovia);

// Encodes one code point as UTF-8.
void appendUtf8(std::string& out, char32_t codePoint);

}  // namespace sim
