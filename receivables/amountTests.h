// Decisions on amounts: always on the host's rounding to its money precision,
// compared with 0.0. The amounts themselves are kept unrounded.
#pragma once
#include "frame/hostServices.h"

inline double roundedAmount(double amount) { return roundAmount(amount, 1); }
inline bool roundsBelowZero(double amount) { return roundedAmount(amount) < 0.0; }
inline bool roundsAboveZero(double amount) { return roundedAmount(amount) > 0.0; }
inline bool roundsToZero(double amount) { return roundedAmount(amount) == 0.0; }
inline bool roundsToZeroOrAbove(double amount) { return roundedAmount(amount) >= 0.0; }
