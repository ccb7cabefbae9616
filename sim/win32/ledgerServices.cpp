// The ledger side of the host: tables 35 and 36 filled from the ledger file,
// their scans, data file names, field copies, money rounding, the date rule
// and the memory services, all served by sim::LedgerHost, whose tables and
// date the host's own screens show too (ledgerAccess.h). Its transcript
// lines go into the simulator's transcript under the service's number; a
// breach of the protocol is reported on standard error as it happens, and a
// block the plug-in still holds when the simulator ends is reported then.
#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <type_traits>
#include <variant>

#include "sim/core/dates.h"
#include "sim/core/ledger.h"
#include "sim/core/ledgerHost.h"
#include "sim/win32/console.h"
#include "sim/win32/host.h"
#include "sim/win32/ledgerAccess.h"
#include "sim/win32/options.h"
#include "sim/win32/registry.h"
#include "sim/win32/transcript.h"

namespace {

std::string ledgerPath;  // empty: the sample ledger
std::optional<std::int32_t> todayOption;
sim::FailurePlan failures;
std::unique_ptr<sim::LedgerHost> ledgerHost;

void writeLine(sim::Service service, const std::string& line) {
    transcript("%d %s", sim::serviceNumber(service), line.c_str());
}

// Runs one service call on the ledger host and reports what it noted as wrong.
template <class Call>
auto serve(Call call) {
    sim::LedgerHost& host = *ledgerHost;
    std::size_t faultsBefore = host.faults().size();
    auto report = [&] {
        for (std::size_t i = faultsBefore; i < host.faults().size(); ++i) {
            transcript("host fault: %s", host.faults()[i].c_str());
            complain("host fault: %s", host.faults()[i].c_str());
        }
    };
    if constexpr (std::is_void_v<decltype(call(host))>) {
        call(host);
        report();
    } else {
        auto result = call(host);
        report();
        return result;
    }
}

extern "C" void* __stdcall simOpenTable(std::int32_t table) {
    return serve([&](sim::LedgerHost& h) { return h.openTable(table); });
}
extern "C" std::int32_t __stdcall simScanBegin(void* state, void* handle, std::int32_t index, const char* key,
                                               std::int32_t exact, std::int32_t zero) {
    return serve([&](sim::LedgerHost& h) { return h.scanBegin(state, handle, index, key, exact, zero); });
}
extern "C" std::int32_t __stdcall simScanNext(void* state) {
    return serve([&](sim::LedgerHost& h) { return h.scanNext(state); });
}
extern "C" void __stdcall simScanEnd(void* state) {
    serve([&](sim::LedgerHost& h) { h.scanEnd(state); });
}
extern "C" void __stdcall simMakeDataFileName(std::int32_t number, char* buffer, const char* prefix,
                                              const char* extension, std::int32_t kind) {
    serve([&](sim::LedgerHost& h) { h.makeDataFileName(number, buffer, prefix, extension, kind); });
}
extern "C" void __stdcall simCopyField(char* destination, const char* field, std::int32_t width) {
    serve([&](sim::LedgerHost& h) { h.copyField(destination, field, width); });
}
extern "C" double __stdcall simRoundAmount(double amount, std::int32_t precision) {
    return serve([&](sim::LedgerHost& h) { return h.roundAmount(amount, precision); });
}
extern "C" void __stdcall simTodayDate(char* buffer) {
    serve([&](sim::LedgerHost& h) { h.todayDate(buffer); });
}
extern "C" std::int32_t __stdcall simCompareDates(const char* a, const char* b) {
    return serve([&](sim::LedgerHost& h) { return h.compareDates(a, b); });
}
extern "C" void __stdcall simAddDays(char* text, std::int32_t days) {
    serve([&](sim::LedgerHost& h) { h.addDays(text, days); });
}
extern "C" void __stdcall simFormatDate(char* buffer, const char* stored) {
    serve([&](sim::LedgerHost& h) { h.formatDate(buffer, stored); });
}
extern "C" void* __cdecl simMemRealloc(void* block, std::uint32_t bytes) {
    return serve([&](sim::LedgerHost& h) { return h.memRealloc(block, bytes); });
}
extern "C" void __cdecl simMemFree(void* block) {
    serve([&](sim::LedgerHost& h) { h.memFree(block); });
}

using sim::Service;
const ServiceDef services[] = {
    {52256, sim::decoratedServiceName(Service::openTable), reinterpret_cast<void*>(&simOpenTable)},
    {52278, sim::decoratedServiceName(Service::scanBegin), reinterpret_cast<void*>(&simScanBegin)},
    {52279, sim::decoratedServiceName(Service::scanNext), reinterpret_cast<void*>(&simScanNext)},
    {52281, sim::decoratedServiceName(Service::scanEnd), reinterpret_cast<void*>(&simScanEnd)},
    {52311, sim::decoratedServiceName(Service::makeDataFileName), reinterpret_cast<void*>(&simMakeDataFileName)},
    {52161, sim::decoratedServiceName(Service::copyField), reinterpret_cast<void*>(&simCopyField)},
    {52179, sim::decoratedServiceName(Service::roundAmount), reinterpret_cast<void*>(&simRoundAmount)},
    {30204, sim::decoratedServiceName(Service::todayDate), reinterpret_cast<void*>(&simTodayDate)},
    {30908, sim::decoratedServiceName(Service::compareDates), reinterpret_cast<void*>(&simCompareDates)},
    {31708, sim::decoratedServiceName(Service::addDays), reinterpret_cast<void*>(&simAddDays)},
    {32008, sim::decoratedServiceName(Service::formatDate), reinterpret_cast<void*>(&simFormatDate)},
    {21286, sim::decoratedServiceName(Service::memRealloc), reinterpret_cast<void*>(&simMemRealloc)},
    {21287, sim::decoratedServiceName(Service::memFree), reinterpret_cast<void*>(&simMemFree)},
};
ServiceRegistration registration(services);

bool readFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream content;
    content << in.rdbuf();
    text = content.str();
    return !in.bad();
}

// Before the plug-in is loaded: a ledger that breaks the rules stops the run.
bool loadLedger(std::string& error) {
    std::string text(sim::sampleLedgerJson());
    std::string source = "the sample ledger";
    if (!ledgerPath.empty()) {
        source = ledgerPath;
        if (!readFile(ledgerPath, text)) {
            error = "cannot read the ledger " + ledgerPath;
            return false;
        }
    }
    auto read = sim::readLedger(text, source);
    if (auto* refusal = std::get_if<std::string>(&read)) {
        error = *refusal;
        return false;
    }
    const sim::Ledger& ledger = std::get<sim::Ledger>(read);
    std::int32_t today = todayOption ? *todayOption
                         : ledger.today.empty() ? sim::systemToday()
                                                : *sim::dayOfDateText(ledger.today);
    ledgerHost = std::make_unique<sim::LedgerHost>(sim::tablesFromLedger(ledger), today);
    ledgerHost->failures = failures;
    ledgerHost->lineSink = writeLine;
    return true;
}

struct StartupRegistration {
    StartupRegistration() { addStartupStep(loadLedger); }
} startupRegistration;

// When a session has ended, after the unload: the plug-in must have given
// every block back and ended every scan.
void reportLeftovers() {
    if (!ledgerHost) return;
    if (auto blocks = static_cast<unsigned long>(ledgerHost->liveBlocks())) {
        auto bytes = static_cast<unsigned long>(ledgerHost->liveBytes());
        transcript("host: %lu blocks still held", blocks);
        complain("the plug-in still holds %lu blocks (%lu bytes) of the host's memory", blocks, bytes);
    }
    if (auto scans = static_cast<unsigned long>(ledgerHost->openScans())) {
        transcript("host: %lu scans never ended", scans);
        complain("the plug-in never ended %lu scans", scans);
    }
}
SessionEndCheckRegistration leftoverCheck(reportLeftovers);

// Each session reads its own ledger with its own options.
SessionResetRegistration resetLedger([] {
    ledgerPath.clear();
    todayOption.reset();
    failures = sim::FailurePlan{};
    ledgerHost.reset();
});

bool applyLedger(const char* value, std::string&) {
    ledgerPath = value;
    return true;
}

bool applyToday(const char* value, std::string& error) {
    todayOption = sim::dayOfDateText(value);
    if (!todayOption) error = "expected a date YYYYMMDD, e.g. 20261209";
    return todayOption.has_value();
}

bool applyFailRealloc(const char* value, std::string& error) {
    long long n;
    if (!parseInteger(value, 1, 0x7FFFFFFF, n)) {
        error = "expected a call number from 1";
        return false;
    }
    failures.failReallocAt = static_cast<std::uint64_t>(n);
    return true;
}

bool applyNullTable(const char* value, std::string& error) {
    std::string text = value;
    std::size_t colon = text.find(':');
    long long table, from = 1;
    if (!parseInteger(text.substr(0, colon).c_str(), 35, 36, table) ||
        (colon != std::string::npos && !parseInteger(text.substr(colon + 1).c_str(), 1, 0x7FFFFFFF, from))) {
        error = "expected 35 or 36, optionally with :N for the N-th opening on";
        return false;
    }
    failures.nullTable = static_cast<std::int32_t>(table);
    failures.nullTableFrom = static_cast<std::uint32_t>(from);
    return true;
}

bool applyScanError(const char* value, std::string& error) {
    long long n;
    if (!parseInteger(value, 1, 0x7FFFFFFF, n)) {
        error = "expected a call number from 1";
        return false;
    }
    failures.scanErrorAt = static_cast<std::uint64_t>(n);
    return true;
}

const OptionDef options[] = {
    {OptionGroup::ledger, "--ledger", "FILE", "the ledger (JSON) that tables 35 and 36 show, instead of the sample", applyLedger},
    {OptionGroup::ledger, "--today", "YYYYMMDD", "the date todayDate reports (default: the ledger's today, else the system date)",
     applyToday},
    {OptionGroup::faults, "--fail-realloc", "N", "the N-th memRealloc call answers null, leaving the block as it was",
     applyFailRealloc},
    {OptionGroup::faults, "--null-table", "T[:N]", "openTable(T) answers null, from its N-th opening on (default the first)",
     applyNullTable},
    {OptionGroup::faults, "--scan-error", "N", "the N-th scanNext call answers -1, a read error", applyScanError},
};
OptionRegistration optionRegistration(options);

}  // namespace

const sim::HostTables* hostTables() { return ledgerHost ? &ledgerHost->tables() : nullptr; }

std::size_t hostBlocksHeld() { return ledgerHost ? ledgerHost->liveBlocks() : 0; }
std::size_t hostScansOpen() { return ledgerHost ? ledgerHost->openScans() : 0; }

std::int32_t hostToday() { return ledgerHost ? ledgerHost->today() : sim::systemToday(); }
