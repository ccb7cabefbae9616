#include "tests/support/smallLedgers.h"

#include "sim/core/dates.h"

namespace {

enum class Kind { invoice, payment, creditNote };

struct AmountChoice {
    Kind kind;
    double paid;
    double amount;
};

// Units of 1/10000; the host rounds to multiples of 100, halves away from
// zero, so 25 rounds to nothing, 50 to a unit and 75 to a unit.
constexpr AmountChoice amountChoices[] = {
    // Owing: an item of a debtor.
    {Kind::invoice, 0, 100},
    {Kind::invoice, 0, 50},    // half a unit: still owed
    {Kind::invoice, 25, 100},  // owes 75; the paid amount rounds to nothing
    {Kind::invoice, 50, 100},  // owes 50; the paid amount rounds to a unit
    // Not owing.
    {Kind::invoice, 0, 25},  // owes less than half a unit: no item, no settlement
    {Kind::invoice, 100, 100},
    {Kind::payment, 25, 0},  // credit below half a unit: passed over
    {Kind::payment, 100, 0},
    {Kind::payment, 50, 0},
    {Kind::creditNote, 0, -100},  // paid nothing: the remainder rule
    {Kind::creditNote, 0, -50},
};
constexpr int owingChoices = 4;
constexpr int amountChoiceCount = sizeof(amountChoices) / sizeof(amountChoices[0]);
// Without slots the last owing choice and the credit notes are left out (see the header).
constexpr int owingWithoutSlots = owingChoices - 1;
constexpr int notOwingWithoutSlots = amountChoiceCount - owingChoices - 2;

constexpr std::int16_t slotKeys[] = {0, 1, -1};
constexpr double slotAmounts[] = {0, -25, -50, -75, -100, 50};
constexpr int slotAmountCount = sizeof(slotAmounts) / sizeof(slotAmounts[0]);
constexpr int slotChoiceCount = 3 * slotAmountCount - 1;  // key 0 with 0 is the absent slot

// An owing document varies date and term, one that is no item only its date,
// and only when it has a slot.
constexpr int documentChoicesWithoutSlots = owingWithoutSlots * 4 + notOwingWithoutSlots;
constexpr int documentChoicesWithSlots = owingChoices * 4 + (amountChoiceCount - owingChoices) * 2;

struct Party {
    std::int16_t number;
    const char* name;
    double paidTotal;
    double dueTotal;
};
constexpr Party debtorParty{1, "Dluznik D", 0, 50};
constexpr Party otherParty{-1, "Dluznik O", 25, 100};
constexpr Party nonDebtorParty{3, "Bez dlugu N", 0, 49};

constexpr std::uint32_t debtorIds[] = {1, 65537, 65536, 65535};
constexpr std::uint32_t otherIds[] = {131073, 131071};
// Where a document's first and second slot lie among its four, by its place
// in its file: every place serves, and a second slot sometimes comes first.
constexpr int slotPlaces[4][2] = {{0, 1}, {3, 2}, {1, 3}, {2, 0}};

const char* const dateTexts[] = {"20261208", "20261209"};

void decodeDocument(SmallDocument& document, std::uint64_t digit) {
    int value = static_cast<int>(digit);
    document.term = 0;
    document.date = 1;
    if (document.slotCount == 0) {
        if (value < owingWithoutSlots * 4) {
            document.amount = static_cast<std::uint8_t>(value / 4);
            document.date = static_cast<std::uint8_t>(value / 2 % 2);
            document.term = static_cast<std::uint8_t>(value % 2);
        } else {
            document.amount = static_cast<std::uint8_t>(owingChoices + value - owingWithoutSlots * 4);
        }
    } else if (value < owingChoices * 4) {
        document.amount = static_cast<std::uint8_t>(value / 4);
        document.date = static_cast<std::uint8_t>(value / 2 % 2);
        document.term = static_cast<std::uint8_t>(value % 2);
    } else {
        value -= owingChoices * 4;
        document.amount = static_cast<std::uint8_t>(owingChoices + value / 2);
        document.date = static_cast<std::uint8_t>(value % 2);
    }
}

sim::LedgerSlot slotOf(int choice) {
    int value = choice + 1;  // skip key 0 with amount 0
    return {slotKeys[value / slotAmountCount], slotAmounts[value % slotAmountCount]};
}

void fillParty(sim::LedgerCounterparty& counterparty, const Party& party) {
    counterparty.number = party.number;
    counterparty.name = party.name;
    counterparty.paidTotal = party.paidTotal;
    counterparty.dueTotal = party.dueTotal;
}

void fillDocument(sim::LedgerDocument& document, const SmallDocument& small, std::uint32_t id, int place) {
    const AmountChoice& choice = amountChoices[small.amount];
    static const char* const prefixes[] = {"FV ", "KP ", "KOR "};
    int kind = static_cast<int>(choice.kind);
    document.number = prefixes[kind];
    document.number += std::to_string(id);
    document.date = dateTexts[small.date];
    document.paidAmount = choice.paid;
    document.documentAmount = choice.amount;
    document.paymentDays = static_cast<std::int16_t>(small.term);
    document.viewKind = static_cast<std::int16_t>(kind + 1);
    document.documentId = id;
    document.viewRef = 500 + id % 1000;
    document.slots = {};
    for (int s = 0; s < small.slotCount; ++s) document.slots[slotPlaces[place][s]] = slotOf(small.slot[s]);
}

// Adds the shapes with the given documents whose slot counts fit the budget.
void addShapes(SmallLedgerSpace& space, SmallLedgerShape shape, int document, int budget) {
    int documents = shape.debtorDocuments + shape.otherDocuments;
    if (document == documents) {
        shape.first = space.total;
        shape.count = 1;
        for (int i = 0; i < documents; ++i) {
            shape.count *= shape.slotCounts[i] ? documentChoicesWithSlots : documentChoicesWithoutSlots;
            for (int s = 0; s < shape.slotCounts[i]; ++s) shape.count *= slotChoiceCount;
        }
        space.shapes.push_back(shape);
        space.total += shape.count;
        return;
    }
    for (int slots = 0; slots <= space.bounds.slotsPerDocument && slots <= budget; ++slots) {
        shape.slotCounts[document] = static_cast<std::uint8_t>(slots);
        addShapes(space, shape, document + 1, budget - slots);
    }
}

}  // namespace

bool checkBounds(const SmallLedgerBounds& b, std::string& why) {
    if (b.size < 0) why = "the size must not be negative";
    else if (b.debtorDocuments < 0 || b.debtorDocuments > 4) why = "D has 0 to 4 documents";
    else if (b.otherDocuments < 0 || b.otherDocuments > 2) why = "O has 0 to 2 documents";
    else if (b.slotsPerDocument < 0 || b.slotsPerDocument > 2) why = "a document has 0 to 2 slots";
    else return true;
    return false;
}

SmallLedgerSpace smallLedgerSpace(const SmallLedgerBounds& bounds) {
    SmallLedgerSpace space;
    space.bounds = bounds;
    for (int d = 0; d <= bounds.debtorDocuments; ++d)
        for (int o = 0; o <= bounds.otherDocuments; ++o) {
            if (d + o > bounds.size) continue;
            SmallLedgerShape shape{};
            shape.debtorDocuments = static_cast<std::uint8_t>(d);
            shape.otherDocuments = static_cast<std::uint8_t>(o);
            addShapes(space, shape, 0, bounds.size - d - o);
        }
    return space;
}

SmallLedger smallLedgerAt(const SmallLedgerSpace& space, std::uint64_t index) {
    std::size_t low = 0, high = space.shapes.size();
    while (high - low > 1) {  // the last shape that starts at or before index
        std::size_t middle = (low + high) / 2;
        if (space.shapes[middle].first <= index) low = middle;
        else high = middle;
    }
    const SmallLedgerShape& shape = space.shapes[low];
    SmallLedger ledger{};
    ledger.debtorDocuments = shape.debtorDocuments;
    ledger.otherDocuments = shape.otherDocuments;
    std::uint64_t rest = index - shape.first;
    for (int i = 0; i < shape.debtorDocuments + shape.otherDocuments; ++i) {
        SmallDocument& document = ledger.documents[i];
        document.slotCount = shape.slotCounts[i];
        std::uint64_t radix = document.slotCount ? documentChoicesWithSlots : documentChoicesWithoutSlots;
        decodeDocument(document, rest % radix);
        rest /= radix;
        for (int s = 0; s < document.slotCount; ++s) {
            document.slot[s] = static_cast<std::uint8_t>(rest % slotChoiceCount);
            rest /= slotChoiceCount;
        }
    }
    return ledger;
}

std::string describeBounds(const SmallLedgerBounds& b) {
    return "size " + std::to_string(b.size) + ", D " + std::to_string(b.debtorDocuments) + " documents, O " +
           std::to_string(b.otherDocuments) + ", " + std::to_string(b.slotsPerDocument) + " slots a document";
}

int collectedItems(const SmallLedger& ledger) {
    int owing = 0;
    for (int i = 0; i < debtorFileDocuments(ledger); ++i) owing += ledger.documents[i].amount < owingChoices;
    return owing;
}

int debtorFileDocuments(const SmallLedger& ledger) { return ledger.debtorDocuments + ledger.otherDocuments; }

void fillLedger(const SmallLedger& small, sim::Ledger& into) {
    into.today = dateTexts[1];
    into.counterparties.resize(3);
    fillParty(into.counterparties[0], debtorParty);
    fillParty(into.counterparties[1], otherParty);
    fillParty(into.counterparties[2], nonDebtorParty);
    auto& debtor = into.counterparties[0].documents;
    auto& other = into.counterparties[1].documents;
    debtor.resize(small.debtorDocuments);
    other.resize(small.otherDocuments);
    for (int i = 0; i < small.debtorDocuments; ++i) fillDocument(debtor[i], small.documents[i], debtorIds[i], i);
    for (int i = 0; i < small.otherDocuments; ++i)
        fillDocument(other[i], small.documents[small.debtorDocuments + i], otherIds[i], i);
    // Overdue and unpaid, with the key of D's first item: listed only if the
    // non-debtor were collected.
    auto& nonDebtor = into.counterparties[2].documents;
    nonDebtor.resize(1);
    fillDocument(nonDebtor[0], SmallDocument{0, 0, 0, 0, {0, 0}}, 1, 0);
}

void fillTables(const sim::Ledger& ledger, sim::HostTables& into) {
    into.counterparties.resize(ledger.counterparties.size());
    for (std::size_t c = 0; c < ledger.counterparties.size(); ++c) {
        const sim::LedgerCounterparty& counterparty = ledger.counterparties[c];
        sim::fillCounterpartyRecord(into.counterparties[c], counterparty);
        std::vector<sim::Record>& file = into.documentFiles[counterparty.number];
        file.resize(counterparty.documents.size());
        for (std::size_t d = 0; d < file.size(); ++d)
            sim::fillDocumentRecord(file[d], counterparty.documents[d]);
    }
}

std::int32_t smallLedgerToday() { return sim::dayOfDateText(dateTexts[1]).value(); }
