#include "sim/core/listState.h"

#include <algorithm>

#include "sim/core/keys.h"

namespace sim {

void clampList(ListState& list, int visibleRows) {
    int rows = std::max(visibleRows, 1);
    list.count = std::max(list.count, 0);
    list.selected = std::clamp(list.selected, 0, std::max(list.count - 1, 0));
    list.top = std::clamp(list.top, 0, std::max(list.count - rows, 0));
    if (list.selected < list.top) list.top = list.selected;
    if (list.selected >= list.top + rows) list.top = list.selected - rows + 1;
}

bool moveSelection(ListState& list, std::uint16_t key, int visibleRows) {
    int page = std::max(visibleRows - 1, 1);
    switch (key) {
    case pcKey::up: --list.selected; break;
    case pcKey::down: ++list.selected; break;
    case pcKey::pageUp: list.selected -= page; list.top -= page; break;
    case pcKey::pageDown: list.selected += page; list.top += page; break;
    case pcKey::home: list.selected = 0; break;
    case pcKey::end: list.selected = list.count - 1; break;
    default: return false;
    }
    clampList(list, visibleRows);
    return true;
}

}  // namespace sim
