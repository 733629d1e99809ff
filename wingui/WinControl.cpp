#include "wingui/WinControl.h"

#include <commctrl.h>

#include <utility>

#include "launch/Errors.h"
#include "wingui/Fonts.h"
#include "wingui/Form.h"
#include "wingui/SerialNumbers.h"

namespace wingui {
namespace {

// Child identifiers stay clear of IDOK and IDCANCEL, which the dialog keyboard handling
// sends for Enter and Escape.
SerialNumbers g_childIds(1000, 0xFFFF);

}  // namespace

WinControl::WinControl(Component* owner, WinControl* parent)
    : Component(owner), parent_(parent) {
  // Until it has a window, a top-level window expects to be drawn at the system dpi.
  if (!parent_) dpi_ = SystemDpi();
}

WinControl::~WinControl() {
  // Owned components (a tray icon hooked into this window, child controls) go first, while
  // this object is still a WinControl with a live window to unhook from.
  DestroyComponents();
  if (hwnd_) DestroyWindow(hwnd_);
}

WinControl* WinControl::FromHandle(HWND hwnd) {
  return hwnd ? dynamic_cast<WinControl*>(BoundTarget(hwnd)) : nullptr;
}

WinControl* WinControl::ParentWindow(Component* owner, WinControl* parent) {
  if (parent) return parent;
  if (auto* window = dynamic_cast<WinControl*>(owner)) return window;
  throw launch::Error("A control needs a parent window");
}

void WinControl::CreateHandle(WindowArgs args) {
  if (parent_) {
    args.parent = parent_->Handle();
    args.childId = g_childIds.Next();
  }
  hwnd_ = CreateBoundWindow(args, *this, &standardProc_);
  if (HFONT font = Font()) SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  // A window placed on a display whose scale differs from the system dpi (changed since
  // log-on, or a second display) is drawn at that display's dpi from the start.
  if (!parent_) {
    if (const int dpi = WindowDpi(hwnd_); dpi != dpi_) {
      dpi_ = dpi;
      ApplyDpi();
    }
  }
}

HWND WinControl::Handle() const {
  if (!hwnd_) throw launch::Error("The window no longer exists");
  return hwnd_;
}

Form* WinControl::ParentForm() {
  WinControl* c = this;
  while (c->parent_) c = c->parent_;
  return dynamic_cast<Form*>(c);
}

bool WinControl::Visible() const {
  return hwnd_ && (GetWindowLongPtrA(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void WinControl::SetVisible(bool visible) {
  if (visible != Visible()) ShowWindow(Handle(), visible ? SW_SHOW : SW_HIDE);
}

int WinControl::Dpi() const { return parent_ ? parent_->Dpi() : dpi_; }

void WinControl::SetBounds(int left, int top, int width, int height) {
  bounds_ = DesignedRect{left, top, width, height};
  ApplyBounds();
}

void WinControl::ApplyBounds() {
  if (!bounds_) return;
  const DesignedRect& b = *bounds_;
  const int dpi = Dpi();
  const RECT r = parent_ ? Scale(b, dpi)
                         : RECT{b.left, b.top, b.left + Scale(b.width, dpi),
                                b.top + Scale(b.height, dpi)};
  SetWindowPos(Handle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT WinControl::Bounds() const {
  RECT r{};
  if (!hwnd_) return r;
  GetWindowRect(hwnd_, &r);
  if (parent_ && parent_->hwnd_) {
    MapWindowPoints(HWND_DESKTOP, parent_->hwnd_, reinterpret_cast<POINT*>(&r), 2);
  }
  return r;
}

int WinControl::Width() const {
  const RECT r = Bounds();
  return r.right - r.left;
}

int WinControl::Height() const {
  const RECT r = Bounds();
  return r.bottom - r.top;
}

std::string WinControl::Text() const {
  if (!hwnd_) return {};
  std::string text(static_cast<size_t>(GetWindowTextLengthA(hwnd_)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(hwnd_, text.data(), static_cast<int>(text.size()))));
  return text;
}

void WinControl::SetText(const std::string& text) {
  if (Text() != text) SetWindowTextA(Handle(), text.c_str());
}

bool WinControl::Enabled() const { return hwnd_ && IsWindowEnabled(hwnd_); }

void WinControl::SetEnabled(bool enabled) { EnableWindow(Handle(), enabled); }

void WinControl::SetFocus() { ::SetFocus(Handle()); }

void WinControl::SetFont(const std::string& face, int pixelHeight, int weight) {
  font_ = MakeFont(face, Scale(pixelHeight, Dpi()), weight);
  fontFace_ = face;
  fontHeight_ = pixelHeight;
  fontWeight_ = weight;
  if (hwnd_) SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
}

HFONT WinControl::Font() const {
  if (font_) return font_.get();
  return parent_ ? parent_->Font() : nullptr;
}

void WinControl::SetHint(const std::string& hint) {
  hint_ = hint;
  if (hintTool_) UpdateHintTool();
}

// The hint joins the form's tooltip when the pointer first moves over the control; until
// then there is nothing to show, and no tooltip window is made before it is needed.
void WinControl::UpdateHintTool() {
  Form* form = ParentForm();
  if (!form || form == this) return;
  HWND tip = form->TooltipHandle();
  // The original record layout: every comctl32 version accepts it.
  TTTOOLINFOA info{};
  info.cbSize = TTTOOLINFOA_V1_SIZE;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = form->Handle();
  info.uId = reinterpret_cast<UINT_PTR>(Handle());
  info.lpszText = hint_.data();
  SendMessageA(tip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
  hintTool_ = !hint_.empty();
  if (hintTool_) SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void WinControl::ShowHintOnHover(UINT msg, WPARAM wParam, LPARAM lParam) {
  UpdateHintTool();
  if (!hintTool_) return;
  // The tooltip watches the control from the next message on; this first move starts it.
  MSG move{hwnd_, msg, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
  SendMessageA(ParentForm()->TooltipHandle(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
}

LRESULT WinControl::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (standardProc_) return CallWindowProcW(standardProc_, hwnd_, msg, wParam, lParam);
  return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

void WinControl::ApplyDpi() {
  // The font it replaces stays until the children have the new one too: they may be
  // drawing with it.
  UniqueHfont previous;
  if (!fontFace_.empty()) {
    previous = std::exchange(font_, MakeFont(fontFace_, Scale(fontHeight_, Dpi()), fontWeight_));
  }
  if (!hwnd_) return;
  if (HFONT font = Font()) SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  ApplyBounds();
  for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (WinControl* control = FromHandle(child)) control->ApplyDpi();
  }
}

void WinControl::Command(WORD) {}

HBRUSH WinControl::ControlColor(HDC) { return nullptr; }

LRESULT WinControl::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      if (WinControl* child = FromHandle(reinterpret_cast<HWND>(lParam)); child && child != this) {
        child->Command(HIWORD(wParam));
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
      if (WinControl* child = FromHandle(reinterpret_cast<HWND>(lParam)); child && child != this) {
        if (HBRUSH brush = child->ControlColor(reinterpret_cast<HDC>(wParam))) {
          return reinterpret_cast<LRESULT>(brush);
        }
      }
      break;
  }
  return DefaultProc(msg, wParam, lParam);
}

LRESULT WinControl::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // The first messages of one of our windows come while CreateBoundWindow has not returned.
  if (!hwnd_) hwnd_ = hwnd;
  if (msg == WM_MOUSEMOVE && !hintTool_ && !hint_.empty()) ShowHintOnHover(msg, wParam, lParam);
  return WndProc(msg, wParam, lParam);
}

void WinControl::WindowGone(HWND) {
  hwnd_ = nullptr;
  standardProc_ = nullptr;
}

}  // namespace wingui
