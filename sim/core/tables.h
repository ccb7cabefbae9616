// Tables 35 and 36 as the host keeps them: one record image per counterparty
// and one document file per counterparty number, each record laid out at the
// byte offsets that the host's record buffer shows to a plug-in.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "sim/core/ledger.h"

namespace sim {

// Table 35: a counterparty record.
namespace counterpartyField {
inline constexpr std::size_t name = 19;  // 20 bytes, blank-padded
inline constexpr std::size_t nameWidth = 20;
inline constexpr std::size_t paidTotal = 289;  // double
inline constexpr std::size_t dueTotal = 297;   // double
inline constexpr std::size_t number = 958;     // int16
inline constexpr std::size_t recordSize = 960;
}  // namespace counterpartyField

// Table 36: a document record.
namespace documentField {
inline constexpr std::size_t number = 303;          // NUL-terminated, up to the date
inline constexpr std::size_t date = 336;            // NUL-terminated
inline constexpr std::size_t paidAmount = 354;      // double
inline constexpr std::size_t documentAmount = 362;  // double
inline constexpr std::size_t paymentDays = 380;     // int16
inline constexpr std::size_t viewKind = 382;        // int16
inline constexpr std::size_t slotAmount = 612;      // 4 doubles, 8 bytes apart
inline constexpr std::size_t slotKey = 711;         // 4 int16, 4 bytes apart
inline constexpr std::size_t slotKeyStride = 4;
inline constexpr std::size_t documentId = 759;  // uint32
inline constexpr std::size_t viewRef = 763;     // uint32
inline constexpr std::size_t recordSize = 767;
}  // namespace documentField

using Record = std::vector<unsigned char>;

struct HostTables {
    std::vector<Record> counterparties;                         // table 35, in scan order
    std::map<std::int16_t, std::vector<Record>> documentFiles;  // table 36, by counterparty number
};

HostTables tablesFromLedger(const Ledger& ledger);
// A ledger's record as the host keeps it, written over `record` (sized anew,
// so a record of the right size is reused without allocating).
void fillCounterpartyRecord(Record& record, const LedgerCounterparty& counterparty);
void fillDocumentRecord(Record& record, const LedgerDocument& document);

// The name of a counterparty's document file ("MMM12.KON"), and back.
std::string dataFileName(std::int16_t number);
std::optional<std::int16_t> numberOfDataFileName(const char* name);

// Little-endian field access within a record image.
void putDouble(Record& record, std::size_t offset, double value);
void putInt16(Record& record, std::size_t offset, std::int16_t value);
void putUint32(Record& record, std::size_t offset, std::uint32_t value);
double getDouble(const Record& record, std::size_t offset);
std::int16_t getInt16(const Record& record, std::size_t offset);

}  // namespace sim
