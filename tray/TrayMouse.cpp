// From shell notifications to component events: the dispatch of each notification code,
// the single/double click decision with the system double-click time, the popup menu at
// the pointer, the default item on a double click, and enter/exit tracking by polling.
// Event handlers may destroy the component, so nothing touches it after an event unless
// it is still alive.
#include "tray/TrayIcon.h"

#include "tray/TrayPlatform.h"

namespace tray {
namespace {

// Notification codes of the version-5 shell that are not in every set of headers.
constexpr UINT kNinSelect = WM_USER + 0;
constexpr UINT kNinKeySelect = WM_USER + 1;
constexpr UINT kNinBalloonShow = WM_USER + 2;
constexpr UINT kNinBalloonHide = WM_USER + 3;
constexpr UINT kNinBalloonTimeout = WM_USER + 4;
constexpr UINT kNinBalloonUserClick = WM_USER + 5;

bool KeyDown(int virtualKey) { return TraySeam().InUse.GetAsyncKeyState(virtualKey) < 0; }

void Raise(const TNotifyEvent& event, TTrayIcon& sender) {
  if (event) event(sender);
}

}  // namespace

TShiftState CurrentShiftState() {
  TShiftState shift = 0;
  if (KeyDown(VK_SHIFT)) shift |= ssShift;
  if (KeyDown(VK_CONTROL)) shift |= ssCtrl;
  if (KeyDown(VK_MENU)) shift |= ssAlt;
  return shift;
}

bool TTrayIcon::StillAlive() const {
  const TTrayIconHandler* handler = SharedTrayHandler();
  return handler && handler->Find(iconId_) == this;
}

void TTrayIcon::HandleShellNotification(UINT code) {
  switch (code) {
    case kNinBalloonShow:
      return Raise(OnBalloonHintShow, *this);
    case kNinBalloonHide:
      return Raise(OnBalloonHintHide, *this);
    case kNinBalloonTimeout:
      return Raise(OnBalloonHintTimeout, *this);
    case kNinBalloonUserClick:
      return Raise(OnBalloonHintClick, *this);
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU:
    case kNinSelect:
    case kNinKeySelect:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      break;
    default:
      return;  // right and middle double clicks among them
  }
  if (!enabled_) return;

  const TShiftState shift = CurrentShiftState();
  POINT pos{};
  if (!TraySeam().InUse.GetCursorPos(&pos)) pos = POINT{};
  const bool classic = shellBehaviour_ == TShellBehaviour::Classic;

  switch (code) {
    case WM_MOUSEMOVE:
      if (wantEnterExitEvents_ && pointerOutside_) {
        DoMouseEnter();
        if (!StillAlive()) return;
        pointerOutside_ = false;
      }
      DoMouseMove(shift, pos.x, pos.y);
      if (!StillAlive()) return;
      lastPointerPos_ = pos;
      return;
    case WM_LBUTTONDOWN:
      if (OnDblClick) {
        clickWaitTimer_->SetPeriod(TraySeam().InUse.GetDoubleClickTime());
        clickWaitTimer_->Arm();
      }
      DoMouseDown(mbLeft, shift | ssLeft, pos.x, pos.y);
      if (!StillAlive()) return;
      leftPressed_ = true;
      if (leftPopup_) ShowPopupAtCursor();
      return;
    case WM_LBUTTONUP:
      return LeftButtonUp(shift, pos.x, pos.y);
    case WM_LBUTTONDBLCLK:
      clickPending_ = false;
      doubleClickSeen_ = true;
      DoDblClick();
      if (StillAlive()) ClickDefaultItem();
      return;
    case WM_RBUTTONDOWN:
      DoMouseDown(mbRight, shift | ssRight, pos.x, pos.y);
      if (StillAlive()) ShowPopupAtCursor();
      return;
    case WM_RBUTTONUP:
      if (classic) DoMouseUp(mbRight, shift | ssRight, pos.x, pos.y);
      return;
    case WM_CONTEXTMENU:
    case kNinSelect:
    case kNinKeySelect:
      if (!classic) DoMouseUp(mbRight, shift | ssRight, pos.x, pos.y);
      return;
    case WM_MBUTTONDOWN:
      return DoMouseDown(mbMiddle, shift | ssMiddle, pos.x, pos.y);
    case WM_MBUTTONUP:
      return DoMouseUp(mbMiddle, shift | ssMiddle, pos.x, pos.y);
  }
}

// A release reports the click at once when nobody waits for a double click (the wait
// timer is not running); otherwise the click stays pending until the wait elapses.
void TTrayIcon::LeftButtonUp(TShiftState shift, int x, int y) {
  if (leftPressed_) {
    clickPending_ = clickWaitTimer_->Active();
    if (!clickPending_) {
      leftPressed_ = false;
      DoClick();
      if (!StillAlive()) return;
    }
  }
  leftPressed_ = false;
  DoMouseUp(mbLeft, shift | ssLeft, x, y);
}

void TTrayIcon::ClickWaitElapsed() {
  clickWaitTimer_->SetActive(false);
  const bool click = !doubleClickSeen_ && clickPending_;
  doubleClickSeen_ = false;
  if (click) {
    clickPending_ = false;
    DoClick();
  }
}

// The default item with the lowest index among the menu's top-level items.
void TTrayIcon::ClickDefaultItem() {
  if (!popupMenu_ || !popupMenu_->AutoPopup() || leftPopup_) return;
  wingui::MenuItem& items = popupMenu_->Items();
  for (int i = 0; i < items.Count(); ++i) {
    if (items.Item(i)->Default()) return items.Item(i)->Click();
  }
}

void TTrayIcon::ShowPopupAtCursor() {
  POINT pos{};
  if (!popupMenu_ || !popupMenu_->AutoPopup() || !TraySeam().InUse.GetCursorPos(&pos)) return;
  // Without the foreground the menu would not close when the user clicks elsewhere.
  TraySeam().InUse.SetForegroundWindow(wingui::App().Handle());
  wingui::App().ProcessMessages();
  if (!StillAlive() || !popupMenu_) return;
  // A menu shared by several icons tells its handlers which one opened it.
  popupMenu_->SetPopupComponent(this);
  popupMenu_->Popup(pos.x, pos.y);
  // The chosen item may have destroyed us, or the form's window; WM_NULL then has no target.
  if (!StillAlive() || !OwnerIsWindowed()) return;
  // A message after the menu makes the owner's thread switch tasks properly, so the
  // next popup opens on the first click.
  if (ownerWindow_ && IsWindow(ownerWindow_)) PostMessageA(ownerWindow_, WM_NULL, 0, 0);
}

void TTrayIcon::ExitPollTick() {
  if (pointerOutside_) return;
  POINT pos{};
  if (!TraySeam().InUse.GetCursorPos(&pos)) return;
  // Exact comparison: any movement away from the last reported position counts as leaving.
  if (pos.x != lastPointerPos_.x || pos.y != lastPointerPos_.y) {
    pointerOutside_ = true;
    DoMouseExit();
  }
}

}  // namespace tray
