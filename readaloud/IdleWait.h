// Lets a pumping loop give the processor back between its cycles.
#pragma once

#include <windows.h>

// How long a pumping loop sleeps at most between two cycles. Short against the
// clock's own 16 ms steps, so no deadline or state change is noticed later than
// a spinning loop would notice it.
constexpr DWORD kIdleSliceMs = 4;

// Returns when a message arrives in the thread's queue (or one is already
// waiting there, seen or not) or after `ms` milliseconds, whichever is first.
void WaitForInputOrTimeout(DWORD ms = kIdleSliceMs);
