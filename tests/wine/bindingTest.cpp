// The generated service table and lazy binding, on the real entries and stubs:
// the table against the declared numbers, the entry and stub instructions, and
// what a bound service sees of its caller's stack and registers.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "binding/binding.h"
#include "sim/win32/faultGuard.h"
#include "tests/wine/check.h"

// The declared numbers as the host's catalogue lists them, in slot order.
static const char declaredRanges[] =
    "20001-20009 20000 20011-20035 20037-20042 20101-20116 20118 20121-20145 20147-20150 "
    "20152-20169 20201-20216 20218-20219 20231-20238 20251-20263 20265-20268 20281-20286 20288 "
    "20301-20313 20321-20330 20351-20358 20401-20409 20421-20430 20451-20455 20466-20476 "
    "20484-20499 20521-20574 20601-20613 20631-20644 20701-20717 20719-20721 20731-20744 "
    "20761-20776 20778 20778-20783 20791-20804 20806 20806-20807 20821-20827 20835-20844 "
    "20901-20967 20971-20976 20979 20981-21006 21008-21027 21101-21109 21100 21111-21135 "
    "21137-21147 21201-21239 21242-21244 21246-21258 21260 21283 21283-21291 21293-21294 "
    "21294-21299 21301-21317 21319-21332 21341-21368 21381-21406 21411-21414 21416-21446 "
    "21451-21457 21461-21479 21481-21489 21491-21493 21601-21607 21621-21627 21630-21643 "
    "21661-21668 21691-21701 21731-21739 52001-52255 33200 33304 33408 33599-33600 52256-52506 "
    "30120 30204 30308 30404 30520 30620 30712 30816 30908 31012 31120 31208 31308 31412 31516 "
    "31608 31708 31908 32008 32108 32200 32300 32408 32500 32699 32712 32808 32912 33099-33100 "
    "33700 33800 33904 34004 34199-34200 34300 34400 34504 34699 34704 34804 34904 35012 35104 "
    "35204 35304 35412 35504 35616 35799 35816 35916 36008 36116 36208 36308 36412 36520 36624 "
    "36708 36800 36900 37000 37100 37208 37304 37404 37504 37600 37700 37800 37900-37978 "
    "38001-38198 38202-38327 38338-38347 38349-38399 38403-38441 40004 40104 40212 40316 40404 "
    "40512 40604 40704 40808 40904 41012 41112 41299 41312 41416 41524 41600-41606 50148 50204 "
    "50376 50516-50521 50612 50704 50800 50904 51028 51104 51244 51300 51424-51513";

// ---- test doubles for the host and the report ------------------------------

HostCallback hostCallback;

namespace {

std::map<std::uintptr_t, std::uintptr_t> hostAnswers;  // what the host offers
std::vector<std::uintptr_t> hostRequests;               // what it was asked
int reportAnswer;                                       // 1 ignore, 0 abort
std::vector<std::uintptr_t> reports;
void* nullReturnToInstall;
void (*duringReport)();

std::uintptr_t __cdecl testCallback(std::int32_t operation, std::uintptr_t id) {
    hostRequests.push_back(operation == 2 ? id : 0xFFFFFFFF);
    auto it = hostAnswers.find(id);
    return it == hostAnswers.end() ? 0 : it->second;
}

}  // namespace

extern "C" std::int32_t __stdcall reportMissingService(ServiceId id, const char* module) {
    reports.push_back(id);
    CHECK(module == nullptr, "the binding names no module");
    if (duringReport) duringReport();
    return reportAnswer;
}

extern "C" void __stdcall pickNullReturn(ServiceId, ServiceSlot* slot) { *slot = nullReturnToInstall; }

// ---- services and a caller in assembly, to see the registers ---------------

struct Registers {
    std::uint32_t eax, ebx, ecx, edx, esi, edi, ebp, esp;
    std::uint32_t top, argument1, argument2;  // return address and arguments as seen
};

extern "C" {
Registers seenByService, afterCall;
std::uint32_t serviceResult, stackBeforeCall;
void __stdcall recordingService(std::uint32_t, std::uint32_t);
void __stdcall otherService(std::uint32_t, std::uint32_t);
void __stdcall nullReturn8(std::uint32_t, std::uint32_t);
// Sets every register to a pattern, pushes two arguments, calls target.
void __cdecl callWithPatterns(void* target, std::uint32_t a1, std::uint32_t a2);
}

constexpr std::uint32_t patterns[7] = {0xE0E0E0E0, 0xB1B1B1B1, 0xC2C2C2C2, 0xD3D3D3D3,
                                       0x5E5E5E5E, 0xD1D1D1D1, 0xBEBEBEBE};

asm(R"(
    .text
    .globl _recordingService@8
_recordingService@8:
    movl %eax, _seenByService+0
    movl %ebx, _seenByService+4
    movl %ecx, _seenByService+8
    movl %edx, _seenByService+12
    movl %esi, _seenByService+16
    movl %edi, _seenByService+20
    movl %ebp, _seenByService+24
    movl %esp, _seenByService+28
    movl (%esp), %eax
    movl %eax, _seenByService+32
    movl 4(%esp), %eax
    movl %eax, _seenByService+36
    movl 8(%esp), %eax
    movl %eax, _seenByService+40
    movl _serviceResult, %eax
    ret $8

    .globl _otherService@8
_otherService@8:
    movl $0x0DDBA11, %eax
    ret $8

    .globl _nullReturn8@8
_nullReturn8@8:
    xorl %eax, %eax
    ret $8

    .data
savedStack: .long 0
callTarget: .long 0
    .text
    .globl _callWithPatterns
_callWithPatterns:
    pushl %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    movl 20(%esp), %eax
    movl %eax, callTarget
    movl 24(%esp), %ecx
    movl 28(%esp), %edx
    movl %esp, savedStack
    pushl %edx
    pushl %ecx
    movl %esp, _stackBeforeCall
    movl $0xE0E0E0E0, %eax
    movl $0xB1B1B1B1, %ebx
    movl $0xC2C2C2C2, %ecx
    movl $0xD3D3D3D3, %edx
    movl $0x5E5E5E5E, %esi
    movl $0xD1D1D1D1, %edi
    movl $0xBEBEBEBE, %ebp
    call *callTarget
    movl %eax, _afterCall+0
    movl %ebx, _afterCall+4
    movl %ecx, _afterCall+8
    movl %edx, _afterCall+12
    movl %esi, _afterCall+16
    movl %edi, _afterCall+20
    movl %ebp, _afterCall+24
    movl %esp, _afterCall+28
    movl savedStack, %esp
    popl %edi
    popl %esi
    popl %ebx
    popl %ebp
    ret
)");

extern "C" void serviceEntry52006() __asm__("_serviceEntry52006");
extern "C" void serviceEntry52030() __asm__("_serviceEntry52030");
extern "C" void serviceEntry52158() __asm__("_serviceEntry52158");
extern "C" void serviceEntry30908() __asm__("_serviceEntry30908");
extern "C" void serviceEntry20778() __asm__("_serviceEntry20778");
extern "C" void serviceEntry20778_2() __asm__("_serviceEntry20778_2");
extern "C" void bindCommon() __asm__("_bindCommon");

namespace {

std::uintptr_t address(void (*f)()) { return reinterpret_cast<std::uintptr_t>(f); }
std::uintptr_t address(void(__stdcall* f)(std::uint32_t, std::uint32_t)) {
    return reinterpret_cast<std::uintptr_t>(f);
}

std::vector<std::uint16_t> expandRanges(const char* text) {
    std::vector<std::uint16_t> numbers;
    const char* p = text;
    while (*p) {
        char* end;
        long first = std::strtol(p, &end, 10);
        long last = first;
        if (*end == '-') last = std::strtol(end + 1, &end, 10);
        for (long n = first; n <= last; ++n) numbers.push_back(static_cast<std::uint16_t>(n));
        p = end;
        while (*p == ' ') ++p;
    }
    return numbers;
}

int slotIndexOf(void (*entry)()) {
    return static_cast<int>((address(entry) - reinterpret_cast<std::uintptr_t>(serviceEntries)) / 6);
}

void resetHost() {
    hostAnswers.clear();
    hostRequests.clear();
    reports.clear();
    reportAnswer = 0;
    nullReturnToInstall = nullptr;
    duringReport = nullptr;
}

void checkRegistersSeen(int line, std::uint32_t a1, std::uint32_t a2) {
    const Registers& s = seenByService;
    const std::uint32_t seen[7] = {s.eax, s.ebx, s.ecx, s.edx, s.esi, s.edi, s.ebp};
    static const char* names[7] = {"EAX", "EBX", "ECX", "EDX", "ESI", "EDI", "EBP"};
    for (int i = 0; i < 7; ++i)
        CHECK_AT(line, seen[i] == patterns[i], "service saw %s=%08X", names[i], seen[i]);
    CHECK_AT(line, s.esp == stackBeforeCall - 4, "service's ESP %08X, caller's %08X", s.esp,
             stackBeforeCall);
    CHECK_AT(line, s.argument1 == a1 && s.argument2 == a2, "arguments %08X %08X", s.argument1,
             s.argument2);
    const std::uint32_t after[6] = {afterCall.ebx, afterCall.ecx, afterCall.edx,
                                    afterCall.esi, afterCall.edi, afterCall.ebp};
    for (int i = 0; i < 6; ++i)
        CHECK_AT(line, after[i] == patterns[i + 1], "caller got %s=%08X back", names[i + 1], after[i]);
    CHECK_AT(line, afterCall.esp == stackBeforeCall + 8, "8 bytes removed once: ESP %08X vs %08X",
             afterCall.esp, stackBeforeCall);
}

void testTableAgainstDeclaredNumbers() {
    std::vector<std::uint16_t> declared = expandRanges(declaredRanges);
    CHECK(serviceSlotCount == 2079, "%d slots", serviceSlotCount);
    CHECK(declared.size() == 2079u, "declared %u", static_cast<unsigned>(declared.size()));
    CHECK(std::memcmp(declared.data(), serviceSlotNumbers, sizeof serviceSlotNumbers) == 0,
          "the generated slot order differs from the declared order");

    std::map<std::uint16_t, int> uses;
    for (auto n : serviceSlotNumbers) ++uses[n];
    CHECK(uses.size() == 2075u, "%u distinct numbers", static_cast<unsigned>(uses.size()));
    std::set<std::uint16_t> doubled;
    for (auto [n, k] : uses)
        if (k > 1) doubled.insert(n);
    CHECK((doubled == std::set<std::uint16_t>{20778, 20806, 21283, 21294}), "doubled numbers");

    struct Series {
        std::uint16_t low, high;
        unsigned numbers, slots;
    };
    static const Series series[] = {
        {20000, 21739, 859, 863}, {30120, 41606, 603, 603}, {50148, 51513, 107, 107}, {52001, 52506, 506, 506}};
    for (const auto& s : series) {
        unsigned numbers = 0, slots = 0;
        for (auto [n, k] : uses)
            if (n >= s.low && n <= s.high) ++numbers, slots += k;
        CHECK(numbers == s.numbers && slots == s.slots, "series %u-%u: %u numbers in %u slots", s.low,
              s.high, numbers, slots);
    }
    CHECK(serviceSlotsEnd - serviceSlots == 2079, "slot cells");
}

// Every entry is exactly "jmp *slot" and every stub pushes its entry, its slot
// and its number before jumping to the shared binder.
void testEntryAndStubInstructions() {
    CHECK(serviceEntriesEnd - serviceEntries == 6 * 2079, "entries are 6 bytes each");
    int badEntries = 0, badStubs = 0, badSlots = 0;
    for (int i = 0; i < serviceSlotCount; ++i) {
        const unsigned char* e = serviceEntries + 6 * i;
        std::uint32_t target;
        std::memcpy(&target, e + 2, 4);
        if (e[0] != 0xFF || e[1] != 0x25 || target != reinterpret_cast<std::uintptr_t>(&serviceSlots[i]))
            ++badEntries;

        const unsigned char* s = bindStubs + 20 * i;
        std::uint32_t pushedEntry, pushedSlot, pushedId, relative;
        std::memcpy(&pushedEntry, s + 1, 4);
        std::memcpy(&pushedSlot, s + 6, 4);
        std::memcpy(&pushedId, s + 11, 4);
        std::memcpy(&relative, s + 16, 4);
        if (s[0] != 0x68 || s[5] != 0x68 || s[10] != 0x68 || s[15] != 0xE9 ||
            pushedEntry != reinterpret_cast<std::uintptr_t>(e) ||
            pushedSlot != reinterpret_cast<std::uintptr_t>(&serviceSlots[i]) ||
            pushedId != serviceSlotNumbers[i] ||
            reinterpret_cast<std::uintptr_t>(s + 20) + relative != address(bindCommon))
            ++badStubs;
        if (reinterpret_cast<std::uintptr_t>(serviceSlots[i]) != reinterpret_cast<std::uintptr_t>(s))
            ++badSlots;
    }
    CHECK(badEntries == 0, "%d entries are not one indirect jump through their slot", badEntries);
    CHECK(badStubs == 0, "%d bind stubs push the wrong constants", badStubs);
    CHECK(badSlots == 0, "%d slots do not start at their own stub", badSlots);
}

void testFirstAndLaterCalls() {
    resetHost();
    hostAnswers[52006] = address(&recordingService);
    serviceResult = 0x600DCAFE;
    callWithPatterns(reinterpret_cast<void*>(&serviceEntry52006), 0xA1A1A1A1, 0xA2A2A2A2);
    CHECK(afterCall.eax == 0x600DCAFE, "first call returns the service's result, got %08X", afterCall.eax);
    CHECK(hostRequests == std::vector<std::uintptr_t>{52006}, "the host is asked once, by number");
    checkRegistersSeen(__LINE__, 0xA1A1A1A1, 0xA2A2A2A2);

    serviceResult = 0x12345678;
    callWithPatterns(reinterpret_cast<void*>(&serviceEntry52006), 7, 8);
    CHECK(afterCall.eax == 0x12345678, "second call result %08X", afterCall.eax);
    CHECK(hostRequests.size() == 1u, "a second call does not ask the host");
    checkRegistersSeen(__LINE__, 7, 8);
    CHECK(serviceSlots[slotIndexOf(serviceEntry52006)] == reinterpret_cast<void*>(&recordingService),
          "the slot holds the service");
}

void testSlotKeepsFirstAddress() {
    resetHost();
    hostAnswers[30908] = address(&otherService);
    callWithPatterns(reinterpret_cast<void*>(&serviceEntry30908), 1, 2);
    hostAnswers[30908] = address(&recordingService);  // the host would answer otherwise now
    callWithPatterns(reinterpret_cast<void*>(&serviceEntry30908), 1, 2);
    CHECK(afterCall.eax == 0x0DDBA11, "still bound to the first answer, got %08X", afterCall.eax);
    CHECK(hostRequests.size() == 1u, "asked %u times", static_cast<unsigned>(hostRequests.size()));
}

void testDoubledNumberBindsEachSlot() {
    resetHost();
    hostAnswers[20778] = address(&otherService);
    callWithPatterns(reinterpret_cast<void*>(&serviceEntry20778), 1, 2);
    CHECK(hostRequests.size() == 1u, "first slot of 20778 asks once");
    callWithPatterns(reinterpret_cast<void*>(&serviceEntry20778), 1, 2);
    CHECK(hostRequests.size() == 1u, "first slot bound");
    CHECK(serviceSlots[slotIndexOf(serviceEntry20778_2)] != reinterpret_cast<void*>(&otherService),
          "second slot still unbound");
    callWithPatterns(reinterpret_cast<void*>(&serviceEntry20778_2), 1, 2);
    CHECK((hostRequests == std::vector<std::uintptr_t>{20778, 20778}), "second slot asks again");
    CHECK(afterCall.eax == 0x0DDBA11, "second slot bound to the service");
    CHECK(slotIndexOf(serviceEntry20778_2) == slotIndexOf(serviceEntry20778) + 1, "adjacent slots");
}

// A missing service: ignored, the pending call and later calls answer 0 with
// the stack balanced; aborted, the call ends in the binding's own exception.
void testMissingService() {
    resetHost();
    reportAnswer = 1;
    nullReturnToInstall = reinterpret_cast<void*>(&nullReturn8);
    // The report may bind services of its own while the missing one is pending.
    hostAnswers[52158] = address(&otherService);
    duringReport = [] {
        // Unbound while the user decides: a call of it now would end like
        // an aborted one, not jump to address 0.
        CHECK(serviceSlots[slotIndexOf(serviceEntry52030)] == bindStubs + 20 * slotIndexOf(serviceEntry52030) &&
                  serviceEnded(&serviceSlots[slotIndexOf(serviceEntry52030)]),
              "the slot holds its stub, ended, during the report");
        // A plain call: callWithPatterns keeps its state in fixed cells.
        auto nested = reinterpret_cast<void(__stdcall*)(std::uint32_t, std::uint32_t)>(&serviceEntry52158);
        nested(3, 4);
    };
    callWithPatterns(reinterpret_cast<void*>(&serviceEntry52030), 0xA1, 0xA2);
    CHECK(afterCall.eax == 0, "ignored: the pending call returns 0, got %08X", afterCall.eax);
    CHECK(afterCall.esp == stackBeforeCall + 8, "ignored: arguments removed once");
    CHECK((hostRequests == std::vector<std::uintptr_t>{52030, 52158}), "nested binding asked the host");
    duringReport = nullptr;
    callWithPatterns(reinterpret_cast<void*>(&serviceEntry52030), 5, 6);
    CHECK(afterCall.eax == 0 && reports.size() == 1u, "later calls: 0, no second report");
    CHECK(hostRequests.size() == 2u, "the host is not asked again");

    resetHost();
    reportAnswer = 0;
    GuardFault fault{};
    // Slot 5 has not been called yet in this program.
    int faulted = guardedCall(
        [] { callWithPatterns(serviceEntries + 6 * 5, 1, 2); }, &fault);
    CHECK(faulted == 1, "aborted: the pending call ends in an exception");
    CHECK(fault.code == unboundServiceException, "exception code %08lX", fault.code);
    CHECK(fault.flags & EXCEPTION_NONCONTINUABLE, "non-continuable");
    CHECK(fault.parameterCount == 2 && fault.parameters[0] == serviceSlotNumbers[5] &&
              fault.parameters[1] == reinterpret_cast<std::uintptr_t>(&serviceSlots[5]),
          "parameters name the service and its slot");
    void* stub5 = bindStubs + 20 * 5;
    CHECK(serviceSlots[5] == stub5, "the slot holds its bind stub again, never null");
    CHECK(reports == std::vector<std::uintptr_t>{serviceSlotNumbers[5]}, "reported once");

    // Every later call ends exactly like the pending one: no jump to address
    // 0, no second report, no second request to the host.
    for (int call = 2; call <= 3; ++call) {
        fault = GuardFault{};
        faulted = guardedCall([] { callWithPatterns(serviceEntries + 6 * 5, 3, 4); }, &fault);
        CHECK(faulted == 1 && fault.code == unboundServiceException &&
                  (fault.flags & EXCEPTION_NONCONTINUABLE),
              "call %d after Abort: exception %08lX", call, fault.code);
        CHECK(fault.parameterCount == 2 && fault.parameters[0] == serviceSlotNumbers[5] &&
                  fault.parameters[1] == reinterpret_cast<std::uintptr_t>(&serviceSlots[5]),
              "call %d after Abort: parameters name the service and its slot", call);
        CHECK(reports.size() == 1u, "call %d after Abort: no second report", call);
        CHECK(hostRequests == std::vector<std::uintptr_t>{serviceSlotNumbers[5]},
              "call %d after Abort: the host is not asked again", call);
        CHECK(serviceSlots[5] == stub5, "call %d after Abort: the slot is not bound", call);
    }

    // Ignored, but no null return fits the number (its last two digits are
    // no argument count): ended the same way, for this and every later call.
    resetHost();
    reportAnswer = 1;
    nullReturnToInstall = nullptr;
    for (int call = 1; call <= 2; ++call) {
        fault = GuardFault{};
        faulted = guardedCall([] { callWithPatterns(serviceEntries + 6 * 6, 1, 2); }, &fault);
        CHECK(faulted == 1 && fault.code == unboundServiceException &&
                  fault.parameters[0] == serviceSlotNumbers[6],
              "no null return fits, call %d: exception %08lX", call, fault.code);
    }
    CHECK(reports.size() == 1u && hostRequests.size() == 1u, "no null return fits: asked and reported once");

    // The report itself ends in an exception (a service it needs was missing
    // and aborted): the pending service's slot is not left null either.
    resetHost();
    duringReport = [] { RaiseException(unboundServiceException, EXCEPTION_NONCONTINUABLE, 0, nullptr); };
    fault = GuardFault{};
    faulted = guardedCall([] { callWithPatterns(serviceEntries + 6 * 7, 1, 2); }, &fault);
    CHECK(faulted == 1, "an exception out of the report ends the pending call");
    duringReport = nullptr;
    fault = GuardFault{};
    faulted = guardedCall([] { callWithPatterns(serviceEntries + 6 * 7, 1, 2); }, &fault);
    CHECK(faulted == 1 && fault.code == unboundServiceException && fault.parameterCount == 2 &&
              fault.parameters[0] == serviceSlotNumbers[7],
          "after an exception out of the report a later call ends in the binding's exception, got %08lX",
          fault.code);
    CHECK(reports.size() == 1u && hostRequests.size() == 1u, "the report's exception: asked and reported once");
}

}  // namespace

int main() {
    hostCallback = &testCallback;
    static const struct {
        const char* name;
        void (*run)();
    } tests[] = {
        {"table against declared numbers", testTableAgainstDeclaredNumbers},
        {"entry and stub instructions", testEntryAndStubInstructions},
        {"first and later calls", testFirstAndLaterCalls},
        {"slot keeps first address", testSlotKeepsFirstAddress},
        {"doubled number binds each slot", testDoubledNumberBindsEachSlot},
        {"missing service", testMissingService},
    };
    for (const auto& t : tests) {
        std::printf("-- %s\n", t.name);
        std::fflush(stdout);
        t.run();
    }
    return checkSummary("bindingTest");
}
