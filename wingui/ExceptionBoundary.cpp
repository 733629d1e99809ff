#include "wingui/ExceptionBoundary.h"

#include <windows.h>

#include <string>

namespace wingui {
namespace {

ErrorHandler g_handler = nullptr;

void FallbackBox(std::exception_ptr error) {
  std::string text = "Unknown error";
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    text = e.what();
  } catch (...) {
  }
  MessageBoxA(nullptr, text.c_str(), "Error", MB_OK | MB_ICONSTOP);
}

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
