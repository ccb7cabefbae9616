// Ledger files: what is accepted, how it lands in the host's records, and a
// refusal for every broken rule that names the field and where it is.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <variant>

#include "sim/core/ledger.h"
#include "sim/core/tables.h"

namespace {

std::string refusalOf(const std::string& json) {
    auto result = sim::readLedger(json, "l.json");
    if (auto* message = std::get_if<std::string>(&result)) return *message;
    return "(accepted)";
}

// One counterparty with one document whose members are `fields`.
std::string withDocument(const std::string& fields) {
    return "{\"counterparties\": [{\"number\": 1, \"documents\": [{" + fields + "}]}]}";
}

struct RefusalCase {
    const char* name;
    std::string json;
    const char* message;
};

TEST(LedgerRead, RefusesWhatBreaksTheRules) {
    const std::string date = "\"date\": \"20261015\"";
    const RefusalCase cases[] = {
        {"syntax", "{\"counterparties\": [}", "l.json:1:21: expected a value"},
        {"trailing comma", "{\"counterparties\": [],}", "l.json:1:23: expected a member name in quotes"},
        {"after the end", "{\"counterparties\": []} x",
         "l.json:1:24: unexpected text after the end of the document"},
        {"duplicate key", "{\"today\": \"20261209\", \"today\": \"20261209\", \"counterparties\": []}",
         "l.json:1:23: member \"today\" appears twice"},
        {"bad UTF-8", "{\"counterparties\": [{\"name\": \"\xC5\"}]}", "l.json:1:31: invalid UTF-8"},
        {"not an object", "[]", "l.json:1:1: ledger: must be an object"},
        {"no counterparties", "{}", "l.json:1:1: counterparties: is missing (an array)"},
        {"unknown top field", "{\"counterparties\": [], \"todya\": 1}", "l.json:1:33: todya: unknown field"},
        // A refusal is one line, whatever the name it shows holds.
        {"control characters in a name", "{\"counterparties\": [], \"a\\nb\\u001b[2J\": 1}",
         "l.json:1:41: a\\u000ab\\u001b[2J: unknown field"},
        {"today", "{\"today\": \"2026-12-09\", \"counterparties\": []}",
         "l.json:1:11: today: must be a date YYYYMMDD"},
        {"number range", "{\"counterparties\": [{\"number\": 32768}]}",
         "l.json:1:32: counterparties[0].number: must be a signed 16-bit integer"},
        {"number fraction", "{\"counterparties\": [{\"number\": 1.5}]}",
         "l.json:1:32: counterparties[0].number: must be a signed 16-bit integer"},
        {"duplicate number", "{\"counterparties\": [{\"number\": 7}, {\"number\": 7}]}",
         "l.json:1:47: counterparties[1].number: must differ from the numbers of the counterparties before "
         "it"},
        {"name not Mazovia", "{\"counterparties\": [{\"name\": \"Caf\u00e9 \u20ac\"}]}",
         "l.json:1:30: counterparties[0].name: has a character the Mazovia code page lacks"},
        {"name control", "{\"counterparties\": [{\"name\": \"a\\u0002b\"}]}",
         "l.json:1:30: counterparties[0].name: must not contain control characters"},
        {"total text", "{\"counterparties\": [{\"dueTotal\": \"100\"}]}",
         "l.json:1:34: counterparties[0].dueTotal: must be a number"},
        {"total range", "{\"counterparties\": [{\"paidTotal\": 1e999}]}",
         "l.json:1:35: counterparties[0].paidTotal: must be a finite number within the range of a double"},
        {"documents kind", "{\"counterparties\": [{\"documents\": {}}]}",
         "l.json:1:35: counterparties[0].documents: must be an array"},
        {"date missing", withDocument("\"number\": \"FV 1\""),
         "l.json:1:49: counterparties[0].documents[0].date: is missing (a date YYYYMMDD)"},
        {"date invalid", withDocument("\"date\": \"20260230\""),
         "l.json:1:58: counterparties[0].documents[0].date: must be a date YYYYMMDD"},
        {"paymentDays", withDocument(date + ", \"paymentDays\": -40000"),
         "l.json:1:85: counterparties[0].documents[0].paymentDays: must be a signed 16-bit integer"},
        {"viewKind", withDocument(date + ", \"viewKind\": true"),
         "l.json:1:82: counterparties[0].documents[0].viewKind: must be a signed 16-bit integer"},
        {"documentId", withDocument(date + ", \"documentId\": 4294967296"),
         "l.json:1:84: counterparties[0].documents[0].documentId: must be a 32-bit integer (-2147483648 to "
         "4294967295)"},
        {"viewRef", withDocument(date + ", \"viewRef\": -2147483649"),
         "l.json:1:81: counterparties[0].documents[0].viewRef: must be a 32-bit integer (-2147483648 to "
         "4294967295)"},
        {"number too long", withDocument(date + ", \"number\": \"123456789012345678901234567890123\""),
         "l.json:1:80: counterparties[0].documents[0].number: must be at most 32 characters"},
        {"five slots", withDocument(date + ", \"slots\": [{}, {}, {}, {}, {\"key\": 1}]"),
         "l.json:1:96: counterparties[0].documents[0].slots: must have at most 4 slots"},
        {"slot key", withDocument(date + ", \"slots\": [{\"key\": 1}, {\"key\": \"2\"}]"),
         "l.json:1:100: counterparties[0].documents[0].slots[1].key: must be a signed 16-bit integer"},
        {"slot field", withDocument(date + ", \"slots\": [{\"amout\": 1}]"),
         "l.json:1:90: counterparties[0].documents[0].slots[0].amout: unknown field"},
    };
    for (const auto& c : cases) EXPECT_EQ(refusalOf(c.json), c.message) << c.name;
}

TEST(LedgerRead, PlacesFieldsAtTheHostsOffsets) {
    auto result = sim::readLedger(R"({
      "today": "20261209",
      "counterparties": [
        {"number": -12, "name": "Hurtownia \u017buraw i Synowie Sp\u00f3\u0142ka", "paidTotal": 250.5,
         "dueTotal": 1500000,
         "documents": [
           {"number": "FV 12/2026", "date": "20261015", "paidAmount": 100, "documentAmount": 1500000,
            "paymentDays": -14, "viewKind": 3, "documentId": 4294967295, "viewRef": -1,
            "slots": [{"key": 4700, "amount": -500000}, {}, {"key": -1, "amount": 0.25}]}
         ]},
        {"number": 13}
      ]
    })",
                                  "l.json");
    ASSERT_TRUE(std::holds_alternative<sim::Ledger>(result)) << std::get<std::string>(result);
    sim::HostTables tables = sim::tablesFromLedger(std::get<sim::Ledger>(result));

    ASSERT_EQ(tables.counterparties.size(), 2u);
    const sim::Record& c = tables.counterparties[0];
    ASSERT_EQ(c.size(), 960u);
    // The name in Mazovia, cut at 20 bytes; the field has no terminator.
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&c[19]), 20), "Hurtownia \xA1uraw i Sy");
    EXPECT_EQ(sim::getDouble(c, 289), 250.5);
    EXPECT_EQ(sim::getDouble(c, 297), 1500000.0);
    EXPECT_EQ(sim::getInt16(c, 958), -12);
    // A short name is padded with blanks.
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&tables.counterparties[1][19]), 20),
              std::string(20, ' '));

    ASSERT_EQ(tables.documentFiles.at(-12).size(), 1u);
    EXPECT_TRUE(tables.documentFiles.at(13).empty());
    const sim::Record& d = tables.documentFiles.at(-12)[0];
    ASSERT_EQ(d.size(), 767u);
    EXPECT_STREQ(reinterpret_cast<const char*>(&d[303]), "FV 12/2026");
    EXPECT_STREQ(reinterpret_cast<const char*>(&d[336]), "20261015");
    EXPECT_EQ(sim::getDouble(d, 354), 100.0);
    EXPECT_EQ(sim::getDouble(d, 362), 1500000.0);
    EXPECT_EQ(sim::getInt16(d, 380), -14);
    EXPECT_EQ(sim::getInt16(d, 382), 3);
    const double slotAmounts[4] = {-500000.0, 0.0, 0.25, 0.0};
    const std::int16_t slotKeys[4] = {4700, 0, -1, 0};
    for (int j = 0; j < 4; ++j) {
        EXPECT_EQ(sim::getDouble(d, 612 + 8 * j), slotAmounts[j]) << "slot " << j;
        EXPECT_EQ(sim::getInt16(d, 711 + 4 * j), slotKeys[j]) << "slot " << j;
    }
    std::uint32_t documentId, viewRef;
    std::memcpy(&documentId, &d[759], 4);
    std::memcpy(&viewRef, &d[763], 4);
    EXPECT_EQ(documentId, 0xFFFFFFFFu);
    EXPECT_EQ(viewRef, 0xFFFFFFFFu);
}

TEST(LedgerRead, SampleLedgerIsValid) {
    auto result = sim::readLedger(sim::sampleLedgerJson(), "sample");
    ASSERT_TRUE(std::holds_alternative<sim::Ledger>(result)) << std::get<std::string>(result);
    EXPECT_FALSE(std::get<sim::Ledger>(result).counterparties.empty());
}

TEST(LedgerRead, DataFileNamesRoundTrip) {
    for (std::int16_t number : {0, 12, -12, 32767, -32768}) {
        std::string name = sim::dataFileName(number);
        EXPECT_EQ(sim::numberOfDataFileName(name.c_str()), number) << name;
    }
    EXPECT_EQ(sim::dataFileName(12), "MMM12.KON");
    for (const char* bad : {"MMM.KON", "MMM012.KON", "MMM12.kon", "XMM12.KON", "MMM99999.KON", "MMM+1.KON"})
        EXPECT_FALSE(sim::numberOfDataFileName(bad)) << bad;
}

}  // namespace
