// Until the ledger services serve the tables: the sample ledger's.
#include "sim/win32/ledgerAccess.h"

#include <variant>

#include "sim/core/dates.h"
#include "sim/core/ledger.h"

const sim::HostTables* hostTables() {
    static const sim::HostTables tables = [] {
        auto read = sim::readLedger(sim::sampleLedgerJson(), "the sample ledger");
        return std::holds_alternative<sim::Ledger>(read) ? sim::tablesFromLedger(std::get<sim::Ledger>(read))
                                                         : sim::HostTables{};
    }();
    return &tables;
}

std::int32_t hostToday() { return *sim::dayOfDateText("20261209"); }
