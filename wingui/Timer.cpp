#include "wingui/Timer.h"

#include <unordered_map>
#include <utility>

#include "wingui/ExceptionBoundary.h"
#include "wingui/Failures.h"

namespace wingui {
namespace {

// Running timers by the system's identifier. A tick for an identifier no longer here (one
// already queued when its timer stopped) is dropped.
std::unordered_map<UINT_PTR, Timer*>& Running() {
  static std::unordered_map<UINT_PTR, Timer*> running;
  return running;
}

}  // namespace

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

void Timer::Update() {
  Stop();
  if (!enabled_ || interval_ == 0) return;
  id_ = StartTimer(nullptr, 0, interval_, &Timer::Tick);
  Running()[id_] = this;
}

void CALLBACK Timer::Tick(HWND, UINT, UINT_PTR id, DWORD) {
  const auto found = Running().find(id);
  if (found != Running().end() && found->second->OnTimer) CallGuarded(found->second->OnTimer);
}

}  // namespace wingui
