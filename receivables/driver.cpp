// The computation's driver: collect every debtor's unpaid invoices, settle
// every debtor, then filter by due date and order. The phases never overlap:
// settlement needs all items, the filter needs the document dates unchanged
// until every debtor is settled.
#include "frame/hostServices.h"
#include "receivables/amountTests.h"
#include "receivables/itemStore.h"
#include "receivables/receivables.h"
#include "receivables/tableScan.h"

namespace {

constexpr int nameFieldWidth = 20;
constexpr int nameBufferSize = 24;

enum class Pass { collection, settlement };

bool isDebtor(const CounterpartyRecord& record) {
    return roundsBelowZero(record.paidTotal - record.dueTotal);
}

// One scan of table 35 that hands every debtor to the pass.
int visitDebtors(Pass pass) {
    TableScan scan;
    if (!beginCounterpartyScan(scan)) return 0;
    if (pass == Pass::collection) resetItems();
    int ok = 1;
    char name[nameBufferSize];
    while (ok && fetchRecord(scan)) {
        const CounterpartyRecord& record = currentCounterparty(scan);
        if (pass == Pass::collection) {
            // A host that copies nothing leaves an empty name, not the last one
            // or the stack's old bytes; one that copies too much is cut.
            name[0] = '\0';
            copyField(name, record.name, nameFieldWidth);
            name[nameBufferSize - 1] = '\0';
            if (isDebtor(record)) ok = collectInvoices(record.number, name);
        } else if (isDebtor(record)) {
            ok = settleCounterparty(record.number);
        }
    }
    endScan(scan);
    return ok;
}

}  // namespace

int buildReceivables() {
    beginRoundingMemo();
    int ok = visitDebtors(Pass::collection);
    if (ok) {
        prepareSettlement();
        ok = visitDebtors(Pass::settlement);
    }
    if (ok) ok = finishItems() ? 1 : 0;
    endRoundingMemo();
    return ok;
}
