// Top-level windows: making the form's window owned by the application window, sizes in
// designed units turned into the outer size at the window's dpi, re-layout when the dpi
// changes, showing and hiding, closing (the main form ends the application) and the creation
// sequence that completes loading, orders the tab stops and runs the form's creation handler.
#include "wingui/Form.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "launch/Errors.h"
#include "wingui/Application.h"
#include "wingui/Controls.h"
#include "wingui/ExceptionBoundary.h"
#include "wingui/Fonts.h"

namespace wingui {
namespace {

constexpr char kClassName[] = "LanvoraForm";
// Sent before WM_DPICHANGED on systems that have it (Windows 10 1703 on); older headers lack it.
constexpr UINT kGetDpiScaledSize = 0x02E4;  // WM_GETDPISCALEDSIZE

void MoveTo(HWND window, const RECT& r) {
  SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

Form::Form(Component* owner, BorderStyle border) : WinControl(owner, nullptr) {
  RegisterWindowClass({.name = kClassName,
                       .style = CS_DBLCLKS,
                       .icon = App().ProgramIcon(),
                       .cursor = LoadCursorA(nullptr, IDC_ARROW),
                       .background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)});
  const bool tool = border == BorderStyle::ToolWindow;
  const DWORD style = WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS | (tool ? 0 : WS_MINIMIZEBOX);
  const DWORD exStyle = WS_EX_CONTROLPARENT | (tool ? WS_EX_TOOLWINDOW : 0);
  SetFont(App().DefaultFontFace(), App().DefaultFontHeight());
  // Owned by the application window: no taskbar button of its own, hidden with it when the
  // application is minimised, and destroyed with it at the latest.
  CreateHandle({.className = kClassName,
                .style = style,
                .exStyle = exStyle,
                .left = CW_USEDEFAULT,
                .top = CW_USEDEFAULT,
                .width = Scale(width_.value, Dpi()),
                .height = Scale(height_.value, Dpi()),
                .parent = App().Handle()});
  icon_.OnChange = [this] {
    SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.Handle()));
  };
  smallIcon_.OnChange = [this] {
    SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.Handle()));
  };
  MakeTooltip();
  App().FormCreated(this);
}

Form::~Form() { App().FormDestroyed(this); }

void Form::Close() { SendMessageA(Handle(), WM_CLOSE, 0, 0); }

SIZE Form::NonClientSize() const {
  RECT window{}, client{};
  GetWindowRect(Handle(), &window);
  GetClientRect(Handle(), &client);
  return SIZE{(window.right - window.left) - client.right, (window.bottom - window.top) - client.bottom};
}

SIZE Form::OuterSize(int dpi, SIZE frame) const {
  return SIZE{Scale(width_.value, dpi) + (width_.client ? frame.cx : 0),
              Scale(height_.value, dpi) + (height_.client ? frame.cy : 0)};
}

void Form::ApplySize() {
  const SIZE size = OuterSize(Dpi(), NonClientSize());
  SetWindowPos(Handle(), nullptr, 0, 0, size.cx, size.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetWidth(int width) {
  width_ = {width, false};
  ApplySize();
}

void Form::SetClientWidth(int width) {
  width_ = {width, true};
  ApplySize();
}

void Form::SetClientHeight(int height) {
  height_ = {height, true};
  ApplySize();
}

int Form::ClientWidth() const {
  RECT r{};
  GetClientRect(Handle(), &r);
  return r.right;
}

int Form::ClientHeight() const {
  RECT r{};
  GetClientRect(Handle(), &r);
  return r.bottom;
}

void Form::SetPosition(int left, int top) {
  SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetIconResource(HINSTANCE module, WORD id) {
  iconModule_ = module;
  iconId_ = id;
  LoadIcons();
}

void Form::LoadIcons() {
  if (!iconId_) return;
  const int dpi = Dpi();
  icon_.LoadFromResource(iconModule_, MAKEINTRESOURCEA(iconId_), BigIconSize(dpi));
  smallIcon_.LoadFromResource(iconModule_, MAKEINTRESOURCEA(iconId_), SmallIconSize(dpi));
}

void Form::PlaceWindow(HWND child, const DesignedRect& bounds) {
  std::erase_if(placed_, [child](const auto& placed) { return placed.first == child; });
  placed_.emplace_back(child, bounds);
  MoveTo(child, Scale(bounds, Dpi()));
}

void Form::ApplyDpi() {
  ApplySize();
  ApplyDpiInside();
}

void Form::ApplyDpiInside() {
  WinControl::ApplyDpi();
  HWND hwnd = Handle();
  // A placed window that is gone (or was never ours) is forgotten.
  std::erase_if(placed_, [hwnd](const auto& placed) { return !IsChild(hwnd, placed.first); });
  for (const auto& [child, bounds] : placed_) MoveTo(child, Scale(bounds, Dpi()));
  LoadIcons();
}

void Form::DpiChanged(int dpi, const RECT& suggested) {
  SetDpi(dpi);
  // The system's rectangle keeps the window where the user put it, on the display it went
  // to; with WM_GETDPISCALEDSIZE answered its size is the design's at the new dpi.
  MoveTo(Handle(), suggested);
  ApplyDpiInside();
}

void Form::SetVisible(bool visible) {
  if (visible && App().MainForm() == this) {
    // The main form brings the taskbar button with it.
    HWND app = App().Handle();
    if (!IsWindowVisible(app)) ShowWindow(app, SW_SHOWNOACTIVATE);
  }
  WinControl::SetVisible(visible);
}

void Form::BringToFront() {
  Show();
  SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(Handle());
}

void Form::EndCreation() {
  if (Loading()) EndLoading();
  ArrangeTabOrder();
  CallGuarded([this] { FormCreate(); });
  if (VisibleAtCreation) Show();
}

void Form::ArrangeTabOrder() {
  std::vector<WinControl*> children;
  for (Component* c : Components()) {
    auto* control = dynamic_cast<WinControl*>(c);
    if (control && control->Parent() == this && control->HandleAllocated()) {
      children.push_back(control);
    }
  }
  std::stable_sort(children.begin(), children.end(),
                   [](WinControl* a, WinControl* b) { return a->TabOrder < b->TabOrder; });
  // Group frames take no focus: they go to the bottom so they are painted behind, and
  // never interrupt the arrow-key walk through the radio buttons they surround.
  std::stable_partition(children.begin(), children.end(),
                        [](WinControl* c) { return dynamic_cast<GroupBox*>(c) == nullptr; });
  // Child windows stack in the order they were made, so a form that builds its controls in
  // tab order needs no restacking; each window is moved only when it is out of place.
  HWND after = HWND_TOP;
  for (size_t i = 0; i < children.size(); ++i) {
    WinControl* c = children[i];
    HWND hwnd = c->Handle();
    const HWND expectedPrevious = after == HWND_TOP ? nullptr : after;
    if (GetWindow(hwnd, GW_HWNDPREV) != expectedPrevious) {
      SetWindowPos(hwnd, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    after = hwnd;
    // A radio button continuing the previous one's group is not a group start; every other
    // control starts a group, which ends the radio group before it.
    auto* radio = dynamic_cast<RadioButton*>(c);
    auto* previous = i > 0 ? dynamic_cast<RadioButton*>(children[i - 1]) : nullptr;
    const bool continuesGroup = radio && previous && previous->Group == radio->Group;
    const LONG_PTR oldStyle = GetWindowLongPtrA(hwnd, GWL_STYLE);
    const LONG_PTR style = continuesGroup ? (oldStyle & ~WS_GROUP) : (oldStyle | WS_GROUP);
    if (style != oldStyle) SetWindowLongPtrA(hwnd, GWL_STYLE, style);
    if (radio) radio->UpdateTabStop();
  }
}

bool Form::PreTranslateMessage(MSG& msg) { return IsDialogMessageA(Handle(), &msg) != FALSE; }

void Form::MakeTooltip() {
  tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(),
                             nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!tooltip_) throw launch::Error("Cannot create the tooltip window");
  // A hint of several lines breaks at its line breaks, and at this width.
  SendMessageA(tooltip_, TTM_SETMAXTIPWIDTH, 0, Scale(400, Dpi()));
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CLOSE:
      if (App().MainForm() == this) {
        App().Terminate();
      } else {
        Hide();
      }
      return 0;
    case WM_SYSCOMMAND:
      // The main form minimises the whole application, which hides its forms with it.
      if ((wParam & 0xFFF0) == SC_MINIMIZE && App().MainForm() == this) {
        App().Minimize();
        return 0;
      }
      break;
    case WM_ACTIVATE:
      // A plain window forgets which control had the focus; dialogs remember it.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(Handle(), focus)) lastFocus_ = focus;
      } else {
        HWND target = lastFocus_ && IsWindow(lastFocus_) && IsChild(Handle(), lastFocus_)
                          ? lastFocus_
                          : GetNextDlgTabItem(Handle(), nullptr, FALSE);
        if (target && !HIWORD(wParam)) {
          ::SetFocus(target);
          return 0;
        }
      }
      break;
    case kGetDpiScaledSize: {
      const auto style = static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_STYLE));
      const auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_EXSTYLE));
      const int dpi = LOWORD(wParam);
      const std::optional<SIZE> frame = FrameSize(style, exStyle, dpi);
      if (!frame) break;  // the system scales the current size instead
      *reinterpret_cast<SIZE*>(lParam) = OuterSize(dpi, *frame);
      return TRUE;
    }
    case WM_DPICHANGED:
      DpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_DESTROY:
      tooltip_ = nullptr;
      break;
  }
  return WinControl::HandleMessage(msg, wParam, lParam);
}

}  // namespace wingui
