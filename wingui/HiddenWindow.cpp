#include "wingui/HiddenWindow.h"

namespace wingui {
namespace {

constexpr char kClassName[] = "LanvoraHiddenWindow";

}  // namespace

HiddenWindow::HiddenWindow(MessageTarget& target) {
  RegisterWindowClass({.name = kClassName});
  // WS_POPUP with no size and never shown: a top-level window nobody sees.
  hwnd_.reset(CreateBoundWindow(
      {.className = kClassName, .style = WS_POPUP, .exStyle = WS_EX_TOOLWINDOW}, target));
}

HiddenWindow::~HiddenWindow() {
  // Messages that arrive while the window is being destroyed must not reach a target that
  // is half torn down.
  if (HWND hwnd = hwnd_.get()) UnbindWindow(hwnd);
}

}  // namespace wingui
