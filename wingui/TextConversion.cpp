// Conversions between the ANSI code page and UTF-16 through the system's converters.
#include "wingui/TextConversion.h"

#include <windows.h>

namespace wingui {

std::wstring WideFromAnsi(std::string_view text) {
  std::wstring wide;
  AppendWideFromAnsi(wide, text);
  return wide;
}

void AppendWideFromAnsi(std::wstring& wide, std::string_view text) {
  if (text.empty()) return;
  const size_t used = wide.size();
  // An 8-bit code page never gives more UTF-16 units than it has bytes.
  wide.resize(used + text.size());
  const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                       wide.data() + used, static_cast<int>(text.size()));
  wide.resize(used + static_cast<size_t>(size));
}

std::string AnsiFromWide(std::wstring_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), length, ansi.data(), size, nullptr, nullptr);
  return ansi;
}

}  // namespace wingui
