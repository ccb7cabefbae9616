// A ledger in the simulator's JSON form, as `./run --ledger FILE` reads it:
// a ledger the tests made can be run in the simulator as it is.
#pragma once
#include <string>

#include "sim/core/ledger.h"

std::string ledgerJson(const sim::Ledger& ledger);
