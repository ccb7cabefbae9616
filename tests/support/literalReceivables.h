// The computation exactly as written down, step for step: every item and
// slot tested for every document, the host's date comparison first. Slow
// (4·n·m date comparisons) but obviously right, it is the oracle that the
// plug-in's indexed settlement is compared with, bit for bit.
#pragma once
#include <cstdint>

int literalSettleCounterparty(std::int16_t counterpartyNumber);
int literalFinishItems();
// The driver with the literal settlement and filter; collection is shared.
int literalBuildReceivables();
