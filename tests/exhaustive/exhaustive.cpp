// Every small ledger through the computation and through the literal
// settlement (tests/support/smallLedgers.h says which ledgers): the two must
// list the same items, bit for bit, and the host's protocol must hold.
//
//   exhaustive [--size N] [--debtor-documents N] [--other-documents N]
//              [--slots N] [--part K/N] [--report N] [--ledger I] [--count]
//
// Each difference is printed with the ledger in the simulator's JSON form,
// for `./run --ledger FILE --rows`. The last line is
// "exhaustive: N ledgers, D differences (bounds ...) in S s"; the exit status
// is 0 only when D is 0. --ledger prints one ledger of the space and checks
// only that one; --count prints how many ledgers the bounds hold.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "receivables/receivables.h"
#include "tests/support/exhaustiveCheck.h"
#include "tests/support/ledgerJson.h"
#include "tests/support/literalReceivables.h"

namespace {

[[noreturn]] void usage(const char* why) {
    std::fprintf(stderr,
                 "exhaustive: %s\n"
                 "usage: exhaustive [--size N] [--debtor-documents N] [--other-documents N] [--slots N]\n"
                 "                  [--part K/N] [--report N] [--ledger I] [--count]\n",
                 why);
    std::exit(2);
}

std::uint64_t count(const char* text) {
    char* end = nullptr;
    unsigned long long value = std::strtoull(text, &end, 10);
    if (!*text || *end || text[0] == '-') usage("expected a number");
    return value;
}

}  // namespace

int main(int argc, char** argv) {
    SmallLedgerBounds bounds;
    std::uint64_t part = 0, parts = 1, reportLimit = 5, single = 0;
    bool one = false, counting = false;
    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        if (option == "--count") {
            counting = true;
            continue;
        }
        if (i + 1 >= argc) usage(("a value must follow " + option).c_str());
        const char* value = argv[++i];
        if (option == "--size") bounds.size = static_cast<int>(count(value));
        else if (option == "--debtor-documents") bounds.debtorDocuments = static_cast<int>(count(value));
        else if (option == "--other-documents") bounds.otherDocuments = static_cast<int>(count(value));
        else if (option == "--slots") bounds.slotsPerDocument = static_cast<int>(count(value));
        else if (option == "--report") reportLimit = count(value);
        else if (option == "--ledger") one = true, single = count(value);
        else if (option == "--part") {
            const char* slash = std::strchr(value, '/');
            if (!slash) usage("--part takes K/N");
            part = count(std::string(value, slash).c_str());
            parts = count(slash + 1);
            if (parts == 0 || part >= parts) usage("--part K/N needs K below N");
        } else {
            usage(("unknown option " + option).c_str());
        }
    }
    std::string why;
    if (!checkBounds(bounds, why)) usage(why.c_str());
    const SmallLedgerSpace space = smallLedgerSpace(bounds);
    ExhaustiveRun run{buildReceivables, literalBuildReceivables, stdout, static_cast<int>(reportLimit)};

    if (counting) {
        std::printf("%llu\n", static_cast<unsigned long long>(space.total));
        return 0;
    }
    if (one) {
        if (single >= space.total) usage("no such ledger in these bounds");
        sim::Ledger ledger;
        fillLedger(smallLedgerAt(space, single), ledger);
        std::printf("%s", ledgerJson(ledger).c_str());
        std::string what = smallLedgerDifference(smallLedgerAt(space, single), run);
        std::printf("ledger %llu: %s\n", static_cast<unsigned long long>(single),
                    what.empty() ? "no difference" : what.c_str());
        return what.empty() ? 0 : 1;
    }

    auto start = std::chrono::steady_clock::now();
    ExhaustiveTally tally = checkSmallLedgers(space, part, parts, run);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("exhaustive: %llu ledgers, %llu differences (bounds %s) in %.1f s\n",
                static_cast<unsigned long long>(tally.ledgers), static_cast<unsigned long long>(tally.differences),
                describeBounds(bounds).c_str(), seconds);
    return tally.differences == 0 ? 0 : 1;
}
