// A notification-area icon as a component. Each TTrayIcon owns one icon and keeps it in
// step with its properties; the shell's mouse notifications for it arrive at one hidden
// window shared by all components (TTrayIconHandler) and come out as the component's
// events. It also works with the application's windows: re-adding the icon after the
// shell restarts, bringing its form forward when shown, and minimising to the tray.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "tray/NotifyIconRecord.h"
#include "tray/SimpleTimer.h"
#include "wingui/Application.h"
#include "wingui/Component.h"
#include "wingui/Graphics.h"
#include "wingui/SharedHiddenWindow.h"
#include "wingui/Menus.h"

namespace tray {

class TTrayIcon;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
using enum TMouseButton;

// Modifier keys and the mouse button concerned, as bit flags.
enum TShiftFlag : unsigned {
  ssShift = 1u << 0,
  ssAlt = 1u << 1,
  ssCtrl = 1u << 2,
  ssLeft = 1u << 3,
  ssRight = 1u << 4,
  ssMiddle = 1u << 5,
};
using TShiftState = unsigned;

using TNotifyEvent = std::function<void(TTrayIcon& sender)>;
using TMouseEvent =
    std::function<void(TTrayIcon& sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TTrayIcon& sender, TShiftState shift, int x, int y)>;
using TCycleEvent = std::function<void(TTrayIcon& sender, int nextIndex)>;
// The handler may set showMainForm to false to start with the main window hidden.
using TStartupEvent = std::function<void(TTrayIcon& sender, bool& showMainForm)>;

// Which notification reports a right-button release: classic (0) or version-5 (1).
enum class TShellBehaviour { Classic = 0, Version5 = 1 };

// The message the shell sends to the hidden window about an icon.
inline constexpr UINT kTrayCallbackMessage = WM_USER + 0x400;

// The registered "TaskbarCreated" message, or 0 when the common controls are older than
// 4.71 or registration failed. Settled when the program starts.
UINT TaskbarCreatedMessage();

// The modifier keys held at this moment (ssShift, ssCtrl, ssAlt).
TShiftState CurrentShiftState();

// The size the notification area shows icons at: the small icon size at the system dpi (the
// taskbar is drawn at it). An icon of that size is shown as it is, a larger one shrunk.
int NotificationIconSize();

class TTrayIcon : public wingui::Component, private wingui::AppWindowHook {
 public:
  explicit TTrayIcon(wingui::Component* owner);
  ~TTrayIcon() override;

  void Loaded() override;
  void Notification(wingui::Component* component, wingui::Operation operation) override;

  // ---- properties ----
  // Kept for a form designer to show the icon in; outside one it has no effect.
  bool DesignPreview() const { return designPreview_; }
  void SetDesignPreview(bool value) { designPreview_ = value; }
  wingui::ImageList* IconList() const { return iconList_; }
  void SetIconList(wingui::ImageList* list);
  bool CycleIcons() const { return cycleIcons_; }
  void SetCycleIcons(bool value);
  UINT CycleInterval() const { return cycleInterval_; }
  void SetCycleInterval(UINT milliseconds);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value) { enabled_ = value; }
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& text);
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value);
  // The owned image; changing it updates the icon in the notification area.
  wingui::Icon& Icon() { return *icon_; }
  void SetIcon(const wingui::Icon& image);
  bool IconVisible() const { return iconVisible_; }
  void SetIconVisible(bool value);
  int IconIndex() const { return iconIndex_; }
  void SetIconIndex(int index);
  wingui::PopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(wingui::PopupMenu* menu) { popupMenu_ = menu; }
  bool LeftPopup() const { return leftPopup_; }
  void SetLeftPopup(bool value) { leftPopup_ = value; }
  bool WantEnterExitEvents() const { return wantEnterExitEvents_; }
  void SetWantEnterExitEvents(bool value);
  bool MinimizeToTray() const { return minimizeToTray_; }
  void SetMinimizeToTray(bool value) { minimizeToTray_ = value; }

  // ---- events ----
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseExit;
  TCycleEvent OnCycle;
  TNotifyEvent OnBalloonHintShow;
  TNotifyEvent OnBalloonHintHide;
  TNotifyEvent OnBalloonHintTimeout;
  TNotifyEvent OnBalloonHintClick;
  TNotifyEvent OnMinimizeToTray;
  TStartupEvent OnStartup;

  // Set by the program at run time only (the rest is set up with the form).
  TShellBehaviour ShellBehaviour() const { return shellBehaviour_; }
  void SetShellBehaviour(TShellBehaviour value);

  // Identifier of this component's icon, unique in the process.
  UINT IconId() const { return iconId_; }
  // The record as it was last prepared for the shell.
  const NotifyIconRecord& NotifyData() const { return notifyData_; }

  // ---- overridable operations ----
  // Each answers whether the shell accepted the request.
  virtual bool AddToTray();
  virtual bool RemoveFromTray();
  virtual bool UpdateInTray();

 protected:
  // ---- event dispatchers: each raises its event when a handler is assigned ----
  virtual void DoClick();
  virtual void DoDblClick();
  virtual void DoCycle();
  virtual void DoMouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void DoMouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void DoMouseMove(TShiftState shift, int x, int y);
  virtual void DoMouseEnter();
  virtual void DoMouseExit();
  virtual void DoMinimizeToTray();

 private:
  friend class TTrayIconHandler;

  void PrepareNotifyData();
  bool SendRequest(DWORD request);
  void HandleShellNotification(UINT code);
  void LeftButtonUp(TShiftState shift, int x, int y);
  void ClickDefaultItem();
  void ShowPopupAtCursor();
  void CopyImage(int index);
  void CycleTick();
  void ClickWaitElapsed();
  void ExitPollTick();
  bool StillAlive() const;

  // Window integration.
  bool AppWindowMessage(wingui::Message& message) override;
  bool OwnerIsWindowed() const;
  bool RunStartupHandler();
  void StartupCheck();
  void HideMainWindow();
  void HideTaskbarButton();
  bool TryMinimizeToTray(LRESULT& result);
  void HookOwnerWindow();
  void UnhookOwnerWindow();
  static LRESULT CALLBACK OwnerWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  // Answers whether this component handled the owner window's message (result set).
  bool OwnerWindowFilter(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

  UINT iconId_ = 0;
  bool designPreview_ = false;
  wingui::ImageList* iconList_ = nullptr;
  bool cycleIcons_ = false;
  UINT cycleInterval_ = 0;
  bool enabled_ = true;
  std::string hint_;
  bool showHint_ = true;
  std::unique_ptr<wingui::Icon> icon_;
  bool iconVisible_ = false;
  int iconIndex_ = 0;
  wingui::PopupMenu* popupMenu_ = nullptr;
  bool leftPopup_ = false;
  bool wantEnterExitEvents_ = false;
  bool minimizeToTray_ = false;
  TShellBehaviour shellBehaviour_ = TShellBehaviour::Classic;

  NotifyIconRecord notifyData_{};
  std::unique_ptr<TSimpleTimer> cycleTicker_;
  std::unique_ptr<TSimpleTimer> clickWaitTimer_;
  std::unique_ptr<TSimpleTimer> exitPollTimer_;
  bool leftPressed_ = false;
  bool clickPending_ = false;
  bool doubleClickSeen_ = false;
  bool pointerOutside_ = true;
  POINT lastPointerPos_{};

  bool mdiStartupPending_ = true;
  // The owner window whose messages this component filters (nullptr when not hooked).
  HWND ownerWindow_ = nullptr;
};

// The hidden window all tray components share, and the table that finds a component by
// its icon identifier. There is at most one, made by the first component and destroyed
// with the last.
class TTrayIconHandler final
    : public wingui::SharedHiddenWindow<TTrayIconHandler, TTrayIcon> {
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

// The shared handler, or nullptr while no component exists.
TTrayIconHandler* SharedTrayHandler();

}  // namespace tray
