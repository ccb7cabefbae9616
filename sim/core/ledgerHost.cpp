#include "sim/core/ledgerHost.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "sim/core/amounts.h"
#include "sim/core/codepage.h"
#include "sim/core/dates.h"

namespace sim {
namespace {

constexpr std::uint32_t counterpartyTable = 35;
constexpr std::uint32_t documentTable = 36;
constexpr std::size_t fileNameBytes = 260;
constexpr unsigned char freshBytes = 0xCD;     // what a grown block holds beyond the old contents
constexpr unsigned char scanStateFill = 0xA5;  // what the host writes into a scan state

std::size_t recordSizeOf(std::uint32_t table) {
    return table == counterpartyTable ? counterpartyField::recordSize : documentField::recordSize;
}

// A Mazovia text as a quoted UTF-8 literal; control bytes as \xNN.
std::string quoted(const char* text, std::size_t limit) {
    if (!text) return "null";
    std::string out = "\"";
    for (std::size_t i = 0; i < limit && text[i]; ++i) {
        auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '"' || byte == '\\') {
            out += '\\';
            out += static_cast<char>(byte);
        } else if (byte < 0x20 || byte == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof(hex), "\\x%02X", byte);
            out += hex;
        } else {
            appendUtf8(out, mazoviaToUnicode(byte));
        }
    }
    return out + "\"";
}

std::string number(double value) {
    char text[40];
    std::snprintf(text, sizeof(text), "%.17g", value);
    return text;
}

std::string storedDate(const char* text) { return quoted(text, storedDateSize); }

}  // namespace

namespace {

struct ServiceFacts {
    const char* name;
    int number;
    const char* decorated;
};

constexpr ServiceFacts serviceFacts[serviceCount] = {
    {"openTable", 52256, "_openTable@4"},
    {"scanBegin", 52278, "_scanBegin@24"},
    {"scanNext", 52279, "_scanNext@4"},
    {"scanEnd", 52281, "_scanEnd@4"},
    {"makeDataFileName", 52311, "_makeDataFileName@20"},
    {"copyField", 52161, "_copyField@12"},
    {"roundAmount", 52179, "_roundAmount@12"},
    {"todayDate", 30204, "_todayDate@4"},
    {"addDays", 31708, "_addDays@8"},
    {"compareDates", 30908, "_compareDates@8"},
    {"formatDate", 32008, "_formatDate@8"},
    {"memRealloc", 21286, "_memRealloc@8"},
    {"memFree", 21287, "_memFree@4"},
};

}  // namespace

const char* serviceName(Service service) { return serviceFacts[static_cast<int>(service)].name; }
int serviceNumber(Service service) { return serviceFacts[static_cast<int>(service)].number; }
const char* decoratedServiceName(Service service) {
    return serviceFacts[static_cast<int>(service)].decorated;
}

LedgerHost::LedgerHost(HostTables tables, std::int32_t today) : tables_(std::move(tables)), today_(today) {}

LedgerHost::~LedgerHost() {
    for (auto& [block, info] : blocks_) std::free(block);
}

std::uint64_t LedgerHost::totalCalls() const {
    std::uint64_t total = 0;
    for (std::uint64_t c : calls_) total += c;
    return total;
}

std::size_t LedgerHost::liveBytes() const {
    std::size_t total = 0;
    for (const auto& [block, info] : blocks_) total += info.bytes;
    return total;
}

TableHandle* LedgerHost::handleOf(std::uint32_t table) {
    auto& handle = handles_[table];
    if (!handle) {
        // One handle per table, never closed, its record buffer exactly one
        // record long: a plug-in reading past a record reads past the buffer.
        auto& buffer = recordBuffers_[table];
        buffer = std::make_unique<unsigned char[]>(recordSizeOf(table));
        handle = std::make_unique<TableHandle>(TableHandle{table, 0, buffer.get()});
    }
    return handle.get();
}

void* LedgerHost::openTable(std::int32_t table) {
    count(Service::openTable);
    if (table != static_cast<std::int32_t>(counterpartyTable) &&
        table != static_cast<std::int32_t>(documentTable)) {
        fault("openTable(" + std::to_string(table) + "): the host has no such table here");
        note(Service::openTable, [&] { return "openTable(" + std::to_string(table) + ") -> null"; });
        return nullptr;
    }
    TableHandle* handle = handleOf(static_cast<std::uint32_t>(table));
    ++handle->openings;
    if (failures.nullTable == table && handle->openings >= failures.nullTableFrom) {
        note(Service::openTable, [&] { return "openTable(" + std::to_string(table) + ") -> null"; });
        return nullptr;
    }
    note(Service::openTable,
         [&] { return "openTable(" + std::to_string(table) + ") -> T" + std::to_string(table); });
    return handle;
}

std::int32_t LedgerHost::scanBegin(void* state, void* handleArgument, std::int32_t index, const char* key,
                                   std::int32_t exact, std::int32_t zero) {
    count(Service::scanBegin);
    if (scans_.count(state)) fault("scanBegin on a scan state whose scan was never ended");
    std::memset(state, scanStateFill, scanStateBytes);
    Scan scan;
    for (auto& [table, known] : handles_)
        if (known.get() == handleArgument) scan.handle = known.get();
    if (!scan.handle) {
        fault("scanBegin with a handle that openTable did not return");
    } else if (scan.handle->table == counterpartyTable) {
        scan.table = counterpartyTable;
        if (index != 6 || key || exact != 0 || zero != 0)
            fault("scanBegin on table 35 expects index 6, no key, 0, 0");
        scan.records = &tables_.counterparties;
    } else {
        scan.table = documentTable;
        if (index != 53 || !key || exact != 1 || zero != 0)
            fault("scanBegin on table 36 expects index 53, a file name, 1, 0");
        if (key) {
            scan.key = key;
            std::size_t length = 0;
            while (length < fileNameBytes && key[length]) ++length;
            scan.keyText.assign(key, length);
            if (auto number = numberOfDataFileName(key)) {
                auto file = tables_.documentFiles.find(*number);
                if (file != tables_.documentFiles.end()) scan.records = &file->second;
            }
        }
    }
    std::int32_t result = scan.records && !scan.records->empty() ? 1 : 0;
    note(Service::scanBegin, [&] {
        return "scanBegin(T" + std::to_string(scan.table) + ", " + std::to_string(index) + ", " +
               quoted(key, fileNameBytes) + ", " + std::to_string(exact) + ", " + std::to_string(zero) +
               ") -> " + std::to_string(result);
    });
    scans_[state] = std::move(scan);
    return result;
}

std::int32_t LedgerHost::scanNext(void* state) {
    count(Service::scanNext);
    ++scanNextCalls_;
    auto found = scans_.find(state);
    if (found == scans_.end()) {
        fault("scanNext on a scan state without a running scan");
        note(Service::scanNext, [&] { return "scanNext(?) -> 0"; });
        return 0;
    }
    Scan& scan = found->second;
    if (scanNextCalls_ == failures.scanErrorAt) {
        // A read error: the scan stays where it was, and still wants its scanEnd.
        note(Service::scanNext,
             [&] { return "scanNext(T" + std::to_string(scan.table) + ") -> -1 (read error on request)"; });
        return -1;
    }
    if (scan.key && std::strncmp(scan.key, scan.keyText.c_str(), scan.keyText.size() + 1) != 0)
        fault("the key of a running scan changed before its scanEnd");
    std::int32_t result = 0;
    if (scan.records && scan.next < scan.records->size()) {
        const Record& record = (*scan.records)[scan.next++];
        std::size_t size = recordSizeOf(scan.table);
        std::memset(scan.handle->recordBuffer, 0, size);
        std::memcpy(scan.handle->recordBuffer, record.data(), std::min(size, record.size()));
        result = 1;
    }
    note(Service::scanNext,
         [&] { return "scanNext(T" + std::to_string(scan.table) + ") -> " + std::to_string(result); });
    return result;
}

void LedgerHost::scanEnd(void* state) {
    count(Service::scanEnd);
    auto found = scans_.find(state);
    if (found == scans_.end()) {
        fault("scanEnd on a scan state without a running scan");
        note(Service::scanEnd, [&] { return "scanEnd(?)"; });
        return;
    }
    note(Service::scanEnd, [&] { return "scanEnd(T" + std::to_string(found->second.table) + ")"; });
    scans_.erase(found);
}

void LedgerHost::makeDataFileName(std::int32_t numberArgument, char* buffer, const char* prefix,
                                  const char* extension, std::int32_t kind) {
    count(Service::makeDataFileName);
    if (kind != 104) fault("makeDataFileName expects the kind 104");
    auto counterparty = static_cast<std::int16_t>(numberArgument);
    std::string name =
        std::string(prefix ? prefix : "") + std::to_string(counterparty) + (extension ? extension : "");
    name = name.substr(0, fileNameBytes - 1);
    std::memcpy(buffer, name.c_str(), name.size() + 1);
    note(Service::makeDataFileName, [&] {
        return "makeDataFileName(" + std::to_string(counterparty) + ", " + quoted(prefix, 16) + ", " +
               quoted(extension, 16) + ", " + std::to_string(kind) + ") -> " + quoted(buffer, fileNameBytes);
    });
}

void LedgerHost::copyField(char* destination, const char* field, std::int32_t width) {
    count(Service::copyField);
    std::size_t length = 0;
    while (static_cast<std::int32_t>(length) < width && field[length]) {
        destination[length] = field[length];
        ++length;
    }
    while (length > 0 && destination[length - 1] == ' ') --length;
    destination[length] = '\0';
    note(Service::copyField,
         [&] { return "copyField(" + std::to_string(width) + ") -> " + quoted(destination, length); });
}

double LedgerHost::roundAmount(double amount, std::int32_t precision) {
    count(Service::roundAmount);
    if (precision != 1) fault("roundAmount expects the precision 1");
    double rounded = roundToHundredths(amount);
    note(Service::roundAmount, [&] {
        return "roundAmount(" + number(amount) + ", " + std::to_string(precision) + ") -> " + number(rounded);
    });
    return rounded;
}

void LedgerHost::todayDate(char* buffer) {
    count(Service::todayDate);
    writeStoredDate(buffer, today_);
    note(Service::todayDate, [&] { return "todayDate() -> " + storedDate(buffer); });
}

std::int32_t LedgerHost::compareDates(const char* a, const char* b) {
    count(Service::compareDates);
    std::int32_t result = compareStoredDates(a, b);
    note(Service::compareDates, [&] {
        return "compareDates(" + storedDate(a) + ", " + storedDate(b) + ") -> " + std::to_string(result);
    });
    return result;
}

void LedgerHost::addDays(char* text, std::int32_t days) {
    count(Service::addDays);
    std::string before = noting() ? storedDate(text) : std::string();
    addDaysInPlace(text, static_cast<std::int16_t>(days));  // the upper half is undefined
    note(Service::addDays, [&] {
        return "addDays(" + before + ", " + std::to_string(static_cast<std::int16_t>(days)) + ") -> " +
               storedDate(text);
    });
}

void LedgerHost::formatDate(char* buffer, const char* stored) {
    count(Service::formatDate);
    formatStoredDate(buffer, stored);
    note(Service::formatDate,
         [&] { return "formatDate(" + storedDate(stored) + ") -> " + quoted(buffer, shownDateSize); });
}

std::string LedgerHost::blockName(const void* block) const {
    if (!block) return "null";
    auto found = blocks_.find(const_cast<void*>(block));
    return found == blocks_.end() ? "?" : "B" + std::to_string(found->second.name);
}

void* LedgerHost::memRealloc(void* block, std::uint32_t bytes) {
    count(Service::memRealloc);
    ++reallocCalls_;
    auto call = [&] { return "memRealloc(" + blockName(block) + ", " + std::to_string(bytes) + ") -> "; };
    auto old = blocks_.find(block);
    if (block && old == blocks_.end()) {
        fault("memRealloc of a block that the host does not hold");
        note(Service::memRealloc, [&] { return call() + "null"; });
        return nullptr;
    }
    if (reallocCalls_ == failures.failReallocAt) {
        note(Service::memRealloc, [&] { return call() + "null (failure on request)"; });
        return nullptr;  // the old block stays as it was
    }
    std::size_t oldBytes = block ? old->second.bytes : 0;
    std::string before = noting() ? call() : std::string();
    void* grown;
    if (moveBlocks || !block) {
        grown = std::malloc(bytes ? bytes : 1);
        if (grown && block) std::memcpy(grown, block, std::min<std::size_t>(oldBytes, bytes));
    } else {
        grown = std::realloc(block, bytes ? bytes : 1);
    }
    if (!grown) {
        note(Service::memRealloc, [&] { return before + "null"; });
        return nullptr;
    }
    if (bytes > oldBytes)
        std::memset(static_cast<unsigned char*>(grown) + oldBytes, freshBytes, bytes - oldBytes);
    if (block) {
        if (moveBlocks) std::free(block);
        blocks_.erase(old);
    }
    blocks_[grown] = Block{bytes, ++blocksGiven_};
    note(Service::memRealloc, [&] { return before + blockName(grown); });
    return grown;
}

void LedgerHost::memFree(void* block) {
    count(Service::memFree);
    note(Service::memFree, [&] { return "memFree(" + blockName(block) + ")"; });
    if (!block) return;
    auto found = blocks_.find(block);
    if (found == blocks_.end()) {
        fault("memFree of a block that the host does not hold (freed twice?)");
        return;
    }
    std::free(block);
    blocks_.erase(found);
}

}  // namespace sim
