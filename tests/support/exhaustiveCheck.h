// The computation against the literal oracle on every small ledger of a
// range (tests/support/smallLedgers.h): the same items, bit for bit, in the
// same order up to ties, and the store, scans and blocks as the host's
// protocol wants them. One host serves the whole range; each ledger is
// written over the last one's records.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

#include "tests/support/smallLedgers.h"

struct ExhaustiveRun {
    int (*computation)();  // the one under test
    int (*oracle)();
    std::FILE* report;     // every difference: what differs and the ledger as JSON
    int reportLimit;       // differences printed in full; the rest are only counted
};

struct ExhaustiveTally {
    std::uint64_t ledgers = 0;
    std::uint64_t differences = 0;
};

// Checks part `part` of `parts` of the space: the ledgers are dealt out in
// runs of a few thousand, so that every part gets ledgers of every shape.
ExhaustiveTally checkSmallLedgers(const SmallLedgerSpace& space, std::uint64_t part, std::uint64_t parts,
                                  const ExhaustiveRun& run);

// What differs on one ledger, or the broken rule of the protocol; empty when
// nothing does.
std::string smallLedgerDifference(const SmallLedger& ledger, const ExhaustiveRun& run);
