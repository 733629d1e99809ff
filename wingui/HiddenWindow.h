// The hidden-window facility: a top-level window that is never shown, for an object that needs
// a window only for its messages (socket readiness, shell notifications, timers of a service).
// The object derives from it and handles the messages in HandleMessage, as every window owner
// does (WindowBinding.h).
//
// It is a real top-level window rather than a message-only one on purpose: message-only
// windows never receive broadcasts such as the shell's "TaskbarCreated", nor WM_ENDSESSION.
#pragma once

#include <windows.h>

#include "wingui/WindowBinding.h"

namespace wingui {

class HiddenWindow : public WindowOwner {
 protected:
  // Makes the window. Its first messages come while the deriving object is still being made:
  // they go to the window's own procedure, which is all they need.
  HiddenWindow();
};

}  // namespace wingui
