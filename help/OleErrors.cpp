// Failure texts of automation calls. The description set by the component comes first
// because it is the most specific; the system message table covers the standard codes.
#include "help/OleErrors.h"

#include <oleauto.h>


#include "launch/Errors.h"
#include "wingui/Handles.h"

namespace help {
namespace {

std::string Narrow(const wchar_t* text, int length) {
  if (length <= 0) return {};
  const int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string result(size, '\0');
  WideCharToMultiByte(CP_ACP, 0, text, length, result.data(), size, nullptr, nullptr);
  return result;
}

std::string ComponentDescription() {
  wingui::ComPtr<IErrorInfo> info;
  if (GetErrorInfo(0, info.Put()) != S_OK || !info) return {};
  BSTR description = nullptr;
  if (FAILED(info->GetDescription(&description)) || !description) return {};
  std::string text = Narrow(description, static_cast<int>(SysStringLen(description)));
  SysFreeString(description);
  return text;
}

std::string SystemText(HRESULT code) {
  char* buffer = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text = length && buffer ? std::string(buffer, length) : std::string();
  if (buffer) LocalFree(buffer);
  return text;
}

}  // namespace

std::string OleErrorText(HRESULT code) {
  std::string text = launch::TidySystemText(ComponentDescription());
  if (text.empty()) text = launch::TidySystemText(SystemText(code));
  if (text.empty()) {
    // "OLE error " and the code as eight lower-case hex digits; formatted by hand, so the
    // program carries no printf engine for this one line.
    text = "OLE error 00000000";
    auto value = static_cast<unsigned long>(code);
    for (auto digit = text.rbegin(); value != 0; ++digit, value >>= 4) {
      *digit = "0123456789abcdef"[value & 0xF];
    }
  }
  return text;
}

void CheckOle(HRESULT code) {
  if (FAILED(code)) throw OleError(code, OleErrorText(code));
}

}  // namespace help
