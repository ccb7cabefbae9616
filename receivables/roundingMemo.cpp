#include "receivables/roundingMemo.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "frame/hostServices.h"

namespace {

// The block holds `capacity` keys (the amounts' bits) and then `capacity`
// signs, 0 marking an empty slot. 9 bytes per slot; the capacity is a power of
// two and at most half used.
constexpr std::uint32_t firstCapacity = 1024;
std::uint32_t capacityLimit = 1u << 20;
constexpr std::uint32_t bytesPerSlot = sizeof(std::uint64_t) + 1;

struct Memo {
    bool active;
    unsigned char* block;
    std::uint32_t capacity;
    std::uint32_t used;
    bool full;  // no memory for a larger table: keep what we have
};

Memo memo;

std::uint64_t* keys(unsigned char* block) { return reinterpret_cast<std::uint64_t*>(block); }
unsigned char* signs(unsigned char* block, std::uint32_t capacity) {
    return block + capacity * sizeof(std::uint64_t);
}

std::uint32_t slotOf(std::uint64_t key, std::uint32_t capacity) {
    // Fibonacci hashing: the high bits of the product, as many as the table needs.
    std::uint64_t mixed = key * 0x9E3779B97F4A7C15ull;
    return static_cast<std::uint32_t>(mixed >> 32) & (capacity - 1);
}

// The slot that holds `key`, or the empty slot where it belongs.
std::uint32_t probe(const unsigned char* block, std::uint32_t capacity, std::uint64_t key) {
    const auto* keyCells = reinterpret_cast<const std::uint64_t*>(block);
    const unsigned char* signCells = block + capacity * sizeof(std::uint64_t);
    std::uint32_t slot = slotOf(key, capacity);
    while (signCells[slot] && keyCells[slot] != key) slot = (slot + 1) & (capacity - 1);
    return slot;
}

void insert(unsigned char* block, std::uint32_t capacity, std::uint64_t key, RoundedSign sign) {
    std::uint32_t slot = probe(block, capacity, key);
    keys(block)[slot] = key;
    signs(block, capacity)[slot] = static_cast<unsigned char>(sign);
}

// Doubles the table (or makes the first); false when there is no memory for it.
bool grow() {
    std::uint32_t capacity = memo.block ? memo.capacity * 2 : firstCapacity;
    if (capacity > capacityLimit) return false;
    auto* block = static_cast<unsigned char*>(std::malloc(capacity * bytesPerSlot));
    if (!block) return false;
    std::memset(signs(block, capacity), 0, capacity);
    if (memo.block) {
        const unsigned char* oldSigns = signs(memo.block, memo.capacity);
        for (std::uint32_t slot = 0; slot < memo.capacity; ++slot)
            if (oldSigns[slot])
                insert(block, capacity, keys(memo.block)[slot], static_cast<RoundedSign>(oldSigns[slot]));
        std::free(memo.block);
    }
    memo.block = block;
    memo.capacity = capacity;
    return true;
}

RoundedSign askHost(double amount) {
    double rounded = roundAmount(amount, 1);
    if (rounded < 0.0) return RoundedSign::below;
    if (rounded > 0.0) return RoundedSign::above;
    if (rounded == 0.0) return RoundedSign::zero;
    return RoundedSign::unordered;
}

}  // namespace

void beginRoundingMemo() {
    endRoundingMemo();
    memo.active = true;
}

void endRoundingMemo() {
    std::free(memo.block);
    memo = Memo{};
}

void limitRoundingMemo(std::uint32_t capacity) { capacityLimit = capacity; }

RoundedSign roundedSign(double amount) {
    if (!memo.active) return askHost(amount);
    std::uint64_t key;
    std::memcpy(&key, &amount, sizeof(key));
    if (memo.block) {
        std::uint32_t slot = probe(memo.block, memo.capacity, key);
        if (unsigned char known = signs(memo.block, memo.capacity)[slot])
            return static_cast<RoundedSign>(known);
    }
    RoundedSign sign = askHost(amount);
    if (!memo.full && (memo.used + 1) * 2 > memo.capacity && !grow()) memo.full = true;
    if (memo.block && (memo.used + 1) * 2 <= memo.capacity) {
        insert(memo.block, memo.capacity, key, sign);
        ++memo.used;
    }
    return sign;
}
