// The host's date rule. A stored date is the text YYYYMMDD with a terminator;
// days are counted on the proleptic Gregorian calendar from 0001-01-01 (day 1)
// to 9999-12-31. A text that is no such date counts as day 0, before every
// date, is left alone by addDays and is shown as "??.??.????".
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace sim {

inline constexpr int storedDateSize = 9;  // YYYYMMDD and the terminator
inline constexpr int shownDateSize = 11;  // DD.MM.YYYY and the terminator

// The day of a stored date text; reads at most 9 bytes (8 digits and the
// terminator), so an unterminated text is no date.
std::optional<std::int32_t> dayOfStoredDate(const char* text);
std::optional<std::int32_t> dayOfDateText(std::string_view text);  // exactly 8 digits
// Writes the stored text of a day, clamped to the calendar's range (9 bytes).
void writeStoredDate(char* out, std::int32_t day);

// The host services' rules.
int compareStoredDates(const char* a, const char* b);
void addDaysInPlace(char* text, std::int16_t days);
void formatStoredDate(char* out, const char* stored);  // writes 11 bytes

// Today's date on the system clock (UTC), as a day.
std::int32_t systemToday();

}  // namespace sim
