// The host's money rounding: amounts are doubles in units of 1/10000 of the
// currency, rounded to whole hundredths (multiples of 100), halves away from
// zero.
#pragma once

namespace sim {

double roundToHundredths(double amount);

}  // namespace sim
