// The file-open dialog: runs the system's dialog (late-bound, comdlg32 is needed only here)
// and, on a confirmed choice, makes the chosen file's folder the current directory.
#include "wingui/Dialogs.h"

#include <windows.h>
#include <commdlg.h>

#include "launch/Errors.h"
#include "launch/Paths.h"
#include "wingui/Application.h"
#include "wingui/LateBinding.h"

namespace wingui {

OpenDialog::OpenDialog(Component* owner) : Component(owner) {}

bool OpenDialog::Execute() {
  char buffer[MAX_PATH] = {};  // 260 characters, starting with the file confirmed last
  fileName_.copy(buffer, MAX_PATH - 1);
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  HWND owner = GetActiveWindow();
  ofn.hwndOwner = owner ? owner : App().Handle();
  ofn.lpstrFile = buffer;
  ofn.nMaxFile = MAX_PATH;
  ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY;
  using GetOpenFileNameFunction = BOOL(WINAPI*)(OPENFILENAMEA*);
  static const auto getOpenFileName =
      LateBound<GetOpenFileNameFunction>("comdlg32.dll", "GetOpenFileNameA");
  if (!getOpenFileName) throw launch::Error("Cannot open the file dialog");
  char before[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, before);
  if (!getOpenFileName(&ofn)) {
    // Wine's dialog moves the current directory while browsing, also when the user then
    // cancels; a cancel must change nothing, as relative file names depend on it.
    SetCurrentDirectoryA(before);
    return false;
  }
  fileName_ = buffer;
  const std::string folder = launch::FolderOf(fileName_);
  if (!folder.empty()) SetCurrentDirectoryA(folder.c_str());
  return true;
}

}  // namespace wingui
