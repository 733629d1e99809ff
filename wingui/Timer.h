// The framework's timer component, the one way the program runs something every so often: a
// thread timer (SetTimer without a window, ticks delivered through the message loop to one
// callback), running while it is enabled with a non-zero interval. Ticks run OnTimer under
// CallGuarded. No window of its own: creating a window costs more than everything else a
// timer does. (The tray component's timer service has a specified behaviour of its own.)
//
// A timer the system refuses: where the work can be done without the timer, the caller does
// it at once (TryStartTimer answers false); where it cannot, it is an error (StartTimer
// throws "Not enough timers available", which reaches the error box of the command that asked).
#pragma once

#include <windows.h>

#include <functional>

#include "wingui/Component.h"

namespace wingui {

// SetTimer's arguments; true when the timer runs.
bool TryStartTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC procedure = nullptr);
// The same, throwing when the system refuses; answers the timer's identifier.
UINT_PTR StartTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC procedure = nullptr);

class Timer : public Component {
 public:
  explicit Timer(Component* owner);
  ~Timer() override;

  UINT Interval() const { return interval_; }
  void SetInterval(UINT milliseconds);
  bool Enabled() const { return enabled_; }
  // Throws when the system refuses the timer (StartTimer).
  void SetEnabled(bool enabled);
  // Runs the timer where the system gives one; false (and not enabled) where it refuses: for
  // work that can be done without the timer, at once.
  bool TryEnable();

  std::function<void()> OnTimer;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);
  void Stop();
  // Starts the timer when it is enabled with an interval; false when the system refused.
  bool Update(bool tolerateRefusal = false);

  UINT interval_ = 1000;
  bool enabled_ = true;
  UINT_PTR id_ = 0;  // the system's identifier while running
};

}  // namespace wingui
