// The simulated host's date rule and money rounding, which every result of
// the computation depends on.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "sim/core/amounts.h"
#include "sim/core/dates.h"

namespace {

struct RoundingCase {
    double amount;
    double rounded;
};

TEST(HostRounding, NearestHundredHalvesAwayFromZero) {
    const double infinity = std::numeric_limits<double>::infinity();
    static const RoundingCase cases[] = {
        {0.0, 0.0},
        {49.0, 0.0},
        {49.999999, 0.0},
        {50.0, 100.0},
        {-50.0, -100.0},
        {-49.999, 0.0},
        {149.0, 100.0},
        {150.0, 200.0},
        {-150.0, -200.0},
        {250.0, 300.0},
        {1234567.0, 1234600.0},
        {-1234550.0, -1234600.0},
        {-1234549.0, -1234500.0},
        {0.5, 0.0},
        {-2.5e9, -2.5e9},
        {1.0e17 + 32, 1.0e17},
        {infinity, infinity},
        {-infinity, -infinity},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sim::roundToHundredths(c.amount), c.rounded) << "amount " << c.amount;
    EXPECT_TRUE(std::isnan(sim::roundToHundredths(std::nan(""))));
}

TEST(HostDates, StoredTextsAndDays) {
    struct Case {
        const char* text;  // with its terminator within 9 bytes, or not
        bool valid;
    };
    static const Case cases[] = {
        {"20261209", true},  {"00010101", true},  {"99991231", true}, {"20240229", true},
        {"20230229", false}, {"21000229", false}, {"20000229", true}, {"20261301", false},
        {"20261200", false}, {"00000101", false}, {"2026120", false}, {"202612099", false},
        {"2026-12-", false}, {"", false},
    };
    for (const auto& c : cases) {
        char text[16] = {};
        std::strncpy(text, c.text, sizeof(text) - 1);
        EXPECT_EQ(sim::dayOfStoredDate(text).has_value(), c.valid) << c.text;
        if (c.valid) {
            char back[sim::storedDateSize];
            sim::writeStoredDate(back, *sim::dayOfStoredDate(text));
            EXPECT_STREQ(back, c.text);
        }
    }
}

TEST(HostDates, CompareAddAndFormat) {
    struct Case {
        const char* date;
        int days;
        const char* moved;
        const char* shown;
    };
    static const Case cases[] = {
        {"20261015", 14, "20261029", "29.10.2026"},
        {"20261231", 1, "20270101", "01.01.2027"},
        {"20240228", 1, "20240229", "29.02.2024"},
        {"20240301", -1, "20240229", "29.02.2024"},
        {"20261209", 0, "20261209", "09.12.2026"},
        {"20261209", -32768, "19370323", "23.03.1937"},
        {"20261209", 32767, "21160826", "26.08.2116"},
        {"99991230", 30, "99991231", "31.12.9999"},  // clamped to the calendar
        {"00010102", -30, "00010101", "01.01.0001"},
        {"2026xx15", 14, "2026xx15", "??.??.????"},  // no date: left alone
    };
    for (const auto& c : cases) {
        char text[sim::storedDateSize + 3] = {};
        std::strcpy(text, c.date);
        sim::addDaysInPlace(text, static_cast<std::int16_t>(c.days));
        EXPECT_STREQ(text, c.moved) << c.date << " + " << c.days;
        char shown[sim::shownDateSize + 1] = {};
        sim::formatStoredDate(shown, text);
        EXPECT_STREQ(shown, c.shown) << c.date;
    }
    EXPECT_LT(sim::compareStoredDates("20261208", "20261209"), 0);
    EXPECT_EQ(sim::compareStoredDates("20261209", "20261209"), 0);
    EXPECT_GT(sim::compareStoredDates("20270101", "20261231"), 0);
    EXPECT_LT(sim::compareStoredDates("garbage", "00010101"), 0) << "a text that is no date comes first";
    EXPECT_EQ(sim::compareStoredDates("garbage", "2026"), 0);
}

TEST(HostDates, ReadsNoFurtherThanTheTerminatorOfEightDigits) {
    // Nine bytes and no more: ASan would flag a read past the array.
    const char unterminated[9] = {'2', '0', '2', '6', '1', '2', '0', '9', '1'};
    EXPECT_FALSE(sim::dayOfStoredDate(unterminated));
    const char shortText[3] = {'2', '0', '\0'};
    EXPECT_FALSE(sim::dayOfStoredDate(shortText));
}

}  // namespace
