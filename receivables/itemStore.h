// The item store: one array of invoice items in a block from the host's
// allocator, grown 100 records at a time.
#pragma once
#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
// One overdue-invoice candidate. Mirrors nothing of the host: the plug-in's own
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
// Grows the block when it is full. Returns false when the store cannot hold
// another record (allocation failed, or the 16-bit capacity is exhausted);
// items is null after a failed allocation.
bool makeRoomForItem();
// Frees the block, if any; itemCount and itemCapacity keep their values.
void releaseItems();
