// The hidden window shared by all tray components: the shell posts every icon's
// notifications to it, and it hands each one to the component with that icon
// identifier. It stays alive through close and session-end messages, since only the
// last component may take it down.
#include "tray/TrayIcon.h"

namespace tray {

LRESULT TTrayIconHandler::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case kTrayCallbackMessage:
      // A notification for an icon whose component is gone is dropped.
      if (TTrayIcon* icon = Find(static_cast<UINT>(wParam))) {
        icon->HandleShellNotification(static_cast<UINT>(lParam));
      }
      return 0;
    case WM_DESTROY:
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
    case WM_QUIT:
    case WM_ENDSESSION:
    case WM_NCDESTROY:
      // A close request must not destroy the shared window; log-off is agreed to.
      return 1;
    default:
      return DefaultMessage(msg, wParam, lParam);
  }
}

TTrayIconHandler* SharedTrayHandler() { return TTrayIconHandler::Shared(); }

}  // namespace tray
