#include "sim/core/tables.h"

#include <cstring>

namespace sim {
namespace {

constexpr char dataFilePrefix[] = "MMM";
constexpr char dataFileExtension[] = ".KON";

void putBytes(Record& record, std::size_t offset, const void* bytes, std::size_t size) {
    std::memcpy(record.data() + offset, bytes, size);
}

}  // namespace

// Host bytes are little-endian; so are both machines the simulator runs on.
void putDouble(Record& record, std::size_t offset, double value) { putBytes(record, offset, &value, 8); }
void putInt16(Record& record, std::size_t offset, std::int16_t value) { putBytes(record, offset, &value, 2); }
void putUint32(Record& record, std::size_t offset, std::uint32_t value) {
    putBytes(record, offset, &value, 4);
}

double getDouble(const Record& record, std::size_t offset) {
    double value;
    std::memcpy(&value, record.data() + offset, sizeof(value));
    return value;
}

std::int16_t getInt16(const Record& record, std::size_t offset) {
    std::int16_t value;
    std::memcpy(&value, record.data() + offset, sizeof(value));
    return value;
}

void fillCounterpartyRecord(Record& record, const LedgerCounterparty& counterparty) {
    namespace f = counterpartyField;
    record.assign(f::recordSize, 0);
    std::string name = counterparty.name.substr(0, f::nameWidth);
    name.resize(f::nameWidth, ' ');
    putBytes(record, f::name, name.data(), f::nameWidth);
    putDouble(record, f::paidTotal, counterparty.paidTotal);
    putDouble(record, f::dueTotal, counterparty.dueTotal);
    putInt16(record, f::number, counterparty.number);
}

void fillDocumentRecord(Record& record, const LedgerDocument& document) {
    namespace f = documentField;
    record.assign(f::recordSize, 0);
    putBytes(record, f::number, document.number.c_str(), document.number.size() + 1);
    putBytes(record, f::date, document.date.c_str(), document.date.size() + 1);
    putDouble(record, f::paidAmount, document.paidAmount);
    putDouble(record, f::documentAmount, document.documentAmount);
    putInt16(record, f::paymentDays, document.paymentDays);
    putInt16(record, f::viewKind, document.viewKind);
    for (std::size_t j = 0; j < document.slots.size(); ++j) {
        putDouble(record, f::slotAmount + 8 * j, document.slots[j].amount);
        putInt16(record, f::slotKey + f::slotKeyStride * j, document.slots[j].key);
    }
    putUint32(record, f::documentId, document.documentId);
    putUint32(record, f::viewRef, document.viewRef);
}

HostTables tablesFromLedger(const Ledger& ledger) {
    HostTables tables;
    for (const LedgerCounterparty& counterparty : ledger.counterparties) {
        fillCounterpartyRecord(tables.counterparties.emplace_back(), counterparty);
        std::vector<Record>& file = tables.documentFiles[counterparty.number];
        for (const LedgerDocument& document : counterparty.documents)
            fillDocumentRecord(file.emplace_back(), document);
    }
    return tables;
}

std::string dataFileName(std::int16_t number) {
    return dataFilePrefix + std::to_string(number) + dataFileExtension;
}

std::optional<std::int16_t> numberOfDataFileName(const char* name) {
    std::size_t length = 0;
    while (length < 260 && name[length]) ++length;
    std::string_view text(name, length);
    std::string_view prefix(dataFilePrefix), extension(dataFileExtension);
    if (text.size() <= prefix.size() + extension.size() || text.substr(0, prefix.size()) != prefix ||
        text.substr(text.size() - extension.size()) != extension)
        return std::nullopt;
    std::string_view digits = text.substr(prefix.size(), text.size() - prefix.size() - extension.size());
    int value = 0;
    bool negative = !digits.empty() && digits[0] == '-';
    if (negative) digits.remove_prefix(1);
    if (digits.empty() || digits.size() > 5) return std::nullopt;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (negative) value = -value;
    if (value < -32768 || value > 32767) return std::nullopt;
    if (dataFileName(static_cast<std::int16_t>(value)) != text)
        return std::nullopt;  // one spelling per number
    return static_cast<std::int16_t>(value);
}

}  // namespace sim
