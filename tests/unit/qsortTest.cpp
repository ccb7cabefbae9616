// The plug-in's own quicksort. The native build's other code sorts with the C
// library's, so the plug-in's is built into this test under a name of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#define qsort pluginQsort
#include "runtime/qsort.cpp"
#undef qsort

namespace {

// Every compared element must be a whole element of the array being sorted.
const unsigned char* sortedBase;
std::size_t sortedCount, sortedSize, strayComparisons;

bool isElement(const void* p) {
    auto* at = static_cast<const unsigned char*>(p);
    return at >= sortedBase && at < sortedBase + sortedCount * sortedSize &&
           (at - sortedBase) % sortedSize == 0;
}

std::int32_t keyOf(const void* element) {
    std::int32_t key;
    std::memcpy(&key, element, sizeof key);
    return key;
}

int compareKeys(const void* a, const void* b) {
    if (!isElement(a) || !isElement(b)) {
        ++strayComparisons;
        return 0;
    }
    std::int32_t x = keyOf(a), y = keyOf(b);
    return x < y ? -1 : x > y ? 1 : 0;
}

using Element = std::vector<unsigned char>;

// The key in the first four bytes; the rest tells equal keys apart.
std::vector<Element> elementsOf(const std::vector<std::int32_t>& keys, std::size_t size) {
    std::vector<Element> elements;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        Element e(size);
        std::memcpy(e.data(), &keys[i], sizeof keys[i]);
        for (std::size_t b = 4; b < size; ++b) e[b] = static_cast<unsigned char>(i * 7 + b);
        elements.push_back(e);
    }
    return elements;
}

std::vector<std::int32_t> iota(int n, int from, int step) {
    std::vector<std::int32_t> keys;
    for (int i = 0; i < n; ++i) keys.push_back(from + i * step);
    return keys;
}

std::vector<std::int32_t> scrambled(int n, int range) {
    std::vector<std::int32_t> keys;
    std::uint32_t x = 12345;
    for (int i = 0; i < n; ++i) {
        x = x * 1103515245u + 12345u;
        keys.push_back(static_cast<std::int32_t>((x >> 16) % static_cast<std::uint32_t>(range)));
    }
    return keys;
}

struct SortCase {
    std::string label;
    std::vector<std::int32_t> keys;
    std::size_t size;  // bytes per element
};

TEST(PluginQsort, SortsEveryShapeOfInput) {
    const SortCase cases[] = {
        {"0 elements", {}, 4},
        {"1 element", {5}, 4},
        {"2 elements, reversed", {2, 1}, 4},
        {"9 elements, just past the insertion sort", {9, 3, 7, 1, 8, 2, 6, 4, 5}, 4},
        {"sorted", iota(50, 0, 1), 4},
        {"reversed", iota(50, 49, -1), 4},
        {"all equal", std::vector<std::int32_t>(40, 7), 4},
        {"ties", scrambled(200, 5), 4},
        {"scrambled", scrambled(300, 1000), 4},
        {"69-byte elements, ties", scrambled(150, 12), 69},
        {"69-byte elements, reversed", iota(70, 69, -1), 69},
    };
    for (const SortCase& c : cases) {
        std::vector<Element> elements = elementsOf(c.keys, c.size);
        std::vector<unsigned char> array;
        for (const Element& e : elements) array.insert(array.end(), e.begin(), e.end());
        sortedBase = array.data();
        sortedCount = c.keys.size();
        sortedSize = c.size;
        strayComparisons = 0;

        pluginQsort(array.data(), c.keys.size(), c.size, compareKeys);

        EXPECT_EQ(strayComparisons, 0u) << c.label;
        std::vector<Element> result;
        for (std::size_t i = 0; i < c.keys.size(); ++i)
            result.emplace_back(array.begin() + i * c.size, array.begin() + (i + 1) * c.size);
        EXPECT_TRUE(std::is_sorted(result.begin(), result.end(),
                                   [](const Element& a, const Element& b) { return keyOf(a.data()) < keyOf(b.data()); }))
            << c.label;
        // The same elements, each whole.
        std::sort(result.begin(), result.end());
        std::sort(elements.begin(), elements.end());
        EXPECT_EQ(result, elements) << c.label;
    }
}

}  // namespace
