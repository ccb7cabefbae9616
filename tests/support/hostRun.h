// A simulated host built from a ledger and installed behind the plug-in's
// service calls for one test; on the way out the item block is released
// through that host and the store is cleared for the next test.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "receivables/itemStore.h"
#include "sim/core/ledger.h"
#include "sim/core/ledgerHost.h"
#include "tests/support/nativeHost.h"

struct HostRun {
    explicit HostRun(const sim::Ledger& ledger);
    HostRun(sim::HostTables tables, std::int32_t today);
    ~HostRun();

    // Records 0 to itemCount - 1: what the list shows.
    std::vector<InvoiceItem> listed() const;
    // The held block's bytes, capacity records long.
    std::vector<unsigned char> blockBytes() const;

    sim::LedgerHost host;
    testHost::Installed installed{host};
};

// Every field of an item as text, the amount exactly (hexadecimal); the bytes
// after a text's terminator are not part of it.
std::string describe(const InvoiceItem& item);
// Records 0 to itemCount - 1, described.
std::vector<std::string> describedList();

// Starts the next computation from a store as a fresh load leaves it.
void clearItemStore();

// The day of a YYYYMMDD text; aborts on a malformed one (test data only).
std::int32_t day(const std::string& text);
