// The item store: one array of invoice items in a block from the host's
// allocator, grown 100 records at a time.
#pragma once
#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
// One overdue-invoice candidate. Mirrors no host table: the plug-in's own
// record, packed to 69 bytes, filled from a counterparty record (table 35) and
// one of its document records (table 36).
struct InvoiceItem {
    char counterpartyName[21];        // NUL-terminated, at most 20 characters
    std::int16_t counterpartyNumber;
    std::uint32_t documentId;         // low 16 bits are the settlement key
    char documentNumber[17];          // NUL-terminated, at most 16 characters
    double amount;                    // paid minus document amount; negative while owed
    char date[9];                     // document date, then the due date
    std::int16_t viewKind;            // passed to showDocument
    std::uint32_t viewRef;            // passed to showDocument
    std::int16_t paymentDays;
};
#pragma pack(pop)

static_assert(sizeof(InvoiceItem) == 69, "the array's stride is 69 bytes");
static_assert(offsetof(InvoiceItem, counterpartyName) == 0);
static_assert(offsetof(InvoiceItem, counterpartyNumber) == 21);
static_assert(offsetof(InvoiceItem, documentId) == 23);
static_assert(offsetof(InvoiceItem, documentNumber) == 27);
static_assert(offsetof(InvoiceItem, amount) == 44);
static_assert(offsetof(InvoiceItem, date) == 52);
static_assert(offsetof(InvoiceItem, viewKind) == 61);
static_assert(offsetof(InvoiceItem, viewRef) == 63);
static_assert(offsetof(InvoiceItem, paymentDays) == 67);

inline constexpr std::int16_t itemGrowth = 100;
// The largest capacity that still fits the signed 16-bit field.
inline constexpr std::int16_t itemCapacityLimit = 32700;

extern InvoiceItem* items;
extern std::int16_t itemCount;
extern std::int16_t itemCapacity;

// itemCount and itemCapacity to 0; the block stays held for the next growth.
void resetItems();
// Grows the block by 100 records when it is full, unless the capacity is at
// its limit. Returns false when the store holds no block: memRealloc failed
// (now or before). A failed growth frees the old block, which the host's
// realloc leaves intact, so that nothing leaks; items is null afterwards.
bool makeRoomForItem();
// The record to fill next, or null when the store is full at its limit: a
// 32,701st record does not fit the signed 16-bit count.
InvoiceItem* nextFreeItem();
// Frees the block, if any; itemCount and itemCapacity keep their values.
void releaseItems();
