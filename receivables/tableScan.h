// One scan of a host table as every pass of the computation runs it: a fresh
// openTable, scanBegin, scanNext until it stops answering 1, and scanEnd on
// every way out once scanBegin has run.
#pragma once
#include <cstdint>

#include "receivables/hostRecords.h"

inline constexpr int scanStateSize = 192;
inline constexpr int fileNameSize = 260;

struct TableScan {
    alignas(8) unsigned char state[scanStateSize];  // filled by the host
    char fileName[fileNameSize];                    // the scan's key: must outlive the scan
    const unsigned char* record;                    // the host's record buffer, read in place
    std::int32_t result;                            // running result; 0: nothing more to read
    bool narrow;                                    // the counterparty scans hold results as 16 bits
};

// Opens table 35 and begins the scan of all counterparties. False when the
// table cannot be opened: then no scan was begun and none must be ended.
bool beginCounterpartyScan(TableScan& scan);
// Opens table 36 and begins the scan of one counterparty's document file.
// False when the table cannot be opened, as above.
bool beginDocumentScan(TableScan& scan, std::int16_t counterpartyNumber);
// Fetches the next record into the host's buffer; false at the end.
bool fetchRecord(TableScan& scan);
void endScan(TableScan& scan);

inline const CounterpartyRecord& currentCounterparty(const TableScan& scan) {
    return *reinterpret_cast<const CounterpartyRecord*>(scan.record);
}
inline const DocumentRecord& currentDocument(const TableScan& scan) {
    return *reinterpret_cast<const DocumentRecord*>(scan.record);
}
