// A host list's selection and scrolling: which row is selected and which row
// is the first one in view.
#pragma once
#include <cstdint>

namespace sim {

struct ListState {
    int count = 0;
    int selected = 0;
    int top = 0;
};

// Applies a movement key (up, down, page up and down, home, end); returns
// false for any other key. The selection stays inside the rows and in view.
bool moveSelection(ListState& list, std::uint16_t key, int visibleRows);
// Brings the state back inside count rows, e.g. after the count changed.
void clampList(ListState& list, int visibleRows);

}  // namespace sim
