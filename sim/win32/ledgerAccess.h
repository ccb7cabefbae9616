// The host's tables as the ledger services serve them, for the host's own
// screens: the counterparty list and the document view; and what the
// plug-in left of them, for the session's end report.
#pragma once
#include <cstddef>
#include <cstdint>

#include "sim/core/tables.h"

// Null before the ledger is read.
const sim::HostTables* hostTables();
// The day todayDate reports.
std::int32_t hostToday();
// Blocks of the host's memory the plug-in holds, scans it has not ended.
std::size_t hostBlocksHeld();
std::size_t hostScansOpen();
