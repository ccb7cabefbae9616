// The simulator's ledger: the counterparties and documents that tables 35 and
// 36 deliver, read from a JSON file and checked against the host's rules
// before anything runs. Texts are kept in the Mazovia code page.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace sim {

inline constexpr int slotsPerDocument = 4;
inline constexpr std::size_t documentNumberLimit = 32;  // bytes, so the terminator fits its field

struct LedgerSlot {
    std::int16_t key = 0;
    double amount = 0.0;
};

struct LedgerDocument {
    std::string number;
    std::string date;  // YYYYMMDD
    double paidAmount = 0.0;
    double documentAmount = 0.0;
    std::int16_t paymentDays = 0;
    std::int16_t viewKind = 0;
    std::uint32_t documentId = 0;
    std::uint32_t viewRef = 0;
    std::array<LedgerSlot, slotsPerDocument> slots{};
};

struct LedgerCounterparty {
    std::int16_t number = 0;
    std::string name;
    double paidTotal = 0.0;
    double dueTotal = 0.0;
    std::vector<LedgerDocument> documents;
};

struct Ledger {
    std::string today;  // YYYYMMDD, or empty when the file gives none
    std::vector<LedgerCounterparty> counterparties;
};

// The ledger, or one line that names the file, the place, the field and the
// broken rule, e.g. "l.json:7:22: counterparties[0].documents[1].paymentDays:
// must be a signed 16-bit integer".
std::variant<Ledger, std::string> readLedger(std::string_view json, std::string_view sourceName);

// The ledger the simulator runs on when it is given none.
std::string_view sampleLedgerJson();

}  // namespace sim
