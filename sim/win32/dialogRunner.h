// The dialog runner's state that the host screen shows.
#pragma once
#include <cstdint>

// The bits that setBusy has set and not cleared.
std::uint32_t hostBusyMask();
