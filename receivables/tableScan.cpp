#include "receivables/tableScan.h"

#include <cstring>

#include "frame/hostServices.h"

namespace {

constexpr std::int32_t counterpartyTable = 35;
constexpr std::int32_t documentTable = 36;
constexpr std::int32_t counterpartyIndex = 6;
constexpr std::int32_t documentIndex = 53;
constexpr std::int32_t dataFileKind = 104;
// The host keeps the address of its record buffer at this byte of a handle.
constexpr int recordBufferOffset = 8;

const unsigned char* recordBuffer(const void* handle) {
    const unsigned char* buffer;
    std::memcpy(&buffer, static_cast<const unsigned char*>(handle) + recordBufferOffset, sizeof(buffer));
    return buffer;
}

}  // namespace

bool beginCounterpartyScan(TableScan& scan) {
    void* handle = openTable(counterpartyTable);
    if (!handle) return false;
    scan.narrow = true;
    scan.result = static_cast<std::int16_t>(scanBegin(scan.state, handle, counterpartyIndex, nullptr, 0, 0));
    scan.record = recordBuffer(handle);
    return true;
}

bool beginDocumentScan(TableScan& scan, std::int16_t counterpartyNumber) {
    void* handle = openTable(documentTable);
    if (!handle) return false;
    // Empty unless the host writes a name; terminated whatever it writes.
    scan.fileName[0] = '\0';
    makeDataFileName(counterpartyNumber, scan.fileName, "MMM", ".KON", dataFileKind);
    scan.fileName[fileNameSize - 1] = '\0';
    scan.narrow = false;
    scan.result = scanBegin(scan.state, handle, documentIndex, scan.fileName, 1, 0);
    scan.record = recordBuffer(handle);
    return true;
}

bool fetchRecord(TableScan& scan) {
    if (!scan.result) return false;
    scan.result = scanNext(scan.state);
    if (scan.narrow) scan.result = static_cast<std::int16_t>(scan.result);
    return scan.result == 1;
}

void endScan(TableScan& scan) { scanEnd(scan.state); }
