// The due-date filter and the ordering.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "receivables/itemStore.h"
#include "receivables/receivables.h"
#include "tests/support/hostRun.h"
#include "tests/support/literalReceivables.h"

namespace {

struct Item {
    double amount;
    const char* date;
    std::int16_t paymentDays;
};

// Puts the items into the store as collection would have left them.
void storeItems(const std::vector<Item>& list) {
    resetItems();
    for (std::size_t i = 0; i < list.size(); ++i) {
        ASSERT_TRUE(makeRoomForItem());
        InvoiceItem* item = nextFreeItem();
        ASSERT_NE(item, nullptr);
        std::memset(item, 0, sizeof(*item));
        std::snprintf(item->documentNumber, sizeof(item->documentNumber), "D%zu", i);
        item->amount = list[i].amount;
        std::strcpy(item->date, list[i].date);
        item->paymentDays = list[i].paymentDays;
        ++itemCount;
    }
}

std::vector<std::string> listedNumbers() {
    std::vector<std::string> numbers;
    for (std::int16_t i = 0; i < itemCount; ++i) numbers.emplace_back(items[i].documentNumber);
    return numbers;
}

TEST(Finish, ListsWhatFellDueBeforeTodayAndStillOwes) {
    // Today is 20261209.
    struct Case {
        const char* name;
        Item item;
        bool listed;
    };
    static const Case cases[] = {
        {"due yesterday", {-10000, "20261128", 10}, true},
        {"due today", {-10000, "20261129", 10}, false},
        {"due tomorrow", {-10000, "20261130", 10}, false},
        {"due long ago", {-10000, "20200101", 0}, true},
        {"negative term: due before its date", {-10000, "20261210", -2}, true},
        {"owes an amount that rounds to zero", {-49, "20200101", 0}, false},
        {"left slightly above zero", {49, "20200101", 0}, false},
        {"zeroed by settlement", {0.0, "20200101", 0}, false},
        {"owes what rounds to a hundredth", {-50, "20200101", 0}, true},
    };
    for (const auto& c : cases) {
        HostRun run(sim::HostTables{}, day("20261209"));
        storeItems({c.item});
        EXPECT_EQ(finishItems(), 1);
        EXPECT_EQ(itemCount, c.listed ? 1 : 0) << c.name;
    }
}

TEST(Finish, SortsLargestDebtFirstAndDroppedItemsLast) {
    HostRun run(sim::HostTables{}, day("20261209"));
    storeItems({{-2500000000.0, "20260101", 0},
                {0.0, "20260101", 0},
                {-1000.0, "20260101", 0},
                {-5000.0, "20261220", 0}});
    ASSERT_EQ(finishItems(), 1);
    ASSERT_EQ(itemCount, 2);
    const double expected[] = {-2500000000.0, -1000.0, 0.0, 0.0};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(double{items[i].amount}, expected[i]) << "record " << i;
    EXPECT_EQ(listedNumbers(), (std::vector<std::string>{"D0", "D2"}));
}

TEST(Finish, AdvancesEveryDateAndKeepsTheMostNegativeFirst) {
    HostRun run(sim::HostTables{}, day("20261209"));
    storeItems({{-300, "20261101", 30}, {-100, "20261001", 14}, {0.0, "20261001", 5}, {-200, "20261130", 9}});
    ASSERT_EQ(finishItems(), 1);
    ASSERT_EQ(itemCount, 2);
    EXPECT_EQ(listedNumbers(), (std::vector<std::string>{"D0", "D1"}));
    EXPECT_STREQ(items[0].date, "20261201");
    EXPECT_STREQ(items[1].date, "20261015");
    // D2 (settled) and D3 (due today) follow, both at 0.0, order not defined.
    std::vector<std::string> rest{items[2].date, items[3].date};
    std::sort(rest.begin(), rest.end());
    EXPECT_EQ(rest, (std::vector<std::string>{"20261006", "20261209"}));
}

TEST(Finish, EmptyStoreStillAsksForToday) {
    HostRun run(sim::HostTables{}, day("20261209"));
    run.host.keepTranscript = true;
    resetItems();
    EXPECT_EQ(finishItems(), 1);
    EXPECT_EQ(itemCount, 0);
    EXPECT_EQ(run.host.transcript(), std::vector<std::string>{"todayDate() -> \"20261209\""});
}

// An amount that is no number is a host data fault: it is dropped like a
// settled one, so it is never listed and never sorts in among the listed.
TEST(Finish, NanAmountsAreDropped) {
    HostRun run(sim::HostTables{}, day("20261209"));
    storeItems({{0.0, "20260101", 0},
                {-5000, "20260101", 0},
                {std::nan(""), "20260101", 0},
                {-7000, "20260101", 0},
                {std::nan(""), "20260101", 0}});
    ASSERT_EQ(finishItems(), 1);
    ASSERT_EQ(itemCount, 2);
    EXPECT_EQ(double{items[0].amount}, -7000.0);
    EXPECT_EQ(double{items[1].amount}, -5000.0);
    for (int i = 2; i < 5; ++i) EXPECT_EQ(double{items[i].amount}, 0.0) << i;
}

// Skipping the date question for items already at 0.0 changes nothing.
TEST(Finish, SameRecordsAsTheLiteralFilter) {
    const std::vector<Item> list = {{0.0, "20261101", 30}, {-100, "20261001", 14}, {49, "20261001", 5},
                                    {-200, "20261130", 9}, {0.0, "20270101", 0},   {-1e9, "20261208", 1},
                                    {-3e5, "20261208", 0}, {-3e5, "20261101", -5}};
    std::vector<unsigned char> ours, literal;
    int oursCount, literalCount;
    {
        HostRun run(sim::HostTables{}, day("20261209"));
        storeItems(list);
        finishItems();
        ours = run.blockBytes();
        oursCount = itemCount;
    }
    {
        HostRun run(sim::HostTables{}, day("20261209"));
        storeItems(list);
        literalFinishItems();
        literal = run.blockBytes();
        literalCount = itemCount;
    }
    EXPECT_EQ(oursCount, literalCount);
    EXPECT_EQ(ours, literal);
}

}  // namespace
