// The host's message box: a caption, lines of text and a row of buttons.
// A question (style 0x30009) has the buttons Tak and Nie; every other style
// has one button, OK.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/core/screen.h"

namespace sim {

inline constexpr std::int32_t answerTak = 0x5001;  // also OK
inline constexpr std::int32_t answerNie = 0x5002;

struct MessageBoxButton {
    std::u32string label;  // its first letter is its key
    std::int32_t answer;
};

struct MessageBoxView {
    std::string caption;             // Mazovia
    std::vector<std::string> lines;  // Mazovia, markup kept
    std::vector<MessageBoxButton> buttons;
};

MessageBoxView messageBoxView(const char* caption, const char* text, std::uint32_t style);
// The answer a key gives: Enter or the first button's letter the first
// button, Esc or the second button's letter the second (the only button
// when there is one).
std::optional<std::int32_t> messageBoxAnswer(const MessageBoxView& box, std::uint16_t key);
void drawMessageBox(Screen& screen, const MessageBoxView& box);

}  // namespace sim
