#include "sim/core/dates.h"

#include <chrono>
#include <cstdio>
#include <cstring>

namespace sim {
namespace {

constexpr std::int32_t firstDay = 1;  // 0001-01-01

bool isLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
    static constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeap(year) ? 29 : lengths[month - 1];
}

// Era arithmetic from 0000-03-01 (the civil-date algorithms of H. Hinnant),
// shifted so that 0001-01-01 is day 1.
std::int32_t dayFromCivil(int year, int month, int day) {
    year -= month <= 2;
    const int era = year / 400;
    const int yearOfEra = year - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 305;  // 0001-01-01 is day 1
}

void civilFromDay(std::int32_t dayNumber, int& year, int& month, int& day) {
    const std::int32_t z = dayNumber + 305;
    const int era = z / 146097;
    const int dayOfEra = z - era * 146097;
    const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int mp = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * mp + 2) / 5 + 1;
    month = mp < 10 ? mp + 3 : mp - 9;
    year = yearOfEra + era * 400 + (month <= 2);
}

const std::int32_t lastDay = dayFromCivil(9999, 12, 31);

std::optional<std::int32_t> dayOfDigits(const char* digits) {
    int value[8];
    for (int i = 0; i < 8; ++i) {
        if (digits[i] < '0' || digits[i] > '9') return std::nullopt;
        value[i] = digits[i] - '0';
    }
    int year = value[0] * 1000 + value[1] * 100 + value[2] * 10 + value[3];
    int month = value[4] * 10 + value[5];
    int day = value[6] * 10 + value[7];
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month)) return std::nullopt;
    return dayFromCivil(year, month, day);
}

std::int32_t dayOrZero(const char* text) { return dayOfStoredDate(text).value_or(0); }

}  // namespace

std::optional<std::int32_t> dayOfStoredDate(const char* text) {
    for (int i = 0; i < 8; ++i)
        if (text[i] == '\0') return std::nullopt;
    if (text[8] != '\0') return std::nullopt;
    return dayOfDigits(text);
}

std::optional<std::int32_t> dayOfDateText(std::string_view text) {
    if (text.size() != 8) return std::nullopt;
    return dayOfDigits(text.data());
}

void writeStoredDate(char* out, std::int32_t dayNumber) {
    if (dayNumber < firstDay) dayNumber = firstDay;
    if (dayNumber > lastDay) dayNumber = lastDay;
    int year, month, day;
    civilFromDay(dayNumber, year, month, day);
    char text[storedDateSize + 8];
    std::snprintf(text, sizeof(text), "%04d%02d%02d", year, month, day);
    std::memcpy(out, text, storedDateSize);
}

int compareStoredDates(const char* a, const char* b) {
    std::int32_t dayA = dayOrZero(a), dayB = dayOrZero(b);
    return (dayA > dayB) - (dayA < dayB);
}

void addDaysInPlace(char* text, std::int16_t days) {
    if (auto day = dayOfStoredDate(text)) writeStoredDate(text, *day + days);
}

void formatStoredDate(char* out, const char* stored) {
    char text[shownDateSize + 8] = "??.??.????";
    if (auto dayNumber = dayOfStoredDate(stored)) {
        int year, month, day;
        civilFromDay(*dayNumber, year, month, day);
        std::snprintf(text, sizeof(text), "%02d.%02d.%04d", day, month, year);
    }
    std::memcpy(out, text, shownDateSize);
}

std::int32_t systemToday() {
    using namespace std::chrono;
    auto days =
        duration_cast<duration<std::int64_t, std::ratio<86400>>>(system_clock::now().time_since_epoch())
            .count();
    return dayFromCivil(1970, 1, 1) + static_cast<std::int32_t>(days);
}

}  // namespace sim
