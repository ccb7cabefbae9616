// Settlement of slots and credits, case by case. Every case runs through the
// plug-in's indexed settlement and through the literal oracle: both must
// reach the expected amounts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "receivables/itemStore.h"
#include "receivables/receivables.h"
#include "tests/support/hostRun.h"
#include "tests/support/ledgerMaking.h"
#include "tests/support/literalReceivables.h"

namespace {

using Settle = int (*)(std::int16_t);

// Collects every debtor, settles every debtor, and returns the item amounts
// in array order, before the due-date filter.
std::vector<double> settledAmounts(const sim::Ledger& ledger, Settle settle) {
    HostRun run(ledger);
    resetItems();
    for (const auto& c : ledger.counterparties) EXPECT_EQ(collectInvoices(c.number, c.name.c_str()), 1);
    prepareSettlement();
    for (const auto& c : ledger.counterparties) EXPECT_EQ(settle(c.number), 1);
    std::vector<double> amounts;
    for (const InvoiceItem& item : run.listed()) amounts.push_back(double{item.amount});
    EXPECT_EQ(run.host.openScans(), 0u);
    EXPECT_TRUE(run.host.faults().empty());
    return amounts;
}

sim::LedgerSlot slot(std::int16_t key, double amount) { return {key, amount}; }

// A document that owes `amount` itself and carries slots, paying nothing.
sim::LedgerDocument owingWithSlots(std::uint32_t id, double amount, std::string date,
                                   std::vector<sim::LedgerSlot> slots) {
    sim::LedgerDocument document = payment(id, 0.0, std::move(date), std::move(slots));
    document.documentAmount = amount;
    return document;
}

struct SettlementCase {
    const char* name;
    sim::Ledger ledger;
    std::vector<double> amounts;  // items in array order after settlement
};

std::vector<SettlementCase> settlementCases() {
    const std::string d1 = "20261001", d2 = "20261005", d0 = "20260920";
    return {
        {"slot of the item's sign reduces it",
         ledgerOf({debtor(1, {invoice(1, 1000000, d1), payment(9, 300000, d2, {slot(1, -300000)})})}),
         {-700000}},
        {"slot beyond the item zeroes it; the excess becomes surplus for the next item",
         ledgerOf({debtor(1, {invoice(1, 1000000, d1), invoice(2, 500000, d1),
                              payment(9, 1200000, d2, {slot(1, -1200000)})})}),
         {0.0, -300000}},
        {"surplus zeroes the first item, reduces the second and stops",
         ledgerOf({debtor(1, {invoice(1, 300000, d1), invoice(2, 400000, d1), invoice(3, 100000, d1),
                              payment(9, 0.0, d2), invoice(8, -500000, d2)})}),
         {0.0, -200000, -100000}},
        {"a document whose balance rounds to zero is ignored, slots and all",
         ledgerOf({debtor(1, {invoice(1, 1000000, d1),
                              [&] {
                                  auto d = payment(9, 1000000, d2, {slot(1, -1000000)});
                                  d.documentAmount = 1000040;
                                  return d;
                              }()})}),
         {-1000000}},
        {"a slot never touches another counterparty's item with its key",
         ledgerOf({debtor(1, {invoice(1, 1000000, d1)}),
                   debtor(2, {invoice(7, 50000, d1), owingWithSlots(9, 100, d2, {slot(1, -300000)})})}),
         {-1000000, -50000, -100}},
        {"a slot of a document dated before the item's is not applied",
         ledgerOf({debtor(1, {invoice(1, 1000000, d1), owingWithSlots(9, 100, d0, {slot(1, -300000)})})}),
         {-1000000, -100}},
        {"a document of the same date applies",
         ledgerOf({debtor(1, {invoice(1, 1000000, d1), owingWithSlots(9, 100, d1, {slot(1, -300000)})})}),
         {-700000, -100}},
        {"a slot matching two items by the low 16 bits applies in full to both",
         ledgerOf({debtor(1, {invoice(0x00010005, 1000000, d1), invoice(0x00020005, 500000, d1),
                              payment(9, 300000, d2, {slot(5, -300000)})})}),
         {-700000, -200000}},
        {"an item at 0.0 takes no further slot and no surplus",
         ledgerOf({debtor(
             1, {invoice(1, 1000000, d1), invoice(2, 200000, d1),
                 payment(9, 1500000, d2, {slot(1, -1000000), slot(1, -500000)}), invoice(8, -100000, d2)})}),
         {0.0, -100000}},
        {"an unmatched positive balance is added unrounded",
         ledgerOf({debtor(1, {invoice(1, 1000000, d1), payment(9, 123456.7, d2, {slot(99, -5)})})}),
         {-1000000 + 123456.7}},
        {"one document's slots add up on one item",
         ledgerOf({debtor(
             1, {invoice(1, 1000000, d1), payment(9, 500000, d2, {slot(1, -200000), slot(1, -300000)})})}),
         {-500000}},
        {"a slot of the other sign moves the item away from zero",
         ledgerOf({debtor(1, {invoice(1, 1000000, d1), payment(9, 300000, d2, {slot(1, 300000)})})}),
         {-1300000}},
        {"unpaid document, used slot, unused slots of zero: no surplus",
         ledgerOf({debtor(1, {invoice(1, 1000000, d1), owingWithSlots(5, 50000, d2, {slot(1, -300000)})})}),
         {-700000, -50000}},
        {"unpaid document, an unused slot with an amount: the rest becomes surplus",
         ledgerOf(
             {debtor(1, {invoice(1, 1000000, d1),
                         owingWithSlots(5, 50000, d2, {slot(1, -300000), slot(0, 0), slot(77, 20000)})})}),
         {-670000, -50000}},
        {"a negative surplus is not spent",
         ledgerOf({debtor(1, {invoice(1, 1000000, d1),
                              owingWithSlots(5, 50000, d2, {slot(1, -300000), slot(77, 80000)})})}),
         {-700000, -50000}},
        {"a surplus that rounds to zero is not spent",
         ledgerOf({debtor(1, {invoice(1, 1000000, d1),
                              owingWithSlots(5, 50000, d2, {slot(1, -300000), slot(77, 49960)})})}),
         {-700000, -50000}},
        {"a paid document with an unused slot adds nothing to the surplus",
         ledgerOf({debtor(
             1, {invoice(1, 1000000, d1), payment(9, 500000, d2, {slot(1, -200000), slot(99, -300000)})})}),
         {-800000}},
        {"absent slots (key 0, amount 0) never apply; a key-0 slot with an amount does",
         // 65536 has low 16 bits 0. Taken literally, the credit note's absent
         // slots would "apply" to it unchanged and its credit would be lost.
         ledgerOf({debtor(1, {invoice(65535, 100000, d1), invoice(65536, 200000, d1), invoice(65537, 300000, d1),
                              payment(9, 150000, d2, {slot(0, -150000)}), invoice(10, -120000, "20261010")})}),
         {0.0, -30000, -300000}},
        {"surplus is spent only on its own counterparty, in array order",
         ledgerOf({debtor(2, {invoice(21, 100000, d1)}),
                   debtor(1, {invoice(11, 100000, d1), invoice(12, 100000, d1), invoice(8, -150000, d2)})}),
         {-100000, 0.0, -50000}},
    };
}

TEST(Settlement, CasesAgreeWithExpectedAmounts) {
    for (const SettlementCase& c : settlementCases()) {
        EXPECT_EQ(settledAmounts(c.ledger, settleCounterparty), c.amounts) << "indexed: " << c.name;
        EXPECT_EQ(settledAmounts(c.ledger, literalSettleCounterparty), c.amounts) << "literal: " << c.name;
    }
}

TEST(Settlement, TableThirtySixMissingChangesNothing) {
    sim::Ledger ledger = ledgerOf(
        {debtor(1, {invoice(1, 1000000, "20261001"), payment(9, 300000, "20261005", {slot(1, -300000)})})});
    HostRun run(ledger);
    resetItems();
    ASSERT_EQ(collectInvoices(1, "Firma 1"), 1);
    prepareSettlement();
    run.host.failures.nullTable = 36;
    run.host.keepTranscript = true;
    EXPECT_EQ(settleCounterparty(1), 0);
    EXPECT_EQ(double{run.listed().at(0).amount}, -1000000.0);
    EXPECT_EQ(run.host.transcript(), std::vector<std::string>{"openTable(36) -> null"});
}

}  // namespace
