// Lightweight millisecond timers for components that have no window of their own.
// Every TSimpleTimer of the process is served by one shared hidden window (held by
// TSimpleTimerHandler) on which the system delivers WM_TIMER; a tick finds its timer by
// identifier in a hash map, allocates nothing and then calls the timer's callback.
#pragma once

#include <windows.h>

#include <functional>

#include "wingui/SharedHiddenWindow.h"

namespace tray {

class TSimpleTimer;
using TimerCallback = std::function<void(TSimpleTimer& sender)>;

class TSimpleTimer {
 public:
  static constexpr UINT kDefaultPeriod = 1000;

  TSimpleTimer();
  TSimpleTimer(UINT period, TimerCallback onElapsed);
  TSimpleTimer(const TSimpleTimer&) = delete;
  TSimpleTimer& operator=(const TSimpleTimer&) = delete;
  virtual ~TSimpleTimer();

  // Starts the system timer, or restarts its countdown when it already runs. Answers
  // false (and leaves Active alone) when Period is 0, or when the system refuses.
  bool Arm();
  // Stops the system timer; answers whether one was running. With clearActive false the
  // timer stays "meant to run" so a later period change starts it again.
  bool Disarm(bool clearActive);

  bool Active() const { return active_; }
  void SetActive(bool value);
  UINT Period() const { return period_; }
  void SetPeriod(UINT period);
  bool OneShot() const { return oneShot_; }
  void SetOneShot(bool value) { oneShot_ = value; }
  const TimerCallback& OnElapsed() const { return onElapsed_; }
  void SetOnElapsed(TimerCallback callback);

  // The identifier the system timer carries; unique among the timers of this process.
  UINT_PTR TimerId() const { return timerId_; }

 private:
  friend class TSimpleTimerHandler;

  UINT_PTR timerId_;
  bool active_ = false;
  UINT period_;
  bool oneShot_ = false;
  TimerCallback onElapsed_;
};

// The shared hidden window and the table of live timers. There is at most one, made by
// the first timer and destroyed with the last; outside this module it is only looked at
// (tests, benchmarks).
class TSimpleTimerHandler final
    : public wingui::SharedHiddenWindow<TSimpleTimerHandler, TSimpleTimer> {
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

void AcquireTimerHandler();
void ReleaseTimerHandler();
// The shared handler, or nullptr while no timer exists.
TSimpleTimerHandler* SharedTimerHandler();

}  // namespace tray
