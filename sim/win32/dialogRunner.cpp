// The host's dialog runner and the services a dialog's procedures call:
// runDialog lays the dialog out from its description, initialises it
// through the dialog procedure, asks the row procedure for the rows and
// passes key presses on as commands until Esc closes it. listSelection,
// setBusy and showDocument serve the procedures while it runs.
#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <variant>

#include "sim/core/codepage.h"
#include "sim/core/dialogView.h"
#include "sim/core/documentView.h"
#include "sim/core/keys.h"
#include "sim/win32/console.h"
#include "sim/win32/dialogRunner.h"
#include "sim/win32/frontEnd.h"
#include "sim/win32/host.h"
#include "sim/win32/ledgerAccess.h"
#include "sim/win32/registry.h"
#include "sim/win32/transcript.h"

namespace {

using DialogProc = std::int32_t(__stdcall*)(std::int32_t control, std::int32_t message);
using RowTextProc = std::intptr_t(__stdcall*)(std::int32_t row, std::int32_t unused);

constexpr std::int16_t messageInit = -2;
constexpr std::int16_t messageCommand = 1;
constexpr std::int16_t rowCountRequest = -1;
constexpr std::int16_t resultClose = 27;    // the procedure closes the dialog (Esc)
constexpr std::int16_t resultRedraw = -2;   // a view covered the dialog: ask the rows anew
constexpr std::size_t rowTextLimit = 4096;  // a row longer than this is cut

struct OpenDialog {
    std::int32_t number;
    sim::DialogDescription description;
    DialogProc proc;
    RowTextProc rows;
    sim::ListState list;
    int visibleRows;
    // Rows as the row procedure gave them since the count was last asked:
    // a view over the dialog redraws it without calling the plug-in.
    std::map<int, std::string> rowCache;
};

OpenDialog* current;  // the dialog whose list listSelection reads
std::uint32_t busyMask;

SessionResetRegistration resetDialogs([] {
    current = nullptr;
    busyMask = 0;
});

// The upper halves of the argument cells are not defined: fill them so that
// a procedure reading them shows up.
std::int32_t cell(std::int16_t value) { return static_cast<std::int32_t>(0x5A5A0000u | static_cast<std::uint16_t>(value)); }

std::int16_t callDialogProc(const OpenDialog& d, std::int16_t control, std::int16_t message) {
    std::int32_t result = 0;
    callPlugin("the dialog procedure", [&] { result = d.proc(cell(control), cell(message)); });
    transcript("dialog %d procedure(%d, %d) -> %d", d.number, control, message, static_cast<std::int16_t>(result));
    return static_cast<std::int16_t>(result);
}

int rowCount(OpenDialog& d) {
    d.rowCache.clear();
    std::intptr_t count = 0;
    callPlugin("the row procedure", [&] { count = d.rows(cell(rowCountRequest), 0x5A5A5A5A); });
    transcript("dialog %d rows(-1) -> %ld", d.number, static_cast<long>(count));
    return count < 0 ? 0 : count > 0x7FFF ? 0x7FFF : static_cast<int>(count);
}

// The row's text, copied at once: the procedure may reuse its buffer.
const std::string& rowText(OpenDialog& d, int row) {
    if (auto cached = d.rowCache.find(row); cached != d.rowCache.end()) return cached->second;
    std::string text;
    callPlugin("the row procedure", [&] {
        auto address = reinterpret_cast<const char*>(d.rows(cell(static_cast<std::int16_t>(row)), 0x5A5A5A5A));
        if (address) text.assign(address, strnlen(address, rowTextLimit));
    });
    transcript("dialog %d rows(%d) -> %s", d.number, row, quoted(text.c_str()).c_str());
    return d.rowCache[row] = std::move(text);
}

std::optional<sim::DialogDescription> readDescription(const void* block) {
    auto bytes = static_cast<const unsigned char*>(block);
    std::variant<sim::DialogDescription, std::string> read = std::string("no description");
    if (bytes) {
        std::size_t size = 0;
        callPlugin("reading the dialog description", [&] { size = sim::dialogDescriptionSize(bytes); });
        if (size > sim::dialogDescriptionLimit) read = std::string("dialog description larger than 64 KiB");
        else callPlugin("reading the dialog description", [&] { read = sim::readDialogDescription(bytes, size); });
    }
    if (auto* error = std::get_if<std::string>(&read)) {
        transcript("dialog refused: %s", error->c_str());
        complain("runDialog: %s", error->c_str());
        return std::nullopt;
    }
    return std::get<sim::DialogDescription>(std::move(read));
}

void printRows(OpenDialog& d) {
    if (host.faultsBeforeList < 0) host.faultsBeforeList = host.faults;
    for (int row = 0; row < d.list.count; ++row) writeOut(sim::mazoviaToUtf8(rowText(d, row)) + "\n");
    host.rowsListed += d.list.count;
}

// Keys until Esc, the procedure's 27, or the end of the scripted keys.
void runKeys(OpenDialog& d) {
    LayerScope window([&](sim::Screen& screen) {
        sim::clampList(d.list, d.visibleRows);
        sim::drawDialog(screen, d.description, d.list, [&](int row) { return rowText(d, row); });
    });
    for (;;) {
        refreshScreen();
        std::optional<std::uint16_t> key = nextKey();
        if (!key || *key == sim::pcKey::escape) return;
        if (sim::moveSelection(d.list, *key, d.visibleRows)) continue;
        const sim::DialogRecord* control = sim::controlForKey(d.description, *key);
        if (!control || control->number == sim::reportsNothing) continue;
        std::int16_t result = callDialogProc(d, static_cast<std::int16_t>(control->number), messageCommand);
        if (result == resultClose) return;
        if (result == resultRedraw) d.list.count = rowCount(d);
    }
}

extern "C" void __cdecl simRunDialog(const void* description, std::int32_t number, std::int16_t* selectionCell,
                                     DialogProc proc, RowTextProc rows) {
    transcript("52026 runDialog(%s, %d, %s, %s, %s)", hexPointer(description).c_str(), number,
               hexPointer(selectionCell).c_str(), hexPointer(reinterpret_cast<void*>(proc)).c_str(),
               hexPointer(reinterpret_cast<void*>(rows)).c_str());
    host.dialogRan = true;
    std::optional<sim::DialogDescription> layout = readDescription(description);
    if (!layout || !proc || !rows) return;

    OpenDialog d{number, std::move(*layout), proc, rows, {}, 1, {}};
    if (const sim::DialogRecord* list = sim::listControl(d.description)) d.visibleRows = list->height;
    if (selectionCell) d.list.selected = *selectionCell;
    OpenDialog* outer = current;
    current = &d;

    if (callDialogProc(d, 0, messageInit) == resultClose) {
        transcript("dialog %d closed by its initialisation", number);
    } else {
        d.list.count = rowCount(d);
        if (host.mode == RunMode::Rows) printRows(d);
        runKeys(d);
        transcript("dialog %d closed", number);
        if (selectionCell) *selectionCell = static_cast<std::int16_t>(d.list.selected);
    }
    current = outer;
}

extern "C" void __stdcall simListSelection(std::int16_t* selectionCell, std::int32_t one) {
    std::int16_t selected = current ? static_cast<std::int16_t>(current->list.selected) : 0;
    if (selectionCell) *selectionCell = selected;
    transcript("52040 listSelection(%s, %d) -> %d", hexPointer(selectionCell).c_str(), one, selected);
}

extern "C" void __stdcall simSetBusy(std::int32_t zero, std::int32_t mask, std::int32_t on) {
    auto m = static_cast<std::uint32_t>(mask);
    busyMask = on ? busyMask | m : busyMask & ~m;
    transcript("52034 setBusy(%d, %d, %d) -> 0x%X", zero, mask, on, busyMask);
}

// The document view: printed on standard error without a terminal, a window
// until Esc with one.
extern "C" void __stdcall simShowDocument(std::int32_t viewKind, std::int32_t zero, std::uint32_t viewRef,
                                          std::uint32_t documentId) {
    transcript("52128 showDocument(%d, %d, %u, %u)", viewKind, zero, viewRef, documentId);
    std::optional<sim::DocumentView> view;
    if (const sim::HostTables* tables = hostTables()) view = sim::documentView(*tables, viewKind, viewRef, documentId);
    if (!view) view = sim::DocumentView{"dokument " + std::to_string(documentId), {{"Błąd", "nie ma takiego dokumentu"}}};
    if (!frontEndInteractive()) {
        writeErr("[document] " + sim::documentViewText(*view));
        return;
    }
    LayerScope window([&](sim::Screen& screen) { sim::drawDocumentView(screen, *view); });
    for (;;) {
        refreshScreen();
        std::optional<std::uint16_t> key = nextKey();
        if (!key || *key == sim::pcKey::escape || *key == sim::pcKey::enter) return;
    }
}

const ServiceDef services[] = {
    {52026, "_runDialog@20", reinterpret_cast<void*>(&simRunDialog)},
    {52040, "_listSelection@8", reinterpret_cast<void*>(&simListSelection)},
    {52034, "_setBusy@12", reinterpret_cast<void*>(&simSetBusy)},
    {52128, "_showDocument@16", reinterpret_cast<void*>(&simShowDocument)},
};
ServiceRegistration registration(services);

}  // namespace

std::uint32_t hostBusyMask() { return busyMask; }
