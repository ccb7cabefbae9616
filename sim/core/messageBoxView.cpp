#include "sim/core/messageBoxView.h"

#include <algorithm>
#include <cwctype>

#include "sim/core/dialogView.h"
#include "sim/core/keys.h"
#include "sim/core/markup.h"

namespace sim {
namespace {

constexpr std::uint32_t questionStyle = 0x30009;
constexpr int buttonWidth = 8;
constexpr int buttonGap = 3;

int buttonsWidth(const MessageBoxView& box) {
    int n = static_cast<int>(box.buttons.size());
    return n * buttonWidth + (n - 1) * buttonGap;
}

}  // namespace

MessageBoxView messageBoxView(const char* caption, const char* text, std::uint32_t style) {
    MessageBoxView box;
    box.caption = caption ? caption : "";
    std::string all = text ? text : "";
    std::size_t at = 0;
    for (;;) {
        std::size_t newline = all.find('\n', at);
        box.lines.push_back(all.substr(at, newline == std::string::npos ? std::string::npos : newline - at));
        if (newline == std::string::npos) break;
        at = newline + 1;
    }
    if (style == questionStyle) box.buttons = {{U"Tak", answerTak}, {U"Nie", answerNie}};
    else box.buttons = {{U"OK", answerTak}};
    return box;
}

std::optional<std::int32_t> messageBoxAnswer(const MessageBoxView& box, std::uint16_t key) {
    const MessageBoxButton& first = box.buttons.front();
    const MessageBoxButton& last = box.buttons.back();
    if (key == pcKey::enter) return first.answer;
    if (key == pcKey::escape) return last.answer;
    char c = pcKey::character(key);
    for (const MessageBoxButton& button : box.buttons)
        if (c && static_cast<char32_t>(c) == std::towlower(static_cast<wint_t>(button.label[0])))
            return button.answer;
    return std::nullopt;
}

void drawMessageBox(Screen& screen, const MessageBoxView& box) {
    int textWidth = 0;
    for (const std::string& line : box.lines)
        textWidth = std::max(textWidth, static_cast<int>(plainText(line).size()));
    textWidth = std::max({textWidth, buttonsWidth(box), static_cast<int>(plainText(box.caption).size()) + 2});
    int width = std::min(textWidth + 6, std::max(screen.width - 2, 10));
    int height = static_cast<int>(box.lines.size()) + 6;
    Rect frame = centredRect(screen, width, height);
    fillRect(screen, frame, Paint::window);
    drawShadow(screen, frame);
    drawFrame(screen, frame, Paint::frame, plainText(box.caption));
    for (std::size_t i = 0; i < box.lines.size(); ++i) {
        int lineWidth = static_cast<int>(plainText(box.lines[i]).size());
        int x = frame.x + std::max((width - lineWidth) / 2, 2);
        putMarkedText(screen, x, frame.y + 2 + static_cast<int>(i), box.lines[i], Paint::text, width - 4);
    }
    int x = frame.x + (width - buttonsWidth(box)) / 2;
    int y = frame.y + height - 3;
    for (const MessageBoxButton& button : box.buttons) {
        fillRect(screen, {x, y, buttonWidth, 1}, Paint::button);
        int start = x + (buttonWidth - static_cast<int>(button.label.size())) / 2;
        putCell(screen, start, y, button.label[0], Paint::keyLabel);
        putText(screen, start + 1, y, std::u32string_view(button.label).substr(1), Paint::button);
        x += buttonWidth + buttonGap;
    }
}

}  // namespace sim
