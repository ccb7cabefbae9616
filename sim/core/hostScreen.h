// The host's own screens around the plug-in: the counterparty list it opens
// with, and a counterparty's documents. Drawn from tables 35 and 36 as the
// host keeps them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "sim/core/listState.h"
#include "sim/core/screen.h"
#include "sim/core/tables.h"

namespace sim {

// The lines the host's bars hold: the top bar's left and right ends, the
// bottom bar's left and right ends (UTF-8).
struct HostBars {
    std::string title;
    std::string date;
    std::string keys;
    std::string state;
};

// Lines of a list window on a screen of this height: all but the two bars,
// the window's frame and its head line.
int hostListRows(const Screen& screen);

void drawHostBars(Screen& screen, const HostBars& bars);
void drawCounterpartyList(Screen& screen, const HostTables& tables, const ListState& list);
// The counterparty's document file, or an empty one.
const std::vector<Record>& documentsOf(const HostTables& tables, std::int16_t number);
std::int16_t counterpartyNumberAt(const HostTables& tables, int index);
void drawDocumentList(Screen& screen, const HostTables& tables, std::int16_t number, const ListState& list);

}  // namespace sim
