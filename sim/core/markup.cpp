#include "sim/core/markup.h"

#include "sim/core/codepage.h"

namespace sim {

std::vector<MarkedRun> markedRuns(std::string_view mazovia) {
    std::vector<MarkedRun> runs;
    Markup current = Markup::normal;
    for (char c : mazovia) {
        auto byte = static_cast<unsigned char>(c);
        if (byte == 0x01 || byte == 0x02 || byte == 0x05) {
            current = byte == 0x01 ? Markup::normal : byte == 0x02 ? Markup::highlight : Markup::keyLabel;
            continue;
        }
        if (runs.empty() || runs.back().markup != current) runs.push_back({current, {}});
        runs.back().text += mazoviaToUnicode(byte);
    }
    return runs;
}

std::u32string plainText(std::string_view mazovia) {
    std::u32string text;
    for (const MarkedRun& run : markedRuns(mazovia)) text += run.text;
    return text;
}

}  // namespace sim
