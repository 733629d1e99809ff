// The process's one handler for exceptions stopped at a Win32 callback, and its replacement.
#include "wingui/ExceptionBoundary.h"

#include "wingui/ErrorBox.h"

namespace wingui {
namespace {

ErrorHandler g_handler = nullptr;

}  // namespace

ErrorHandler SetErrorHandler(ErrorHandler handler) {
  return std::exchange(g_handler, handler);
}

void HandleException(std::exception_ptr error) noexcept {
  try {
    if (g_handler) {
      g_handler(error);
    } else {
      // Before the application installs its handler: the same stop box, with a plain caption.
      ShowErrorBox(nullptr, "Error", error);
    }
  } catch (...) {
    // The error box itself failed; there is nobody left to tell.
  }
}

}  // namespace wingui
