// Amounts as the host shows them: units of 1/10000 of the currency written
// in currency units, Polish style ("-1 234,50").
#pragma once
#include <string>

namespace sim {

std::string moneyText(double units);

}  // namespace sim
