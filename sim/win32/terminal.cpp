#include "sim/win32/terminal.h"

#include <windows.h>

#include <vector>

namespace {

HANDLE input, output;
DWORD savedInputMode, savedOutputMode;
CONSOLE_CURSOR_INFO savedCursor;

// Colours of the host's screen, by role: a blue desktop, grey windows,
// cyan lists with a white-on-blue selection, green buttons with yellow keys.
constexpr WORD fg(WORD c) { return c; }
constexpr WORD bg(WORD c) { return static_cast<WORD>(c << 4); }
constexpr WORD black = 0, blue = 1, green = 2, cyan = 3, red = 4, brown = 6, grey = 7, bright = 8;
constexpr WORD white = grey | bright, yellow = brown | bright;

WORD attributesOf(sim::Paint paint) {
    switch (paint) {
    case sim::Paint::desktop: return fg(grey) | bg(blue);
    case sim::Paint::bar: return fg(black) | bg(cyan);
    case sim::Paint::window: return fg(black) | bg(grey);
    case sim::Paint::frame: return fg(white) | bg(grey);
    case sim::Paint::title: return fg(white) | bg(red);
    case sim::Paint::text: return fg(black) | bg(grey);
    case sim::Paint::heading: return fg(blue) | bg(grey);
    case sim::Paint::field: return fg(white) | bg(black);
    case sim::Paint::list: return fg(black) | bg(cyan);
    case sim::Paint::selection: return fg(white) | bg(blue);
    case sim::Paint::button: return fg(black) | bg(green);
    case sim::Paint::keyLabel: return fg(yellow) | bg(green);
    case sim::Paint::highlight: return fg(white) | bg(grey);
    case sim::Paint::shadow: return fg(grey) | bg(black);
    }
    return fg(grey) | bg(black);
}

struct KeyCode {
    WORD virtualKey;
    std::uint16_t pcCode;
};
// Keys without a character, and those whose character the host does not use.
constexpr KeyCode specialKeys[] = {
    {VK_ESCAPE, 0x011B}, {VK_RETURN, 0x1C0D}, {VK_TAB, 0x0F09},  {VK_BACK, 0x0E08},
    {VK_UP, 0x4800},     {VK_DOWN, 0x5000},   {VK_LEFT, 0x4B00}, {VK_RIGHT, 0x4D00},
    {VK_PRIOR, 0x4900},  {VK_NEXT, 0x5100},   {VK_HOME, 0x4700}, {VK_END, 0x4F00},
    {VK_INSERT, 0x5200}, {VK_DELETE, 0x5300}, {VK_F1, 0x3B00},   {VK_F2, 0x3C00},
    {VK_F3, 0x3D00},     {VK_F4, 0x3E00},     {VK_F5, 0x3F00},   {VK_F6, 0x4000},
    {VK_F7, 0x4100},     {VK_F8, 0x4200},     {VK_F9, 0x4300},   {VK_F10, 0x4400},
};

std::uint16_t pcCodeOf(const KEY_EVENT_RECORD& key) {
    for (const KeyCode& k : specialKeys)
        if (k.virtualKey == key.wVirtualKeyCode) return k.pcCode;
    wchar_t ch = key.uChar.UnicodeChar;
    if (ch == 0 || ch >= 0x80) return 0;
    UINT scan = key.wVirtualScanCode ? key.wVirtualScanCode : MapVirtualKeyW(key.wVirtualKeyCode, MAPVK_VK_TO_VSC);
    return static_cast<std::uint16_t>((scan & 0xFF) << 8 | ch);
}

}  // namespace

bool openTerminal() {
    input = GetStdHandle(STD_INPUT_HANDLE);
    output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (!GetConsoleMode(input, &savedInputMode) || !GetConsoleMode(output, &savedOutputMode)) return false;
    GetConsoleCursorInfo(output, &savedCursor);
    SetConsoleMode(input, ENABLE_EXTENDED_FLAGS);
    CONSOLE_CURSOR_INFO hidden{savedCursor.dwSize ? savedCursor.dwSize : 25, FALSE};
    SetConsoleCursorInfo(output, &hidden);
    return true;
}

void closeTerminal() {
    sim::Screen blank = blankTerminalScreen();
    for (sim::Cell& cell : blank.cells) cell.paint = sim::Paint::shadow;  // the console's grey on black
    presentScreen(blank);
    SetConsoleCursorPosition(output, COORD{0, 0});
    SetConsoleCursorInfo(output, &savedCursor);
    SetConsoleMode(input, savedInputMode);
}

sim::Screen blankTerminalScreen() {
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(output, &info)) return sim::makeScreen(80, 25);
    return sim::makeScreen(info.srWindow.Right - info.srWindow.Left + 1, info.srWindow.Bottom - info.srWindow.Top + 1);
}

void presentScreen(const sim::Screen& screen) {
    CONSOLE_SCREEN_BUFFER_INFO info;
    SHORT left = 0, top = 0;
    if (GetConsoleScreenBufferInfo(output, &info)) {
        left = info.srWindow.Left;
        top = info.srWindow.Top;
    }
    std::vector<CHAR_INFO> cells(screen.cells.size());
    for (std::size_t i = 0; i < cells.size(); ++i) {
        char32_t ch = screen.cells[i].ch;
        // The console holds UTF-16 units; everything the host draws is in the BMP.
        cells[i].Char.UnicodeChar = ch < 0x10000 ? static_cast<WCHAR>(ch) : L'?';
        cells[i].Attributes = attributesOf(screen.cells[i].paint);
    }
    SMALL_RECT area{left, top, static_cast<SHORT>(left + screen.width - 1), static_cast<SHORT>(top + screen.height - 1)};
    WriteConsoleOutputW(output, cells.data(), COORD{static_cast<SHORT>(screen.width), static_cast<SHORT>(screen.height)},
                        COORD{0, 0}, &area);
}

std::uint16_t readTerminalKey() {
    // A terminal sends Esc and a key typed right after it as one sequence,
    // which reads as Alt and the key; the host has no Alt keys, so it takes
    // them apart again.
    static std::uint16_t afterEscape;
    if (std::uint16_t pending = afterEscape) {
        afterEscape = 0;
        return pending;
    }
    for (;;) {
        INPUT_RECORD record;
        DWORD got = 0;
        if (!ReadConsoleInputW(input, &record, 1, &got) || got == 0) return 0x011B;  // no console: leave
        if (record.EventType != KEY_EVENT || !record.Event.KeyEvent.bKeyDown) continue;
        const KEY_EVENT_RECORD& key = record.Event.KeyEvent;
        std::uint16_t code = pcCodeOf(key);
        if (!code) continue;
        if (key.dwControlKeyState & (LEFT_ALT_PRESSED | RIGHT_ALT_PRESSED)) {
            afterEscape = code;
            return 0x011B;
        }
        return code;
    }
}
