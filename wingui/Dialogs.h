// The standard file-open dialog. A confirmed choice also makes the chosen file's folder
// the current directory, as Windows does for an open dialog that does not ask it not to;
// Wine leaves the directory alone, so the dialog does it itself to behave the same on both.
// A cancel leaves the current directory as it was before the dialog.
#pragma once

#include <string>

#include "wingui/Component.h"

namespace wingui {

class OpenDialog : public Component {
 public:
  explicit OpenDialog(Component* owner);

  // The file confirmed last; the dialog's file-name box starts with it.
  const std::string& FileName() const { return fileName_; }

  // Runs the dialog; true when the user confirmed a file.
  bool Execute();

 private:
  std::string fileName_;
};

}  // namespace wingui
