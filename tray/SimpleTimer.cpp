// Timer service: the shared hidden window, its table of live timers and the arm/disarm
// rules. A timer may be "active" while its system timer is stopped (period 0 or no
// callback); a later period change or Arm brings it back.
#include "tray/SimpleTimer.h"

#include <memory>
#include <utility>

namespace tray {
namespace {

// Identifiers are a serial number rather than the object's address, so a WM_TIMER still
// queued for a destroyed timer can never be taken for a new timer built at the same
// address.
UINT_PTR NextTimerId() {
  static UINT_PTR last = 0;
  if (++last == 0) ++last;  // 0 is never an identifier
  return last;
}

}  // namespace

// ---- shared handler -----------------------------------------------------------------

TSimpleTimerHandler::TSimpleTimerHandler() : window_(*this) {
  // Room for the three timers of a few tray icons, so registering them rarely rehashes.
  live_.reserve(16);
}

TSimpleTimerHandler::~TSimpleTimerHandler() = default;

LRESULT TSimpleTimerHandler::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_TIMER) return DefWindowProcA(hwnd, msg, wParam, lParam);
  Tick(static_cast<UINT_PTR>(wParam));
  return 0;
}

void TSimpleTimerHandler::Tick(UINT_PTR timerId) {
  const auto found = live_.find(timerId);
  if (found == live_.end()) return;  // a tick for a timer that no longer exists
  TSimpleTimer& timer = *found->second;
  if (timer.oneShot_) timer.Disarm(true);
  // The callback may stop, rearm or even destroy its timer (and with the last timer this
  // handler): nothing here touches either after the call.
  if (timer.onElapsed_) timer.onElapsed_(timer);
}

namespace {

using HandlerPtr = std::unique_ptr<TSimpleTimerHandler, TSimpleTimerHandler::Deleter>;

// Destroyed at shutdown with its window when timers were leaked.
HandlerPtr& HandlerSlot() {
  static HandlerPtr slot;
  return slot;
}

}  // namespace

void AcquireTimerHandler() {
  auto& slot = HandlerSlot();
  if (!slot) slot.reset(new TSimpleTimerHandler());
  ++slot->userCount_;
}

void ReleaseTimerHandler() {
  auto& slot = HandlerSlot();
  if (!slot) return;
  if (slot->userCount_ > 0) --slot->userCount_;
  if (slot->userCount_ == 0) slot.reset();
}

TSimpleTimerHandler* SharedTimerHandler() { return HandlerSlot().get(); }

// ---- timer --------------------------------------------------------------------------

TSimpleTimer::TSimpleTimer() : TSimpleTimer(kDefaultPeriod, nullptr) {}

TSimpleTimer::TSimpleTimer(UINT period, TimerCallback onElapsed)
    : timerId_(NextTimerId()), period_(period) {
  SetOnElapsed(std::move(onElapsed));
  AcquireTimerHandler();
  try {
    SharedTimerHandler()->live_.emplace(timerId_, this);
  } catch (...) {
    ReleaseTimerHandler();
    throw;
  }
}

TSimpleTimer::~TSimpleTimer() {
  if (active_) Disarm(true);
  if (TSimpleTimerHandler* handler = SharedTimerHandler()) handler->live_.erase(timerId_);
  ReleaseTimerHandler();
}

bool TSimpleTimer::Arm() {
  if (period_ == 0) return false;
  if (active_) Disarm(true);
  TSimpleTimerHandler* handler = SharedTimerHandler();
  const bool started =
      handler && SetTimer(handler->HiddenWindow(), timerId_, period_, nullptr) != 0;
  if (started) active_ = true;
  return started;
}

bool TSimpleTimer::Disarm(bool clearActive) {
  if (clearActive) active_ = false;
  TSimpleTimerHandler* handler = SharedTimerHandler();
  return handler && KillTimer(handler->HiddenWindow(), timerId_) != 0;
}

void TSimpleTimer::SetActive(bool value) {
  if (value) {
    Arm();
  } else {
    Disarm(true);
  }
}

void TSimpleTimer::SetPeriod(UINT period) {
  if (period == period_) return;  // a running countdown is left undisturbed
  period_ = period;
  if (!active_) return;
  if (period != 0) {
    Arm();
  } else {
    Disarm(false);
  }
}

void TSimpleTimer::SetOnElapsed(TimerCallback callback) {
  onElapsed_ = std::move(callback);
  if (!onElapsed_ && active_) Disarm(false);
}

}  // namespace tray
