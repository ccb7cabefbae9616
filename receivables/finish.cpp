// Due-date filter and ordering: due dates in place, drop what is not overdue or
// no longer owed, and sort so that the listed items come first, largest debt
// first.
#include <cstdlib>
#include <cstring>

#include "frame/hostServices.h"
#include "receivables/amountTests.h"
#include "receivables/itemStore.h"
#include "receivables/receivables.h"

namespace {

constexpr int dateBufferSize = 12;

bool isPositiveZero(double amount) {
    constexpr double zero = 0.0;
    return std::memcmp(&amount, &zero, sizeof(amount)) == 0;
}

}  // namespace

int compareItemAmounts(const void* first, const void* second) {
    double a, b;
    std::memcpy(&a, static_cast<const unsigned char*>(first) + offsetof(InvoiceItem, amount), sizeof(a));
    std::memcpy(&b, static_cast<const unsigned char*>(second) + offsetof(InvoiceItem, amount), sizeof(b));
    // An amount that is no number sorts last, with the dropped items; the order
    // stays total, so the sort stays well defined.
    bool aNan = a != a, bNan = b != b;
    if (aNan || bNan) return static_cast<int>(aNan) - static_cast<int>(bNan);
    return (a > b) - (a < b);
}

int finishItems() {
    std::int16_t total = itemCount;
    // Empty until the host writes it: a host that writes nothing leaves a text
    // that is no date, before every date, so nothing is overdue.
    char today[dateBufferSize] = "";
    todayDate(today);
    today[dateBufferSize - 1] = '\0';
    for (std::int16_t i = 0; i < total; ++i) {
        InvoiceItem& item = items[i];
        addDays(item.date, item.paymentDays);
        // No number is no debt, whatever the host's rounding makes of it: such
        // an item is dropped and can never push a real one out of the list.
        if (item.amount != item.amount) item.amount = 0.0;
        // An item already at 0.0 stays at 0.0 whatever the date says.
        if (!isPositiveZero(item.amount) && compareDates(item.date, today) >= 0) item.amount = 0.0;
        if (roundsToZeroOrAbove(item.amount)) --itemCount;
    }
    if (total > 0)
        std::qsort(items, static_cast<std::size_t>(total), sizeof(InvoiceItem), compareItemAmounts);
    return 1;
}
