// The list dialog: its description block, its dialog procedure and its rows.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "frame/hostServices.h"

inline constexpr std::size_t listDialogDescriptionSize = 317;
extern const std::array<unsigned char, listDialogDescriptionSize> listDialogDescription;

inline constexpr std::size_t rowTextBufferSize = 124;
extern char rowTextBuffer[rowTextBufferSize];

inline constexpr std::int16_t dialogMessageInit = -2;
inline constexpr std::int16_t dialogMessageCommand = 1;
inline constexpr std::int16_t showDocumentButton = 1005;
inline constexpr std::int16_t rowCountRequest = -1;
inline constexpr std::int32_t dialogResultFailed = 27;  // Esc
inline constexpr std::int32_t dialogResultShown = 0xFFFE;

extern "C" {
std::int32_t HOST_STDCALL listDialogProc(std::int32_t control, std::int32_t message);
std::intptr_t HOST_STDCALL listRowText(std::int32_t row, std::int32_t unused);
}

// The receivables computation that the dialog's initialisation runs.
int buildReceivables();
