#include "receivables/settlementIndex.h"

#include <cstdlib>

namespace {

std::int16_t byKey[itemCapacityLimit];
std::int16_t byCounterparty[itemCapacityLimit];
std::int16_t indexedCount;

int compareValues(int a, int b) { return (a > b) - (a < b); }

// Items compare by counterparty, then (for byKey) by key, then by position.
int compareGroups(const InvoiceItem& item, std::int16_t number, std::int16_t key, bool withKey) {
    int c = compareValues(item.counterpartyNumber, number);
    if (c == 0 && withKey) c = compareValues(settlementKey(item), key);
    return c;
}

int compareByCounterparty(const void* first, const void* second) {
    std::int16_t a = *static_cast<const std::int16_t*>(first);
    std::int16_t b = *static_cast<const std::int16_t*>(second);
    if (int c = compareGroups(items[a], items[b].counterpartyNumber, 0, false)) return c;
    return compareValues(a, b);
}

int compareByKey(const void* first, const void* second) {
    std::int16_t a = *static_cast<const std::int16_t*>(first);
    std::int16_t b = *static_cast<const std::int16_t*>(second);
    if (int c = compareGroups(items[a], items[b].counterpartyNumber, settlementKey(items[b]), true)) return c;
    return compareValues(a, b);
}

// The group (number, key) of `order`, found by binary search.
ItemRange findGroup(const std::int16_t* order, std::int16_t number, std::int16_t key, bool withKey) {
    int low = 0, high = indexedCount;
    while (low < high) {  // first entry not before the group
        int middle = (low + high) / 2;
        if (compareGroups(items[order[middle]], number, key, withKey) < 0)
            low = middle + 1;
        else
            high = middle;
    }
    int first = low;
    high = indexedCount;
    while (low < high) {  // first entry after the group
        int middle = (low + high) / 2;
        if (compareGroups(items[order[middle]], number, key, withKey) <= 0)
            low = middle + 1;
        else
            high = middle;
    }
    return {order + first, order + low};
}

}  // namespace

void buildSettlementIndex() {
    indexedCount = itemCount;
    for (std::int16_t i = 0; i < indexedCount; ++i) byKey[i] = byCounterparty[i] = i;
    std::qsort(byKey, static_cast<std::size_t>(indexedCount), sizeof(byKey[0]), compareByKey);
    std::qsort(byCounterparty, static_cast<std::size_t>(indexedCount), sizeof(byCounterparty[0]),
               compareByCounterparty);
}

ItemRange itemsWithKey(std::int16_t counterpartyNumber, std::int16_t key) {
    return findGroup(byKey, counterpartyNumber, key, true);
}

ItemRange itemsOfCounterparty(std::int16_t counterpartyNumber) {
    return findGroup(byCounterparty, counterpartyNumber, 0, false);
}
