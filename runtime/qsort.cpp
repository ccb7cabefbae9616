// The runtime's quicksort: an unstable in-place sort of fixed-size elements,
// median of three with an insertion sort for short runs; recursion only into
// the smaller part, so the stack stays logarithmic.
#include <cstddef>

namespace {

using Compare = int (*)(const void*, const void*);

void swapBytes(unsigned char* a, unsigned char* b, std::size_t size) {
    if (a == b) return;
    while (size--) {
        unsigned char t = *a;
        *a++ = *b;
        *b++ = t;
    }
}

void insertionSort(unsigned char* first, std::size_t count, std::size_t size, Compare compare) {
    for (std::size_t i = 1; i < count; ++i)
        for (std::size_t j = i; j > 0 && compare(first + (j - 1) * size, first + j * size) > 0; --j)
            swapBytes(first + (j - 1) * size, first + j * size, size);
}

void sortRange(unsigned char* first, std::size_t count, std::size_t size, Compare compare) {
    while (count > 8) {
        unsigned char* last = first + (count - 1) * size;
        unsigned char* middle = first + (count / 2) * size;
        // Median of three into first; it serves as the pivot.
        if (compare(middle, first) < 0) swapBytes(middle, first, size);
        if (compare(last, first) < 0) swapBytes(last, first, size);
        if (compare(last, middle) < 0) swapBytes(last, middle, size);
        swapBytes(first, middle, size);
        std::size_t i = 1, j = count - 1;
        for (;;) {
            while (i <= j && compare(first + i * size, first) < 0) ++i;
            while (j >= i && compare(first + j * size, first) > 0) --j;
            if (i >= j) break;
            swapBytes(first + i * size, first + j * size, size);
            ++i;
            --j;
        }
        swapBytes(first, first + j * size, size);
        std::size_t left = j, right = count - j - 1;
        if (left < right) {
            sortRange(first, left, size, compare);
            first += (j + 1) * size;
            count = right;
        } else {
            sortRange(first + (j + 1) * size, right, size, compare);
            count = left;
        }
    }
    insertionSort(first, count, size, compare);
}

}  // namespace

extern "C" void qsort(void* base, std::size_t count, std::size_t size, Compare compare) {
    if (count > 1 && size) sortRange(static_cast<unsigned char*>(base), count, size, compare);
}
