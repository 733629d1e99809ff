// Timer service: the shared hidden window, its table of live timers and the arm/disarm
// rules. A timer may be "active" while its system timer is stopped (period 0 or no
// callback); a later period change or Arm brings it back.
#include "tray/SimpleTimer.h"

#include <cstdint>
#include <utility>

#include "wingui/Timer.h"
#include "wingui/SerialNumbers.h"

namespace tray {
namespace {

// Identifiers are a serial number rather than the object's address, so a WM_TIMER still
// queued for a destroyed timer can never be taken for a new timer built at the same
// address; 0 is never one.
wingui::SerialNumbers g_timerIds(1, UINTPTR_MAX);

}  // namespace

// ---- shared handler -----------------------------------------------------------------

LRESULT TSimpleTimerHandler::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_TIMER) return DefaultMessage(msg, wParam, lParam);
  TSimpleTimer* timer = Find(static_cast<UINT_PTR>(wParam));
  if (!timer) return 0;  // a tick for a timer that no longer exists
  if (timer->oneShot_) timer->Disarm(true);
  // The callback may stop, rearm or even destroy its timer (and with the last timer this
  // handler): nothing here touches either after the call.
  if (timer->onElapsed_) timer->onElapsed_(*timer);
  return 0;
}

void AcquireTimerHandler() { TSimpleTimerHandler::Acquire(); }

void ReleaseTimerHandler() { TSimpleTimerHandler::Release(); }

TSimpleTimerHandler* SharedTimerHandler() { return TSimpleTimerHandler::Shared(); }

// ---- timer --------------------------------------------------------------------------

TSimpleTimer::TSimpleTimer() : TSimpleTimer(kDefaultPeriod, nullptr) {}

TSimpleTimer::TSimpleTimer(UINT period, TimerCallback onElapsed)
    : timerId_(g_timerIds.Next()), period_(period), onElapsed_(std::move(onElapsed)) {
  AcquireTimerHandler();
  try {
    SharedTimerHandler()->Add(timerId_, this);
  } catch (...) {
    ReleaseTimerHandler();
    throw;
  }
}

TSimpleTimer::~TSimpleTimer() {
  if (active_) Disarm(true);
  if (TSimpleTimerHandler* handler = SharedTimerHandler()) handler->Remove(timerId_);
  ReleaseTimerHandler();
}

bool TSimpleTimer::Arm() {
  if (period_ == 0) return false;
  if (active_) Disarm(true);
  TSimpleTimerHandler* handler = SharedTimerHandler();
  active_ = handler && wingui::TryStartTimer(handler->HiddenWindow(), timerId_, period_);
  return active_;
}

bool TSimpleTimer::Disarm(bool clearActive) {
  if (clearActive) active_ = false;
  TSimpleTimerHandler* handler = SharedTimerHandler();
  return handler && KillTimer(handler->HiddenWindow(), timerId_) != 0;
}

void TSimpleTimer::SetActive(bool value) { value ? Arm() : Disarm(true); }

void TSimpleTimer::SetPeriod(UINT period) {
  if (period == period_) return;  // a running countdown is left undisturbed
  period_ = period;
  if (!active_) return;
  period != 0 ? Arm() : Disarm(false);
}

void TSimpleTimer::SetOnElapsed(TimerCallback callback) {
  onElapsed_ = std::move(callback);
  if (!onElapsed_ && active_) Disarm(false);
}

}  // namespace tray
