// Failure texts of automation calls. The description set by the component comes first
// because it is the most specific; the system message table covers the standard codes.
#include "help/OleErrors.h"

#include <oleauto.h>

#include "launch/Errors.h"
#include "launch/SystemErrorText.h"
#include "wingui/Handles.h"
#include "wingui/TextConversion.h"

namespace help {
namespace {

std::string ComponentDescription() {
  wingui::ComPtr<IErrorInfo> info;
  if (GetErrorInfo(0, info.Put()) != S_OK || !info) return {};
  BSTR description = nullptr;
  if (FAILED(info->GetDescription(&description)) || !description) return {};
  std::string text = wingui::AnsiFromWide({description, SysStringLen(description)});
  SysFreeString(description);
  return text;
}

std::string OleErrorText(HRESULT code) {
  std::string text = launch::TidySystemText(ComponentDescription());
  if (text.empty()) text = launch::TidiedSystemErrorText(static_cast<int>(code));
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

}  // namespace

void CheckOle(HRESULT code) {
  if (FAILED(code)) throw OleError(code, OleErrorText(code));
}

}  // namespace help
