// Lightweight millisecond timers for components that have no window of their own.
// Every TSimpleTimer of the process is served by one shared hidden window (held by
// TSimpleTimerHandler) on which the system delivers WM_TIMER; a tick finds its timer by
// identifier in a hash map, allocates nothing and then calls the timer's callback.
#pragma once

#include <windows.h>

#include <functional>
#include <unordered_map>

#include "wingui/HiddenWindow.h"

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
class TSimpleTimerHandler final : private wingui::MessageTarget {
 public:
  TSimpleTimerHandler(const TSimpleTimerHandler&) = delete;
  TSimpleTimerHandler& operator=(const TSimpleTimerHandler&) = delete;

  // Number of live timers, running or not.
  unsigned UserCount() const { return userCount_; }
  HWND HiddenWindow() const { return window_.Handle(); }

  // Lets the module's owning pointer destroy the handler.
  struct Deleter {
    void operator()(TSimpleTimerHandler* handler) const { delete handler; }
  };

 private:
  friend class TSimpleTimer;
  friend void AcquireTimerHandler();
  friend void ReleaseTimerHandler();

  TSimpleTimerHandler();
  ~TSimpleTimerHandler();
  LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
  void Tick(UINT_PTR timerId);

  unsigned userCount_ = 0;
  std::unordered_map<UINT_PTR, TSimpleTimer*> live_;
  wingui::HiddenWindow window_;
};

void AcquireTimerHandler();
void ReleaseTimerHandler();
// The shared handler, or nullptr while no timer exists.
TSimpleTimerHandler* SharedTimerHandler();

}  // namespace tray
