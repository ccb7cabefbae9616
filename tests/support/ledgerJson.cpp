#include "tests/support/ledgerJson.h"

#include <cmath>
#include <cstdio>

#include "sim/core/codepage.h"

namespace {

// Ledger texts are Mazovia; the file is UTF-8.
std::string quoted(const std::string& mazovia) {
    std::string out = "\"";
    for (char c : sim::mazoviaToUtf8(mazovia)) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

// Exact: 17 significant digits read back as the same double.
std::string number(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

// What the reader makes of a slot that is not given: key 0, amount +0.0.
bool isAbsent(const sim::LedgerSlot& slot) { return slot.key == 0 && slot.amount == 0.0 && !std::signbit(slot.amount); }

}  // namespace

std::string ledgerJson(const sim::Ledger& ledger) {
    std::string out = "{\n";
    if (!ledger.today.empty()) out += "  \"today\": " + quoted(ledger.today) + ",\n";
    out += "  \"counterparties\": [";
    const char* separator = "\n";
    for (const sim::LedgerCounterparty& c : ledger.counterparties) {
        out += separator;
        separator = ",\n";
        out += "    {\"number\": " + std::to_string(c.number) + ", \"name\": " + quoted(c.name) +
               ", \"paidTotal\": " + number(c.paidTotal) + ", \"dueTotal\": " + number(c.dueTotal) +
               ",\n     \"documents\": [";
        const char* documentSeparator = "\n";
        for (const sim::LedgerDocument& d : c.documents) {
            out += documentSeparator;
            documentSeparator = ",\n";
            out += "       {\"number\": " + quoted(d.number) + ", \"date\": " + quoted(d.date) +
                   ", \"paidAmount\": " + number(d.paidAmount) + ", \"documentAmount\": " +
                   number(d.documentAmount) + ", \"paymentDays\": " + std::to_string(d.paymentDays) +
                   ", \"viewKind\": " + std::to_string(d.viewKind) + ",\n        \"documentId\": " +
                   std::to_string(d.documentId) + ", \"viewRef\": " + std::to_string(d.viewRef) +
                   ", \"slots\": [";
            // Slots are read by place: absent ones are left out only at the end.
            std::size_t used = d.slots.size();
            while (used > 0 && isAbsent(d.slots[used - 1])) --used;
            for (std::size_t j = 0; j < used; ++j)
                out += std::string(j ? ", " : "") + "{\"key\": " + std::to_string(d.slots[j].key) +
                       ", \"amount\": " + number(d.slots[j].amount) + "}";
            out += "]}";
        }
        out += c.documents.empty() ? "]}" : "\n     ]}";
    }
    out += "\n  ]\n}\n";
    return out;
}
