// Collection: one item per document of a debtor that still owes something.
#include "frame/hostServices.h"
#include "receivables/amountTests.h"
#include "receivables/itemStore.h"
#include "receivables/receivables.h"
#include "receivables/tableScan.h"
#include "receivables/textCopy.h"

namespace {

void fillItem(InvoiceItem& item, std::int16_t counterpartyNumber, const char* counterpartyName,
              const DocumentRecord& document, double balance) {
    copyTextCut(item.counterpartyName, counterpartyName, sizeof(item.counterpartyName) - 1);
    item.counterpartyNumber = counterpartyNumber;
    item.documentId = document.documentId;
    copyTextCut(item.documentNumber, document.number, sizeof(item.documentNumber) - 1);
    item.amount = balance;
    copyTextCut(item.date, document.date, sizeof(item.date) - 1);
    item.viewKind = document.viewKind;
    item.viewRef = document.viewRef;
    item.paymentDays = document.paymentDays;
}

}  // namespace

int collectInvoices(std::int16_t counterpartyNumber, const char* counterpartyName) {
    TableScan scan;
    if (!beginDocumentScan(scan, counterpartyNumber)) return 0;
    int ok = 1;
    while (fetchRecord(scan)) {
        const DocumentRecord& document = currentDocument(scan);
        double balance = document.paidAmount - document.documentAmount;
        // Every fetched document makes room first, whether or not it becomes an item.
        if (!makeRoomForItem()) {
            ok = 0;
            break;
        }
        // A balance that is no number (a host data fault) is not known to be owed.
        if (balance != balance || !roundsBelowZero(balance)) continue;
        InvoiceItem* item = nextFreeItem();
        if (!item) {  // a 32,701st item: the count would overflow
            ok = 0;
            break;
        }
        fillItem(*item, counterpartyNumber, counterpartyName, document, balance);
        ++itemCount;
    }
    endScan(scan);
    return ok;
}
