#include "sim/core/hostScreen.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "sim/core/codepage.h"
#include "sim/core/dates.h"
#include "sim/core/moneyText.h"

namespace sim {
namespace {

constexpr int barLines = 2;
constexpr int windowChrome = 3;  // the frame's two lines and the head line

Rect listWindow(const Screen& screen) { return {0, 1, screen.width, screen.height - barLines}; }

std::string nameOf(const Record& counterparty) {
    std::string name(reinterpret_cast<const char*>(counterparty.data() + counterpartyField::name),
                     counterpartyField::nameWidth);
    name.erase(name.find_last_not_of(' ') + 1);
    return mazoviaToUtf8(name);
}

std::string textAt(const Record& record, std::size_t offset, std::size_t limit) {
    const char* start = reinterpret_cast<const char*>(record.data() + offset);
    return std::string(start, strnlen(start, limit));
}

// Columns of a list line: text, then width (negative: right-aligned).
struct Column {
    std::string text;
    int width;
};

std::u32string line(const std::vector<Column>& columns) {
    std::u32string out;
    for (const Column& c : columns) {
        std::u32string text = fromUtf8(c.text);
        std::size_t width = static_cast<std::size_t>(c.width < 0 ? -c.width : c.width);
        if (text.size() > width) text.resize(width);
        std::u32string pad(width - text.size(), U' ');
        out += c.width < 0 ? pad + text : text + pad;
        out += U' ';
    }
    return out;
}

void drawListWindow(Screen& screen, const std::u32string& title, const std::u32string& head,
                    const std::vector<std::u32string>& rows, const ListState& list) {
    Rect window = listWindow(screen);
    fillRect(screen, window, Paint::window);
    drawFrame(screen, window, Paint::frame, title);
    putText(screen, window.x + 2, window.y + 1, head, Paint::heading, window.width - 4);
    int visible = hostListRows(screen);
    for (int i = 0; i < visible; ++i) {
        int row = list.top + i;
        int y = window.y + 2 + i;
        if (row >= static_cast<int>(rows.size())) break;
        Paint paint = row == list.selected ? Paint::selection : Paint::text;
        if (row == list.selected) fillRect(screen, {window.x + 1, y, window.width - 2, 1}, paint);
        putText(screen, window.x + 2, y, rows[row], paint, window.width - 4);
    }
}

}  // namespace

int hostListRows(const Screen& screen) { return std::max(screen.height - barLines - windowChrome, 1); }

void drawHostBars(Screen& screen, const HostBars& bars) {
    fillRect(screen, {0, 0, screen.width, 1}, Paint::bar);
    fillRect(screen, {0, screen.height - 1, screen.width, 1}, Paint::bar);
    putText(screen, 1, 0, fromUtf8(bars.title), Paint::bar);
    std::u32string date = fromUtf8(bars.date);
    putText(screen, screen.width - 1 - static_cast<int>(date.size()), 0, date, Paint::bar);
    putText(screen, 1, screen.height - 1, fromUtf8(bars.keys), Paint::bar);
    std::u32string state = fromUtf8(bars.state);
    putText(screen, screen.width - 1 - static_cast<int>(state.size()), screen.height - 1, state, Paint::bar);
}

void drawCounterpartyList(Screen& screen, const HostTables& tables, const ListState& list) {
    std::vector<std::u32string> rows;
    for (const Record& c : tables.counterparties) {
        double paid = getDouble(c, counterpartyField::paidTotal), due = getDouble(c, counterpartyField::dueTotal);
        rows.push_back(line({{std::to_string(getInt16(c, counterpartyField::number)), -5},
                             {nameOf(c), 20},
                             {moneyText(due), -14},
                             {moneyText(paid), -14},
                             {moneyText(paid - due), -14}}));
    }
    drawListWindow(screen, U"Kontrahenci",
                   line({{"Nr", -5}, {"Kontrahent", 20}, {"Należności", -14}, {"Wpłaty", -14}, {"Saldo", -14}}),
                   rows, list);
}

const std::vector<Record>& documentsOf(const HostTables& tables, std::int16_t number) {
    static const std::vector<Record> none;
    auto found = tables.documentFiles.find(number);
    return found == tables.documentFiles.end() ? none : found->second;
}

std::int16_t counterpartyNumberAt(const HostTables& tables, int index) {
    if (index < 0 || index >= static_cast<int>(tables.counterparties.size())) return 0;
    return getInt16(tables.counterparties[index], counterpartyField::number);
}

void drawDocumentList(Screen& screen, const HostTables& tables, std::int16_t number, const ListState& list) {
    namespace f = documentField;
    std::vector<std::u32string> rows;
    for (const Record& d : documentsOf(tables, number)) {
        char shown[shownDateSize];
        formatStoredDate(shown, textAt(d, f::date, storedDateSize).c_str());
        double amount = getDouble(d, f::documentAmount), paid = getDouble(d, f::paidAmount);
        rows.push_back(line({{mazoviaToUtf8(textAt(d, f::number, f::date - f::number)), 18},
                             {std::string(shown, strnlen(shown, sizeof shown)), 10},
                             {std::to_string(getInt16(d, f::paymentDays)) + " dni", -8},
                             {moneyText(amount), -14},
                             {moneyText(paid), -14}}));
    }
    std::string title = "Dokumenty: ";
    for (const Record& c : tables.counterparties)
        if (getInt16(c, counterpartyField::number) == number) title += nameOf(c);
    drawListWindow(screen, fromUtf8(title),
                   line({{"Dokument", 18}, {"Data", 10}, {"Termin", -8}, {"Kwota", -14}, {"Zapłacono", -14}}), rows,
                   list);
}

}  // namespace sim
