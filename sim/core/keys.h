// Keys as the host knows them: PC keyboard codes, the scan code in the high
// byte and the character in the low byte (F5 is 0x3F00, Enter 0x1C0D). The
// host fires each key it reads as an event with this code, and dialog
// descriptions name their keys the same way.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sim::pcKey {

inline constexpr std::uint16_t escape = 0x011B;
inline constexpr std::uint16_t tab = 0x0F09;
inline constexpr std::uint16_t enter = 0x1C0D;
inline constexpr std::uint16_t f1 = 0x3B00;  // F1 to F10 follow one scan code apart
inline constexpr std::uint16_t f5 = 0x3F00;
inline constexpr std::uint16_t f10 = 0x4400;
inline constexpr std::uint16_t home = 0x4700;
inline constexpr std::uint16_t up = 0x4800;
inline constexpr std::uint16_t pageUp = 0x4900;
inline constexpr std::uint16_t left = 0x4B00;
inline constexpr std::uint16_t right = 0x4D00;
inline constexpr std::uint16_t end = 0x4F00;
inline constexpr std::uint16_t down = 0x5000;
inline constexpr std::uint16_t pageDown = 0x5100;

// The character of a key, folded to lower case for letters; 0 for none.
char character(std::uint16_t code);

// "down", "f5", "esc", "enter", "pgdn", a single character such as "t", or a
// number (0x3F00); nothing for an unknown name.
std::optional<std::uint16_t> fromName(std::string_view name);
// The name fromName reads back, or the code in hexadecimal.
std::string nameOf(std::uint16_t code);

}  // namespace sim::pcKey
