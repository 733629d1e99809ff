#include "wingui/ErrorBox.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "launch/Errors.h"

namespace wingui {

BoxCalls& Boxes() {
  static BoxCalls calls;
  return calls;
}

std::string ErrorText(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "Unknown error";
  }
}

std::string ErrorKind(std::exception_ptr error) {
  const std::type_info* type = nullptr;
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    type = &typeid(e);
  } catch (...) {
    return "unknown exception";
  }
  int status = 0;
  std::unique_ptr<char, decltype(&std::free)> readable(
      abi::__cxa_demangle(type->name(), nullptr, nullptr, &status), &std::free);
  return status == 0 && readable ? readable.get() : type->name();
}

void ShowErrorBox(HWND owner, const std::string& caption, std::exception_ptr error) {
  const std::string text = launch::AddClosingFullStop(ErrorText(error));
  Boxes().messageBox(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONSTOP);
}

void ShowFatalErrorBox(std::exception_ptr error) {
  const std::string text = "Exception " + ErrorKind(error) + ".\r\n\r\n" +
                           launch::AddClosingFullStop(ErrorText(error));
  // Task-modal and without an owner: at this point there may be no window left to own it.
  Boxes().messageBox(nullptr, text.c_str(), "Application Error",
                     MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}

}  // namespace wingui
