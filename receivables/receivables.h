// The receivables computation: collection, settlement, due-date filter and
// ordering, and the driver that runs them over the host's tables. Each
// returns 1 on success and 0 on failure.
#pragma once
#include <cstdint>

// Appends an item for every document of the counterparty whose balance rounds
// below zero. 0: table 36 cannot be opened or the store cannot grow.
int collectInvoices(std::int16_t counterpartyNumber, const char* counterpartyName);
// Orders the collected items for settlement's lookups; once per computation,
// after the collection and before the first settleCounterparty.
void prepareSettlement();
// Applies the counterparty's settlement slots and credits to its items.
// 0: table 36 cannot be opened.
int settleCounterparty(std::int16_t counterpartyNumber);
// Due dates, the overdue filter and the ordering, largest debt first.
int finishItems();
int compareItemAmounts(const void* first, const void* second);
// The whole computation; declared for the list dialog in ui/listDialog.h too.
int buildReceivables();
