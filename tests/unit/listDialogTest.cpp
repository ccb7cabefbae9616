// The list dialog: its description block read back as the host's dialog
// runner reads it, the row texts, and the dialog procedure's answers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <variant>
#include <vector>

#include "receivables/itemStore.h"
#include "sim/core/codepage.h"
#include "sim/core/dialogDescription.h"
#include "tests/support/hostRun.h"
#include "tests/support/ledgerMaking.h"
#include "tests/support/uiHost.h"
#include "ui/listDialog.h"

namespace {

struct ExpectedRecord {
    std::size_t offset;
    std::uint16_t kind, number, flags, key;
    std::int16_t x, y, width, height;
    const char* text;  // UTF-8; the key label's markup bytes as they are
};

const ExpectedRecord expectedRecords[] = {
    {8, 0xFFFF, 1001, 0, 0, 0, 0, 73, 15, "lista faktur do zapłaty na dzień dzisiejszy i wcześniej"},
    {84, 4, 0xFFFF, 0, 0, 3, 2, 12, 1, "Kontrahent"},
    {115, 4, 0xFFFF, 0, 0, 32, 2, 12, 1, "Dokument"},
    {144, 4, 0xFFFF, 0, 0, 48, 2, 12, 1, "Kwota"},
    {170, 4, 0xFFFF, 0, 0, 59, 2, 12, 1, "Termin zap."},
    {202, 3, 0xFFFF, 0, 0, 55, 1, 12, 1, ""},
    {223, 6, 0x4102, 0x0508, 0, 2, 3, 69, 8, ""},
    {244, 0, 1005, 0x0100, 0x3F00, 15, 12, 21, 1, "\x05" "F5" "\x01" " Pokaż dokument"},
    {284, 0, 0x5002, 0, 0, 43, 12, 12, 1, "\x05" "Esc" "\x01" " Anuluj"},
};

void expectRecord(const sim::DialogRecord& r, const ExpectedRecord& e) {
    SCOPED_TRACE("record at offset " + std::to_string(e.offset));
    EXPECT_EQ(r.offset, e.offset);
    EXPECT_EQ(r.kind, e.kind);
    EXPECT_EQ(r.number, e.number);
    EXPECT_EQ(r.flags, e.flags);
    EXPECT_EQ(r.key, e.key);
    EXPECT_EQ(r.x, e.x);
    EXPECT_EQ(r.y, e.y);
    EXPECT_EQ(r.width, e.width);
    EXPECT_EQ(r.height, e.height);
    EXPECT_EQ(r.reserved, 0u);
    EXPECT_EQ(sim::mazoviaToUtf8(r.text), e.text);
}

TEST(ListDialog, DescriptionReadsBackRecordByRecord) {
    auto read = sim::readDialogDescription(listDialogDescription.data(), listDialogDescription.size());
    ASSERT_TRUE(std::holds_alternative<sim::DialogDescription>(read)) << std::get<std::string>(read);
    const auto& d = std::get<sim::DialogDescription>(read);
    EXPECT_EQ(listDialogDescription.size(), 317u);
    EXPECT_EQ(d.bytesAfterFirstLength, 313u);
    EXPECT_EQ(d.bytesAfterSecondLength, 309u);
    EXPECT_EQ(d.controlCount, 8u);
    expectRecord(d.dialog, expectedRecords[0]);
    ASSERT_EQ(d.controls.size(), 8u);
    for (std::size_t i = 0; i < d.controls.size(); ++i) expectRecord(d.controls[i], expectedRecords[i + 1]);
}

// The reader the simulator uses must refuse what it cannot lay out, so that
// the test above cannot pass on a lenient reading.
TEST(ListDialog, DescriptionReaderRefusesBrokenBlocks) {
    std::vector<unsigned char> good(listDialogDescription.begin(), listDialogDescription.end());
    struct Case {
        const char* what;
        std::size_t offset;
        unsigned char value;
        std::size_t size;
    };
    const Case cases[] = {
        // 313 is 0x139, 309 is 0x135.
        {"first length one short", 0, 0x38, 317},
        {"second length one long", 4, 0x36, 317},
        {"one control more than there is", 6, 9, 317},
        {"dialog record not first", 8, 4, 317},
        {"last text unterminated", 316, 'x', 317},
        {"block cut inside the header", 0, 0x39, 6},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> block = good;
        block[c.offset] = c.value;
        block.resize(c.size);
        auto read = sim::readDialogDescription(block.data(), block.size());
        EXPECT_TRUE(std::holds_alternative<std::string>(read)) << c.what;
    }
}

// Items of the test's own in the store, with a host for formatDate.
struct RowFixture : ::testing::Test {
    HostRun run{ledgerOf({})};
    std::vector<InvoiceItem> rows;

    void setItems(std::vector<InvoiceItem> list) {
        rows = std::move(list);
        items = rows.data();
        itemCount = static_cast<std::int16_t>(rows.size());
    }
    ~RowFixture() override { clearItemStore(); }
};

InvoiceItem item(const char* utf8Name, const char* number, double amount, const char* date) {
    InvoiceItem i{};
    std::string name = *sim::utf8ToMazovia(utf8Name);
    std::memcpy(i.counterpartyName, name.c_str(), name.size() + 1);
    std::memcpy(i.documentNumber, number, std::strlen(number) + 1);
    std::memcpy(i.date, date, std::strlen(date) + 1);
    i.amount = amount;
    return i;
}

std::string rowText(std::int32_t row) {
    auto address = listRowText(row, 0x5A5A5A5A);
    EXPECT_EQ(address, reinterpret_cast<std::intptr_t>(rowTextBuffer));
    return sim::mazoviaToUtf8(reinterpret_cast<const char*>(address));
}

using ListRows = RowFixture;

TEST_F(ListRows, Texts) {
    struct Case {
        const char* what;
        InvoiceItem item;
        const char* row;
    };
    const Case cases[] = {
        {"a 3-character name: 17 blanks and the separator before the number's field",
         item("Abc", "FV 1", -12345000, "20261029"),
         "Abc                              FV 1     -1234.50      29.10.2026"},
        {"fields filled to their widths",
         item("Apteka Pod Łabędziem", "FV/2026/11/00123", -100, "20270101"),
         "Apteka Pod Łabędziem FV/2026/11/00123        -0.01      01.01.2027"},
        {"13 characters of amount push the date one column right",
         item("Biuro", "FV 9/2026", -1000000000000.0, "20261115"),
         "Biuro                       FV 9/2026 -100000000.00      15.11.2026"},
    };
    for (const Case& c : cases) {
        setItems({item("Other", "X", -1, "20260101"), c.item});
        EXPECT_EQ(rowText(1), c.row) << c.what;
    }
}

// However large an amount, the row stays inside its 124 bytes: cut at the
// buffer's end, with the fields before the amount intact.
TEST_F(ListRows, HugeAmountsAreCutAtTheBuffersEnd) {
    for (double amount : {-1e300, 1e300, -1.7976931348623157e308}) {
        setItems({item("Biuro", "FV 9/2026", amount, "20261115")});
        std::memset(rowTextBuffer, 'z', sizeof rowTextBuffer);
        std::string row = rowText(0);
        EXPECT_EQ(row.size(), sizeof rowTextBuffer - 1) << amount;
        EXPECT_EQ(row.substr(0, 38), "Biuro                       FV 9/2026 ") << amount;
        EXPECT_EQ(rowTextBuffer[sizeof rowTextBuffer - 1], '\0') << amount;
    }
}

TEST_F(ListRows, RowCountAndTheLowHalfOfTheRowCell) {
    setItems({});
    EXPECT_EQ(listRowText(-1, 0), 0) << "empty store";
    setItems({item("A", "1", -100, "20260101"), item("B", "2", -200, "20260101"), item("C", "3", -300, "20260101")});
    EXPECT_EQ(listRowText(-1, 0), 3);
    EXPECT_EQ(listRowText(0x0000FFFF, 0), 3) << "row cell with a clear upper half";
    EXPECT_EQ(rowText(0x00070002).substr(0, 1), "C") << "row 2 with a set upper half";
}

// The dialog procedure over a host whose ledger lists two invoices.
struct DialogFixture : ::testing::Test {
    sim::Ledger ledger = ledgerOf({debtor(12, {invoice(7, 3000000, "20261001", 14), invoice(8, 1000000, "20261002")})});
    std::unique_ptr<HostRun> run;
    testHost::UiScope scope;

    void start() {
        run.reset();  // one host installed at a time
        run = std::make_unique<HostRun>(ledger);
    }
    std::int32_t proc(std::int32_t control, std::int32_t message) {
        return static_cast<std::uint16_t>(listDialogProc(control, message));
    }
};

using DialogProcedure = DialogFixture;

TEST_F(DialogProcedure, InitialisationComputesTheList) {
    start();
    // The message cell's upper half is not read.
    EXPECT_EQ(proc(0x12345678, 0x7FFFFFFE), 0);
    EXPECT_EQ(itemCount, 2);
    EXPECT_TRUE(testHost::ui().calls.empty()) << testHost::ui().calls.front();
}

TEST_F(DialogProcedure, FailedInitialisationShowsOneMessageAndAnswersEsc) {
    struct Case {
        const char* what;
        sim::FailurePlan failures;
    };
    const Case cases[] = {
        {"table 35 missing", {0, 35, 1}},
        {"table 36 missing", {0, 36, 1}},
    };
    for (const Case& c : cases) {
        start();
        testHost::ui().calls.clear();
        run->host.failures = c.failures;
        EXPECT_EQ(proc(0, -2), 27) << c.what;
        EXPECT_EQ(testHost::ui().calls,
                  std::vector<std::string>{"messageBox(błąd, Błąd dostępu do pamięci, 0x1)"}) << c.what;
        run.reset();
    }
}

TEST_F(DialogProcedure, ShowDocumentOpensTheSelectedItem) {
    start();
    ASSERT_EQ(proc(0, -2), 0);
    ASSERT_EQ(itemCount, 2);
    testHost::ui().selection = 1;
    const InvoiceItem& second = items[1];
    // The control cell's upper half is not read: 0x000103ED is control 1005.
    EXPECT_EQ(proc(0x000103ED, 1), 0xFFFE);
    EXPECT_EQ(testHost::ui().calls,
              (std::vector<std::string>{"listSelection(1)", "setBusy(0, 2048, 1)",
                                        "showDocument(1, 0, " + std::to_string(second.viewRef) + ", " +
                                            std::to_string(second.documentId) + ")",
                                        "setBusy(0, 2048, 0)"}));
    EXPECT_EQ(second.documentId, 8u);
}

TEST_F(DialogProcedure, EverythingElseAnswersZeroAndCallsNothing) {
    ledger.counterparties.clear();
    start();
    ASSERT_EQ(proc(0, -2), 0);
    ASSERT_EQ(itemCount, 0);
    struct Case {
        const char* what;
        std::int32_t control, message;
    };
    const Case cases[] = {
        {"show document on an empty list", 1005, 1},
        {"the cancel button", 0x5002, 1},
        {"another control", 1004, 1},
        {"control 1005 with message 0", 1005, 0},
        {"control 1005 with message 2", 1005, 2},
        {"message -1", 1005, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(proc(c.control, c.message), 0) << c.what;
        EXPECT_TRUE(testHost::ui().calls.empty()) << c.what;
    }
    // The same codes on a filled list: only 1005 with message 1 acts.
    ledger = ledgerOf({debtor(12, {invoice(7, 3000000, "20261001")})});
    start();
    ASSERT_EQ(proc(0, -2), 0);
    for (const Case& c : cases) {
        if (c.control == 1005 && c.message == 1) continue;
        EXPECT_EQ(proc(c.control, c.message), 0) << c.what << " (filled list)";
        EXPECT_TRUE(testHost::ui().calls.empty()) << c.what << " (filled list)";
    }
}

}  // namespace
