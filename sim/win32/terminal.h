// The console the interactive host runs in: the whole screen written from a
// sim::Screen, and keys read as PC keyboard codes. Under Wine in a Unix
// terminal the console is Wine's own, which turns both into the terminal's
// escape sequences.
#pragma once
#include <cstdint>

#include "sim/core/screen.h"

// Takes the console over: no echo, no line input, cursor hidden. False when
// standard input or output is no console.
bool openTerminal();
// Gives the console back, cleared, with the cursor shown.
void closeTerminal();
// The visible window's size in columns and lines.
sim::Screen blankTerminalScreen();
void presentScreen(const sim::Screen& screen);
// Waits for a key press; modifier keys alone and keys the host does not know
// are skipped.
std::uint16_t readTerminalKey();
