// The missing-service report, its null returns, and every service the plug-in
// calls answered by its null return after Ignore.
#include <cstring>

#include "binding/nullReturns.h"
#include "tests/wine/osBinding/registerCall.h"
#include "tests/wine/osBinding/support.h"
#include "tests/wine/osBinding/tests.h"

namespace {

using Report = std::int32_t(__stdcall*)(std::uintptr_t service, const char* moduleName);
using Pick = void(__stdcall*)(std::uintptr_t service, void** slot);

std::string exePath() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

// The report's lines after the host's conversion to Windows-1250.
std::vector<std::string> expectedLines(const std::string& module, const std::string& service) {
    return {"W module  " + module + " ",
            "brak wpisu  " + service + " ",
            "Wywo\xB3" "ano z wtyczki  'Dorvantelisken' .",
            "",
            "B\xB3\xB9" "d ten mo\xBF" "na zignorowa\xE6 lecz dalsza praca",
            "programu w tych warunkach mo\xBF" "e by\xE6 niebezpieczna.",
            "",
            "Konieczna jest aktualizacja programu!"};
}

const char convertedCaption[] = "POWA\xAFNY B\xA3\xA5" "D WTYCZKI";

void compareLines(const std::string& text, const std::vector<std::string>& want, const std::string& label) {
    auto lines = splitLines(text);
    CHECK(lines.size() == want.size(), label + ": " + std::to_string(lines.size()) + " lines");
    for (std::size_t i = 0; i < lines.size() && i < want.size(); ++i)
        CHECK(lines[i] == want[i], label + ": line " + std::to_string(i + 1) + " reads '" + lines[i] + "'");
}

void roundAmountReport(const Plugin& plugin) {
    offerStandardServices();
    testHost.withheld = {52179};
    plugin.setHostCallback();
    scriptBoxes({IDIGNORE});
    RegisterCall call = {};
    call.target = plugin.symbol("_serviceEntry52179");
    double amount = 1234.0;
    std::memcpy(call.args, &amount, 8);
    call.args[2] = 1;
    call.count = 3;
    call.popDouble = 1;
    callPatterned(&call);
    auto boxes = takeBoxes();
    CHECK(boxes.size() == 1, "52179: one box");
    if (boxes.empty()) return;
    compareLines(boxes[0].text, expectedLines(exePath(), "52179"), "52179");
    CHECK(boxes[0].caption == convertedCaption, "52179: caption '" + boxes[0].caption + "'");
    CHECK(boxes[0].style == (MB_ABORTRETRYIGNORE | MB_ICONERROR | MB_TASKMODAL), "52179: style 0x2012");
    CHECK(call.resultDouble == 0.0 && fpuDepthChange(call) == 0, "52179: 0.0 left on a balanced x87 stack");
    CHECK(call.espAfter == call.espBefore + 12 && *clobbered(call) == 0, "52179: stack and registers kept");
    // The MessageBoxA of the report is the system's, never a host replacement.
    std::uintptr_t* boxCell = plugin.delayCell("USER32.dll", "MessageBoxA");
    CHECK(boxCell && cellValue(boxCell) == reinterpret_cast<std::uintptr_t>(
                                               GetProcAddress(GetModuleHandleA("user32.dll"), "MessageBoxA")),
          "MessageBoxA bound to USER32's");
}

struct AnswerCase {
    const char* label;
    std::vector<int> answers;
    std::size_t boxes;
    std::int32_t result;
};

const AnswerCase answerCases[] = {
    {"Retry twice, then Ignore", {IDRETRY, IDRETRY, IDIGNORE}, 3, 1},
    {"Abort", {IDABORT}, 1, 0},
    {"a failed box", {0}, 1, 0},
};

void reportAnswers(const Plugin& plugin) {
    auto report = reinterpret_cast<Report>(plugin.symbol("_reportMissingService@8"));
    for (const AnswerCase& c : answerCases) {
        scriptBoxes(c.answers);
        std::int32_t result = report(30204, nullptr);
        auto boxes = takeBoxes();
        CHECK(result == c.result, std::string(c.label) + ": returns " + std::to_string(result));
        CHECK(boxes.size() == c.boxes, std::string(c.label) + ": " + std::to_string(boxes.size()) + " boxes");
        bool identical = true;
        for (auto& box : boxes) identical = identical && box.text == boxes[0].text;
        CHECK(identical, std::string(c.label) + ": every box the same");
    }
}

void reportByName(const Plugin& plugin) {
    auto report = reinterpret_cast<Report>(plugin.symbol("_reportMissingService@8"));
    hostMessageBoxes = 0;
    scriptBoxes({IDIGNORE});
    std::int32_t result = report(reinterpret_cast<std::uintptr_t>("_messageBox@12"), nullptr);
    CHECK(result == 1 && takeBoxes().size() == 1 && hostMessageBoxes == 0,
          "_messageBox@12: the system's box, not the host's");

    result = report(reinterpret_cast<std::uintptr_t>("_openLedger@8"), nullptr);
    CHECK(result == 1 && takeBoxes().empty() && hostMessageBoxes == 1, "_openLedger@8: the host's box, once");
    CHECK(lastHostBoxCaption == "Powa\xA7ny b\x92\x86" "d wtyczki" && lastHostBoxStyle == 0x700C0,
          "_openLedger@8: host box caption and style");
    CHECK(splitLines(lastHostBoxText).size() == 8 && splitLines(lastHostBoxText)[1] == "brak wpisu  _openLedger@8 ",
          "_openLedger@8: named in the text");
}

struct NumberedReport {
    Report report;
    const char* module;
};

void reportNumbered(void* p) {
    auto* numbered = static_cast<NumberedReport*>(p);
    numbered->report(30204, numbered->module);
}

void longTexts(const Plugin& plugin) {
    auto report = reinterpret_cast<Report>(plugin.symbol("_reportMissingService@8"));
    std::string longModule = "C:\\" + std::string(390, 'm') + "\\VANTREO.EXE";
    std::string longName = "_" + std::string(300, 'n') + "@4";
    scriptBoxes({IDABORT});
    report(reinterpret_cast<std::uintptr_t>("_messageBox@12"), longModule.c_str());
    auto boxes = takeBoxes();
    CHECK(boxes.size() == 1 && boxes[0].text.size() <= 511, "long module name: message within 512 bytes");
    if (!boxes.empty()) {
        std::string first = splitLines(boxes[0].text)[0];
        CHECK(first.size() > 20 && first.compare(first.size() - 13, 13, "\\VANTREO.EXE ") == 0,
              "long module name: the program's name is kept");
    }
    // A short numbered service leaves the path its whole buffer: "..." and the
    // path's last 296 bytes fill it up to the terminator in its last byte.
    // A byte written past the buffer may wreck the report's frame: caught, it
    // fails this check instead of ending the program.
    scriptBoxes({IDABORT});
    NumberedReport numbered = {report, longModule.c_str()};
    std::uint32_t code = runCatching(reportNumbered, &numbered);
    boxes = takeBoxes();
    std::string wantFirst = "W module  ..." + longModule.substr(longModule.size() - 296) + " ";
    CHECK(code == 0 && boxes.size() == 1 && splitLines(boxes[0].text)[0] == wantFirst,
          "long module name, numbered service: line 1 ends with the 299 bytes that fit (exception " + hex(code) +
              (boxes.empty() ? std::string(")") : "), reads '" + splitLines(boxes[0].text)[0] + "'"));
    hostMessageBoxes = 0;
    report(reinterpret_cast<std::uintptr_t>(longName.c_str()), longModule.c_str());
    CHECK(hostMessageBoxes == 1 && lastHostBoxText.size() <= 511, "long service name: message within 512 bytes");
    auto lines = splitLines(lastHostBoxText);
    CHECK(lines.size() == 8 && lines[1] == "brak wpisu  " + longName.substr(0, 103) + " ",
          "long service name: cut to 103 bytes");
}

// A host without convertText: its own report must not call through its slot.
void withoutConvertText(const Plugin& plugin) {
    offerStandardServices();
    testHost.withheld = {52158, 52006};
    plugin.setHostCallback();
    scriptBoxes({IDIGNORE, IDIGNORE});
    RegisterCall call = {};
    call.target = plugin.symbol("_serviceEntry52006");  // buildStamp(null)
    call.count = 1;
    callPatterned(&call);
    auto boxes = takeBoxes();
    CHECK(boxes.size() == 2, "without convertText: two reports, " + std::to_string(boxes.size()));
    if (boxes.size() != 2) return;
    CHECK(splitLines(boxes[0].text)[1] == "brak wpisu  52158 ", "without convertText: 52158 reported first");
    CHECK(splitLines(boxes[1].text)[1] == "brak wpisu  52006 ", "without convertText: then 52006");
    // Unconverted: the Mazovia bytes stay.
    CHECK(boxes[1].caption == "POWA\xA1NY B\x9C\x8F" "D WTYCZKI", "without convertText: caption as stored");
    CHECK(call.eax == 0 && call.espAfter == call.espBefore + 4, "without convertText: buildStamp answers 0");
}

struct PickCase {
    const char* label;
    std::uintptr_t service;  // a number, or a name's address
    int entry;               // nullReturns index; -1: null; -2: the x87 one
};

const PickCase pickCases[] = {
    {"ends in 99", 32699, 0},
    {"ends in 00", 32200, 0},
    {"ends in 04", 30404, 1},
    {"ends in 56", 35656, 14},
    {"ends in 60", 20860, -1},
    {"ends in 76", 37976, -1},
    {"ends in 02", 20002, -1},
    {"ends in 86", 20986, -1},
    {"the plug-in's startProcess (52005)", 52005, 10},
    {"the plug-in's messageBox (52028)", 52028, 3},
    {"the plug-in's runDialog (52026, caller removes)", 52026, 0},
    {"the plug-in's memRealloc (21286, caller removes)", 21286, 0},
    {"the plug-in's roundAmount (52179)", 52179, -2},
    {"the plug-in's hookContext (52267)", 52267, 0},
    {"name, 12 bytes", reinterpret_cast<std::uintptr_t>("_scanAll@12"), 3},
    {"name, 0 bytes", reinterpret_cast<std::uintptr_t>("_scanAll@0"), 0},
    {"name without @", reinterpret_cast<std::uintptr_t>("_scanAll"), 0},
    {"name ending in @", reinterpret_cast<std::uintptr_t>("_scanAll@"), 0},
    {"name, letter after @", reinterpret_cast<std::uintptr_t>("_scanAll@x8"), 0},
    {"name, 6 bytes", reinterpret_cast<std::uintptr_t>("_scanAll@6"), 1},
    {"name, 56 bytes", reinterpret_cast<std::uintptr_t>("_scanAll@56"), 14},
    {"name, 60 bytes", reinterpret_cast<std::uintptr_t>("_scanAll@60"), -1},
    {"name, two @", reinterpret_cast<std::uintptr_t>("_a@8@16"), 4},
    {"name, huge count", reinterpret_cast<std::uintptr_t>("_scanAll@4294967300"), -1},
};

}  // namespace

void runReportTests() {
    {
        Plugin plugin = loadPlugin();
        roundAmountReport(plugin);
        reportAnswers(plugin);
        reportByName(plugin);
        longTexts(plugin);
        unloadPlugin(plugin);
    }
    {
        Plugin plugin = loadPlugin();
        withoutConvertText(plugin);
        unloadPlugin(plugin);
    }
}

void runNullReturnTests() {
    Plugin plugin = loadPlugin();
    auto pick = reinterpret_cast<Pick>(plugin.symbol("_pickNullReturn@8"));
    auto* entries = static_cast<void* const*>(plugin.symbol("_nullReturns"));
    void* doubleEntry = plugin.symbol("_nullReturnDouble12");
    for (const PickCase& c : pickCases) {
        void* slot = reinterpret_cast<void*>(1);
        pick(c.service, &slot);
        void* want = c.entry >= 0 ? entries[c.entry] : c.entry == -2 ? doubleEntry : nullptr;
        CHECK(slot == want, std::string(c.label) + ": picked " + hex(reinterpret_cast<std::uintptr_t>(slot)));
    }
    // Each entry returns 0 and removes 4k bytes.
    for (int k = 0; k < nullReturnCount; ++k) {
        RegisterCall call = {};
        call.target = entries[k];
        call.count = static_cast<std::uint32_t>(k);
        callPatterned(&call);
        CHECK(call.eax == 0 && call.espAfter == call.espBefore + 4 * k && *clobbered(call) == 0,
              "nullReturns[" + std::to_string(k) + "] returns 0 and removes " + std::to_string(4 * k) + " bytes");
    }
    unloadPlugin(plugin);
}

void runWithheldServiceTests() {
    // convertText first: once bound, a slot is never asked for again.
    std::vector<ServiceCall> order(std::begin(servicesCalled), std::end(servicesCalled));
    for (std::size_t i = 0; i < order.size(); ++i)
        if (order[i].number == 52158) std::swap(order[0], order[i]);

    Plugin plugin = loadPlugin();
    offerStandardServices();
    plugin.setHostCallback();
    for (const ServiceCall& service : order) {
        std::string label = "withheld " + std::to_string(service.number);
        testHost.withheld = {service.number};
        scriptBoxes({IDIGNORE});
        char entryName[32];
        std::snprintf(entryName, sizeof entryName, "_serviceEntry%u", service.number);
        RegisterCall call = {};
        call.target = plugin.symbol(entryName);
        call.count = service.argumentBytes / 4u;
        for (std::uint32_t a = 0; a < call.count; ++a) call.args[a] = 0xA0000000u + a;
        call.popDouble = service.answersDouble;
        callPatterned(&call);
        auto boxes = takeBoxes();
        std::uint32_t removed = service.callerRemoves ? 0 : service.argumentBytes;
        CHECK(boxes.size() == 1 && splitLines(boxes[0].text).size() > 1 &&
                  splitLines(boxes[0].text)[1] == "brak wpisu  " + std::to_string(service.number) + " ",
              label + ": reported once");
        CHECK(call.eax == 0, label + ": answers 0");
        CHECK(call.espAfter == call.espBefore + removed, label + ": removes " + std::to_string(removed) + " bytes");
        CHECK(*clobbered(call) == 0, label + ": changed " + clobbered(call));
        CHECK(fpuDepthChange(call) == 0 && (!service.answersDouble || call.resultDouble == 0.0),
              label + ": x87 stack balanced");
        // The second call goes straight to the null return.
        callPatterned(&call);
        CHECK(takeBoxes().empty() && call.espAfter == call.espBefore + removed, label + ": second call silent");
    }
    unloadPlugin(plugin);
}
