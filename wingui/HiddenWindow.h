// The hidden-window facility: a top-level window that is never shown and whose messages
// go to an object's routine. Shared services (timers, tray notifications) use one each.
//
// It is a real top-level window rather than a message-only one on purpose: message-only
// windows never receive broadcasts such as the shell's "TaskbarCreated".
#pragma once

#include <windows.h>

#include "wingui/Handles.h"
#include "wingui/WindowBinding.h"

namespace wingui {

class HiddenWindow {
 public:
  // The window's messages go to target; what it does not handle it answers with
  // DefWindowProcA.
  explicit HiddenWindow(MessageTarget& target);
  HiddenWindow(const HiddenWindow&) = delete;
  HiddenWindow& operator=(const HiddenWindow&) = delete;
  ~HiddenWindow();

  HWND Handle() const { return hwnd_.get(); }

 private:
  UniqueHwnd hwnd_;
};

}  // namespace wingui
