// The plug-in's place in the host's event hook chain, and the one-shot prompt.
#pragma once
#include <cstdint>

#include "frame/hostServices.h"

extern EventHook previousEventHook;
extern std::int32_t promptPending;
extern std::int16_t listSelectionCell;
// Set by the first installEventHook: the hook goes into the chain once per
// module life, so that a repeated load call cannot make it its own previous hook.
extern bool eventHookInstalled;

// Puts eventHook into the host's chain, once per module life.
void installEventHook();
extern "C" std::int32_t HOST_STDCALL eventHook(std::int32_t code);

inline constexpr std::int16_t eventCodeIdle = 4098;
inline constexpr std::int16_t eventCodeNone = -1;
inline constexpr std::uint32_t questionStyle = 0x30009;
inline constexpr std::int16_t answerYes = 20481;
inline constexpr std::int32_t promptStateBit = 0x8000;
inline constexpr std::uint16_t getStateFlagsNumber = 32300;
inline constexpr std::int32_t listDialogNumber = 1001;
