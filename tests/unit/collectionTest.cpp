// Collection: which documents become items, what an item holds, how the
// store grows, and where it stops.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "receivables/itemStore.h"
#include "receivables/receivables.h"
#include "tests/support/hostRun.h"
#include "tests/support/ledgerMaking.h"

namespace {

struct BalanceCase {
    double paid;
    double amount;
    bool collected;
};

TEST(Collection, OnlyBalancesThatRoundBelowZeroBecomeItems) {
    static const BalanceCase cases[] = {
        {0.0, 0.0, false},  {500.0, 500.0, false}, {0.0, 49.0, false},    {0.0, 49.999, false},
        {0.0, 50.0, true},  {0.0, 150.0, true},    {100.0, 149.0, false}, {1000000.0, 0.0, false},
        {0.0, -1.0, false}, {0.0, 1.0e12, true},
    };
    for (const auto& c : cases) {
        sim::LedgerDocument document = invoice(1, c.amount, "20261001");
        document.paidAmount = c.paid;
        HostRun run(ledgerOf({debtor(3, {document})}));
        resetItems();
        EXPECT_EQ(collectInvoices(3, "Firma 3"), 1);
        ASSERT_EQ(itemCount, c.collected ? 1 : 0) << c.paid << " - " << c.amount;
        if (c.collected) EXPECT_EQ(double{items[0].amount}, c.paid - c.amount) << "stored unrounded";
    }
}

TEST(Collection, ItemHoldsTheRecordsFields) {
    sim::LedgerDocument document = invoice(0xABCD1234u, 1234567.0, "20261015", -7);
    document.number = "FV 12/2026";
    document.paidAmount = 0.5;
    document.viewKind = -3;
    document.viewRef = 0xFEDCBA98u;
    HostRun run(ledgerOf({debtor(-300, {document})}));
    resetItems();
    ASSERT_EQ(collectInvoices(-300, "Exactly twenty chars"), 1);
    ASSERT_EQ(itemCount, 1);
    const InvoiceItem& item = items[0];
    EXPECT_EQ(std::memcmp(item.counterpartyName, "Exactly twenty chars", 21), 0)
        << "terminator in the last byte";
    EXPECT_EQ(int{item.counterpartyNumber}, -300);
    EXPECT_EQ(std::uint32_t{item.documentId}, 0xABCD1234u);
    EXPECT_STREQ(item.documentNumber, "FV 12/2026");
    EXPECT_EQ(double{item.amount}, 0.5 - 1234567.0);
    EXPECT_STREQ(item.date, "20261015");
    EXPECT_EQ(int{item.viewKind}, -3);
    EXPECT_EQ(std::uint32_t{item.viewRef}, 0xFEDCBA98u);
    EXPECT_EQ(int{item.paymentDays}, -7);
}

// Texts the host delivers longer than the item's fields, or without a
// terminator, are cut to the field; the neighbouring fields stay intact.
TEST(Collection, OverlongAndUnterminatedTextsAreCutToTheirFields) {
    struct Case {
        const char* name;
        std::string number;  // bytes at offset 303, up to the date field
        std::string date;    // bytes at offset 336, up to the amounts
        const char* itemNumber;
        const char* itemDate;
    };
    const Case cases[] = {
        {"sixteen characters", "FV 1234567890/26", "20261015", "FV 1234567890/26", "20261015"},
        {"seventeen characters", "FV 12345678901/26", "20261015", "FV 12345678901/2", "20261015"},
        {"number without terminator up to the date", std::string(33, 'N'), "20261015", "NNNNNNNNNNNNNNNN",
         "20261015"},
        {"date with more characters", "FV 1", "20261015 12:00", "FV 1", "20261015"},
        {"date without terminator up to the amounts", "FV 1", std::string(18, '7'), "FV 1", "77777777"},
    };
    for (const auto& c : cases) {
        sim::HostTables tables =
            sim::tablesFromLedger(ledgerOf({debtor(3, {invoice(9, 1000000, "20261001")})}));
        sim::Record& record = tables.documentFiles.at(3)[0];
        std::memset(&record[303], 0, 51);
        std::memcpy(&record[303], c.number.data(), c.number.size());
        std::memcpy(&record[336], c.date.data(), c.date.size());
        HostRun run(std::move(tables), day("20261209"));
        resetItems();
        ASSERT_EQ(collectInvoices(3, "A name longer than twenty characters"), 1) << c.name;
        const InvoiceItem& item = items[0];
        EXPECT_STREQ(item.documentNumber, c.itemNumber) << c.name;
        EXPECT_STREQ(item.date, c.itemDate) << c.name;
        EXPECT_STREQ(item.counterpartyName, "A name longer than t") << c.name;
        EXPECT_EQ(double{item.amount}, -1000000.0) << c.name;
        EXPECT_EQ(int{item.viewKind}, 1) << c.name;
    }
}

TEST(Collection, CounterpartiesFollowEachOtherInScanOrder) {
    HostRun run(ledgerOf({debtor(5, {invoice(51, 100, "20261001"), invoice(52, 200, "20261001")}),
                          debtor(4, {invoice(41, 300, "20261001")}), debtor(6, {})}));
    resetItems();
    for (std::int16_t number : {5, 4, 6}) ASSERT_EQ(collectInvoices(number, "x"), 1);
    ASSERT_EQ(itemCount, 3);
    EXPECT_EQ(std::uint32_t{items[0].documentId}, 51u);
    EXPECT_EQ(std::uint32_t{items[1].documentId}, 52u);
    EXPECT_EQ(std::uint32_t{items[2].documentId}, 41u);
    EXPECT_EQ(run.host.openScans(), 0u);
}

// The block grows by 100 records when a document is fetched into a full
// store, before the document is looked at, even if it adds no item.
TEST(Collection, FullBlockGrowsOnTheNextFetchedDocument) {
    std::vector<sim::LedgerDocument> documents;
    for (std::uint32_t i = 0; i < 100; ++i) documents.push_back(invoice(i + 1, 10000, "20261001"));
    documents.push_back(payment(500, 10000, "20261002"));
    HostRun run(ledgerOf({debtor(1, documents)}));
    run.host.keepTranscript = true;
    resetItems();
    ASSERT_EQ(collectInvoices(1, "x"), 1);
    EXPECT_EQ(itemCount, 100);
    EXPECT_EQ(itemCapacity, 200);
    const auto& lines = run.host.transcript();
    std::vector<std::string> tail(lines.end() - 5, lines.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"scanNext(T36) -> 1", "memRealloc(B1, 13800) -> B2",
                                              "roundAmount(10000, 1) -> 10000", "scanNext(T36) -> 0",
                                              "scanEnd(T36)"}));
    EXPECT_EQ(lines[3], "scanNext(T36) -> 1");
    EXPECT_EQ(lines[4], "memRealloc(null, 6900) -> B1");
}

// 32,700 records fill the signed 16-bit count; a 32,701st item fails the
// collection without writing past the block, while documents that add no
// item may still follow.
TEST(Collection, StoreHoldsAtMost32700Items) {
    struct Case {
        int invoices;
        int paymentsAfter;
        int result;
    };
    static const Case cases[] = {{32700, 3, 1}, {32701, 0, 0}};
    for (const auto& c : cases) {
        sim::LedgerCounterparty counterparty = debtor(1, {});
        for (int i = 0; i < c.invoices; ++i)
            counterparty.documents.push_back(invoice(static_cast<std::uint32_t>(i), 10000, "20261001"));
        for (int i = 0; i < c.paymentsAfter; ++i)
            counterparty.documents.push_back(payment(99999, 100, "20261001"));
        HostRun run(ledgerOf({counterparty}));
        resetItems();
        EXPECT_EQ(collectInvoices(1, "x"), c.result) << c.invoices;
        EXPECT_EQ(itemCount, 32700);
        EXPECT_EQ(itemCapacity, 32700);
        EXPECT_EQ(run.host.liveBytes(), 32700u * 69u);
        EXPECT_EQ(run.host.calls(sim::Service::memRealloc), 327u);
        EXPECT_EQ(run.host.openScans(), 0u);
    }
}

}  // namespace
