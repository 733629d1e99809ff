// The hidden-window facility: a top-level window that is never shown and whose messages
// go to an object's routine. Shared services (timers, tray notifications) use one each.
//
// It is a real top-level window rather than a message-only one on purpose: message-only
// windows never receive broadcasts such as the shell's "TaskbarCreated".
#pragma once

#include <windows.h>

#include "wingui/Handles.h"

namespace wingui {

class MessageTarget {
 public:
  // Handles one message of the hidden window. Return DefWindowProcA(...) for what the
  // target does not handle itself.
  virtual LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) = 0;

 protected:
  ~MessageTarget() = default;
};

class HiddenWindow {
 public:
  explicit HiddenWindow(MessageTarget& target);
  HiddenWindow(const HiddenWindow&) = delete;
  HiddenWindow& operator=(const HiddenWindow&) = delete;
  ~HiddenWindow();

  HWND Handle() const { return hwnd_.get(); }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

  MessageTarget& target_;
  UniqueHwnd hwnd_;
};

}  // namespace wingui
