// Short ways to write test ledgers. Amounts are in units of 1/10000.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "sim/core/ledger.h"

// A document of `amount` with nothing paid: an invoice that owes all of it.
inline sim::LedgerDocument invoice(std::uint32_t id, double amount, std::string date,
                                   std::int16_t paymentDays = 0) {
    sim::LedgerDocument document;
    document.number = "FV " + std::to_string(id);
    document.date = std::move(date);
    document.documentAmount = amount;
    document.paymentDays = paymentDays;
    document.viewKind = 1;
    document.documentId = id;
    document.viewRef = id + 1000;
    return document;
}

// A document that paid `paid` and settles other documents through its slots.
inline sim::LedgerDocument payment(std::uint32_t id, double paid, std::string date,
                                   std::vector<sim::LedgerSlot> slots = {}) {
    sim::LedgerDocument document = invoice(id, 0.0, std::move(date));
    document.number = "KP " + std::to_string(id);
    document.paidAmount = paid;
    for (std::size_t j = 0; j < slots.size() && j < document.slots.size(); ++j) document.slots[j] = slots[j];
    return document;
}

// A counterparty that owes something overall, so both passes visit it.
inline sim::LedgerCounterparty debtor(std::int16_t number, std::vector<sim::LedgerDocument> documents) {
    sim::LedgerCounterparty counterparty;
    counterparty.number = number;
    counterparty.name = "Firma " + std::to_string(number);
    counterparty.dueTotal = 1000000.0;
    counterparty.documents = std::move(documents);
    return counterparty;
}

inline sim::Ledger ledgerOf(std::vector<sim::LedgerCounterparty> counterparties,
                            std::string today = "20261209") {
    sim::Ledger ledger;
    ledger.today = std::move(today);
    ledger.counterparties = std::move(counterparties);
    return ledger;
}
