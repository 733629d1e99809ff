// How the framework answers two kinds of failure, the same way everywhere.
//
// A timer the system refuses: where the work can be done without the timer, the caller does
// it at once (TryStartTimer answers false); where it cannot, it is an error (StartTimer
// throws "Not enough timers available", which reaches the error box of the command that
// asked). The tray component's timer service answers false by its own contract.
//
// An index into a list: -1 names no item (nothing selected) and asks for nothing; any other
// index outside the list is a programming error (CheckIndex throws "List index out of
// bounds"). What a player can do, such as "Remove Selected" with nothing selected, is
// answered by the command before it asks the list.
#pragma once

#include <windows.h>

namespace wingui {

// SetTimer's arguments; true when the timer runs.
bool TryStartTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC procedure = nullptr);
// The same, throwing when the system refuses; answers the timer's identifier.
UINT_PTR StartTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC procedure = nullptr);

// Throws unless 0 <= index < count.
void CheckIndex(int index, int count);

}  // namespace wingui
