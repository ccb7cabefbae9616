// A host dialog description as the dialog runner reads it: a header with two
// lengths and the control count, then the dialog record and the control
// records, each a fixed part of 20 bytes and a terminated Mazovia text.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace sim {

namespace dialogKind {
inline constexpr std::uint16_t dialog = 0xFFFF;
inline constexpr std::uint16_t button = 0;
inline constexpr std::uint16_t field = 3;
inline constexpr std::uint16_t text = 4;
inline constexpr std::uint16_t list = 6;
}  // namespace dialogKind

inline constexpr std::uint16_t reportsNothing = 0xFFFF;
inline constexpr std::size_t dialogHeaderSize = 8;
inline constexpr std::size_t dialogRecordFixedSize = 20;
// The runner reads no description longer than this: a wrong pointer must
// not send it through the whole address space.
inline constexpr std::size_t dialogDescriptionLimit = 0x10000;

struct DialogRecord {
    std::size_t offset;  // in the block
    std::uint16_t kind, number, flags, key;
    std::int16_t x, y, width, height;
    std::uint32_t reserved;
    std::string text;  // Mazovia, markup bytes kept
};

struct DialogDescription {
    std::uint32_t bytesAfterFirstLength;   // block size - 4
    std::uint16_t bytesAfterSecondLength;  // block size - 8
    std::uint16_t controlCount;
    DialogRecord dialog;
    std::vector<DialogRecord> controls;
};

// The description in `size` bytes, or one line telling what is wrong and at
// which offset. Both lengths must count exactly to the end of the last text.
std::variant<DialogDescription, std::string> readDialogDescription(const unsigned char* block,
                                                                    std::size_t size);
// The block's size as its first field gives it (that field plus 4).
std::size_t dialogDescriptionSize(const unsigned char* block);

}  // namespace sim
