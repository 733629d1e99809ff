#include "wingui/ExceptionBoundary.h"

#include <windows.h>

#include "wingui/ErrorBox.h"

namespace wingui {
namespace {

ErrorHandler g_handler = nullptr;

// Before the application installs its handler: the same stop box, with a plain caption.
void FallbackBox(std::exception_ptr error) { ShowErrorBox(nullptr, "Error", error); }

}  // namespace

ErrorHandler SetErrorHandler(ErrorHandler handler) {
  return std::exchange(g_handler, handler);
}

void HandleException(std::exception_ptr error) noexcept {
  try {
    if (g_handler) {
      g_handler(error);
    } else {
      FallbackBox(error);
    }
  } catch (...) {
    // The error box itself failed; there is nobody left to tell.
  }
}

}  // namespace wingui
