// Message text rules shared by the launch core and the application's error box.
#include "Errors.h"

namespace launch {

std::string TidySystemText(std::string text) {
  while (!text.empty()) {
    const auto last = static_cast<unsigned char>(text.back());
    if (last > ' ' && last != '.') break;
    text.pop_back();
  }
  return text;
}

std::string AddClosingFullStop(std::string message) {
  // Bytes of the upper half (accented letters of the ANSI code page) sort after "." too.
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') message += '.';
  return message;
}

}  // namespace launch
