// Random bytes through the simulator's ledger reader, the one place where the
// development kit reads what a user wrote. Every input must leave the reader
// memory-safe (the sanitizers watch) and end in a ledger or one refusal line;
// an accepted ledger keeps the rules the host's tables rely on when they copy
// it into fixed records.
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <variant>

#include "sim/core/ledger.h"

namespace {

void check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

bool isDate(const std::string& text) {
    if (text.size() != 8) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    std::string_view json(reinterpret_cast<const char*>(bytes), size);
    auto result = sim::readLedger(json, "fuzz.json");
    if (auto* refusal = std::get_if<std::string>(&result)) {
        check(refusal->rfind("fuzz.json:", 0) == 0, "a refusal names the file first");
        for (char c : *refusal) {
            auto byte = static_cast<unsigned char>(c);
            check(byte >= 0x20 && byte != 0x7F, "a refusal is one line without control characters");
        }
        return 0;
    }
    const sim::Ledger& ledger = std::get<sim::Ledger>(result);
    check(ledger.today.empty() || isDate(ledger.today), "today is a date or absent");
    std::set<int> numbers;
    for (const sim::LedgerCounterparty& counterparty : ledger.counterparties) {
        check(numbers.insert(counterparty.number).second, "counterparty numbers are unique");
        for (const sim::LedgerDocument& document : counterparty.documents) {
            check(document.number.size() <= sim::documentNumberLimit, "a document number fits its field");
            check(isDate(document.date), "a document has a date");
        }
    }
    return 0;
}
