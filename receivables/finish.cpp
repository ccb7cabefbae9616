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
    // An amount that is no number sorts first, like the rounding test keeps it
    // listed; the order stays total, so the sort stays well defined.
    bool aNan = a != a, bNan = b != b;
    if (aNan || bNan) return static_cast<int>(bNan) - static_cast<int>(aNan);
    return (a > b) - (a < b);
}

int finishItems() {
    std::int16_t total = itemCount;
    char today[dateBufferSize];
    todayDate(today);
    for (std::int16_t i = 0; i < total; ++i) {
        InvoiceItem& item = items[i];
        addDays(item.date, item.paymentDays);
        // An item already at 0.0 stays at 0.0 whatever the date says.
        if (!isPositiveZero(item.amount) && compareDates(item.date, today) >= 0) item.amount = 0.0;
        if (roundsToZeroOrAbove(item.amount)) --itemCount;
    }
    if (total > 0)
        std::qsort(items, static_cast<std::size_t>(total), sizeof(InvoiceItem), compareItemAmounts);
    return 1;
}
