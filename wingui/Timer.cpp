// Thread timers by their identifiers, and the one way to start a timer.
#include "wingui/Timer.h"

#include <unordered_map>
#include <utility>

#include "launch/Errors.h"
#include "wingui/ExceptionBoundary.h"

namespace wingui {
namespace {

// Running timers by the system's identifier. A tick for an identifier no longer here (one
// already queued when its timer stopped) is dropped.
std::unordered_map<UINT_PTR, Timer*>& Running() {
  static std::unordered_map<UINT_PTR, Timer*> running;
  return running;
}

}  // namespace

bool TryStartTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC procedure) {
  return SetTimer(window, id, milliseconds, procedure) != 0;
}

UINT_PTR StartTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC procedure) {
  const UINT_PTR started = SetTimer(window, id, milliseconds, procedure);
  if (started == 0) throw launch::Error("Not enough timers available");
  return started;
}

Timer::Timer(Component* owner) : Component(owner) { Update(); }

Timer::~Timer() { Stop(); }

void Timer::SetInterval(UINT milliseconds) {
  if (std::exchange(interval_, milliseconds) != milliseconds) Update();
}

void Timer::SetEnabled(bool enabled) {
  if (std::exchange(enabled_, enabled) != enabled) Update();
}

void Timer::Stop() {
  if (id_ == 0) return;
  KillTimer(nullptr, id_);
  Running().erase(id_);
  id_ = 0;
}

bool Timer::TryEnable() {
  if (enabled_) return true;
  enabled_ = true;
  if (!Update(true)) enabled_ = false;
  return enabled_;
}

bool Timer::Update(bool tolerateRefusal) {
  Stop();
  if (!enabled_ || interval_ == 0) return true;
  id_ = tolerateRefusal ? SetTimer(nullptr, 0, interval_, &Timer::Tick)
                        : StartTimer(nullptr, 0, interval_, &Timer::Tick);
  if (id_ == 0) return false;
  Running()[id_] = this;
  return true;
}

void CALLBACK Timer::Tick(HWND, UINT, UINT_PTR id, DWORD) {
  const auto found = Running().find(id);
  if (found != Running().end() && found->second->OnTimer) CallGuarded(found->second->OnTimer);
}

}  // namespace wingui
