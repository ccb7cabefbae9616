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
    return std::vector<unsigned char>(bytes, bytes + static_cast<std::size_t>(itemCapacity) * sizeof(InvoiceItem));
}
