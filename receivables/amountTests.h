// Decisions on amounts: always on the host's rounding to its money precision,
// compared with 0.0. The amounts themselves are kept unrounded.
#pragma once
#include "receivables/roundingMemo.h"

inline bool roundsBelowZero(double amount) { return roundedSign(amount) == RoundedSign::below; }
inline bool roundsAboveZero(double amount) { return roundedSign(amount) == RoundedSign::above; }
inline bool roundsToZero(double amount) { return roundedSign(amount) == RoundedSign::zero; }
inline bool roundsToZeroOrAbove(double amount) {
    RoundedSign sign = roundedSign(amount);
    return sign == RoundedSign::zero || sign == RoundedSign::above;
}
