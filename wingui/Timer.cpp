#include "wingui/Timer.h"

#include <stdexcept>

#include "wingui/ExceptionBoundary.h"

namespace wingui {
namespace {
constexpr UINT_PTR kTimerId = 1;
}

Timer::Timer(Component* owner) : Component(owner), window_(std::make_unique<HiddenWindow>(static_cast<MessageTarget&>(*this))) {
  Update();
}

Timer::~Timer() {
  if (window_) KillTimer(window_->Handle(), kTimerId);
}

void Timer::SetInterval(UINT milliseconds) {
  if (milliseconds == interval_) return;
  interval_ = milliseconds;
  Update();
}

void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Update();
}

void Timer::Update() {
  KillTimer(window_->Handle(), kTimerId);
  if (enabled_ && interval_ > 0 && SetTimer(window_->Handle(), kTimerId, interval_, nullptr) == 0) {
    throw std::runtime_error("Not enough timers available");
  }
}

LRESULT Timer::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_TIMER && wParam == kTimerId) {
    if (OnTimer) CallGuarded(OnTimer);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace wingui
