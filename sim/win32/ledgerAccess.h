// The host's tables as the ledger services serve them, for the host's own
// screens: the counterparty list and the document view.
#pragma once
#include <cstdint>

#include "sim/core/tables.h"

// Null before the ledger is read.
const sim::HostTables* hostTables();
// The day todayDate reports.
std::int32_t hostToday();
