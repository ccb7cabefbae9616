// The host's markup inside Mazovia texts: 0x02 opens a highlighted stretch,
// 0x05 a key label, 0x01 returns to normal.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace sim {

enum class Markup { normal, highlight, keyLabel };

struct MarkedRun {
    Markup markup;
    std::u32string text;  // converted to Unicode
};

// The runs of a text, markup bytes removed; empty runs are left out.
std::vector<MarkedRun> markedRuns(std::string_view mazovia);
// The text as shown, without its markup.
std::u32string plainText(std::string_view mazovia);

}  // namespace sim
