// The list dialog as the host's dialog runner reads it: a header, then nine
// records of a 20-byte fixed part and a terminated Mazovia text each.
#include <array>

#include "ui/listDialog.h"

namespace {

struct DialogRecord {
    std::uint16_t kind;    // 0xFFFF dialog; 0 button, 3 field, 4 text, 6 list
    std::uint16_t number;  // reporting number; 0xFFFF reports nothing
    std::uint16_t flags;   // passed through to the host
    std::uint16_t key;     // scan code in the high byte, character in the low
    std::uint16_t x, y, width, height;
    const char* text;      // Mazovia; 0x05 opens a key label, 0x01 closes it
};

constexpr DialogRecord records[] = {
    // "lista faktur do zapłaty na dzień dzisiejszy i wcześniej"
    {0xFFFF, 1001, 0, 0, 0, 0, 73, 15,
     "lista faktur do zap\x92" "aty na dzie\xA4 dzisiejszy i wcze\x9Eniej"},
    {4, 0xFFFF, 0, 0, 3, 2, 12, 1, "Kontrahent"},
    {4, 0xFFFF, 0, 0, 32, 2, 12, 1, "Dokument"},
    {4, 0xFFFF, 0, 0, 48, 2, 12, 1, "Kwota"},
    {4, 0xFFFF, 0, 0, 59, 2, 12, 1, "Termin zap."},
    {3, 0xFFFF, 0, 0, 55, 1, 12, 1, ""},
    {6, 0x4102, 0x0508, 0, 2, 3, 69, 8, ""},
    // showDocumentButton, F5: "Pokaż dokument"
    {0, 1005, 0x0100, 0x3F00, 15, 12, 21, 1, "\x05" "F5" "\x01" " Poka\xA7 dokument"},
    {0, 0x5002, 0, 0, 43, 12, 12, 1, "\x05" "Esc" "\x01" " Anuluj"},
};
constexpr int controlCount = sizeof(records) / sizeof(records[0]) - 1;

constexpr std::size_t textLength(const char* text) {
    std::size_t n = 0;
    while (text[n]) ++n;
    return n;
}

constexpr std::size_t describedSize() {
    std::size_t size = 8;
    for (const auto& r : records) size += 20 + textLength(r.text) + 1;
    return size;
}
static_assert(describedSize() == listDialogDescriptionSize, "the host reads exactly 317 bytes");

constexpr auto buildDescription() {
    std::array<unsigned char, listDialogDescriptionSize> block{};
    std::size_t at = 0;
    auto put = [&](std::uint32_t value, int width) {
        for (int i = 0; i < width; ++i) block[at++] = static_cast<unsigned char>(value >> (8 * i));
    };
    put(listDialogDescriptionSize - 4, 4);  // bytes after this field
    put(listDialogDescriptionSize - 8, 2);  // bytes after the next field
    put(controlCount, 2);
    for (const auto& r : records) {
        put(r.kind, 2);
        put(r.number, 2);
        put(r.flags, 2);
        put(r.key, 2);
        put(r.x, 2);
        put(r.y, 2);
        put(r.width, 2);
        put(r.height, 2);
        put(0, 4);  // reserved
        for (const char* c = r.text; *c; ++c) block[at++] = static_cast<unsigned char>(*c);
        block[at++] = 0;
    }
    return block;
}

}  // namespace

// Constant-initialised: the block sits in read-only data, built at compile time.
constinit const std::array<unsigned char, listDialogDescriptionSize> listDialogDescription =
    buildDescription();
