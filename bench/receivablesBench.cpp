// Host calls and time of the receivables computation on plausible ledgers of
// growing size, for the literal settlement (every item and slot for every
// document, date first) and for the plug-in's indexed one.
//
//   receivablesBench [ITEMS...]      default: 500 5000 30000
//
// The floor is what the scan protocol itself costs: two scans of every
// debtor's document file (openTable, makeDataFileName, scanBegin, one
// scanNext per document and one more, scanEnd), one roundAmount per document
// in the collection and one per item in the filter.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "receivables/itemStore.h"
#include "receivables/receivables.h"
#include "sim/core/amounts.h"
#include "sim/core/dates.h"
#include "tests/support/hostRun.h"
#include "tests/support/literalReceivables.h"
#include "tests/support/syntheticLedger.h"

namespace {

constexpr double literalLimitSeconds = 60.0;

struct Measurement {
    bool ran = false;
    std::uint64_t calls[sim::serviceCount] = {};
    std::uint64_t total = 0;
    double seconds = 0.0;
    std::vector<unsigned char> block;
    int count = 0;
};

struct LedgerFigures {
    std::uint64_t documents = 0, debtors = 0, items = 0, floor = 0;
    double literalDateQuestions = 0.0;  // 4 per item for every document with a balance
};

bool isDebtor(const sim::LedgerCounterparty& c) {
    return sim::roundToHundredths(c.paidTotal - c.dueTotal) < 0.0;
}

LedgerFigures figuresOf(const sim::Ledger& ledger) {
    LedgerFigures f;
    std::uint64_t withBalance = 0;
    for (const auto& c : ledger.counterparties) {
        f.documents += c.documents.size();
        if (!isDebtor(c)) continue;
        ++f.debtors;
        f.floor += 2 * (4 + c.documents.size() + 1) + c.documents.size();
        for (const auto& d : c.documents) {
            double balance = sim::roundToHundredths(d.paidAmount - d.documentAmount);
            f.items += balance < 0.0;
            withBalance += balance != 0.0;
        }
    }
    f.floor += f.items;
    f.literalDateQuestions = 4.0 * static_cast<double>(f.items) * static_cast<double>(withBalance);
    return f;
}

Measurement measure(const sim::Ledger& ledger, int (*build)(), double minimumSeconds) {
    Measurement m;
    int runs = 0;
    const sim::HostTables tables = sim::tablesFromLedger(ledger);
    for (;;) {
        HostRun run(tables, sim::dayOfDateText(ledger.today).value());
        run.host.moveBlocks = false;  // a host that grows blocks in place, as a C library does
        auto start = std::chrono::steady_clock::now();
        int result = build();
        m.seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!result) {
            std::fprintf(stderr, "the computation failed\n");
            std::exit(1);
        }
        ++runs;
        if (m.seconds >= minimumSeconds || runs == 1000) {
            for (int s = 0; s < sim::serviceCount; ++s)
                m.calls[s] = run.host.calls(static_cast<sim::Service>(s));
            m.total = run.host.totalCalls();
            m.block = run.blockBytes();
            m.count = itemCount;
            break;
        }
    }
    m.seconds /= runs;
    m.ran = true;
    return m;
}

std::string grouped(std::uint64_t value) {
    std::string digits = std::to_string(value), out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

std::string duration(double seconds) {
    char text[32];
    if (seconds >= 1.0)
        std::snprintf(text, sizeof(text), "%.2f s", seconds);
    else
        std::snprintf(text, sizeof(text), "%.2f ms", seconds * 1e3);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {500, 5000, 30000};

    // The literal computation's time is all but its date comparisons: a small
    // run tells what one costs, so that runs beyond the limit can be skipped.
    double secondsPerDateQuestion;
    {
        const sim::Ledger small = plausibleLedger(1, 300);
        secondsPerDateQuestion =
            measure(small, literalBuildReceivables, 0.2).seconds / figuresOf(small).literalDateQuestions;
    }
    for (int size : sizes) {
        const sim::Ledger ledger = plausibleLedger(static_cast<std::uint64_t>(size), size);
        const LedgerFigures f = figuresOf(ledger);
        std::printf("\n%s items, %s documents, %s debtors; floor %s host calls\n", grouped(f.items).c_str(),
                    grouped(f.documents).c_str(), grouped(f.debtors).c_str(), grouped(f.floor).c_str());

        Measurement literal;
        double estimate = f.literalDateQuestions * secondsPerDateQuestion;
        if (estimate < literalLimitSeconds) {
            literal = measure(ledger, literalBuildReceivables, 0.0);
            secondsPerDateQuestion = literal.seconds / f.literalDateQuestions;
        }
        Measurement ours = measure(ledger, buildReceivables, 0.5);

        std::printf("  %-18s %16s %12s\n", "host service", "literal", "indexed");
        for (int s = 0; s < sim::serviceCount; ++s)
            std::printf("  %-18s %16s %12s\n", sim::serviceName(static_cast<sim::Service>(s)),
                        literal.ran ? grouped(literal.calls[s]).c_str() : "-",
                        grouped(ours.calls[s]).c_str());
        std::printf("  %-18s %16s %12s\n", "total", literal.ran ? grouped(literal.total).c_str() : "-",
                    grouped(ours.total).c_str());
        std::printf("  %-18s %16s %12s\n", "time", literal.ran ? duration(literal.seconds).c_str() : "-",
                    duration(ours.seconds).c_str());
        if (literal.ran) {
            std::printf("  literal / indexed: %.0fx the host calls, %.0fx the time; same items: %s\n",
                        static_cast<double>(literal.total) / static_cast<double>(ours.total),
                        literal.seconds / ours.seconds,
                        literal.block == ours.block && literal.count == ours.count ? "yes" : "NO");
        } else {
            std::printf("  literal skipped: about %s of date comparisons alone (limit %.0f s)\n",
                        duration(estimate).c_str(), literalLimitSeconds);
        }
        std::printf("  indexed total / floor: %.2f\n",
                    static_cast<double>(ours.total) / static_cast<double>(f.floor));
    }
    return 0;
}
