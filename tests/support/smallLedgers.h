// Every small ledger within bounds, numbered 0 to total - 1, for the
// exhaustive comparison of the computation with the literal settlement.
//
// A ledger has three counterparties, in this scan order: the debtor D
// (number 1, up to 4 documents), the other debtor O (number -1, up to 2
// documents), whose items D's slot keys can name, and the non-debtor N
// (number 3), whose one document is an overdue unpaid invoice that must never
// be listed. The totals sit on the rounding thresholds: D owes 50 (half a
// unit, rounds to a debt), O 75, N 49 (rounds to nothing).
//
// A document is one of the amount choices below (invoices, payments and
// credit notes as the host has them), dated the day before today or today,
// with a payment term of 0 or 1 day, and 0, 1 or 2 settlement slots; the other
// slots are absent (key 0, amount 0). A slot names a key of {1, 0, -1} with an
// amount of {0, -25, -50, -75, -100, +50} (key 0 only with an amount: with 0
// it is the absent slot). Document ids are fixed by position so that keys
// collide as they do in the host: D's documents have ids 1, 65537 (the same
// low 16 bits as 1), 65536 (key 0) and 65535 (key -1), O's 131073 (key 1) and
// 131071 (key -1): every item can be named, and a key can name items of both
// debtors or of one only.
//
// The size of a ledger is the number of documents in the debtors' files plus
// the number of slots; the bounds cap it. Values that nothing reads are not
// varied, which cuts cases that are the same ledger to both computations:
//  - the payment term of a document that is no item (only items copy it);
//  - the date of a document that is no item and has no slot (only items copy
//    it and only slots compare it);
//  - a document without slots that owes 50 with 50 paid is the one owing 50
//    with nothing paid, and a credit note without slots is the payment of the
//    same balance: the balance is the same double, and the paid amount is
//    read only once a slot was applied;
//  - a document with one slot carries it in its first slot place; with two,
//    both orders are tried.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "sim/core/ledger.h"
#include "sim/core/tables.h"

struct SmallLedgerBounds {
    int size = 4;             // documents in the debtors' files plus slots
    int debtorDocuments = 4;  // in D's file, 0 to 4
    int otherDocuments = 2;   // in O's file, 0 to 2
    int slotsPerDocument = 2; // 0 to 2
};

inline constexpr int smallDocumentLimit = 6;  // D's and O's files together

// One document: which amount choice, date, term and slots.
struct SmallDocument {
    std::uint8_t amount;
    std::uint8_t date;  // 0: the day before today, 1: today
    std::uint8_t term;  // payment days
    std::uint8_t slotCount;
    std::uint8_t slot[2];  // index into the slot choices
};

struct SmallLedger {
    std::uint8_t debtorDocuments;
    std::uint8_t otherDocuments;
    SmallDocument documents[smallDocumentLimit];  // D's, then O's
};

// The ledgers of one choice of document and slot counts: a mixed-radix range.
struct SmallLedgerShape {
    std::uint8_t debtorDocuments;
    std::uint8_t otherDocuments;
    std::uint8_t slotCounts[smallDocumentLimit];
    std::uint64_t first;
    std::uint64_t count;
};

struct SmallLedgerSpace {
    SmallLedgerBounds bounds;
    std::vector<SmallLedgerShape> shapes;
    std::uint64_t total = 0;
};

// False (with the reason) when the bounds lie outside what the space can make.
bool checkBounds(const SmallLedgerBounds& bounds, std::string& why);
SmallLedgerSpace smallLedgerSpace(const SmallLedgerBounds& bounds);
SmallLedger smallLedgerAt(const SmallLedgerSpace& space, std::uint64_t index);
std::string describeBounds(const SmallLedgerBounds& bounds);

// Items the collection makes of the ledger: the debtors' owing documents.
int collectedItems(const SmallLedger& ledger);
// Documents the collection fetches from the debtors' files.
int debtorFileDocuments(const SmallLedger& ledger);

// The ledger in the simulator's model. `into` is reused: a ledger of the same
// shape as the last one changes only values, so the loop allocates nothing.
void fillLedger(const SmallLedger& small, sim::Ledger& into);
// The tables of the ledger, as sim::tablesFromLedger makes them, written over
// `into`'s records in place.
void fillTables(const sim::Ledger& ledger, sim::HostTables& into);
// The host's date of today for every small ledger.
std::int32_t smallLedgerToday();
