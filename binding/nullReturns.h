// Null returns for host services that the host lacks and the user ignored.
#pragma once
#include <cstdint>

using NullReturn = void*;
inline constexpr int nullReturnCount = 15;  // removing 0, 4, ..., 56 bytes

extern "C" {
extern void* const nullReturns[nullReturnCount];
// Leaves 0.0 on the x87 stack and removes 12 bytes: roundAmount's stand-in.
void nullReturnDouble12();
}

// How the plug-in calls a host service: the argument bytes it pushes, whether
// the service or the caller removes them, and whether the answer comes on the
// x87 stack.
struct ServiceCall {
    std::uint16_t number;
    std::uint8_t argumentBytes;
    bool callerRemoves;
    bool answersDouble;
};

// The services the plug-in calls (frame/hostServices.h), with their calls.
inline constexpr ServiceCall servicesCalled[] = {
    {52005, 40, false, false},  // startProcess
    {52006, 4, false, false},   // buildStamp
    {52026, 20, true, false},   // runDialog
    {52028, 12, false, false},  // messageBox
    {52030, 4, false, false},   // showError
    {52034, 12, false, false},  // setBusy
    {52040, 8, false, false},   // listSelection
    {52128, 16, false, false},  // showDocument
    {52158, 16, false, false},  // convertText
    {52161, 12, false, false},  // copyField
    {52179, 12, false, true},   // roundAmount
    {52249, 4, false, false},   // setEventHook
    {52256, 4, false, false},   // openTable
    {52267, 0, false, false},   // hookContext
    {52278, 24, false, false},  // scanBegin
    {52279, 4, false, false},   // scanNext
    {52281, 4, false, false},   // scanEnd
    {52311, 20, false, false},  // makeDataFileName
    {21286, 8, true, false},    // memRealloc
    {21287, 4, true, false},    // memFree
    {30204, 4, false, false},   // todayDate
    {30908, 8, false, false},   // compareDates
    {31708, 8, false, false},   // addDays
    {32008, 8, false, false},   // formatDate
    {32300, 0, false, false},   // getStateFlags
    {32408, 8, false, false},   // setStateFlags
};
static_assert(sizeof(servicesCalled) / sizeof(servicesCalled[0]) == 26);
