// The two host records the computation reads, as the host places them in the
// record buffer of its table handle. Only the fields read are named; the bytes
// between them belong to the host. Fields are read in place, never copied.
#pragma once
#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

// Host table 35: one counterparty.
struct CounterpartyRecord {
    unsigned char hostBytes0[19];
    char name[20];                    // blank-padded, not terminated: read through copyField
    unsigned char hostBytes1[250];
    double paidTotal;                 // units of 1/10000
    double dueTotal;                  // units of 1/10000
    unsigned char hostBytes2[653];
    std::int16_t number;              // names the counterparty's document file
};

// One settlement key: the two bytes after it are the host's and are not read.
struct SlotKey {
    std::int16_t key;                 // low 16 bits of the settled document's documentId
    unsigned char hostBytes[2];
};

// Host table 36: one document of a counterparty's document file.
struct DocumentRecord {
    unsigned char hostBytes0[303];
    char number[33];                  // NUL-terminated as the host delivers it
    char date[18];                    // stored date text, NUL-terminated
    double paidAmount;                // units of 1/10000
    double documentAmount;            // units of 1/10000
    unsigned char hostBytes1[10];
    std::int16_t paymentDays;
    std::int16_t viewKind;
    unsigned char hostBytes2[228];
    double slotAmount[4];             // units of 1/10000
    unsigned char hostBytes3[67];
    SlotKey slotKey[4];
    unsigned char hostBytes4[32];
    std::uint32_t documentId;
    std::uint32_t viewRef;
};

#pragma pack(pop)

// A slot the document does not use: key 0 and amount 0.0. Taken literally it
// would name every item whose documentId has low 16 bits 0 and, changing
// nothing there, still count as used, which keeps the document's credit from
// the counterparty. A slot with key 0 and another amount names such items as
// before. A slot whose amount is no number (a host data fault) settles nothing.
inline bool slotApplies(const DocumentRecord& document, int j) {
    double amount = document.slotAmount[j];
    if (amount != amount) return false;
    return !(document.slotKey[j].key == 0 && amount == 0.0);
}

static_assert(offsetof(CounterpartyRecord, name) == 19);
static_assert(offsetof(CounterpartyRecord, paidTotal) == 289);
static_assert(offsetof(CounterpartyRecord, dueTotal) == 297);
static_assert(offsetof(CounterpartyRecord, number) == 958);
static_assert(sizeof(CounterpartyRecord) == 960, "the last field read ends at byte 960");

static_assert(sizeof(SlotKey) == 4, "slot keys lie 4 bytes apart");
static_assert(offsetof(DocumentRecord, number) == 303);
static_assert(offsetof(DocumentRecord, date) == 336);
static_assert(offsetof(DocumentRecord, paidAmount) == 354);
static_assert(offsetof(DocumentRecord, documentAmount) == 362);
static_assert(offsetof(DocumentRecord, paymentDays) == 380);
static_assert(offsetof(DocumentRecord, viewKind) == 382);
static_assert(offsetof(DocumentRecord, slotAmount) == 612);
static_assert(offsetof(DocumentRecord, slotKey) == 711);
static_assert(offsetof(DocumentRecord, documentId) == 759);
static_assert(offsetof(DocumentRecord, viewRef) == 763);
static_assert(sizeof(DocumentRecord) == 767, "the last field read ends at byte 767");
