// The memo of the host's rounding answers: same answers as the host, each
// amount asked once, no host memory taken, and a memo that cannot grow only
// loses its reach.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "receivables/amountTests.h"
#include "receivables/roundingMemo.h"
#include "sim/core/amounts.h"
#include "tests/support/hostRun.h"

namespace {

std::vector<double> distinctAmounts(int count) {
    std::vector<double> amounts;
    for (int i = 0; i < count; ++i) amounts.push_back((i % 2 ? -1.0 : 1.0) * (i * 37.0 + (i % 3) * 25.0));
    return amounts;
}

TEST(RoundingMemo, AnswersAsTheHostDoes) {
    HostRun run(sim::HostTables{}, day("20261209"));
    const double nan = std::nan("");
    const double infinity = std::numeric_limits<double>::infinity();
    struct Case {
        double amount;
        RoundedSign sign;
    };
    const Case cases[] = {
        {0.0, RoundedSign::zero},      {-0.0, RoundedSign::zero},      {49.0, RoundedSign::zero},
        {50.0, RoundedSign::above},    {-50.0, RoundedSign::below},    {-49.9, RoundedSign::zero},
        {nan, RoundedSign::unordered}, {infinity, RoundedSign::above}, {-infinity, RoundedSign::below}};
    beginRoundingMemo();
    for (int pass = 0; pass < 2; ++pass)
        for (const auto& c : cases) EXPECT_EQ(roundedSign(c.amount), c.sign) << c.amount << " pass " << pass;
    endRoundingMemo();
    // -0.0 and 0.0 are different bits, each asked once.
    EXPECT_EQ(run.host.calls(sim::Service::roundAmount), std::size(cases));
    EXPECT_TRUE(roundsToZeroOrAbove(0.0));
    EXPECT_FALSE(roundsToZeroOrAbove(nan));
    EXPECT_FALSE(roundsBelowZero(nan));
    EXPECT_EQ(run.host.calls(sim::Service::roundAmount), std::size(cases) + 3) << "no memo after its end";
}

TEST(RoundingMemo, TakesNoHostMemoryAndSurvivesALimit) {
    const std::vector<double> amounts = distinctAmounts(2000);
    struct Case {
        std::uint32_t limit;      // slots the memo may reach; 0: none at all
        std::uint64_t askedAgain;  // of the 2000, asked again on the second pass
    };
    static const Case cases[] = {{1u << 20, 0}, {0, 2000}, {1024, 2000 - 512}, {2048, 2000 - 1024}};
    for (const auto& c : cases) {
        HostRun run(sim::HostTables{}, day("20261209"));
        limitRoundingMemo(c.limit);
        beginRoundingMemo();
        for (double amount : amounts) roundedSign(amount);
        EXPECT_EQ(run.host.calls(sim::Service::roundAmount), amounts.size());
        for (double amount : amounts)
            ASSERT_EQ(roundsBelowZero(amount), sim::roundToHundredths(amount) < 0.0) << amount;
        EXPECT_EQ(run.host.calls(sim::Service::roundAmount), amounts.size() + c.askedAgain) << "limit " << c.limit;
        endRoundingMemo();
        limitRoundingMemo(1u << 20);
        EXPECT_EQ(run.host.calls(sim::Service::memRealloc), 0u);
        EXPECT_EQ(run.host.calls(sim::Service::memFree), 0u);
        EXPECT_TRUE(run.host.faults().empty());
    }
}

}  // namespace
