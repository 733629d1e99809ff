// The texts and boxes for errors: an escaped exception's message (or, for a foreign exception,
// its readable class name), and the error, fatal and go-on-anyway boxes shown through the box
// seam.
#include "wingui/ErrorBox.h"

#include <cctype>
#include <typeinfo>

#include "launch/Errors.h"

namespace wingui {

launch::Seam<BoxCalls>& BoxSeam() {
  static launch::Seam<BoxCalls> seam{{.ShowMessageBox = &MessageBoxA}};
  return seam;
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

namespace {

// The readable name of a class from its type name as this compiler writes it: "St13runtime_error"
// is std::runtime_error, "N6launch11LaunchErrorE" is launch::LaunchError. Names of any other
// shape (templates, say) are given as they are. A few lines here spare the program the
// run-time library's whole general demangler.
std::string ReadableClassName(const char* raw) {
  std::string_view name(raw);
  const bool nested = !name.empty() && name.front() == 'N';
  if (nested) name.remove_prefix(1);
  std::string readable;
  while (!name.empty() && !(nested && name.front() == 'E')) {
    if (name.substr(0, 2) == "St") {
      readable += "std::";
      name.remove_prefix(2);
      continue;
    }
    size_t digits = 0;
    while (digits < name.size() && std::isdigit(static_cast<unsigned char>(name[digits]))) ++digits;
    if (digits == 0) return raw;
    const size_t length = std::stoul(std::string(name.substr(0, digits)));
    name.remove_prefix(digits);
    if (length > name.size()) return raw;
    if (!readable.empty() && readable.back() != ':') readable += "::";
    readable += name.substr(0, length);
    name.remove_prefix(length);
  }
  if (nested ? name != "E" : !name.empty()) return raw;
  return readable.empty() ? raw : readable;
}

}  // namespace

std::string ErrorKind(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return ReadableClassName(typeid(e).name());
  } catch (...) {
    return "unknown exception";
  }
}

void ShowErrorBox(HWND owner, const std::string& caption, std::exception_ptr error) {
  const std::string text = launch::AddClosingFullStop(ErrorText(error));
  BoxSeam().InUse.ShowMessageBox(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONSTOP);
}

void ShowFatalErrorBox(std::exception_ptr error) {
  const std::string text = "Exception " + ErrorKind(error) + ".\r\n\r\n" +
                           launch::AddClosingFullStop(ErrorText(error));
  // Task-modal and without an owner: at this point there may be no window left to own it.
  BoxSeam().InUse.ShowMessageBox(nullptr, text.c_str(), "Application Error",
                     MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}

bool AskToGoOn(HWND owner, const std::string& caption, const std::string& text) {
  return BoxSeam().InUse.ShowMessageBox(owner, text.c_str(), caption.c_str(),
                                          MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

}  // namespace wingui
