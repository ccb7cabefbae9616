// Lookups for the settlement: the positions of the collected items ordered by
// counterparty and settlement key, and by counterparty alone. Positions ascend
// within each group, so walking a group visits its items in array order.
//
// The index lives in two fixed arrays of 16-bit positions, sized for the
// store's limit of 32,700 items (64 KiB each): the plug-in allocates no block
// of its own beyond the item store's, and the index never fails.
#pragma once
#include <cstdint>

#include "receivables/itemStore.h"

struct ItemRange {
    const std::int16_t* first;
    const std::int16_t* last;
};

// The key by which settlement slots name an item.
inline std::int16_t settlementKey(const InvoiceItem& item) {
    return static_cast<std::int16_t>(item.documentId & 0xFFFFu);
}

// Indexes items 0 to itemCount - 1 as they stand now.
void buildSettlementIndex();
// The counterparty's items with the given key, in array order.
ItemRange itemsWithKey(std::int16_t counterpartyNumber, std::int16_t key);
// All of the counterparty's items, in array order.
ItemRange itemsOfCounterparty(std::int16_t counterpartyNumber);
