// Settlement: a debtor's documents apply their settlement slots to the items
// they name, and the credit left over is spent on the debtor's items in array
// order.
//
// A slot applies to an item when four side-effect-free tests hold: the item
// belongs to the counterparty, its key is the slot's key, its amount rounds
// below zero and the document is not dated before it. The index yields exactly
// the items that pass the first two, in array order; the host is asked the
// other two only for those, the date once per document and item. Slots are
// still applied item by item in array order and within an item in slot order,
// so every amount and the surplus come out as a walk over the whole array with
// every test for every item and slot would leave them.
//
// Host data faults stay out of the credit: a slot that is absent or whose
// amount is no number never applies, a document whose balance is no number is
// passed over, and a credit that would make the surplus no number is not added,
// so one bad record never cancels what the counterparty was really credited.
#include "frame/hostServices.h"
#include "receivables/amountTests.h"
#include "receivables/itemStore.h"
#include "receivables/receivables.h"
#include "receivables/settlementIndex.h"
#include "receivables/tableScan.h"

namespace {

constexpr int slotCount = 4;

struct Settlement {
    std::int16_t counterpartyNumber;
    double surplus;
};

// The four slots' candidate items merged into one walk in array order; an
// item named by several slots comes once.
struct CandidateWalk {
    ItemRange ranges[slotCount];

    std::int16_t next() {
        int position = itemCapacityLimit;
        for (const ItemRange& range : ranges)
            if (range.first != range.last && *range.first < position) position = *range.first;
        if (position == itemCapacityLimit) return -1;
        for (ItemRange& range : ranges)
            if (range.first != range.last && *range.first == position) ++range.first;
        return static_cast<std::int16_t>(position);
    }
};

// surplus + credit, unless that is no number (infinities of both signs).
void addCredit(Settlement& settlement, double credit) {
    double sum = settlement.surplus + credit;
    if (sum == sum) settlement.surplus = sum;
}

void applySlot(Settlement& settlement, InvoiceItem& item, double slotAmount) {
    double excess = slotAmount - item.amount;
    if (roundsBelowZero(excess)) {
        addCredit(settlement, -excess);
        item.amount = 0.0;
    } else {
        item.amount = item.amount - slotAmount;
    }
}

// Applies the document's slots; returns which slots found an item, one bit each.
unsigned applySlots(Settlement& settlement, const DocumentRecord& document) {
    std::int16_t keys[slotCount];
    bool usable[slotCount];
    CandidateWalk walk;
    for (int j = 0; j < slotCount; ++j) {
        keys[j] = document.slotKey[j].key;
        usable[j] = slotApplies(document, j);
        walk.ranges[j] = usable[j] ? itemsWithKey(settlement.counterpartyNumber, keys[j])
                                   : ItemRange{nullptr, nullptr};
    }
    unsigned applied = 0;
    for (std::int16_t position; (position = walk.next()) >= 0;) {
        InvoiceItem& item = items[position];
        std::int16_t key = settlementKey(item);
        int dated = -1;  // the date test, asked at most once: it does not depend on the slot
        for (int j = 0; j < slotCount; ++j) {
            if (!usable[j] || keys[j] != key || !roundsBelowZero(item.amount)) continue;
            if (dated < 0) dated = compareDates(document.date, item.date) >= 0;
            if (!dated) break;
            applySlot(settlement, item, document.slotAmount[j]);
            applied |= 1u << j;
        }
    }
    return applied;
}

void settleDocument(Settlement& settlement, const DocumentRecord& document) {
    double balance = document.paidAmount - document.documentAmount;
    if (balance != balance) return;
    RoundedSign balanceSign = roundedSign(balance);
    if (balanceSign == RoundedSign::zero) return;
    unsigned applied = applySlots(settlement, document);
    if (!applied) {
        // Without an application the paid amount decides nothing.
        if (balanceSign == RoundedSign::above) addCredit(settlement, balance);
        return;
    }
    if (!roundsToZero(document.paidAmount)) return;
    // The document amount less the amounts of the slots that found no item.
    double remainder = document.documentAmount;
    for (int j = 0; j < slotCount; ++j) {
        double unused = (applied >> j) & 1u ? 0.0 : 1.0;
        remainder = remainder - unused * document.slotAmount[j];
    }
    if (remainder != document.documentAmount) addCredit(settlement, remainder);
}

void spendSurplus(Settlement& settlement) {
    ItemRange own = itemsOfCounterparty(settlement.counterpartyNumber);
    bool creditLeft = roundsAboveZero(settlement.surplus);
    for (const std::int16_t* position = own.first; creditLeft && position != own.last; ++position) {
        InvoiceItem& item = items[*position];
        if (!roundsBelowZero(item.amount)) continue;
        double sum = settlement.surplus + item.amount;
        if (sum != sum) continue;  // an infinite amount against infinite credit
        if (!roundsToZeroOrAbove(sum)) {
            item.amount = sum;
            return;
        }
        settlement.surplus = sum;
        item.amount = 0.0;
        creditLeft = roundsAboveZero(settlement.surplus);
    }
}

}  // namespace

void prepareSettlement() { buildSettlementIndex(); }

int settleCounterparty(std::int16_t counterpartyNumber) {
    TableScan scan;
    if (!beginDocumentScan(scan, counterpartyNumber)) return 0;
    Settlement settlement{counterpartyNumber, 0.0};
    while (fetchRecord(scan)) settleDocument(settlement, currentDocument(scan));
    spendSurplus(settlement);
    endScan(scan);
    return 1;
}
