#include "ui/eventHook.h"

#include "receivables/itemStore.h"
#include "ui/listDialog.h"

EventHook previousEventHook;
std::int32_t promptPending = 1;
std::int16_t listSelectionCell;
bool eventHookInstalled;

namespace {

// "Czy chcesz zobaczyć listę niezapłaconych faktur?" in the Mazovia code page.
constexpr char questionCaption[] = "Uwaga";
constexpr char questionText[] =
    "Czy chcesz zobaczy\x8D list\x91 niezap\x92" "aconych faktur?";

}  // namespace

void installEventHook() {
    // A repeated load call must not chain the hook behind itself.
    if (eventHookInstalled) return;
    eventHookInstalled = true;
    previousEventHook = setEventHook(eventHook);
}

extern "C" std::int32_t HOST_STDCALL eventHook(std::int32_t code) {
    if (previousEventHook) code = previousEventHook(code);
    auto event = static_cast<std::int16_t>(code);

    if (!promptPending) return code;
    const std::int16_t* context = hookContext();
    if (!context || *context == 0) return code;  // no host context: not now
    if (event == eventCodeIdle || event == eventCodeNone) return code;

    promptPending = 0;  // before anything shows: never asked twice, not even nested
    std::int32_t savedBit = getStateFlags() & promptStateBit;
    // A host without getStateFlags tells nothing about the bit: leave the
    // flags alone rather than clear a bit the host had set.
    bool touchFlags = !savedBit && !hostServiceIgnored(getStateFlagsNumber);
    if (touchFlags) setStateFlags(promptStateBit, 1);
    listSelectionCell = 0;
    auto answer = static_cast<std::int16_t>(messageBox(questionCaption, questionText, questionStyle));
    if (answer == answerYes)
        runDialog(listDialogDescription.data(), listDialogNumber, &listSelectionCell, listDialogProc,
                  listRowText);
    if (touchFlags) setStateFlags(promptStateBit, 0);
    releaseItems();
    return code;
}
