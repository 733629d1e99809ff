// No C++ exception may cross a Win32 callback. Every window procedure, timer tick and
// command handler runs our code through CallGuarded, which hands an escaped exception to
// the one error handler of the process (the application object installs its error box).
#pragma once

#include <exception>
#include <functional>
#include <utility>

namespace wingui {

using ErrorHandler = void (*)(std::exception_ptr error);

// Installs the process's error handler; returns the previous one.
ErrorHandler SetErrorHandler(ErrorHandler handler);

// Passes an escaped exception to the installed handler (a plain stop box when none is
// installed yet).
void HandleException(std::exception_ptr error) noexcept;

// Runs f; answers false when it threw (the error has then been handled).
template <typename F>
bool CallGuarded(F&& f) noexcept {
  try {
    std::forward<F>(f)();
    return true;
  } catch (...) {
    HandleException(std::current_exception());
    return false;
  }
}

// Raises an event: runs its handler, when one is set, under CallGuarded.
inline void Raise(const std::function<void()>& handler) {
  if (handler) CallGuarded(handler);
}

}  // namespace wingui
