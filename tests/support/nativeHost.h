// The native stand-in for the host behind frame/hostServices.h: every ledger
// service is a plain function that forwards to the LedgerHost installed for
// the test, so the plug-in's own code runs unchanged against it. The
// user-interface services are in uiHost.h.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "sim/core/ledgerHost.h"

namespace testHost {

// Installs a host for the lifetime of the object; services called without
// one abort the test program.
class Installed {
public:
    explicit Installed(sim::LedgerHost& host);
    ~Installed();
    Installed(const Installed&) = delete;
    Installed& operator=(const Installed&) = delete;

private:
    sim::LedgerHost* previous_;
};

sim::LedgerHost& host();

// What roundAmount answers for an amount that is no number: the ledger host's
// own rounding (which keeps it no number) unless a test sets another answer,
// as a host in the field may give.
void setNanRounding(const double* answer);

}  // namespace testHost
