#include "tests/support/hostRun.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "sim/core/dates.h"

std::int32_t day(const std::string& text) {
    auto value = sim::dayOfDateText(text);
    if (!value) {
        std::fprintf(stderr, "bad test date %s\n", text.c_str());
        std::abort();
    }
    return *value;
}

HostRun::HostRun(const sim::Ledger& ledger)
    : HostRun(sim::tablesFromLedger(ledger), ledger.today.empty() ? day("20261209") : day(ledger.today)) {}

HostRun::HostRun(sim::HostTables tables, std::int32_t today) : host(std::move(tables), today) {
    clearItemStore();
}

HostRun::~HostRun() {
    releaseItems();
    clearItemStore();
}

void clearItemStore() {
    items = nullptr;
    itemCount = 0;
    itemCapacity = 0;
}

std::vector<InvoiceItem> HostRun::listed() const {
    if (!items || itemCount <= 0) return {};
    return std::vector<InvoiceItem>(items, items + itemCount);
}

std::vector<unsigned char> HostRun::blockBytes() const {
    if (!items) return {};
    auto* bytes = reinterpret_cast<const unsigned char*>(items);
    return std::vector<unsigned char>(bytes,
                                      bytes + static_cast<std::size_t>(itemCapacity) * sizeof(InvoiceItem));
}

std::string describe(const InvoiceItem& item) {
    char text[200];
    std::snprintf(text, sizeof(text), "%.21s|%d|%u|%.17s|%a|%.9s|%d|%u|%d", item.counterpartyName,
                  item.counterpartyNumber, item.documentId, item.documentNumber, double{item.amount},
                  item.date, item.viewKind, item.viewRef, item.paymentDays);
    return text;
}

std::vector<std::string> describedList() {
    std::vector<std::string> list;
    for (std::int16_t i = 0; i < itemCount; ++i) list.push_back(describe(items[i]));
    return list;
}
