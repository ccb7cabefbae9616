// The host's text screen as a grid of character cells, each with a paint
// (a role; the console front end maps roles to colours). Everything the
// interactive host shows is drawn here first, so drawing can be tested
// without a console.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

enum class Paint : std::uint8_t {
    desktop, bar, window, frame, title, text, heading, field, list, selection,
    button, keyLabel, highlight, shadow,
};

struct Cell {
    char32_t ch = U' ';
    Paint paint = Paint::desktop;
};

struct Screen {
    int width = 0;
    int height = 0;
    std::vector<Cell> cells;  // row by row
};

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
};

Screen makeScreen(int width, int height);
// Cells outside the screen are left alone: windows larger than the console
// are cut, not wrapped.
void putCell(Screen& screen, int x, int y, char32_t ch, Paint paint);
// Writes at most maxWidth characters; returns how many it wrote.
int putText(Screen& screen, int x, int y, std::u32string_view text, Paint paint, int maxWidth = 1 << 20);
void fillRect(Screen& screen, Rect area, Paint paint, char32_t ch = U' ');
// A single-line frame around area with its title centred in the top line.
void drawFrame(Screen& screen, Rect area, Paint paint, std::u32string_view title = {},
               Paint titlePaint = Paint::title);
// A shadow to the right and below a window, as text-mode hosts draw it.
void drawShadow(Screen& screen, Rect area);
// A window of this size in the middle of the screen.
Rect centredRect(const Screen& screen, int width, int height);

// UTF-8 text as code points; a malformed byte becomes U+FFFD.
std::u32string fromUtf8(std::string_view utf8);

// One line of the screen as UTF-8, trailing blanks removed (for tests).
std::string screenLine(const Screen& screen, int y);

}  // namespace sim
