#include "sim/core/dialogDescription.h"

#include <cstring>

namespace sim {
namespace {

std::uint16_t word(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t dword(const unsigned char* p) { return word(p) | static_cast<std::uint32_t>(word(p + 2)) << 16; }

std::string at(std::size_t offset, const std::string& what) {
    return "dialog description, offset " + std::to_string(offset) + ": " + what;
}

}  // namespace

std::size_t dialogDescriptionSize(const unsigned char* block) { return dword(block) + std::size_t{4}; }

std::variant<DialogDescription, std::string> readDialogDescription(const unsigned char* block,
                                                                    std::size_t size) {
    if (size < dialogHeaderSize) return at(0, "shorter than its 8-byte header");
    DialogDescription d{};
    d.bytesAfterFirstLength = dword(block);
    d.bytesAfterSecondLength = word(block + 4);
    d.controlCount = word(block + 6);
    if (d.bytesAfterFirstLength != size - 4) return at(0, "the first length does not give the block's size");
    if (d.bytesAfterSecondLength != size - 8) return at(4, "the second length does not give the block's size");

    std::size_t offset = dialogHeaderSize;
    for (std::size_t i = 0; i <= d.controlCount; ++i) {
        if (size - offset < dialogRecordFixedSize + 1) return at(offset, "a record is cut off");
        const unsigned char* p = block + offset;
        DialogRecord r{offset,
                       word(p),
                       word(p + 2),
                       word(p + 4),
                       word(p + 6),
                       static_cast<std::int16_t>(word(p + 8)),
                       static_cast<std::int16_t>(word(p + 10)),
                       static_cast<std::int16_t>(word(p + 12)),
                       static_cast<std::int16_t>(word(p + 14)),
                       dword(p + 16),
                       {}};
        const unsigned char* text = p + dialogRecordFixedSize;
        const void* end = std::memchr(text, 0, size - offset - dialogRecordFixedSize);
        if (!end) return at(offset + dialogRecordFixedSize, "a text has no terminator inside the block");
        r.text.assign(reinterpret_cast<const char*>(text), static_cast<const unsigned char*>(end) - text);
        if ((i == 0) != (r.kind == dialogKind::dialog))
            return at(offset, i == 0 ? "the first record is no dialog record" : "a second dialog record");
        offset += dialogRecordFixedSize + r.text.size() + 1;
        if (i == 0) d.dialog = std::move(r);
        else d.controls.push_back(std::move(r));
    }
    if (offset != size) return at(offset, "bytes after the last record");
    return d;
}

}  // namespace sim
