#include "wingui/WinControl.h"

#include <commctrl.h>

#include <unordered_map>

#include "launch/Errors.h"
#include "wingui/ExceptionBoundary.h"
#include "wingui/Fonts.h"
#include "wingui/Form.h"

namespace wingui {
namespace {

// Our windows and the objects behind them. Every message of every window looks its object
// up here, so it is a map in our own memory: a window property would cost a round trip to
// the window system (under Wine, to its server) per message. One GUI thread, no locks.
std::unordered_map<HWND, WinControl*>& Objects() {
  static std::unordered_map<HWND, WinControl*> objects;
  return objects;
}

// The object whose window of our own class is being created: the window procedure binds
// to it on the very first message (WM_GETMINMAXINFO comes before WM_NCCREATE). Windows are
// made on the one GUI thread only.
WinControl* g_creating = nullptr;

// Child identifiers stay clear of IDOK and IDCANCEL, which the dialog keyboard handling
// sends for Enter and Escape.
int NextChildId() {
  static int next = 1000;
  return next++;
}

}  // namespace

WinControl::WinControl(Component* owner, WinControl* parent)
    : Component(owner), parent_(parent) {}

WinControl::~WinControl() {
  // Owned components (a tray icon hooked into this window, child controls) go first, while
  // this object is still a WinControl with a live window to unhook from.
  DestroyComponents();
  if (hwnd_) DestroyWindow(hwnd_);
}

WinControl* WinControl::FromHandle(HWND hwnd) {
  if (!hwnd) return nullptr;
  const auto found = Objects().find(hwnd);
  return found == Objects().end() ? nullptr : found->second;
}

void WinControl::CreateHandle(const char* className, DWORD style, DWORD exStyle, bool ownClass,
                              int left, int top, int width, int height, const std::string& text) {
  className_ = className;
  style_ = style;
  exStyle_ = exStyle;
  ownClass_ = ownClass;
  createBounds_ = RECT{left, top, left + width, top + height};
  HWND parentWindow = ownerWindow_;
  HMENU id = nullptr;
  if (parent_) {
    parentWindow = parent_->Handle();
    id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(NextChildId()));
  }
  if (ownClass) g_creating = this;
  HWND hwnd = CreateWindowExA(exStyle, className, text.c_str(), style, left, top, width, height,
                              parentWindow, id, GetModuleHandleA(nullptr), nullptr);
  g_creating = nullptr;
  if (!hwnd) throw launch::Error("Cannot create a window of class " + className_);
  if (!ownClass) {
    // Standard controls are subclassed with a wide procedure and chained with
    // CallWindowProcW. Their own procedures are wide, so messages pass straight through;
    // with an ANSI procedure in between every text message would be converted twice, and
    // Wine's version-6 list box overruns its stack converting a long row that way.
    Attach(hwnd, reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)));
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WinControl::WindowProc));
    subclassed_ = true;
  }
  if (HFONT font = Font()) SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void WinControl::Attach(HWND hwnd, WNDPROC previous) {
  hwnd_ = hwnd;
  previous_ = previous;
  Objects()[hwnd] = this;
}

HWND WinControl::Handle() {
  if (!hwnd_ && !className_.empty()) {
    const RECT& r = createBounds_;
    CreateHandle(className_.c_str(), style_, exStyle_, ownClass_, r.left, r.top,
                 r.right - r.left, r.bottom - r.top);
  }
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

void WinControl::SetBounds(int left, int top, int width, int height) {
  SetWindowPos(Handle(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
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

void WinControl::SetFont(const std::string& face, int pixelHeight) {
  font_ = MakeFont(face, pixelHeight);
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
  if (subclassed_) return CallWindowProcW(previous_, hwnd_, msg, wParam, lParam);
  return CallWindowProcA(previous_, hwnd_, msg, wParam, lParam);
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

LRESULT CALLBACK WinControl::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WinControl* self = FromHandle(hwnd);
  if (!self && g_creating) {
    self = std::exchange(g_creating, nullptr);
    self->Attach(hwnd, DefWindowProcA);
  }
  if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
  LRESULT result = 0;
  if (!CallGuarded([&] {
        if (msg == WM_MOUSEMOVE && !self->hintTool_ && !self->hint_.empty()) {
          self->ShowHintOnHover(msg, wParam, lParam);
        }
        result = self->WndProc(msg, wParam, lParam);
      })) {
    result = 0;
  }
  if (msg == WM_NCDESTROY) {
    // The window is gone: give a subclassed control back its own procedure and forget it.
    if (self->subclassed_) {
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(self->previous_));
      self->subclassed_ = false;
    }
    Objects().erase(hwnd);
    self->hwnd_ = nullptr;
  }
  return result;
}

}  // namespace wingui
