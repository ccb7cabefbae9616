#include "tests/support/syntheticLedger.h"

#include <string>

#include "sim/core/dates.h"

std::uint64_t SeededRandom::next() {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int SeededRandom::below(int bound) { return static_cast<int>(next() % static_cast<std::uint64_t>(bound)); }
int SeededRandom::between(int low, int high) { return low + below(high - low + 1); }
bool SeededRandom::chance(int percent) { return below(100) < percent; }

namespace {

std::string dateText(std::int32_t day) {
    char text[sim::storedDateSize];
    sim::writeStoredDate(text, day);
    return text;
}

const std::int32_t baseDay = sim::dayOfDateText("20260601").value();

// Amounts that sit on, near and between the host's rounding steps.
double tangledAmount(SeededRandom& random) {
    static constexpr double awkward[] = {0.0, 50.0, -50.0, 49.999, -49.999, 150.0, -150.0, 0.5, 99.0, -1.0};
    switch (random.below(4)) {
        case 0: return awkward[random.below(10)];
        case 1: return random.between(-50, 50) * 100.0;
        case 2: return random.between(-500000, 500000) / 7.0;
        default: return random.between(-20, 20) * 10000.0 + random.between(-2, 2) * 50.0;
    }
}

}  // namespace

sim::Ledger tangledLedger(std::uint64_t seed) {
    SeededRandom random{seed};
    sim::Ledger ledger;
    const int keySpace = random.between(2, 12);
    const int counterparties = random.between(1, 5);
    ledger.today = dateText(baseDay + random.between(20, 90));
    for (int c = 0; c < counterparties; ++c) {
        sim::LedgerCounterparty counterparty;
        counterparty.number = static_cast<std::int16_t>(c * 3 - 4);
        counterparty.name = "Kontrahent " + std::to_string(c);
        counterparty.dueTotal = random.chance(85) ? 100000.0 : 0.0;  // a few are no debtors
        counterparty.paidTotal = random.chance(10) ? 100000.0 : 0.0;
        const int documents = random.between(0, 14);
        for (int d = 0; d < documents; ++d) {
            sim::LedgerDocument document;
            document.number = "D" + std::to_string(c) + "/" + std::to_string(d);
            document.date = dateText(baseDay + random.between(0, 40));
            document.paidAmount = random.chance(50) ? 0.0 : tangledAmount(random);
            document.documentAmount = random.chance(15) ? 0.0 : tangledAmount(random);
            document.paymentDays = static_cast<std::int16_t>(random.between(-5, 30));
            document.viewKind = static_cast<std::int16_t>(random.between(0, 3));
            // Upper halves vary, low halves collide: slots name by the low half only.
            document.documentId = static_cast<std::uint32_t>(random.below(keySpace)) |
                                  (static_cast<std::uint32_t>(random.below(4)) << 16);
            document.viewRef = static_cast<std::uint32_t>(random.next());
            const int slots = random.chance(40) ? 0 : random.between(1, 4);
            for (int j = 0; j < slots; ++j) {
                document.slots[static_cast<std::size_t>(j)].key =
                    static_cast<std::int16_t>(random.below(keySpace));
                document.slots[static_cast<std::size_t>(j)].amount = tangledAmount(random);
            }
            counterparty.documents.push_back(document);
        }
        ledger.counterparties.push_back(counterparty);
    }
    return ledger;
}

sim::Ledger plausibleLedger(std::uint64_t seed, int invoices) {
    SeededRandom random{seed};
    sim::Ledger ledger;
    const std::int32_t today = baseDay + 180;
    ledger.today = dateText(today);
    std::uint32_t nextId = 1;
    int number = 1;
    for (int collected = 0; collected < invoices; ++number) {
        sim::LedgerCounterparty counterparty;
        counterparty.number = static_cast<std::int16_t>(number);
        counterparty.name = "Firma " + std::to_string(number);
        counterparty.dueTotal = 1.0e9;
        // Mostly small customers, now and then a large one.
        int owed = random.chance(5) ? random.between(40, 200) : random.between(1, 8);
        if (owed > invoices - collected) owed = invoices - collected;
        collected += owed;
        std::vector<std::uint32_t> ids;
        auto add = [&](sim::LedgerDocument document) {
            document.number = "FV " + std::to_string(nextId) + "/2026";
            document.documentId = nextId++;
            document.viewKind = 1;
            document.viewRef = document.documentId * 7;
            counterparty.documents.push_back(document);
        };
        for (int i = 0; i < owed; ++i) {
            sim::LedgerDocument invoice;
            invoice.date = dateText(today - random.between(0, 170));
            invoice.documentAmount = random.between(100, 50000000) * 100.0;  // whole grosze
            invoice.paidAmount = random.chance(20) ? invoice.documentAmount / 2 : 0.0;
            invoice.paymentDays = static_cast<std::int16_t>(random.chance(50) ? 14 : 30);
            ids.push_back(nextId);
            add(invoice);
            // About one more document per invoice: a payment with slots, a
            // credit note, or an invoice paid in full.
            sim::LedgerDocument other;
            other.date = dateText(today - random.between(0, 170));
            switch (random.below(3)) {
                case 0: {
                    const int slots = random.between(1, 3);
                    for (int j = 0; j < slots; ++j) {
                        sim::LedgerSlot& slot = other.slots[static_cast<std::size_t>(j)];
                        slot.key = static_cast<std::int16_t>(
                            ids[static_cast<std::size_t>(random.below(static_cast<int>(ids.size())))] &
                            0xFFFF);
                        slot.amount = -random.between(100, 30000000) * 100.0;
                        other.paidAmount -= slot.amount;
                    }
                    break;
                }
                case 1: other.documentAmount = -random.between(100, 5000000) * 100.0; break;
                default:
                    other.documentAmount = other.paidAmount = random.between(100, 50000000) * 100.0;
                    break;
            }
            add(other);
        }
        ledger.counterparties.push_back(counterparty);
    }
    return ledger;
}
