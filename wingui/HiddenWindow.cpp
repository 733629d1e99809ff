// The hidden window's class and its one kind of window.
#include "wingui/HiddenWindow.h"

namespace wingui {
namespace {

constexpr char kClassName[] = "LanvoraHiddenWindow";

}  // namespace

HiddenWindow::HiddenWindow() {
  RegisterWindowClass({.name = kClassName});
  // WS_POPUP with no size and never shown: a top-level window nobody sees.
  MakeWindow({.className = kClassName, .style = WS_POPUP, .exStyle = WS_EX_TOOLWINDOW});
}

}  // namespace wingui
