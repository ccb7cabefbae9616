// The simulated host as the plug-in meets it: scans over its record buffer,
// realloc semantics with failures on request, and a witness that notes what a
// plug-in does wrong instead of crashing.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "sim/core/ledgerHost.h"
#include "tests/support/hostRun.h"
#include "tests/support/ledgerMaking.h"

namespace {

using sim::LedgerHost;

sim::HostTables twoCounterparties() {
    return sim::tablesFromLedger(ledgerOf({
        debtor(12, {invoice(1, 1500000.0, "20261015"), invoice(2, 20000.0, "20261016")}),
        debtor(13, {}),
    }));
}

const unsigned char* recordBufferOf(void* handle) {
    const unsigned char* buffer;
    std::memcpy(&buffer, static_cast<unsigned char*>(handle) + 8, sizeof(buffer));
    return buffer;
}

TEST(LedgerHost, DocumentScanDeliversOneCounterpartysFileIntoTheRecordBuffer) {
    LedgerHost host(twoCounterparties(), day("20261209"));
    void* handle = host.openTable(36);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(host.openTable(36), handle) << "a table has one handle";
    const unsigned char* buffer = recordBufferOf(handle);

    char name[260];
    host.makeDataFileName(12, name, "MMM", ".KON", 104);
    EXPECT_STREQ(name, "MMM12.KON");
    alignas(8) unsigned char state[192];
    ASSERT_EQ(host.scanBegin(state, handle, 53, name, 1, 0), 1);
    std::vector<std::string> numbers;
    while (host.scanNext(state) == 1) numbers.emplace_back(reinterpret_cast<const char*>(buffer + 303));
    host.scanEnd(state);
    EXPECT_EQ(numbers, (std::vector<std::string>{"FV 1", "FV 2"}));

    host.makeDataFileName(13, name, "MMM", ".KON", 104);
    EXPECT_EQ(host.scanBegin(state, handle, 53, name, 1, 0), 0) << "an empty file: nothing follows";
    host.scanEnd(state);
    EXPECT_EQ(host.openScans(), 0u);
    EXPECT_TRUE(host.faults().empty());
}

TEST(LedgerHost, NotesProtocolBreaches) {
    struct Case {
        const char* name;
        void (*act)(LedgerHost& host);
        const char* fault;
    };
    static const Case cases[] = {
        {"scan state reused before its scanEnd",
         [](LedgerHost& host) {
             alignas(8) static unsigned char state[192];
             void* handle = host.openTable(35);
             host.scanBegin(state, handle, 6, nullptr, 0, 0);
             host.scanBegin(state, handle, 6, nullptr, 0, 0);
             host.scanEnd(state);
         },
         "scanBegin on a scan state whose scan was never ended"},
        {"scanNext without scanBegin",
         [](LedgerHost& host) {
             alignas(8) unsigned char state[192] = {};
             host.scanNext(state);
         },
         "scanNext on a scan state without a running scan"},
        {"scanEnd twice",
         [](LedgerHost& host) {
             alignas(8) unsigned char state[192];
             host.scanBegin(state, host.openTable(35), 6, nullptr, 0, 0);
             host.scanEnd(state);
             host.scanEnd(state);
         },
         "scanEnd on a scan state without a running scan"},
        {"foreign handle",
         [](LedgerHost& host) {
             alignas(8) unsigned char state[192];
             unsigned char notAHandle[16] = {};
             host.scanBegin(state, notAHandle, 6, nullptr, 0, 0);
             host.scanEnd(state);
         },
         "scanBegin with a handle that openTable did not return"},
        {"counterparty scan with other constants",
         [](LedgerHost& host) {
             alignas(8) unsigned char state[192];
             host.scanBegin(state, host.openTable(35), 53, nullptr, 0, 0);
             host.scanEnd(state);
         },
         "scanBegin on table 35 expects index 6, no key, 0, 0"},
        {"key changed while scanning",
         [](LedgerHost& host) {
             alignas(8) unsigned char state[192];
             char name[260] = "MMM12.KON";
             host.scanBegin(state, host.openTable(36), 53, name, 1, 0);
             std::strcpy(name, "MMM13.KON");
             host.scanNext(state);
             host.scanEnd(state);
         },
         "the key of a running scan changed before its scanEnd"},
        {"free twice",
         [](LedgerHost& host) {
             void* block = host.memRealloc(nullptr, 69);
             host.memFree(block);
             host.memFree(block);
         },
         "memFree of a block that the host does not hold (freed twice?)"},
        {"realloc of a freed block",
         [](LedgerHost& host) {
             void* block = host.memRealloc(nullptr, 69);
             host.memFree(block);
             host.memRealloc(block, 138);
         },
         "memRealloc of a block that the host does not hold"},
        {"rounding precision", [](LedgerHost& host) { host.roundAmount(1.0, 2); },
         "roundAmount expects the precision 1"},
        {"file name kind",
         [](LedgerHost& host) {
             char name[260];
             host.makeDataFileName(1, name, "MMM", ".KON", 105);
         },
         "makeDataFileName expects the kind 104"},
    };
    for (const auto& c : cases) {
        LedgerHost host(twoCounterparties(), day("20261209"));
        c.act(host);
        EXPECT_EQ(host.faults(), std::vector<std::string>{c.fault}) << c.name;
    }
}

TEST(LedgerHost, MemReallocKeepsContentsAndFailsOnRequest) {
    LedgerHost host({}, day("20261209"));
    host.failures.failReallocAt = 3;
    auto* first = static_cast<unsigned char*>(host.memRealloc(nullptr, 4));
    ASSERT_NE(first, nullptr);
    std::memcpy(first, "abcd", 4);
    auto* grown = static_cast<unsigned char*>(host.memRealloc(first, 8));
    ASSERT_NE(grown, nullptr);
    EXPECT_EQ(std::memcmp(grown, "abcd", 4), 0);
    EXPECT_EQ(grown[4], 0xCD) << "new bytes are not zeroed";
    EXPECT_EQ(host.memRealloc(grown, 16), nullptr) << "the third call fails";
    EXPECT_EQ(std::memcmp(grown, "abcd", 4), 0) << "the old block stays intact";
    EXPECT_EQ(host.liveBlocks(), 1u);
    EXPECT_EQ(host.liveBytes(), 8u);
    auto* shrunk = static_cast<unsigned char*>(host.memRealloc(grown, 2));
    EXPECT_EQ(std::memcmp(shrunk, "ab", 2), 0);
    host.memFree(shrunk);
    EXPECT_EQ(host.liveBlocks(), 0u);
    EXPECT_TRUE(host.faults().empty());
    EXPECT_EQ(host.calls(sim::Service::memRealloc), 4u);
    EXPECT_EQ(host.calls(sim::Service::memFree), 1u);
}

TEST(LedgerHost, OpenTableAnswersNullOnRequest) {
    LedgerHost host({}, day("20261209"));
    host.failures.nullTable = 36;
    host.failures.nullTableFrom = 2;
    EXPECT_NE(host.openTable(36), nullptr);
    EXPECT_EQ(host.openTable(36), nullptr);
    EXPECT_EQ(host.openTable(36), nullptr);
    EXPECT_NE(host.openTable(35), nullptr);
    EXPECT_EQ(host.openTable(34), nullptr);
    EXPECT_EQ(host.faults(), std::vector<std::string>{"openTable(34): the host has no such table here"});
}

TEST(LedgerHost, FieldCopiesDatesAndToday) {
    LedgerHost host({}, day("20261209"));
    struct CopyCase {
        const char* field;
        int width;
        const char* copied;
    };
    static const CopyCase copies[] = {
        {"Hurtownia Zuraw     ", 20, "Hurtownia Zuraw"},
        {"Exactly twenty chars", 20, "Exactly twenty chars"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", 20, "ABCDEFGHIJKLMNOPQRST"},
        {"                    ", 20, ""},
        {"short\0ignored       ", 20, "short"},
    };
    for (const auto& c : copies) {
        char out[24];
        std::memset(out, 'x', sizeof(out));
        host.copyField(out, c.field, c.width);
        EXPECT_STREQ(out, c.copied) << c.field;
    }
    char text[12] = "20261015";
    host.addDays(text, 0x7FFF0000 | 14);  // only the low 16 bits count
    EXPECT_STREQ(text, "20261029");
    host.addDays(text, 0x0001FFFF);  // -1
    EXPECT_STREQ(text, "20261028");
    char today[12];
    host.todayDate(today);
    EXPECT_STREQ(today, "20261209");
    char shown[12];
    host.formatDate(shown, today);
    EXPECT_STREQ(shown, "09.12.2026");
}

TEST(LedgerHost, TranscriptNamesCallsAndBlocks) {
    LedgerHost host(twoCounterparties(), day("20261209"));
    host.keepTranscript = true;
    void* block = host.memRealloc(nullptr, 6900);
    block = host.memRealloc(block, 13800);
    host.memFree(block);
    host.roundAmount(-1234550.0, 1);
    EXPECT_EQ(host.transcript(), (std::vector<std::string>{
                                     "memRealloc(null, 6900) -> B1",
                                     "memRealloc(B1, 13800) -> B2",
                                     "memFree(B2)",
                                     "roundAmount(-1234550, 1) -> -1234600",
                                 }));
}

}  // namespace
