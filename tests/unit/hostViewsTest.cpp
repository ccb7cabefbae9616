// The simulator's drawing of what the plug-in hands the host: the list
// dialog laid out from its description, list movement, the message box's
// keys and answers, the document view, and the host's texts.
#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "sim/core/codepage.h"
#include "sim/core/dialogView.h"
#include "sim/core/documentView.h"
#include "sim/core/keys.h"
#include "sim/core/ledger.h"
#include "sim/core/markup.h"
#include "sim/core/messageBoxView.h"
#include "sim/core/moneyText.h"
#include "ui/listDialog.h"

namespace {

sim::DialogDescription listDescription() {
    auto read = sim::readDialogDescription(listDialogDescription.data(), listDialogDescription.size());
    return std::get<sim::DialogDescription>(read);
}

// Columns of a line in code points, from a UTF-8 line of the screen.
std::u32string at(const sim::Screen& screen, int x, int y, int width) {
    std::u32string line = sim::fromUtf8(sim::screenLine(screen, y));
    line.resize(std::max<std::size_t>(line.size(), x + width), U' ');
    return line.substr(x, width);
}

sim::Paint paintAt(const sim::Screen& screen, int x, int y) { return screen.cells[y * screen.width + x].paint; }

TEST(HostViews, ListDialogLaidOutFromItsDescription) {
    sim::Screen screen = sim::makeScreen(80, 25);
    sim::ListState list{12, 9, 0};
    sim::clampList(list, 8);  // row 9 in view: rows 2 to 9 shown
    sim::drawDialog(screen, listDescription(), list, [](int row) {
        return *sim::utf8ToMazovia("Żuraw " + std::to_string(row));
    });
    // 73 by 15, centred: columns 3 to 75, lines 5 to 19.
    EXPECT_EQ(at(screen, 3, 5, 1), U"┌");
    EXPECT_EQ(at(screen, 75, 19, 1), U"┘");
    EXPECT_EQ(at(screen, 11, 5, 57), U" lista faktur do zapłaty na dzień dzisiejszy i wcześniej ");
    EXPECT_EQ(at(screen, 3 + 3, 7, 10), U"Kontrahent");
    EXPECT_EQ(at(screen, 3 + 32, 7, 8), U"Dokument");
    EXPECT_EQ(at(screen, 3 + 48, 7, 5), U"Kwota");
    EXPECT_EQ(at(screen, 3 + 59, 7, 11), U"Termin zap.");
    // Rows one column inside the list's left edge (column 2), lines 3 to 10.
    EXPECT_EQ(at(screen, 3 + 3, 8, 8), U"Żuraw 2 ");
    EXPECT_EQ(at(screen, 3 + 3, 15, 8), U"Żuraw 9 ");
    EXPECT_EQ(paintAt(screen, 3 + 2, 15), sim::Paint::selection) << "the whole list line of the selection";
    EXPECT_EQ(paintAt(screen, 3 + 70, 15), sim::Paint::selection);
    EXPECT_EQ(paintAt(screen, 3 + 3, 14), sim::Paint::list);
    EXPECT_EQ(at(screen, 3 + 71, 8, 1), U"▲") << "rows above the view";
    EXPECT_EQ(at(screen, 3 + 71, 15, 1), U"▼") << "rows below the view";
    // Buttons on line 12, their texts centred, the key label marked.
    EXPECT_EQ(at(screen, 3 + 15, 17, 21), U"  F5 Pokaż dokument  ");
    EXPECT_EQ(paintAt(screen, 3 + 17, 17), sim::Paint::keyLabel);
    EXPECT_EQ(paintAt(screen, 3 + 20, 17), sim::Paint::button);
    EXPECT_EQ(at(screen, 3 + 43, 17, 12), U" Esc Anuluj ");
    EXPECT_EQ(paintAt(screen, 3 + 44, 17), sim::Paint::keyLabel);
}

TEST(HostViews, KeysPressTheControlsThatNameThem) {
    sim::DialogDescription d = listDescription();
    const sim::DialogRecord* f5 = sim::controlForKey(d, sim::pcKey::f5);
    ASSERT_NE(f5, nullptr);
    EXPECT_EQ(f5->number, 1005);
    EXPECT_EQ(sim::controlForKey(d, sim::pcKey::escape), nullptr) << "the cancel button has no key of its own";
    EXPECT_EQ(sim::controlForKey(d, 0), nullptr) << "key 0 is no key";
    ASSERT_NE(sim::listControl(d), nullptr);
    EXPECT_EQ(sim::listControl(d)->height, 8);
}

TEST(HostViews, ListMovementKeepsTheSelectionInView) {
    using namespace sim::pcKey;
    struct Case {
        const char* what;
        int count;
        std::vector<std::uint16_t> keys;
        int selected, top;
    };
    const Case cases[] = {
        {"down past the last visible line scrolls one", 12, {down, down, down, down, down, down, down, down}, 8, 1},
        {"down stops at the last row", 3, {down, down, down, down}, 2, 0},
        {"up stops at the first row", 12, {up}, 0, 0},
        {"page down moves a page less one line", 20, {pageDown}, 7, 7},
        {"page down at the end", 12, {pageDown, pageDown, pageDown}, 11, 4},
        {"page up back to the top", 20, {pageDown, pageDown, pageUp, pageUp}, 0, 0},
        {"end and home", 20, {end, home}, 0, 0},
        {"end shows the last page", 20, {end}, 19, 12},
        {"an empty list", 0, {down, pageDown, end}, 0, 0},
    };
    for (const Case& c : cases) {
        sim::ListState list{c.count, 0, 0};
        for (std::uint16_t key : c.keys) EXPECT_TRUE(sim::moveSelection(list, key, 8)) << c.what;
        EXPECT_EQ(list.selected, c.selected) << c.what;
        EXPECT_EQ(list.top, c.top) << c.what;
    }
    sim::ListState list{12, 3, 0};
    EXPECT_FALSE(sim::moveSelection(list, sim::pcKey::f5, 8));
    EXPECT_EQ(list.selected, 3);
}

TEST(HostViews, MessageBoxAnswers) {
    const std::string question = *sim::utf8ToMazovia("Czy chcesz zobaczyć listę niezapłaconych faktur?");
    sim::MessageBoxView yesNo = sim::messageBoxView("Uwaga", question.c_str(), 0x30009);
    sim::MessageBoxView ok = sim::messageBoxView("b\x92\x86" "d", "B\x92\x86" "d dost\x91pu do pami\x91" "ci", 1);
    struct Case {
        const char* what;
        const sim::MessageBoxView* box;
        const char* key;
        std::optional<std::int32_t> answer;
    };
    const Case cases[] = {
        {"Enter answers Tak", &yesNo, "enter", 0x5001},
        {"T answers Tak", &yesNo, "t", 0x5001},
        {"shifted T answers Tak", &yesNo, "T", 0x5001},
        {"N answers Nie", &yesNo, "n", 0x5002},
        {"Esc answers Nie", &yesNo, "esc", 0x5002},
        {"other keys do not answer", &yesNo, "down", std::nullopt},
        {"other letters do not answer", &yesNo, "x", std::nullopt},
        {"Enter closes a box with one button", &ok, "enter", 0x5001},
        {"Esc too", &ok, "esc", 0x5001},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sim::messageBoxAnswer(*c.box, *sim::pcKey::fromName(c.key)), c.answer) << c.what;

    sim::Screen screen = sim::makeScreen(80, 25);
    sim::drawMessageBox(screen, yesNo);
    std::string all;
    for (int y = 0; y < 25; ++y) all += sim::screenLine(screen, y) + "\n";
    EXPECT_NE(all.find(" Uwaga "), std::string::npos) << all;
    EXPECT_NE(all.find("Czy chcesz zobaczyć listę niezapłaconych faktur?"), std::string::npos) << all;
    EXPECT_NE(all.find("Tak"), std::string::npos) << all;
    EXPECT_NE(all.find("Nie"), std::string::npos) << all;
}

TEST(HostViews, KeyNames) {
    struct Case {
        const char* name;
        std::optional<std::uint16_t> code;
    };
    const Case cases[] = {
        {"f5", 0x3F00}, {"F5", 0x3F00}, {"esc", 0x011B}, {"enter", 0x1C0D}, {"down", 0x5000},
        {"pgdn", 0x5100}, {"t", 0x1474}, {"N", 0x314E}, {"0x4800", 0x4800}, {"f11", std::nullopt},
        {"", std::nullopt}, {"0x10000", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(sim::pcKey::fromName(c.name), c.code) << c.name;
    EXPECT_EQ(sim::pcKey::nameOf(0x3F00), "f5");
    EXPECT_EQ(sim::pcKey::nameOf(0x1474), "0x1474");
}

TEST(HostViews, MarkupRuns) {
    auto runs = sim::markedRuns("\x05" "F5" "\x01" " Poka\xA7" " \x02" "to" "\x01");
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].markup, sim::Markup::keyLabel);
    EXPECT_EQ(runs[0].text, U"F5");
    EXPECT_EQ(runs[1].markup, sim::Markup::normal);
    EXPECT_EQ(runs[1].text, U" Pokaż ");
    EXPECT_EQ(runs[2].markup, sim::Markup::highlight);
    EXPECT_EQ(runs[2].text, U"to");
    EXPECT_EQ(sim::plainText("\x05" "Esc" "\x01" " Anuluj"), U"Esc Anuluj");
}

TEST(HostViews, MoneyTexts) {
    struct Case {
        double units;
        const char* text;
    };
    const Case cases[] = {
        {0, "0,00"},          {1500000, "150,00"},           {-12345000, "-1 234,50"},
        {-100, "-0,01"},      {487654300, "48 765,43"},      {10000000000000.0, "1 000 000 000,00"},
        {49, "0,00"},         {50, "0,01"},                  {-1e300, "-1e+296"},
    };
    for (const Case& c : cases) EXPECT_EQ(sim::moneyText(c.units), c.text) << c.units;
}

// What showDocument opens, from the sample ledger's tables.
TEST(HostViews, DocumentViewOfTheSampleLedger) {
    auto read = sim::readLedger(sim::sampleLedgerJson(), "sample");
    sim::HostTables tables = sim::tablesFromLedger(std::get<sim::Ledger>(read));
    auto view = sim::documentView(tables, 1, 210, 5101);
    ASSERT_TRUE(view);
    EXPECT_EQ(sim::documentViewText(*view),
              "faktura FV 7/2026\n"
              "Kontrahent: Sklep Pod Kasztanem (nr 15)\n"
              "Data dokumentu: 02.09.2026\n"
              "Termin płatności: 21 dni, do 23.09.2026\n"
              "Kwota dokumentu: 82,50\n"
              "Zapłacono: 0,00\n"
              "Saldo: -82,50\n"
              "Rozliczony przez: KOR 2/2026: -20,00\n"
              "Identyfikator: 5101 (widok 1, 210)\n");
    auto payment = sim::documentView(tables, 2, 140, 4733);
    ASSERT_TRUE(payment);
    EXPECT_NE(sim::documentViewText(*payment).find("Rozlicza: FV 12/2026: -50,00\n"), std::string::npos)
        << sim::documentViewText(*payment);
    EXPECT_FALSE(sim::documentView(tables, 1, 0, 99999));
}

}  // namespace
