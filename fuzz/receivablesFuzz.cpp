// Random host records through the whole computation: texts longer than their
// fields or without terminators, dates that are no dates, amounts that are
// NaN, infinite or huge, keys that collide, counterparty numbers that repeat,
// and now and then a host that refuses memory or a table. Every input must
// leave the computation memory-safe (the sanitizers watch), every scan ended,
// no block leaked or freed twice, no listed amount that is no number (whatever
// the host's rounding answers for one), and, where the host refuses nothing,
// the same item block as the literal oracle, bit for bit.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

#include "receivables/itemStore.h"
#include "receivables/receivables.h"
#include "sim/core/dates.h"
#include "sim/core/tables.h"
#include "tests/support/hostRun.h"
#include "tests/support/literalReceivables.h"
#include "tests/support/nativeHost.h"

namespace {

constexpr int maxCounterparties = 6;
constexpr int maxDocuments = 260;  // per file: enough to grow the store past 200 records
constexpr std::int32_t firstDay = 739000;  // somewhere in 2024

void check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

double amount(FuzzedDataProvider& data) {
    static const double interesting[] = {
        0.0, -0.0, 49.0, -49.0, 50.0, -50.0, 150.0, -150.0, 1e6, -1e6, 1e300, -1e300,
        std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::denorm_min(), 4.9e-324, 1e17 + 50,
    };
    switch (data.ConsumeIntegralInRange(0, 3)) {
        case 0: return data.PickValueInArray(interesting);
        case 1: return data.ConsumeIntegralInRange(-10000, 10000) * 100.0;
        case 2: return data.ConsumeIntegralInRange(-3000000, 3000000) / 3.0;
        default: {
            double raw;
            std::uint64_t bits = data.ConsumeIntegral<std::uint64_t>();
            std::memcpy(&raw, &bits, sizeof(raw));
            return raw;
        }
    }
}

// Text bytes at a record offset: short and terminated, or filling the field
// and running on into what follows it.
void text(FuzzedDataProvider& data, sim::Record& record, std::size_t offset, std::size_t room) {
    std::size_t length = data.ConsumeIntegralInRange<std::size_t>(0, room + 8);
    for (std::size_t i = 0; i < length && offset + i < record.size(); ++i)
        record[offset + i] = data.ConsumeIntegralInRange<unsigned char>(1, 255);
}

void date(FuzzedDataProvider& data, sim::Record& record) {
    namespace f = sim::documentField;
    switch (data.ConsumeIntegralInRange(0, 5)) {
        case 0: text(data, record, f::date, 18); break;  // anything, maybe unterminated
        case 1: std::memcpy(&record[f::date], "20240230", 9); break;
        default: {
            char stored[sim::storedDateSize];
            sim::writeStoredDate(stored, firstDay + data.ConsumeIntegralInRange(0, 60));
            std::memcpy(&record[f::date], stored, sizeof(stored));
        }
    }
}

sim::Record document(FuzzedDataProvider& data) {
    namespace f = sim::documentField;
    sim::Record record(f::recordSize, 0);
    if (data.ConsumeBool())
        for (auto& byte : record) byte = 0xEE;  // host bytes around the fields
    text(data, record, f::number, 33);
    date(data, record);
    sim::putDouble(record, f::paidAmount, data.ConsumeBool() ? 0.0 : amount(data));
    sim::putDouble(record, f::documentAmount, amount(data));
    sim::putInt16(record, f::paymentDays, data.ConsumeIntegral<std::int16_t>() >> data.ConsumeIntegralInRange(0, 15));
    sim::putInt16(record, f::viewKind, data.ConsumeIntegral<std::int16_t>());
    for (std::size_t j = 0; j < 4; ++j) {
        sim::putDouble(record, f::slotAmount + 8 * j, data.ConsumeBool() ? 0.0 : amount(data));
        sim::putInt16(record, f::slotKey + 4 * j, static_cast<std::int16_t>(data.ConsumeIntegralInRange(-1, 5)));
    }
    std::uint32_t id = data.ConsumeIntegralInRange<std::uint32_t>(0, 5) | (data.ConsumeIntegral<std::uint32_t>() << 16);
    sim::putUint32(record, f::documentId, id);
    sim::putUint32(record, f::viewRef, data.ConsumeIntegral<std::uint32_t>());
    return record;
}

sim::Record counterparty(FuzzedDataProvider& data, std::int16_t number) {
    namespace f = sim::counterpartyField;
    sim::Record record(f::recordSize, 0);
    text(data, record, f::name, f::nameWidth);
    sim::putDouble(record, f::paidTotal, data.ConsumeIntegralInRange(0, 3) ? 0.0 : amount(data));
    sim::putDouble(record, f::dueTotal, data.ConsumeIntegralInRange(0, 3) ? 1e6 : amount(data));
    sim::putInt16(record, f::number, number);
    return record;
}

struct Outcome {
    int result;
    int count;
    std::vector<unsigned char> block;
};

Outcome run(const sim::HostTables& tables, std::int32_t today, const sim::FailurePlan& failures, int (*build)()) {
    HostRun host(tables, today);
    host.host.failures = failures;
    Outcome outcome{build(), itemCount, host.blockBytes()};
    if (outcome.result)
        for (std::int16_t i = 0; i < itemCount; ++i) check(items[i].amount == items[i].amount, "a listed amount is no number");
    check(host.host.openScans() == 0, "a scan was left open");
    check(host.host.faults().empty(), "the host noted a breach of its protocol");
    if (!outcome.result && failures.failReallocAt == 0 && failures.nullTable == 0)
        check(false, "the computation failed although the host refused nothing");
    releaseItems();
    check(host.host.liveBlocks() == 0, "a block was leaked");
    check(host.host.faults().empty(), "a block was freed twice");
    return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    sim::FailurePlan failures;
    switch (data.ConsumeIntegralInRange(0, 9)) {
        case 0: failures.failReallocAt = data.ConsumeIntegralInRange<std::uint64_t>(1, 12); break;
        case 1:
            failures.nullTable = data.ConsumeBool() ? 35 : 36;
            failures.nullTableFrom = data.ConsumeIntegralInRange<std::uint32_t>(1, 6);
            break;
        default: break;
    }
    // What the host's rounding answers for no number: itself, or a number of either sign.
    static const double nanAnswers[] = {0.0, -100.0, 100.0, -0.0};
    const int nanRounding = data.ConsumeIntegralInRange(-1, 3);
    testHost::setNanRounding(nanRounding < 0 ? nullptr : &nanAnswers[nanRounding]);
    const std::int32_t today = firstDay + data.ConsumeIntegralInRange(0, 90);
    sim::HostTables tables;
    const int counterparties = data.ConsumeIntegralInRange(0, maxCounterparties);
    for (int c = 0; c < counterparties; ++c) {
        // Few numbers: now and then two records share a document file.
        auto number = static_cast<std::int16_t>(data.ConsumeIntegralInRange(-2, 3));
        tables.counterparties.push_back(counterparty(data, number));
        const auto documents = data.ConsumeIntegralInRange<std::size_t>(0, data.ConsumeBool() ? maxDocuments : 12);
        std::vector<sim::Record> fresh;
        for (std::size_t d = 0; d < documents && data.remaining_bytes() > 0; ++d) fresh.push_back(document(data));
        // A long file repeats what the input gave rather than consume all of it.
        auto& file = tables.documentFiles[number];
        for (std::size_t d = 0; !fresh.empty() && d < documents; ++d) file.push_back(fresh[d % fresh.size()]);
    }

    Outcome ours = run(tables, today, failures, buildReceivables);
    // Both ask the host for memory in the same order, so a refusal hits both alike.
    Outcome literal = run(tables, today, failures, literalBuildReceivables);
    check(ours.result == literal.result, "results differ from the literal oracle");
    check(ours.count == literal.count, "item counts differ from the literal oracle");
    check(ours.block == literal.block, "item blocks differ from the literal oracle");
    testHost::setNanRounding(nullptr);
    clearItemStore();
    return 0;
}
