// The event hook: its place in the chain, the three conditions and their
// order, the one-shot question, the state bit, the dialog and the release of
// the item block, and the code it hands back.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "receivables/itemStore.h"
#include "tests/support/hostRun.h"
#include "tests/support/ledgerMaking.h"
#include "tests/support/uiHost.h"
#include "ui/eventHook.h"
#include "ui/listDialog.h"

namespace {

using testHost::ui;
using Calls = std::vector<std::string>;

const std::string question =
    "messageBox(Uwaga, Czy chcesz zobaczyć listę niezapłaconych faktur?, 0x30009)";

// The host's own hook before the plug-in's: it records what it receives and
// answers as the test says.
std::vector<std::int32_t> previousReceived;
std::function<std::int32_t(std::int32_t)> previousAnswer;

std::int32_t HOST_STDCALL previousHook(std::int32_t code) {
    previousReceived.push_back(code);
    return previousAnswer ? previousAnswer(code) : code;
}

struct HookFixture : ::testing::Test {
    HostRun run{ledgerOf({debtor(12, {invoice(7, 3000000, "20261001"), invoice(8, 1000000, "20261002")})})};
    testHost::UiScope scope;

    HookFixture() {
        previousReceived.clear();
        previousAnswer = nullptr;
        ui().messageBoxAnswer = 0x5002;  // no dialog unless the test wants one
    }
    // The low half of the code the hook hands back, as the host reads it.
    static std::int16_t fire(std::int32_t code) { return static_cast<std::int16_t>(eventHook(code)); }
    static bool prompted() {
        for (const std::string& call : ui().calls)
            if (call == question) return true;
        return false;
    }
};

using EventHookChain = HookFixture;

TEST_F(EventHookChain, InstalledOnceBehindTheHostsHook) {
    ui().chain = previousHook;
    installEventHook();
    EXPECT_EQ(previousEventHook, &previousHook);
    EXPECT_EQ(ui().chain, &eventHook);
    // A repeated load call: setEventHook would now answer eventHook itself.
    installEventHook();
    installEventHook();
    EXPECT_EQ(ui().calls, Calls{"setEventHook"});
    EXPECT_EQ(previousEventHook, &previousHook);

    previousAnswer = [](std::int32_t) { return 4098; };
    EXPECT_EQ(fire(7), 4098);
    EXPECT_EQ(previousReceived, std::vector<std::int32_t>{7}) << "called once, with the code as it came";
}

TEST_F(EventHookChain, NoPreviousHook) {
    installEventHook();
    EXPECT_EQ(previousEventHook, nullptr);
    EXPECT_EQ(fire(0x1C0D), 0x1C0D);
    EXPECT_TRUE(prompted());
}

// Sequences of events against the three conditions, tested in their order:
// the pending question, the value behind hookContext, the event code.
TEST_F(EventHookChain, ConditionsEventByEvent) {
    struct Step {
        std::int32_t code;
        std::int16_t context;
        bool nullContext;
        bool asksContext;
        bool prompts;
    };
    struct Case {
        const char* what;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"-1 first, then a key", {{-1, 1, false, true, false}, {0x1C0D, 1, false, true, true}}},
        {"4098 first, then 4098 in a cell with a set upper half, then a key",
         {{4098, 1, false, true, false}, {0x7FFF1002, 1, false, true, false}, {5, 1, false, true, true}}},
        {"-1 in the low half only", {{0x0000FFFF, 1, false, true, false}, {0x00010005, 1, false, true, true}}},
        {"context 0 is asked again on every event",
         {{5, 0, false, true, false}, {6, 0, false, true, false}, {7, -3, false, true, true}}},
        {"a null context is no context", {{5, 1, true, true, false}, {5, 1, false, true, true}}},
        {"asked once, whatever comes later",
         {{5, 1, false, true, true}, {5, 1, false, false, false}, {6, 1, false, false, false}}},
    };
    for (const Case& c : cases) {
        promptPending = 1;
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            const Step& s = c.steps[i];
            ui().calls.clear();
            ui().context = s.context;
            ui().nullContext = s.nullContext;
            std::string where = std::string(c.what) + ", event " + std::to_string(i);
            EXPECT_EQ(fire(s.code), static_cast<std::int16_t>(s.code)) << where;
            EXPECT_EQ(!ui().calls.empty() && ui().calls.front() == "hookContext", s.asksContext) << where;
            EXPECT_EQ(prompted(), s.prompts) << where;
            EXPECT_EQ(promptPending, s.prompts || !s.asksContext ? 0 : 1) << where;
        }
    }
}

// The code from the previous hook is the code the conditions see and the
// code handed back, prompt or not.
TEST_F(EventHookChain, WorksWithThePreviousHooksCode) {
    struct Case {
        const char* what;
        std::int32_t fired;
        std::int32_t previousGives;
        bool prompts;
    };
    const Case cases[] = {
        {"previous hook swallows the event", 0x1C0D, -1, false},
        {"previous hook turns a key into 4098", 0x1C0D, 4098, false},
        {"previous hook turns 4098 into a key", 4098, 0x1C0D, true},
        {"previous hook leaves garbage in the upper half", 5, 0x12340006, true},
    };
    for (const Case& c : cases) {
        previousEventHook = previousHook;
        promptPending = 1;
        ui().calls.clear();
        previousAnswer = [&](std::int32_t) { return c.previousGives; };
        EXPECT_EQ(fire(c.fired), static_cast<std::int16_t>(c.previousGives)) << c.what;
        EXPECT_EQ(prompted(), c.prompts) << c.what;
    }
}

TEST_F(EventHookChain, QuestionAndDialogInOrder) {
    listSelectionCell = 5;
    std::int16_t* cellGiven = nullptr;
    ui().messageBoxAnswer = 0x7E7E5001;  // only the low half is the answer
    ui().duringMessageBox = [] {
        EXPECT_EQ(listSelectionCell, 0);
        EXPECT_EQ(ui().stateFlags, 0x8000);
    };
    ui().dialog = [&](const void* description, std::int16_t* cell, DialogProc dialogProc, RowTextProc rowProc) {
        cellGiven = cell;
        EXPECT_EQ(description, listDialogDescription.data());
        EXPECT_EQ(dialogProc, &listDialogProc);
        EXPECT_EQ(rowProc, &listRowText);
        EXPECT_EQ(ui().stateFlags, 0x8000);
    };
    EXPECT_EQ(fire(7), 7);
    EXPECT_EQ(ui().calls, (Calls{"hookContext", "getStateFlags", "setStateFlags(0x8000, 1)", question,
                                 "runDialog(1001)", "setStateFlags(0x8000, 0)"}));
    EXPECT_EQ(cellGiven, &listSelectionCell);
    EXPECT_EQ(ui().stateFlags, 0);
}

TEST_F(EventHookChain, StateBitSavedAndRestored) {
    struct Case {
        const char* what;
        std::uint16_t flagsBefore;
        bool setsAndClears;
        bool flagsIgnored = false;  // the host lacks getStateFlags; the user ignored it
    };
    const Case cases[] = {
        {"bit clear, others set", 0x0104, true},
        {"bit already set", 0x8000, false},
        {"bit already set with others", 0xC001, false},
        // Its 0 says nothing: the bit the host had set must not be cleared.
        {"flags unreadable, bit set", 0x8000, false, true},
        {"flags unreadable, bit clear", 0x0000, false, true},
    };
    for (const Case& c : cases) {
        promptPending = 1;
        ui().calls.clear();
        ui().stateFlags = c.flagsBefore;
        ui().ignored = c.flagsIgnored ? std::vector<std::uint16_t>{32300} : std::vector<std::uint16_t>{};
        ui().messageBoxAnswer = 0x5001;
        fire(7);
        int setCalls = 0;
        for (const std::string& call : ui().calls) setCalls += call.rfind("setStateFlags", 0) == 0;
        EXPECT_EQ(setCalls, c.setsAndClears ? 2 : 0) << c.what;
        EXPECT_EQ(ui().stateFlags, c.flagsBefore) << c.what;
    }
}

TEST_F(EventHookChain, OnlyTheYesAnswerRunsTheDialog) {
    struct Case {
        std::int32_t answer;
        bool dialog;
    };
    const Case cases[] = {
        {0x5001, true}, {0x00015001, true}, {0x5002, false}, {0, false}, {1, false}, {-1, false}, {0x5011, false},
    };
    for (const Case& c : cases) {
        promptPending = 1;
        ui().calls.clear();
        ui().messageBoxAnswer = c.answer;
        fire(7);
        bool ran = false;
        for (const std::string& call : ui().calls) ran = ran || call == "runDialog(1001)";
        EXPECT_EQ(ran, c.dialog) << std::hex << c.answer;
        EXPECT_EQ(promptPending, 0);
    }
}

// Events that reach the hook while the question or the dialog is open only
// pass through the chain.
TEST_F(EventHookChain, NestedEventsOnlyPassThrough) {
    previousEventHook = previousHook;
    std::vector<std::int16_t> nested;
    ui().messageBoxAnswer = 0x5001;
    ui().duringMessageBox = [&] { nested.push_back(fire(0x4800)); };
    ui().dialog = [&](const void*, std::int16_t*, DialogProc, RowTextProc) {
        nested.push_back(fire(0x3F00));
        nested.push_back(fire(0x011B));
    };
    EXPECT_EQ(fire(0x5000), 0x5000);
    EXPECT_EQ(nested, (std::vector<std::int16_t>{0x4800, 0x3F00, 0x011B}));
    EXPECT_EQ(previousReceived, (std::vector<std::int32_t>{0x5000, 0x4800, 0x3F00, 0x011B}));
    int questions = 0, contexts = 0;
    for (const std::string& call : ui().calls) {
        questions += call == question;
        contexts += call == "hookContext";
    }
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(contexts, 1);
}

// The dialog computes the list as the host runs it; afterwards the block is
// given back while the count stays.
TEST_F(EventHookChain, ItemBlockReleasedAfterTheDialog) {
    ui().messageBoxAnswer = 0x5001;
    std::int32_t rowsSeen = -1;
    ui().dialog = [&](const void*, std::int16_t*, DialogProc dialogProc, RowTextProc rowProc) {
        EXPECT_EQ(static_cast<std::int16_t>(dialogProc(0, -2)), 0);
        rowsSeen = static_cast<std::int32_t>(rowProc(-1, 0));
        EXPECT_NE(items, nullptr);
    };
    fire(7);
    EXPECT_EQ(rowsSeen, 2);
    EXPECT_EQ(items, nullptr);
    EXPECT_EQ(itemCount, 2);
    EXPECT_EQ(run.host.liveBlocks(), 0u);
    EXPECT_TRUE(run.host.faults().empty());
}

TEST_F(EventHookChain, NoAnswerFreesNothing) {
    ui().messageBoxAnswer = 0x5002;
    fire(7);
    EXPECT_EQ(run.host.calls(sim::Service::memFree), 0u);
    EXPECT_EQ(run.host.calls(sim::Service::openTable), 0u) << "no computation without the dialog";
}

}  // namespace
