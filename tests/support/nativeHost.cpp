#include "tests/support/nativeHost.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "frame/hostServices.h"

namespace testHost {
namespace {

sim::LedgerHost* current;
bool nanRoundingSet;
double nanRoundingAnswer;

}  // namespace

Installed::Installed(sim::LedgerHost& host) : previous_(current) { current = &host; }
Installed::~Installed() { current = previous_; }

sim::LedgerHost& host() {
    if (!current) {
        std::fprintf(stderr, "a host service was called with no test host installed\n");
        std::abort();
    }
    return *current;
}

void setNanRounding(const double* answer) {
    nanRoundingSet = answer != nullptr;
    if (answer) nanRoundingAnswer = *answer;
}

double roundedAnswer(double amount, std::int32_t precision) {
    double rounded = host().roundAmount(amount, precision);
    return amount != amount && nanRoundingSet ? nanRoundingAnswer : rounded;
}

}  // namespace testHost

using testHost::host;

extern "C" {

void* openTable(std::int32_t table) { return host().openTable(table); }
std::int32_t scanBegin(void* state, void* handle, std::int32_t index, const char* key, std::int32_t exact,
                       std::int32_t zero) {
    return host().scanBegin(state, handle, index, key, exact, zero);
}
std::int32_t scanNext(void* state) { return host().scanNext(state); }
void scanEnd(void* state) { host().scanEnd(state); }
void makeDataFileName(std::int32_t number, char* buffer, const char* prefix, const char* extension,
                      std::int32_t kind) {
    host().makeDataFileName(number, buffer, prefix, extension, kind);
}
void copyField(char* destination, const char* field, std::int32_t width) {
    host().copyField(destination, field, width);
}
double roundAmount(double amount, std::int32_t precision) { return testHost::roundedAnswer(amount, precision); }
void todayDate(char* buffer) { host().todayDate(buffer); }
std::int32_t compareDates(const char* a, const char* b) { return host().compareDates(a, b); }
void addDays(char* dateText, std::int32_t days) { host().addDays(dateText, days); }
void formatDate(char* buffer, const char* stored) { host().formatDate(buffer, stored); }
void* memRealloc(void* block, std::uint32_t bytes) { return host().memRealloc(block, bytes); }
void memFree(void* block) { host().memFree(block); }

}  // extern "C"
