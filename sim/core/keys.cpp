#include "sim/core/keys.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace sim::pcKey {
namespace {

struct Named {
    const char* name;
    std::uint16_t code;
};
constexpr Named named[] = {
    {"esc", escape}, {"tab", tab},   {"enter", enter}, {"home", home},     {"up", up},
    {"pgup", pageUp}, {"left", left}, {"right", right}, {"end", end},      {"down", down},
    {"pgdn", pageDown}, {"f1", f1},  {"f2", 0x3C00},   {"f3", 0x3D00},     {"f4", 0x3E00},
    {"f5", f5},       {"f6", 0x4000}, {"f7", 0x4100},  {"f8", 0x4200},     {"f9", 0x4300},
    {"f10", f10},
};

// Scan codes of the letters on a PC keyboard, a to z.
constexpr std::uint8_t letterScanCodes[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                              0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                              0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};

}  // namespace

char character(std::uint16_t code) {
    auto c = static_cast<unsigned char>(code & 0xFF);
    return c < 0x80 ? static_cast<char>(std::tolower(c)) : 0;
}

std::optional<std::uint16_t> fromName(std::string_view name) {
    std::string lower;
    for (char c : name) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const Named& n : named)
        if (lower == n.name) return n.code;
    if (name.size() == 1) {
        char c = name[0];
        if (std::isalpha(static_cast<unsigned char>(c))) {
            int i = std::tolower(static_cast<unsigned char>(c)) - 'a';
            return static_cast<std::uint16_t>(letterScanCodes[i] << 8 | static_cast<unsigned char>(c));
        }
        if (std::isprint(static_cast<unsigned char>(c))) return static_cast<std::uint16_t>(c);
    }
    if (!name.empty() && std::isdigit(static_cast<unsigned char>(name[0]))) {
        char* rest = nullptr;
        unsigned long value = std::strtoul(lower.c_str(), &rest, 0);
        if (*rest == '\0' && value <= 0xFFFF) return static_cast<std::uint16_t>(value);
    }
    return std::nullopt;
}

std::string nameOf(std::uint16_t code) {
    for (const Named& n : named)
        if (n.code == code) return n.name;
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", code);
    return text;
}

}  // namespace sim::pcKey
