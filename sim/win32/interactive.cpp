// The interactive host: its counterparty list, a counterparty's documents,
// and its message box. Every key the user presses is a host event: it goes
// through the hook chain first, and the host acts on the code that comes
// back, so the plug-in's question comes with the first key that qualifies.
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "sim/core/dates.h"
#include "sim/core/documentView.h"
#include "sim/core/hostScreen.h"
#include "sim/core/keys.h"
#include "sim/core/messageBoxView.h"
#include "sim/core/tables.h"
#include "sim/win32/console.h"
#include "sim/win32/dialogRunner.h"
#include "sim/win32/frontEnd.h"
#include "sim/win32/host.h"
#include "sim/win32/ledgerAccess.h"
#include "sim/win32/transcript.h"

namespace {

constexpr std::int16_t idleEvent = 4098;  // the host waits for the user

std::string todayShown() {
    // The host's date as todayDate reports it to the plug-in.
    char stored[sim::storedDateSize], shown[sim::shownDateSize];
    sim::writeStoredDate(stored, hostToday());
    sim::formatStoredDate(shown, stored);
    return std::string(shown, sim::shownDateSize - 1);
}

std::string stateText() {
    std::string state;
    if (hostBusyMask()) state += "zajęty  ";
    EventNote note = lastEvent();
    if (note.any) state += formatted("zdarzenie 0x%04X → 0x%04X", static_cast<std::uint16_t>(note.code),
                                     static_cast<std::uint16_t>(note.result));
    return state;
}

void drawBars(sim::Screen& screen, const char* keys) {
    sim::drawHostBars(screen, {"Vantreo · Rozrachunki", todayShown(), keys, stateText()});
}

// The document view of the document at this index of a counterparty's file.
void openDocument(const sim::HostTables& tables, std::int16_t number, int index) {
    const auto& file = sim::documentsOf(tables, number);
    if (index < 0 || index >= static_cast<int>(file.size())) return;
    const sim::Record& d = file[index];
    std::uint32_t id, ref;
    std::memcpy(&id, d.data() + sim::documentField::documentId, 4);
    std::memcpy(&ref, d.data() + sim::documentField::viewRef, 4);
    auto view = sim::documentView(tables, sim::getInt16(d, sim::documentField::viewKind), ref, id);
    if (!view) return;
    LayerScope window([&](sim::Screen& screen) { sim::drawDocumentView(screen, *view); });
    for (;;) {
        refreshScreen();
        std::optional<std::uint16_t> key = nextKey();
        if (!key || *key == sim::pcKey::escape || *key == sim::pcKey::enter) return;
    }
}

void browseDocuments(const sim::HostTables& tables, std::int16_t number) {
    sim::ListState list{static_cast<int>(sim::documentsOf(tables, number).size()), 0, 0};
    int visible = 1;
    LayerScope window([&](sim::Screen& screen) {
        visible = sim::hostListRows(screen);
        sim::clampList(list, visible);
        sim::drawDocumentList(screen, tables, number, list);
        drawBars(screen, "↑↓ PgUp PgDn wybór   Enter dokument   Esc powrót");
    });
    for (;;) {
        refreshScreen();
        std::optional<std::uint16_t> key = nextKey();
        if (!key || *key == sim::pcKey::escape) return;
        if (*key == sim::pcKey::enter) openDocument(tables, number, list.selected);
        else sim::moveSelection(list, *key, visible);
    }
}

}  // namespace

std::int32_t interactiveMessageBox(const char* caption, const char* text, std::uint32_t style) {
    sim::MessageBoxView box = sim::messageBoxView(caption, text, style);
    LayerScope window([&](sim::Screen& screen) { sim::drawMessageBox(screen, box); });
    for (;;) {
        refreshScreen();
        std::optional<std::uint16_t> key = nextKey();
        if (!key) return box.buttons.back().answer;
        if (auto answer = sim::messageBoxAnswer(box, *key)) return *answer;
    }
}

int runInteractive() {
    if (!openFrontEnd()) {
        complain("the interactive host needs a console; without one use --answer yes|no or --rows");
        return exitUsage;
    }
    struct Closing {
        ~Closing() { closeFrontEnd(); }
    } closing;
    const sim::HostTables empty;
    const sim::HostTables& tables = hostTables() ? *hostTables() : empty;
    sim::ListState list{static_cast<int>(tables.counterparties.size()), 0, 0};
    int visible = 1;
    LayerScope window([&](sim::Screen& screen) {
        visible = sim::hostListRows(screen);
        sim::clampList(list, visible);
        sim::drawCounterpartyList(screen, tables, list);
        drawBars(screen, "↑↓ PgUp PgDn wybór   Enter dokumenty   Esc koniec");
    });
    refreshScreen();
    fireHostEvent(idleEvent);
    for (;;) {
        refreshScreen();
        std::optional<std::uint16_t> key = nextKey();
        if (!key || *key == sim::pcKey::escape) break;
        if (*key == sim::pcKey::enter) browseDocuments(tables, sim::counterpartyNumberAt(tables, list.selected));
        else sim::moveSelection(list, *key, visible);
    }
    transcript("host screen closed");
    return exitOk;
}
