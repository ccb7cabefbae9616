// How the host draws a dialog from its description: the frame with the
// title, text controls, fields, the list with its selection and scrolling,
// and buttons with their key labels. Columns and lines count from the frame's
// top left corner; a dialog placed at column 0, line 0 is centred.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "sim/core/dialogDescription.h"
#include "sim/core/listState.h"
#include "sim/core/screen.h"

namespace sim {

// The text of a row, asked when the row comes into view (Mazovia).
using RowSource = std::function<std::string(int row)>;

Rect placeDialog(const Screen& screen, const DialogRecord& dialog);
// The first list control, or null.
const DialogRecord* listControl(const DialogDescription& description);
// The control that a key presses, or null.
const DialogRecord* controlForKey(const DialogDescription& description, std::uint16_t key);

// A Mazovia text with markup from column x, cut after maxWidth columns.
void putMarkedText(Screen& screen, int x, int y, std::string_view mazovia, Paint normal, int maxWidth);

void drawDialog(Screen& screen, const DialogDescription& description, const ListState& list,
                const RowSource& rows);

}  // namespace sim
