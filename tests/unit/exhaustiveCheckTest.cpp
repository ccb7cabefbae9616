// The exhaustive check's own pieces: the ledgers it prints read back as the
// tables it ran on, and it tells a wrong list from a right one, ties aside.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "receivables/itemStore.h"
#include "receivables/receivables.h"
#include "sim/core/ledger.h"
#include "sim/core/tables.h"
#include "tests/support/exhaustiveCheck.h"
#include "tests/support/hostRun.h"
#include "tests/support/ledgerJson.h"
#include "tests/support/literalReceivables.h"
#include "tests/support/smallLedgers.h"

namespace {

sim::Ledger readBack(const std::string& json) {
    auto read = sim::readLedger(json, "small.json");
    if (auto* refusal = std::get_if<std::string>(&read)) {
        ADD_FAILURE() << *refusal << "\n" << json;
        return {};
    }
    return std::get<sim::Ledger>(read);
}

// Files by number, empty ones left out: an empty file and none scan alike.
std::map<std::int16_t, std::vector<sim::Record>> filesOf(const sim::HostTables& tables) {
    std::map<std::int16_t, std::vector<sim::Record>> files;
    for (const auto& [number, file] : tables.documentFiles)
        if (!file.empty()) files[number] = file;
    return files;
}

TEST(SmallLedgers, PrintedLedgersReadBackAsTheTablesChecked) {
    const SmallLedgerSpace space = smallLedgerSpace(SmallLedgerBounds{});
    // The first and last ledger of every shape, and a spread between.
    std::vector<std::uint64_t> indices;
    for (const SmallLedgerShape& shape : space.shapes) {
        indices.push_back(shape.first);
        indices.push_back(shape.first + shape.count - 1);
    }
    for (std::uint64_t index = 0; index < space.total; index += space.total / 3000) indices.push_back(index);
    sim::Ledger ledger;
    sim::HostTables written;  // written over and over, as the check does
    for (std::uint64_t index : indices) {
        fillLedger(smallLedgerAt(space, index), ledger);
        fillTables(ledger, written);
        const sim::Ledger read = readBack(ledgerJson(ledger));
        const sim::HostTables expected = sim::tablesFromLedger(read);
        ASSERT_EQ(read.today, ledger.today) << "ledger " << index;
        ASSERT_EQ(written.counterparties, expected.counterparties) << "ledger " << index;
        ASSERT_EQ(filesOf(written), filesOf(expected)) << "ledger " << index;
    }
}

// Faults planted after a right computation.
int droppingLastItem() {
    int result = literalBuildReceivables();
    if (itemCount > 0) --itemCount;
    return result;
}

int offByOneBit() {
    int result = literalBuildReceivables();
    if (itemCount > 0) items[0].amount = std::nextafter(double{items[0].amount}, 0.0);
    return result;
}

int leavingTheBlock() {
    int result = literalBuildReceivables();
    items = nullptr;  // the host still holds it
    return result;
}

// Equal amounts the other way round: the sort leaves their order open.
int reversingTies() {
    int result = literalBuildReceivables();
    for (int from = 0; from < itemCount;) {
        int to = from + 1;
        while (to < itemCount && items[to].amount == items[from].amount) ++to;
        for (int a = from, b = to - 1; a < b; ++a, --b) std::swap(items[a], items[b]);
        from = to;
    }
    return result;
}

struct PlantedFault {
    const char* name;
    int (*computation)();
    bool found;
};

const PlantedFault plantedFaults[] = {
    {"the right computation", buildReceivables, false},
    {"equal amounts in the other order", reversingTies, false},
    {"the last listed item left out", droppingLastItem, true},
    {"a listed amount one bit off", offByOneBit, true},
    {"the item block never freed", leavingTheBlock, true},
};

// The first ledger of a report, as printed.
std::string firstReportedLedger(const std::string& report) {
    std::size_t begin = report.find("{\n");
    std::size_t end = report.find("\n}\n", begin);
    return begin == std::string::npos || end == std::string::npos ? "" : report.substr(begin, end + 3 - begin);
}

TEST(ExhaustiveCheck, FindsPlantedFaultsAndPrintsLedgersThatShowThem) {
    SmallLedgerBounds bounds;
    bounds.size = 2;
    const SmallLedgerSpace space = smallLedgerSpace(bounds);
    for (const PlantedFault& fault : plantedFaults) {
        char* text = nullptr;
        std::size_t length = 0;
        std::FILE* report = open_memstream(&text, &length);
        ASSERT_NE(report, nullptr);
        ExhaustiveTally tally = checkSmallLedgers(space, 0, 1, {fault.computation, literalBuildReceivables, report, 1});
        std::fclose(report);
        std::string printed(text, length);
        std::free(text);
        EXPECT_EQ(tally.ledgers, space.total) << fault.name;
        EXPECT_EQ(tally.differences > 0, fault.found) << fault.name << "\n" << printed;
        if (!fault.found || tally.differences == 0) continue;
        // The printed ledger shows the fault on its own.
        const sim::Ledger ledger = readBack(firstReportedLedger(printed));
        std::vector<std::string> planted, right;
        {
            HostRun run(ledger);
            fault.computation();
            planted = items ? describedList() : std::vector<std::string>{"no block"};
        }
        {
            HostRun run(ledger);
            literalBuildReceivables();
            right = describedList();
        }
        EXPECT_NE(planted, right) << fault.name << "\n" << printed;
    }
}

}  // namespace
