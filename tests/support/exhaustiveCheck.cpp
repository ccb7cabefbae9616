#include "tests/support/exhaustiveCheck.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "receivables/itemStore.h"
#include "receivables/receivables.h"
#include "sim/core/amounts.h"
#include "sim/core/ledgerHost.h"
#include "tests/support/hostRun.h"
#include "tests/support/ledgerJson.h"
#include "tests/support/nativeHost.h"

namespace {

constexpr std::size_t itemBytes = sizeof(InvoiceItem);
constexpr std::uint64_t runLength = 4096;  // ledgers dealt to one part at a time

struct Outcome {
    int result;
    int count;
    int collected;  // records held: the items the collection made
    unsigned char block[smallDocumentLimit * itemBytes];
    const char* broken;  // the first rule of the protocol broken, or null
    std::vector<std::string> described;  // filled only for a report
};

// One host for a whole range: rebuilt only after it noted a breach, which it
// keeps noting.
struct Bench {
    sim::Ledger ledger;
    std::unique_ptr<sim::LedgerHost> host;
    std::unique_ptr<testHost::Installed> installed;

    void fresh() {
        installed.reset();
        host = std::make_unique<sim::LedgerHost>(sim::HostTables{}, smallLedgerToday());
        installed = std::make_unique<testHost::Installed>(*host);
    }
};

double amountAt(const unsigned char* block, int record) {
    double amount;
    std::memcpy(&amount, block + record * itemBytes + offsetof(InvoiceItem, amount), sizeof(amount));
    return amount;
}

// What the host's protocol and the store's rules say of a finished computation.
const char* brokenRule(const sim::LedgerHost& host, int fetched, int collected) {
    using S = sim::Service;
    const bool grown = fetched > 0;  // at most 6 documents: one growth to 100 records
    if (host.openScans() || host.calls(S::scanBegin) != host.calls(S::scanEnd)) return "a scan was not ended";
    if (!host.faults().empty()) return "the host noted a breach of its protocol";
    if (host.calls(S::memRealloc) != (grown ? 1u : 0u) || host.liveBlocks() != (grown ? 1u : 0u) ||
        (items != nullptr) != grown || itemCapacity != (grown ? itemGrowth : 0))
        return "the item block was not grown exactly once for the first document fetched";
    if (itemCount < 0 || itemCount > collected) return "the item count is not within the collected items";
    const auto* block = reinterpret_cast<const unsigned char*>(items);
    for (int i = 0; i < collected; ++i) {
        double rounded = sim::roundToHundredths(amountAt(block, i));
        if (i < itemCount ? !(rounded < 0.0) : !(rounded >= 0.0))
            return "the item count does not split owed from dropped items";
        if (i > 0 && amountAt(block, i - 1) > amountAt(block, i)) return "the items are not in ascending order";
    }
    return nullptr;
}

void compute(Bench& bench, int (*build)(), const SmallLedger& small, Outcome& out, bool describe) {
    sim::LedgerHost& host = *bench.host;
    host.resetCalls();
    clearItemStore();
    out.result = build();
    out.count = itemCount;
    out.collected = collectedItems(small);
    out.broken = out.result != 1 ? "the computation failed" : brokenRule(host, debtorFileDocuments(small), out.collected);
    if (items && !out.broken) std::memcpy(out.block, items, static_cast<std::size_t>(out.collected) * itemBytes);
    if (describe) out.described = items ? describedList() : std::vector<std::string>{};
    releaseItems();
    if (!out.broken && (host.liveBlocks() || !host.faults().empty()))
        out.broken = "the item block was not freed exactly once";
    if (out.broken) bench.fresh();
}

// Records a[from, to) and b[from, to) hold the same records in some order.
bool sameRecords(const unsigned char* a, const unsigned char* b, int from, int to) {
    std::vector<std::string> x, y;
    for (int i = from; i < to; ++i) {
        x.emplace_back(reinterpret_cast<const char*>(a + i * itemBytes), itemBytes);
        y.emplace_back(reinterpret_cast<const char*>(b + i * itemBytes), itemBytes);
    }
    std::sort(x.begin(), x.end());
    std::sort(y.begin(), y.end());
    return x == y;
}

// The same records, bit for bit, in the same order but for the order of
// equal amounts, which the sort leaves open.
bool sameUpToTies(const Outcome& a, const Outcome& b) {
    int n = a.collected;
    if (std::memcmp(a.block, b.block, static_cast<std::size_t>(n) * itemBytes) == 0) return true;
    for (int from = 0; from < n;) {
        int to = from + 1;
        while (to < n && compareItemAmounts(a.block + from * itemBytes, a.block + to * itemBytes) == 0) ++to;
        for (int i = from; i < to; ++i)
            if (compareItemAmounts(a.block + from * itemBytes, b.block + i * itemBytes) != 0) return false;
        if (!sameRecords(a.block, b.block, from, to)) return false;
        from = to;
    }
    return true;
}

std::string difference(const Outcome& ours, const Outcome& oracle) {
    if (ours.broken) return std::string("the computation: ") + ours.broken;
    if (oracle.broken) return std::string("the oracle: ") + oracle.broken;
    if (ours.count != oracle.count)
        return "item counts differ: " + std::to_string(ours.count) + " against the oracle's " +
               std::to_string(oracle.count);
    if (!sameUpToTies(ours, oracle)) return "the items differ";
    return {};
}

std::string checkOne(Bench& bench, const SmallLedger& small, const ExhaustiveRun& run, bool describe,
                     Outcome& ours, Outcome& oracle) {
    fillLedger(small, bench.ledger);
    fillTables(bench.ledger, bench.host->tables());
    compute(bench, run.computation, small, ours, describe);
    compute(bench, run.oracle, small, oracle, describe);
    return difference(ours, oracle);
}

void report(std::FILE* out, std::uint64_t index, const std::string& what, const Outcome& ours,
            const Outcome& oracle, const sim::Ledger& ledger) {
    std::fprintf(out, "difference on ledger %llu: %s\n", static_cast<unsigned long long>(index), what.c_str());
    for (const auto* side : {&ours, &oracle}) {
        std::fprintf(out, "  %s lists %d:\n", side == &ours ? "ours" : "the oracle", side->count);
        for (const std::string& item : side->described) std::fprintf(out, "    %s\n", item.c_str());
    }
    std::fprintf(out, "%s", ledgerJson(ledger).c_str());
    std::fflush(out);
}

}  // namespace

ExhaustiveTally checkSmallLedgers(const SmallLedgerSpace& space, std::uint64_t part, std::uint64_t parts,
                                  const ExhaustiveRun& run) {
    ExhaustiveTally tally;
    Bench bench;
    bench.fresh();
    Outcome ours, oracle;
    for (std::uint64_t start = part * runLength; start < space.total; start += parts * runLength) {
        std::uint64_t end = std::min(space.total, start + runLength);
        for (std::uint64_t index = start; index < end; ++index) {
            SmallLedger small = smallLedgerAt(space, index);
            ++tally.ledgers;
            if (checkOne(bench, small, run, false, ours, oracle).empty()) continue;
            // Once more with the items described, for the report.
            std::string what = checkOne(bench, small, run, true, ours, oracle);
            ++tally.differences;
            if (run.report && tally.differences <= static_cast<std::uint64_t>(run.reportLimit))
                report(run.report, index, what, ours, oracle, bench.ledger);
        }
    }
    return tally;
}

std::string smallLedgerDifference(const SmallLedger& ledger, const ExhaustiveRun& run) {
    Bench bench;
    bench.fresh();
    Outcome ours, oracle;
    return checkOne(bench, ledger, run, false, ours, oracle);
}
