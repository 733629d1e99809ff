// Controls and forms alike: their window, their designed bounds and font at the window's dpi,
// their hint, and the messages a parent hands back to the child they concern.
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
  // this object is still a WinControl with a live window to unhook from; the window goes with
  // the window owner.
  DestroyComponents();
}

WinControl* WinControl::FromHandle(HWND hwnd) {
  return hwnd ? dynamic_cast<WinControl*>(OwnerOf(hwnd)) : nullptr;
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
  const HWND hwnd = MakeWindow(args);
  if (HFONT font = Font()) SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  // A window placed on a display whose scale differs from the system dpi (changed since
  // log-on, or a second display) is drawn at that display's dpi from the start.
  if (!parent_) {
    if (const int dpi = WindowDpi(hwnd); dpi != dpi_) {
      dpi_ = dpi;
      ApplyDpi();
    }
  }
}

Form* WinControl::ParentForm() {
  WinControl* c = this;
  while (c->parent_) c = c->parent_;
  return dynamic_cast<Form*>(c);
}

bool WinControl::Visible() const {
  const HWND hwnd = Window();
  return hwnd && (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

void WinControl::SetVisible(bool visible) {
  if (visible != Visible()) ShowWindow(Handle(), visible ? SW_SHOW : SW_HIDE);
}

int WinControl::Dpi() const { return parent_ ? parent_->Dpi() : dpi_; }

void WinControl::SetBounds(int left, int top, int width, int height) {
  if (!parent_) throw launch::Error("A form is placed with SetPosition and sized by its design");
  bounds_ = DesignedRect{left, top, width, height};
  ApplyBounds();
}

void WinControl::ApplyBounds() {
  if (!bounds_) return;
  const RECT r = Scale(*bounds_, Dpi());
  SetWindowPos(Handle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT WinControl::Bounds() const {
  RECT r{};
  const HWND hwnd = Window();
  if (!hwnd) return r;
  GetWindowRect(hwnd, &r);
  if (const HWND parent = parent_ ? parent_->Window() : nullptr) {
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
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
  const HWND hwnd = Window();
  if (!hwnd) return {};
  std::string text(static_cast<size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

void WinControl::SetText(const std::string& text) {
  if (Text() != text) SetWindowTextA(Handle(), text.c_str());
}

bool WinControl::Enabled() const {
  const HWND hwnd = Window();
  return hwnd && IsWindowEnabled(hwnd);
}

void WinControl::SetEnabled(bool enabled) { EnableWindow(Handle(), enabled); }

void WinControl::SetFocus() { ::SetFocus(Handle()); }

void WinControl::SetFont(const std::string& face, int pixelHeight, int weight) {
  font_ = MakeFont(face, Scale(pixelHeight, Dpi()), weight);
  fontFace_ = face;
  fontHeight_ = pixelHeight;
  fontWeight_ = weight;
  if (const HWND hwnd = Window()) SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
}

HFONT WinControl::Font() const {
  if (font_) return font_.get();
  return parent_ ? parent_->Font() : nullptr;
}

void WinControl::SetHint(const std::string& hint) {
  hint_ = hint;
  if (hintTool_) UpdateHintTool();
}

// The hint joins the form's tooltip (made with the form) as a tool when the pointer first moves
// over the control: a window of many hinted controls registers only those the player points at.
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
  MSG move{Handle(), msg, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
  SendMessageA(ParentForm()->TooltipHandle(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
}

void WinControl::ApplyDpi() {
  // The font it replaces stays until the children have the new one too: they may be
  // drawing with it.
  UniqueHfont previous;
  if (!fontFace_.empty()) {
    previous = std::exchange(font_, MakeFont(fontFace_, Scale(fontHeight_, Dpi()), fontWeight_));
  }
  const HWND hwnd = Window();
  if (!hwnd) return;
  if (HFONT font = Font()) SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  ApplyBounds();
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (WinControl* control = FromHandle(child)) control->ApplyDpi();
  }
}

void WinControl::Command(WORD) {}

HBRUSH WinControl::ControlColor(HDC) { return nullptr; }

LRESULT WinControl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_MOUSEMOVE && !hintTool_ && !hint_.empty()) ShowHintOnHover(msg, wParam, lParam);
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
  return DefaultMessage(msg, wParam, lParam);
}

}  // namespace wingui
