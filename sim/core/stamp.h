// The host's build stamps: days from 1 January 1980 to a date given as
// "Mmm dd yyyy" (the compiler's date form, e.g. "Jul 30 2004" or "Mar  3 2009").
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace sim {

std::optional<std::uint32_t> buildStampOf(std::string_view dateText);

}  // namespace sim
