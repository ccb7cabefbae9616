#include "tests/support/literalReceivables.h"

#include <cstdlib>

#include "frame/hostServices.h"
#include "receivables/amountTests.h"
#include "receivables/itemStore.h"
#include "receivables/receivables.h"
#include "receivables/tableScan.h"

int literalSettleCounterparty(std::int16_t number) {
    TableScan scan;
    if (!beginDocumentScan(scan, number)) return 0;
    double surplus = 0.0;
    while (fetchRecord(scan)) {
        const DocumentRecord& d = currentDocument(scan);
        double balance = d.paidAmount - d.documentAmount;
        if (balance != balance || roundsToZero(balance)) continue;
        int slotUnused[4] = {1, 1, 1, 1};
        for (std::int16_t i = 0; i < itemCount; ++i) {
            InvoiceItem& item = items[i];
            for (int j = 0; j < 4; ++j) {
                if (slotApplies(d, j) && compareDates(d.date, item.date) >= 0 &&
                    d.slotKey[j].key == static_cast<std::int16_t>(item.documentId & 0xFFFF) &&
                    roundsBelowZero(item.amount) && item.counterpartyNumber == number) {
                    double excess = d.slotAmount[j] - item.amount;
                    if (roundsBelowZero(excess)) {
                        if (surplus - excess == surplus - excess) surplus = surplus - excess;
                        item.amount = 0.0;
                    } else {
                        item.amount = item.amount - d.slotAmount[j];
                    }
                    slotUnused[j] = 0;
                }
            }
        }
        bool allUnused = slotUnused[0] && slotUnused[1] && slotUnused[2] && slotUnused[3];
        if (allUnused && roundsAboveZero(balance)) {
            if (surplus + balance == surplus + balance) surplus = surplus + balance;
        } else if (roundsToZero(d.paidAmount)) {
            if (allUnused) continue;
            double remainder = d.documentAmount;
            for (int j = 0; j < 4; ++j) remainder = remainder - slotUnused[j] * d.slotAmount[j];
            if (remainder != d.documentAmount && surplus + remainder == surplus + remainder)
                surplus = surplus + remainder;
        }
    }
    if (roundsAboveZero(surplus)) {
        for (std::int16_t i = 0; i < itemCount; ++i) {
            InvoiceItem& item = items[i];
            if (!(roundsAboveZero(surplus) && roundsBelowZero(item.amount) &&
                  item.counterpartyNumber == number))
                continue;
            double sum = surplus + item.amount;
            if (sum != sum) continue;
            if (roundsToZeroOrAbove(sum)) {
                surplus = sum;
                item.amount = 0.0;
            } else {
                item.amount = sum;
                break;
            }
        }
    }
    endScan(scan);
    return 1;
}

int literalFinishItems() {
    std::int16_t total = itemCount;
    char today[12] = "";
    todayDate(today);
    for (std::int16_t i = 0; i < total; ++i) {
        InvoiceItem& item = items[i];
        addDays(item.date, item.paymentDays);
        if (item.amount != item.amount) item.amount = 0.0;
        if (compareDates(item.date, today) >= 0) item.amount = 0.0;
        if (roundsToZeroOrAbove(item.amount)) --itemCount;
    }
    if (total > 0)
        std::qsort(items, static_cast<std::size_t>(total), sizeof(InvoiceItem), compareItemAmounts);
    return 1;
}

int literalBuildReceivables() {
    TableScan scan;
    char name[24];
    if (!beginCounterpartyScan(scan)) return 0;
    resetItems();
    while (fetchRecord(scan)) {
        const CounterpartyRecord& c = currentCounterparty(scan);
        name[0] = '\0';
        copyField(name, c.name, 20);
        if (roundsBelowZero(c.paidTotal - c.dueTotal) && !collectInvoices(c.number, name)) {
            endScan(scan);
            return 0;
        }
    }
    endScan(scan);
    if (!beginCounterpartyScan(scan)) return 0;
    while (fetchRecord(scan)) {
        const CounterpartyRecord& c = currentCounterparty(scan);
        if (roundsBelowZero(c.paidTotal - c.dueTotal) && !literalSettleCounterparty(c.number)) {
            endScan(scan);
            return 0;
        }
    }
    endScan(scan);
    return literalFinishItems();
}
