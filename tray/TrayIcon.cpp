// TTrayIcon's life, its properties and the requests it sends to the shell. Setters act
// at once, also while its form is being set up; Loaded re-applies the state that matters
// once the form is complete. Mouse handling lives in TrayMouse.cpp, the work with
// the application's windows in TrayWindowIntegration.cpp.
#include "tray/TrayIcon.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "tray/TrayPlatform.h"
#include "wingui/Dpi.h"
#include "wingui/SerialNumbers.h"

namespace tray {
namespace {

constexpr UINT kExitPollPeriod = 20;
// NIF_MESSAGE | NIF_ICON | NIF_TIP; never NIF_INFO, the component shows no balloon.
constexpr UINT kNotifyFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
constexpr size_t kMaxTipChars = sizeof(NotifyIconRecord::szTip) - 1;

// Unique among live components; 0 is never one.
wingui::SerialNumbers g_iconIds(1, UINT_MAX);

}  // namespace

int NotificationIconSize() { return wingui::SmallIconSize(wingui::SystemDpi()); }

TTrayIcon::TTrayIcon(wingui::Component* owner) : wingui::Component(owner) {
  TTrayIconHandler::Acquire();
  try {
    iconId_ = static_cast<UINT>(g_iconIds.Next());
    SharedTrayHandler()->Add(iconId_, this);

    icon_ = std::make_unique<wingui::Icon>();
    icon_->OnChange = [this] { UpdateInTray(); };

    notifyData_.cbSize = sizeof(NotifyIconRecord);
    notifyData_.hWnd = SharedTrayHandler()->HiddenWindow();
    notifyData_.uID = iconId_;
    notifyData_.uFlags = kNotifyFlags;
    notifyData_.uCallbackMessage = kTrayCallbackMessage;

    cycleTicker_ = std::make_unique<TSimpleTimer>(TSimpleTimer::kDefaultPeriod,
                                                  [this](TSimpleTimer&) { CycleTick(); });
    clickWaitTimer_ = std::make_unique<TSimpleTimer>(
        TSimpleTimer::kDefaultPeriod, [this](TSimpleTimer&) { ClickWaitElapsed(); });
    exitPollTimer_ =
        std::make_unique<TSimpleTimer>(kExitPollPeriod, [this](TSimpleTimer&) { ExitPollTick(); });

    wingui::App().HookMainWindow(this);
    if (OwnerIsWindowed()) HookOwnerWindow();
  } catch (...) {
    // The destructor will not run: give back what the steps so far took.
    wingui::App().UnhookMainWindow(this);
    if (TTrayIconHandler* handler = SharedTrayHandler()) handler->Remove(iconId_);
    TTrayIconHandler::Release();
    throw;
  }
}

TTrayIcon::~TTrayIcon() {
  // The icon leaves the notification area before anything else is torn down. A failure
  // in these steps must not skip the release steps below.
  try {
    SetIconVisible(false);
    cycleTicker_.reset();
    clickWaitTimer_.reset();
    exitPollTimer_.reset();
  } catch (...) {
  }
  try {
    if (icon_) icon_->OnChange = nullptr;
    icon_.reset();
  } catch (...) {
  }
  // A menu of another owner is not told of this icon's end; it must not name a freed icon.
  if (popupMenu_ && popupMenu_->PopupComponent() == this) popupMenu_->SetPopupComponent(nullptr);
  wingui::App().UnhookMainWindow(this);
  UnhookOwnerWindow();
  if (TTrayIconHandler* handler = SharedTrayHandler()) handler->Remove(iconId_);
  TTrayIconHandler::Release();
}

void TTrayIcon::Loaded() {
  wingui::Component::Loaded();
  StartupCheck();
  UpdateInTray();
  SetIconVisible(iconVisible_);
  SetCycleIcons(cycleIcons_);
  SetWantEnterExitEvents(wantEnterExitEvents_);
  SetShellBehaviour(shellBehaviour_);
}

void TTrayIcon::Notification(wingui::Component* component, wingui::Operation operation) {
  wingui::Component::Notification(component, operation);
  if (operation != wingui::Operation::Remove) return;
  if (iconList_ && component == iconList_) SetIconList(nullptr);
  if (popupMenu_ && component == popupMenu_) popupMenu_ = nullptr;
}

// ---- properties ----------------------------------------------------------------------

void TTrayIcon::SetIconList(wingui::ImageList* list) {
  iconList_ = list;
  SetIconIndex(0);
}

void TTrayIcon::SetCycleIcons(bool value) {
  cycleIcons_ = value;
  if (value) {
    SetIconIndex(0);
    cycleTicker_->SetPeriod(cycleInterval_);
    cycleTicker_->Arm();  // a period of 0 leaves it stopped
  } else {
    cycleTicker_->SetActive(false);
  }
}

void TTrayIcon::SetCycleInterval(UINT milliseconds) {
  cycleInterval_ = milliseconds;
  SetCycleIcons(cycleIcons_);
}

void TTrayIcon::SetHint(const std::string& text) {
  hint_ = text;
  UpdateInTray();
}

void TTrayIcon::SetShowHint(bool value) {
  showHint_ = value;
  UpdateInTray();
}

void TTrayIcon::SetIcon(const wingui::Icon& image) {
  // The owned icon reports the change itself, which sends the one update request.
  icon_->Assign(image);
}

void TTrayIcon::SetIconVisible(bool value) { value ? AddToTray() : RemoveFromTray(); }

void TTrayIcon::SetIconIndex(int index) {
  if (iconList_) {
    const int count = iconList_->Count();
    iconIndex_ = index < count ? index : count - 1;
    CopyImage(iconIndex_);
  } else {
    iconIndex_ = 0;
  }
  UpdateInTray();
}

void TTrayIcon::SetWantEnterExitEvents(bool value) {
  wantEnterExitEvents_ = value;
  exitPollTimer_->SetActive(value);
}

void TTrayIcon::SetShellBehaviour(TShellBehaviour value) {
  shellBehaviour_ = value;
  notifyData_.uVersion = value == TShellBehaviour::Version5 ? 3 : 0;
  SendRequest(NIM_SETVERSION);
}

// Copies image `index` of the list into the owned icon. An index outside the list (a
// negative one, or any index of an empty list) leaves the icon as it is.
void TTrayIcon::CopyImage(int index) {
  if (!iconList_ || index < 0 || index >= iconList_->Count()) return;
  iconList_->GetIcon(index, *icon_);
}

// ---- shell requests ------------------------------------------------------------------

void TTrayIcon::PrepareNotifyData() {
  notifyData_.hIcon = icon_->Handle();  // an empty icon goes out as no image
  std::memset(notifyData_.szTip, 0, sizeof notifyData_.szTip);
  if (!hint_.empty() && showHint_) {
    std::memcpy(notifyData_.szTip, hint_.data(), std::min(hint_.size(), kMaxTipChars));
  }
}

bool TTrayIcon::SendRequest(DWORD request) {
  return TraySeam().InUse.ShellNotifyIcon(request, &notifyData_) != 0;
}

bool TTrayIcon::AddToTray() {
  iconVisible_ = true;
  PrepareNotifyData();
  return SendRequest(NIM_ADD);
}

bool TTrayIcon::RemoveFromTray() {
  iconVisible_ = false;
  PrepareNotifyData();
  return SendRequest(NIM_DELETE);
}

bool TTrayIcon::UpdateInTray() {
  PrepareNotifyData();
  return SendRequest(NIM_MODIFY);
}

// ---- icon cycling --------------------------------------------------------------------

void TTrayIcon::CycleTick() {
  if (!iconList_) return;
  CopyImage(iconIndex_);
  DoCycle();
  if (!StillAlive() || !iconList_) return;
  SetIconIndex(iconIndex_ < iconList_->Count() - 1 ? iconIndex_ + 1 : 0);
}

// ---- dispatchers ---------------------------------------------------------------------

void TTrayIcon::DoClick() {
  if (OnClick) OnClick(*this);
}

void TTrayIcon::DoDblClick() {
  if (OnDblClick) OnDblClick(*this);
}

void TTrayIcon::DoCycle() {
  if (!OnCycle) return;
  const int count = iconList_ ? iconList_->Count() : 0;
  const int next = iconIndex_ + 1 < count ? iconIndex_ + 1 : 0;
  OnCycle(*this, next);
}

void TTrayIcon::DoMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(*this, button, shift, x, y);
}

void TTrayIcon::DoMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(*this, button, shift, x, y);
}

void TTrayIcon::DoMouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(*this, shift, x, y);
}

void TTrayIcon::DoMouseEnter() {
  if (OnMouseEnter) OnMouseEnter(*this);
}

void TTrayIcon::DoMouseExit() {
  if (OnMouseExit) OnMouseExit(*this);
}

void TTrayIcon::DoMinimizeToTray() {
  HideMainWindow();
  SetIconVisible(true);
}

}  // namespace tray
