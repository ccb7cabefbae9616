#include "sim/core/screen.h"

#include <algorithm>

#include "sim/core/codepage.h"

namespace sim {

Screen makeScreen(int width, int height) {
    Screen screen{std::max(width, 0), std::max(height, 0), {}};
    screen.cells.resize(static_cast<std::size_t>(screen.width) * screen.height);
    return screen;
}

void putCell(Screen& screen, int x, int y, char32_t ch, Paint paint) {
    if (x < 0 || y < 0 || x >= screen.width || y >= screen.height) return;
    screen.cells[static_cast<std::size_t>(y) * screen.width + x] = {ch, paint};
}

int putText(Screen& screen, int x, int y, std::u32string_view text, Paint paint, int maxWidth) {
    int n = std::min(static_cast<int>(text.size()), std::max(maxWidth, 0));
    for (int i = 0; i < n; ++i) putCell(screen, x + i, y, text[i], paint);
    return n;
}

void fillRect(Screen& screen, Rect area, Paint paint, char32_t ch) {
    for (int y = area.y; y < area.y + area.height; ++y)
        for (int x = area.x; x < area.x + area.width; ++x) putCell(screen, x, y, ch, paint);
}

void drawFrame(Screen& screen, Rect a, Paint paint, std::u32string_view title, Paint titlePaint) {
    if (a.width < 2 || a.height < 2) return;
    int right = a.x + a.width - 1, bottom = a.y + a.height - 1;
    for (int x = a.x + 1; x < right; ++x) {
        putCell(screen, x, a.y, U'─', paint);
        putCell(screen, x, bottom, U'─', paint);
    }
    for (int y = a.y + 1; y < bottom; ++y) {
        putCell(screen, a.x, y, U'│', paint);
        putCell(screen, right, y, U'│', paint);
    }
    putCell(screen, a.x, a.y, U'┌', paint);
    putCell(screen, right, a.y, U'┐', paint);
    putCell(screen, a.x, bottom, U'└', paint);
    putCell(screen, right, bottom, U'┘', paint);
    if (title.empty()) return;
    // One blank either side of the title, inside the corners.
    int room = a.width - 4;
    int shown = std::min(static_cast<int>(title.size()), room);
    if (shown <= 0) return;
    int start = a.x + (a.width - shown - 2) / 2;
    putCell(screen, start, a.y, U' ', titlePaint);
    putText(screen, start + 1, a.y, title, titlePaint, shown);
    putCell(screen, start + 1 + shown, a.y, U' ', titlePaint);
}

void drawShadow(Screen& screen, Rect a) {
    auto darken = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= screen.width || y >= screen.height) return;
        screen.cells[static_cast<std::size_t>(y) * screen.width + x].paint = Paint::shadow;
    };
    for (int y = a.y + 1; y <= a.y + a.height; ++y) {
        darken(a.x + a.width, y);
        darken(a.x + a.width + 1, y);
    }
    for (int x = a.x + 2; x < a.x + a.width; ++x) darken(x, a.y + a.height);
}

Rect centredRect(const Screen& screen, int width, int height) {
    return {std::max((screen.width - width) / 2, 0), std::max((screen.height - height) / 2, 0), width, height};
}

std::u32string fromUtf8(std::string_view utf8) {
    std::u32string text;
    for (std::size_t i = 0; i < utf8.size();) {
        auto b = static_cast<unsigned char>(utf8[i]);
        int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
        char32_t c = extra == 0 ? b : extra == 1 ? b & 0x1F : extra == 2 ? b & 0x0F : b & 0x07;
        bool good = extra >= 0 && i + extra < utf8.size();
        for (int k = 1; good && k <= extra; ++k) {
            auto next = static_cast<unsigned char>(utf8[i + k]);
            good = (next & 0xC0) == 0x80;
            c = c << 6 | (next & 0x3F);
        }
        text += good ? c : U'\uFFFD';
        i += good ? extra + 1 : 1;
    }
    return text;
}

std::string screenLine(const Screen& screen, int y) {
    std::string line;
    if (y < 0 || y >= screen.height) return line;
    for (int x = 0; x < screen.width; ++x)
        appendUtf8(line, screen.cells[static_cast<std::size_t>(y) * screen.width + x].ch);
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

}  // namespace sim
