// The host's ledger side: tables 35 and 36 with their scans, data file names,
// field copies, money rounding, the date rule and the memory services, with
// the conventions a plug-in relies on. Both the native test adapter and the
// Win32 simulator forward the plug-in's service calls here.
//
// Beyond a faithful host it is a witness: it counts every call per service,
// can write a transcript, fails the N-th memRealloc or an openTable on
// request, tracks every block it gave out, and notes each breach of the
// protocol (an unknown block freed, a scan never ended, a scan state reused)
// as a fault instead of crashing.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sim/core/tables.h"

namespace sim {

enum class Service {
    openTable,
    scanBegin,
    scanNext,
    scanEnd,
    makeDataFileName,
    copyField,
    roundAmount,
    todayDate,
    addDays,
    compareDates,
    formatDate,
    memRealloc,
    memFree,
};
inline constexpr int serviceCount = 13;
const char* serviceName(Service service);
// The host's number for the service (52256 for openTable).
int serviceNumber(Service service);
// Its decorated name, as a plug-in may ask for it ("_openTable@4").
const char* decoratedServiceName(Service service);

struct FailurePlan {
    std::uint64_t failReallocAt = 0;  // this memRealloc call (counted from 1) answers null; 0: none
    std::int32_t nullTable = 0;       // openTable answers null for this table ...
    std::uint32_t nullTableFrom = 1;  // ... from its N-th opening on (counted from 1)
    std::uint64_t scanErrorAt = 0;    // this scanNext call (counted from 1) answers -1; 0: none
};

inline constexpr int scanStateBytes = 192;

// What openTable returns. The record buffer's address sits at byte 8, where
// a plug-in reads it.
struct TableHandle {
    std::uint32_t table;
    std::uint32_t openings;
    unsigned char* recordBuffer;
};
static_assert(offsetof(TableHandle, recordBuffer) == 8, "plug-ins read the buffer's address at byte 8");

class LedgerHost {
public:
    LedgerHost(HostTables tables, std::int32_t today);
    ~LedgerHost();
    LedgerHost(const LedgerHost&) = delete;
    LedgerHost& operator=(const LedgerHost&) = delete;

    FailurePlan failures;
    bool keepTranscript = false;
    // Also hands every transcript line to this function, with its service.
    void (*lineSink)(Service service, const std::string& line) = nullptr;
    // Every memRealloc moves the block, so that a plug-in still using the old
    // one is caught; off, blocks grow in place where the C library can.
    bool moveBlocks = true;

    // The services, with the arguments the plug-in passes.
    void* openTable(std::int32_t table);
    std::int32_t scanBegin(void* state, void* handle, std::int32_t index, const char* key, std::int32_t exact,
                           std::int32_t zero);
    std::int32_t scanNext(void* state);
    void scanEnd(void* state);
    void makeDataFileName(std::int32_t number, char* buffer, const char* prefix, const char* extension,
                          std::int32_t kind);
    void copyField(char* destination, const char* field, std::int32_t width);
    double roundAmount(double amount, std::int32_t precision);
    void todayDate(char* buffer);
    std::int32_t compareDates(const char* a, const char* b);
    void addDays(char* text, std::int32_t days);
    void formatDate(char* buffer, const char* stored);
    void* memRealloc(void* block, std::uint32_t bytes);
    void memFree(void* block);

    // What the witness saw.
    std::uint64_t calls(Service service) const { return calls_[static_cast<int>(service)]; }
    std::uint64_t totalCalls() const;
    void resetCalls() { calls_.fill(0); }
    const std::vector<std::string>& faults() const { return faults_; }
    const std::vector<std::string>& transcript() const { return transcript_; }
    void clearTranscript() { transcript_.clear(); }
    std::size_t liveBlocks() const { return blocks_.size(); }
    std::size_t liveBytes() const;
    std::size_t openScans() const { return scans_.size(); }

    HostTables& tables() { return tables_; }
    const HostTables& tables() const { return tables_; }
    std::int32_t today() const { return today_; }
    void setToday(std::int32_t day) { today_ = day; }

private:
    struct Scan {
        std::uint32_t table = 0;
        TableHandle* handle = nullptr;
        const std::vector<Record>* records = nullptr;  // null: nothing to deliver
        std::size_t next = 0;
        const char* key = nullptr;  // read again on every step, as a keyed scan does
        std::string keyText;
    };
    struct Block {
        std::size_t bytes;
        std::uint32_t name;  // for the transcript
    };

    void count(Service service) { ++calls_[static_cast<int>(service)]; }
    void fault(std::string text) { faults_.push_back(std::move(text)); }
    bool noting() const { return keepTranscript || lineSink; }
    // Transcript lines are only built when someone reads them.
    template <class MakeLine>
    void note(Service service, MakeLine makeLine) {
        if (!noting()) return;
        std::string line = makeLine();
        if (lineSink) lineSink(service, line);
        if (keepTranscript) transcript_.push_back(std::move(line));
    }
    TableHandle* handleOf(std::uint32_t table);
    std::string blockName(const void* block) const;

    HostTables tables_;
    std::int32_t today_;
    std::array<std::uint64_t, serviceCount> calls_{};
    std::vector<std::string> faults_;
    std::vector<std::string> transcript_;
    std::map<std::uint32_t, std::unique_ptr<TableHandle>> handles_;
    std::map<std::uint32_t, std::unique_ptr<unsigned char[]>> recordBuffers_;
    std::map<const void*, Scan> scans_;
    std::map<void*, Block> blocks_;
    std::uint64_t reallocCalls_ = 0;
    std::uint64_t scanNextCalls_ = 0;
    std::uint32_t blocksGiven_ = 0;
};

}  // namespace sim
