#include "wingui/Failures.h"

#include "launch/Errors.h"

namespace wingui {

bool TryStartTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC procedure) {
  return SetTimer(window, id, milliseconds, procedure) != 0;
}

UINT_PTR StartTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC procedure) {
  const UINT_PTR started = SetTimer(window, id, milliseconds, procedure);
  if (started == 0) throw launch::Error("Not enough timers available");
  return started;
}

void CheckIndex(int index, int count) {
  if (index < 0 || index >= count) throw launch::Error("List index out of bounds");
}

}  // namespace wingui
