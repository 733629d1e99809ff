#include "wingui/WarningBox.h"

#include "wingui/ErrorBox.h"

namespace wingui {

bool AskToGoOn(HWND owner, const std::string& caption, const std::string& text) {
  return Boxes().messageBox(owner, text.c_str(), caption.c_str(),
                            MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

}  // namespace wingui
