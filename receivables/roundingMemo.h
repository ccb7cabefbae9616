// The host's rounding answers of one computation, kept by the exact bits of
// the amount asked about. The computation asks about the same amounts again
// and again: the settlement re-reads every document balance that the
// collection rounded, items keep their collected amounts until settled, and
// the filter rounds amounts the settlement rounded. The host's rounding is a
// function of its argument, so an answer once given is the answer; reusing
// it takes a host call away and changes no decision.
//
// The memo lives in a block of the plug-in's own heap, not the host's: the
// host sees exactly the item store's memRealloc and memFree calls and nothing
// else. The block grows by doubling and is freed when the computation ends,
// on every path. Without memory for it the memo stops growing (or never
// starts) and the computation asks the host as before: it never fails a
// computation.
#pragma once

#include <cstdint>

// How the host's rounding of an amount compares with 0.0.
enum class RoundedSign : unsigned char { below = 1, zero, above, unordered };

// Starts an empty memo; until then, and after the end, every question goes to the host.
void beginRoundingMemo();
// Frees the memo's block, if any.
void endRoundingMemo();
// The sign of roundAmount(amount, 1): remembered, or asked and remembered.
RoundedSign roundedSign(double amount);
// The most slots the memo may grow to (a power of two, 1024 or more; 0: no
// memo at all), as if memory ran out there. For tests; the default is 2^20.
void limitRoundingMemo(std::uint32_t capacity);
