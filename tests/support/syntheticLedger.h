// Ledgers generated from a seed: small tangled ones for the differential test
// (few keys, so slots hit items often, also of other counterparties; amounts
// near the rounding halves; dates on both sides of every comparison) and
// large plausible ones for the benchmark.
#pragma once
#include <cstdint>

#include "sim/core/ledger.h"

// A deterministic generator (splitmix64): the same seed gives the same ledger
// on every platform.
struct SeededRandom {
    std::uint64_t state;
    std::uint64_t next();
    int below(int bound);            // 0 .. bound - 1
    int between(int low, int high);  // low .. high
    bool chance(int percent);
};

sim::Ledger tangledLedger(std::uint64_t seed);

// About `invoices` unpaid invoices and twice as many documents, spread over
// counterparties of a few to a few dozen documents each.
sim::Ledger plausibleLedger(std::uint64_t seed, int invoices);
