// The whole computation over the simulated host: the scan protocol call by
// call, which counterparties are visited, a repeated computation, and the
// sample ledger's list.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <variant>
#include <vector>

#include "receivables/itemStore.h"
#include "receivables/receivables.h"
#include "tests/support/hostRun.h"
#include "tests/support/ledgerMaking.h"
#include "tests/support/literalReceivables.h"
#include "tests/support/nativeHost.h"

namespace {

struct Row {
    std::string number;
    double amount;
    std::string dueDate;
    bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Row& row) {
    return out << "{" << row.number << ", " << row.amount << ", " << row.dueDate << "}";
}

std::vector<Row> rows(const HostRun& run) {
    std::vector<Row> list;
    for (const InvoiceItem& item : run.listed())
        list.push_back({item.documentNumber, item.amount, item.date});
    return list;
}

std::vector<std::string> memoryCalls(const HostRun& run) {
    std::vector<std::string> lines;
    for (const std::string& line : run.host.transcript())
        if (line.rfind("mem", 0) == 0) lines.push_back(line);
    return lines;
}

TEST(Driver, ScanProtocolCallByCall) {
    sim::LedgerCounterparty other = debtor(20, {invoice(5, 100, "20261001")});
    other.name = "Zaklad";
    other.paidTotal = other.dueTotal = 990000;  // owes nothing overall: not a debtor
    sim::LedgerCounterparty owing =
        debtor(12, {invoice(1, 1000000, "20261001", 14), payment(9, 300000, "20261005", {{1, -300000}})});
    owing.name = "Hurtownia";
    owing.dueTotal = 1500000;
    HostRun run(ledgerOf({owing, other}));
    run.host.keepTranscript = true;

    ASSERT_EQ(buildReceivables(), 1);
    // Amounts rounded once are not asked about again.
    const std::vector<std::string> expected = {
        // Collection pass.
        "openTable(35) -> T35",
        "scanBegin(T35, 6, null, 0, 0) -> 1",
        "scanNext(T35) -> 1",
        "copyField(20) -> \"Hurtownia\"",
        "roundAmount(-1500000, 1) -> -1500000",
        "openTable(36) -> T36",
        "makeDataFileName(12, \"MMM\", \".KON\", 104) -> \"MMM12.KON\"",
        "scanBegin(T36, 53, \"MMM12.KON\", 1, 0) -> 1",
        "scanNext(T36) -> 1",
        "memRealloc(null, 6900) -> B1",
        "roundAmount(-1000000, 1) -> -1000000",
        "scanNext(T36) -> 1",
        "roundAmount(300000, 1) -> 300000",
        "scanNext(T36) -> 0",
        "scanEnd(T36)",
        "scanNext(T35) -> 1",
        "copyField(20) -> \"Zaklad\"",
        "roundAmount(0, 1) -> 0",
        "scanNext(T35) -> 0",
        "scanEnd(T35)",
        // Settlement pass: the debtor test, both balances, the item's amount,
        // the paid amount and the empty surplus are known by now.
        "openTable(35) -> T35",
        "scanBegin(T35, 6, null, 0, 0) -> 1",
        "scanNext(T35) -> 1",
        "openTable(36) -> T36",
        "makeDataFileName(12, \"MMM\", \".KON\", 104) -> \"MMM12.KON\"",
        "scanBegin(T36, 53, \"MMM12.KON\", 1, 0) -> 1",
        "scanNext(T36) -> 1",
        "scanNext(T36) -> 1",
        "compareDates(\"20261005\", \"20261001\") -> 1",
        "roundAmount(700000, 1) -> 700000",
        "scanNext(T36) -> 0",
        "scanEnd(T36)",
        "scanNext(T35) -> 1",
        "scanNext(T35) -> 0",
        "scanEnd(T35)",
        // Due-date filter.
        "todayDate() -> \"20261209\"",
        "addDays(\"20261001\", 14) -> \"20261015\"",
        "compareDates(\"20261015\", \"20261209\") -> -1",
        "roundAmount(-700000, 1) -> -700000",
    };
    EXPECT_EQ(run.host.transcript(), expected);
    EXPECT_EQ(rows(run), (std::vector<Row>{{"FV 1", -700000, "20261015"}}));
    EXPECT_TRUE(run.host.faults().empty());
}

TEST(Driver, VisitsOnlyDebtorsButCopiesEveryName) {
    struct Case {
        double paidTotal;
        double dueTotal;
        bool debtor;
    };
    static const Case cases[] = {{0, 100, true}, {0, 49, false},      {100, 100, false},
                                 {0, 50, true},  {1000000, 0, false}, {999950, 1000000, true}};
    for (const auto& c : cases) {
        sim::LedgerCounterparty counterparty = debtor(7, {invoice(1, 500000, "20261001")});
        counterparty.paidTotal = c.paidTotal;
        counterparty.dueTotal = c.dueTotal;
        HostRun run(ledgerOf({counterparty}));
        ASSERT_EQ(buildReceivables(), 1);
        EXPECT_EQ(itemCount, c.debtor ? 1 : 0) << c.paidTotal << " - " << c.dueTotal;
        EXPECT_EQ(run.host.calls(sim::Service::makeDataFileName), c.debtor ? 2u : 0u);
        EXPECT_EQ(run.host.calls(sim::Service::copyField), 1u);
    }
}

TEST(Driver, EmptyCounterpartyTableGivesAnEmptyList) {
    HostRun run(ledgerOf({}));
    run.host.keepTranscript = true;
    EXPECT_EQ(buildReceivables(), 1);
    EXPECT_EQ(itemCount, 0);
    EXPECT_EQ(run.host.transcript(),
              (std::vector<std::string>{"openTable(35) -> T35", "scanBegin(T35, 6, null, 0, 0) -> 0",
                                        "scanEnd(T35)", "openTable(35) -> T35",
                                        "scanBegin(T35, 6, null, 0, 0) -> 0", "scanEnd(T35)",
                                        "todayDate() -> \"20261209\""}));
}

TEST(Driver, SampleLedgerList) {
    auto ledger = sim::readLedger(sim::sampleLedgerJson(), "sample");
    HostRun run(std::get<sim::Ledger>(ledger));
    ASSERT_EQ(buildReceivables(), 1);
    // Largest debt first; see the notes in sampleLedger.cpp for what each shows.
    EXPECT_EQ(rows(run), (std::vector<Row>{{"FV 101/2026", -487654300, "20261115"},
                                           {"FV/2026/11/00123", -12345600, "20261109"},
                                           {"FV 40/2026", -8604000, "20261126"},
                                           {"FV 90/2026", -7650000, "20261115"},
                                           {"FV 51/2026", -4300000, "20261022"},
                                           {"FV 81/2026", -2000000, "20261015"},
                                           {"FV 19/2026", -1950000, "20261102"},
                                           {"FV 70/2026", -1875000, "20261104"},
                                           {"FV 93/2026", -1230000, "20261202"},
                                           {"FV 12/2026", -1000000, "20261029"},
                                           {"FV 71/2026", -960000, "20261117"},
                                           {"FV 111/2026", -855000, "20261108"},
                                           {"FV 120/2026", -642000, "20261119"},
                                           {"FV 7/2026", -625000, "20260923"}}));

}

// Amounts that are no number are a host data fault: such a document is never
// listed, and never takes a real invoice off the list, whatever the host's
// rounding answers for them (one that says "below zero" would collect it; one
// that says "above" would let a slot of no number zero a real invoice).
TEST(Driver, AmountsOfNoNumberNeverDisplaceRealRows) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::string d1 = "20261001", d2 = "20261005";
    sim::LedgerDocument noAmount = invoice(3, nan, d1);
    sim::LedgerDocument noPaid = payment(4, nan, d2);
    // A slot of no number beside a real one with the same key; and a payment
    // whose only slot has no number.
    sim::LedgerDocument mixedSlots = payment(5, 100000, d2, {{1, nan}, {1, -50000}});
    sim::LedgerDocument noSlotAmount = payment(6, 30000, d2, {{2, nan}});
    const sim::Ledger ledger = ledgerOf({debtor(
        1, {invoice(1, 300000, d1), noAmount, invoice(2, 100000, d1), noPaid, mixedSlots, noSlotAmount})});

    static const struct {
        const char* name;
        bool set;
        double answer;
    } hosts[] = {
        {"no number stays no number", false, 0},
        {"rounds below zero", true, -100},
        {"rounds above zero", true, 100},
        {"rounds to zero", true, 0},
    };
    for (const auto& host : hosts) {
        for (int (*build)() : {buildReceivables, literalBuildReceivables}) {
            HostRun run(ledger);
            testHost::setNanRounding(host.set ? &host.answer : nullptr);
            ASSERT_EQ(build(), 1) << host.name;
            testHost::setNanRounding(nullptr);
            // The real slot takes 5.00 off FV 1; the payment that settles
            // nothing gives its balance as credit, 3.00 more off FV 1.
            EXPECT_EQ(rows(run), (std::vector<Row>{{"FV 1", -220000, "20261001"}, {"FV 2", -100000, "20261001"}}))
                << host.name << (build == buildReceivables ? "" : " (literal)");
        }
    }
}

// A second computation in the same process starts from an empty store, grows
// the block it still holds, and lists the same.
TEST(Driver, SecondComputationRegrowsTheHeldBlock) {
    std::vector<sim::LedgerDocument> documents;
    for (std::uint32_t i = 1; i <= 150; ++i) documents.push_back(invoice(i, 10000.0 * i, "20261001"));
    HostRun run(ledgerOf({debtor(1, documents)}));
    ASSERT_EQ(buildReceivables(), 1);
    std::vector<Row> first = rows(run);
    ASSERT_EQ(first.size(), 150u);

    run.host.keepTranscript = true;
    ASSERT_EQ(buildReceivables(), 1);
    EXPECT_EQ(rows(run), first);
    // B2 is the item block of the first computation.
    EXPECT_EQ(memoryCalls(run),
              (std::vector<std::string>{"memRealloc(B2, 6900) -> B3", "memRealloc(B3, 13800) -> B4"}));

    releaseItems();  // as the hook does after the dialog
    run.host.clearTranscript();
    ASSERT_EQ(buildReceivables(), 1);
    EXPECT_EQ(rows(run), first);
    EXPECT_EQ(memoryCalls(run),
              (std::vector<std::string>{"memRealloc(null, 6900) -> B5",
                                        "memRealloc(B5, 13800) -> B6"}));
    releaseItems();
    EXPECT_EQ(run.host.liveBlocks(), 0u);
    EXPECT_TRUE(run.host.faults().empty());
}

}  // namespace
