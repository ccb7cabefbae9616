// Every way the host can refuse: memRealloc failing at each of its calls in
// turn, and openTable answering null at each opening of each table. The
// computation must fail cleanly: 0, every scan ended, nothing leaked and
// nothing freed twice once the block is released as the hook does.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "receivables/itemStore.h"
#include "receivables/receivables.h"
#include "tests/support/hostRun.h"
#include "tests/support/ledgerMaking.h"

namespace {

// Three debtors with 120, 0 and 130 invoices: the block grows three times.
sim::Ledger growingLedger() {
    std::vector<sim::LedgerCounterparty> counterparties;
    std::uint32_t id = 1;
    for (int owed : {120, 0, 130}) {
        sim::LedgerCounterparty counterparty = debtor(static_cast<std::int16_t>(id), {});
        for (int i = 0; i < owed; ++i) counterparty.documents.push_back(invoice(id++, 10000, "20261001"));
        counterparty.documents.push_back(payment(id++, 20000, "20261002", {{1, -20000}}));
        counterparties.push_back(counterparty);
        ++id;
    }
    return ledgerOf(counterparties);
}

void expectCleanFailure(HostRun& run, const std::string& what) {
    EXPECT_EQ(run.host.openScans(), 0u) << what;
    EXPECT_TRUE(run.host.faults().empty()) << what << ": " << run.host.faults().front();
    releaseItems();
    EXPECT_EQ(run.host.liveBlocks(), 0u) << what;
    EXPECT_TRUE(run.host.faults().empty()) << what;
}

// How many memRealloc calls the computations make; each grows the item store.
std::size_t reallocCalls(const sim::Ledger& ledger, int computations) {
    HostRun run(ledger);
    for (int i = 0; i < computations; ++i) EXPECT_EQ(buildReceivables(), 1);
    return run.host.calls(sim::Service::memRealloc);
}

// Over two computations in one process, so that failures also hit the
// regrowth of a block that is still held.
TEST(FailurePaths, MemReallocFailingAtEachCall) {
    const sim::Ledger ledger = growingLedger();
    const std::size_t calls = reallocCalls(ledger, 2);
    ASSERT_EQ(calls, 6u) << "250 items: three growths per computation";
    std::vector<std::string> expectedList;
    {
        HostRun run(ledger);
        ASSERT_EQ(buildReceivables(), 1);
        expectedList = describedList();
    }
    for (std::size_t failing = 1; failing <= calls; ++failing) {
        const std::string what = "memRealloc call " + std::to_string(failing);
        HostRun run(ledger);
        run.host.failures.failReallocAt = failing;
        int first = buildReceivables();
        if (failing <= calls / 2) {
            EXPECT_EQ(first, 0) << what;
        } else {
            ASSERT_EQ(first, 1) << what;
            EXPECT_EQ(describedList(), expectedList) << what;
            EXPECT_EQ(buildReceivables(), 0) << what;
        }
        EXPECT_EQ(items, nullptr) << what << ": the store forgets its block";
        EXPECT_EQ(run.host.liveBlocks(), 0u) << what << ": and frees it at once";
        expectCleanFailure(run, what);
    }
}

TEST(FailurePaths, TableMissingAtEachOpening) {
    const sim::Ledger ledger = growingLedger();
    struct Case {
        const char* name;
        std::int32_t table;
        std::uint32_t opening;
        std::vector<std::string> lastCalls;
    };
    // 35 opens once per pass; 36 once per debtor and pass (three debtors).
    const Case cases[] = {
        {"counterparties, collection", 35, 1, {"openTable(35) -> null"}},
        {"counterparties, settlement", 35, 2, {"scanEnd(T35)", "openTable(35) -> null"}},
        {"documents, first collection", 36, 1, {"roundAmount(-1000000, 1) -> -1000000", "openTable(36) -> null", "scanEnd(T35)"}},
        {"documents, third collection", 36, 3, {"openTable(36) -> null", "scanEnd(T35)"}},
        {"documents, first settlement", 36, 4, {"openTable(36) -> null", "scanEnd(T35)"}},
        {"documents, last settlement", 36, 6, {"openTable(36) -> null", "scanEnd(T35)"}},
    };
    for (const auto& c : cases) {
        HostRun run(ledger);
        run.host.keepTranscript = true;
        run.host.failures.nullTable = c.table;
        run.host.failures.nullTableFrom = c.opening;
        EXPECT_EQ(buildReceivables(), 0) << c.name;
        const auto& lines = run.host.transcript();
        ASSERT_GE(lines.size(), c.lastCalls.size());
        EXPECT_EQ(std::vector<std::string>(lines.end() - static_cast<long>(c.lastCalls.size()), lines.end()),
                  c.lastCalls)
            << c.name;
        expectCleanFailure(run, c.name);
    }
}

}  // namespace
