// The indexed settlement against the literal oracle on generated ledgers:
// the item block must come out identical, bit for bit.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "receivables/itemStore.h"
#include "receivables/receivables.h"
#include "tests/support/hostRun.h"
#include "tests/support/literalReceivables.h"
#include "tests/support/syntheticLedger.h"

namespace {

struct Outcome {
    int result;
    int count;
    std::vector<unsigned char> block;
    bool settled;  // some listed item owes less than its document's balance
};

bool settlementChangedAListedItem(const sim::Ledger& ledger) {
    for (std::int16_t i = 0; i < itemCount; ++i)
        for (const auto& c : ledger.counterparties)
            for (const auto& d : c.documents)
                if (c.number == items[i].counterpartyNumber && d.documentId == items[i].documentId &&
                    d.number == items[i].documentNumber && items[i].amount != d.paidAmount - d.documentAmount)
                    return true;
    return false;
}

Outcome compute(const sim::Ledger& ledger, int (*build)()) {
    HostRun run(ledger);
    Outcome outcome{build(), itemCount, run.blockBytes(), settlementChangedAListedItem(ledger)};
    EXPECT_EQ(run.host.openScans(), 0u);
    EXPECT_TRUE(run.host.faults().empty());
    return outcome;
}

TEST(Differential, TangledLedgersGiveIdenticalBlocks) {
    constexpr std::uint64_t seeds = 3000;
    int listed = 0, settled = 0;
    for (std::uint64_t seed = 1; seed <= seeds; ++seed) {
        const sim::Ledger ledger = tangledLedger(seed);
        Outcome ours = compute(ledger, buildReceivables);
        Outcome literal = compute(ledger, literalBuildReceivables);
        ASSERT_EQ(ours.result, literal.result) << "seed " << seed;
        ASSERT_EQ(ours.count, literal.count) << "seed " << seed;
        ASSERT_EQ(ours.block, literal.block) << "seed " << seed;
        listed += ours.count > 0;
        settled += ours.settled;
    }
    // The generated ledgers must exercise the settlement, not just empty stores.
    EXPECT_GT(listed, static_cast<int>(seeds / 2));
    EXPECT_GT(settled, static_cast<int>(seeds / 4));
    std::printf("%d of %llu ledgers listed items, %d with settled amounts\n", listed,
                static_cast<unsigned long long>(seeds), settled);
}

TEST(Differential, PlausibleLedgersGiveIdenticalBlocks) {
    for (std::uint64_t seed = 1; seed <= 5; ++seed) {
        const sim::Ledger ledger = plausibleLedger(seed, 400);
        Outcome ours = compute(ledger, buildReceivables);
        Outcome literal = compute(ledger, literalBuildReceivables);
        ASSERT_EQ(ours.count, literal.count) << "seed " << seed;
        ASSERT_EQ(ours.block, literal.block) << "seed " << seed;
    }
}

}  // namespace
