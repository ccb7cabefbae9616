#include "ui/listDialog.h"

#include "frame/format.h"
#include "receivables/itemStore.h"

char rowTextBuffer[rowTextBufferSize];

namespace {

// "błąd" and "Błąd dostępu do pamięci" in the Mazovia code page.
constexpr char failureCaption[] = "b\x92\x86" "d";
constexpr char failureText[] = "B\x92\x86" "d dost\x91pu do pami\x91" "ci";
constexpr std::uint32_t failureStyle = 1;

}  // namespace

extern "C" std::int32_t HOST_STDCALL listDialogProc(std::int32_t control, std::int32_t message) {
    auto m = static_cast<std::int16_t>(message);
    auto c = static_cast<std::int16_t>(control);
    if (m == dialogMessageInit) {
        if (!buildReceivables()) {
            messageBox(failureCaption, failureText, failureStyle);
            return dialogResultFailed;
        }
        return 0;
    }
    if (m == dialogMessageCommand && c == showDocumentButton && itemCount > 0) {
        std::int16_t selected = 0;
        listSelection(&selected, 1);
        setBusy(0, 2048, 1);
        const InvoiceItem& item = items[selected];
        showDocument(item.viewKind, 0, item.viewRef, item.documentId);
        setBusy(0, 2048, 0);
        return dialogResultShown;
    }
    return 0;
}

extern "C" std::intptr_t HOST_STDCALL listRowText(std::int32_t row, std::int32_t) {
    auto r = static_cast<std::int16_t>(row);
    if (r == rowCountRequest) return itemCount;
    const InvoiceItem& item = items[r];
    char date[12] = "";
    formatDate(date, item.date);
    date[sizeof(date) - 1] = '\0';
    // Bounded: an amount of any size is cut at the buffer's end, never past it.
    formatText(rowTextBuffer, sizeof(rowTextBuffer), "%-20s %16s %12.2f      %s",
               item.counterpartyName, item.documentNumber, item.amount / 10000.0, date);
    return reinterpret_cast<std::intptr_t>(rowTextBuffer);
}
