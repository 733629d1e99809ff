// Display scale. Forms and controls are laid out in designed units, the pixels of a 96-dpi
// display; a window drawn at another dpi gets each designed length scaled by dpi/96 here, in
// one place. The functions newer systems have for a window's own dpi (Windows 10) are found at
// run time; where they are missing everything is drawn at the system dpi, as Windows 7 does.
#pragma once

#include <windows.h>

#include <optional>

namespace wingui {

// The dpi the designed units are pixels of.
inline constexpr int kDesignDpi = 96;

// A rectangle in designed units, as a layout gives it.
struct DesignedRect {
  int left = 0, top = 0, width = 0, height = 0;
};

// A designed length at dpi, rounded to the nearest pixel (halves away from zero).
int Scale(int length, int dpi);
// A designed rectangle at dpi. Each edge is scaled on its own, not the width and height, so
// controls whose edges meet or line up at 96 dpi still do at any other.
RECT Scale(const DesignedRect& rect, int dpi);

// The system dpi: the screen's LOGPIXELSY, the scale of the primary display at log-on.
int SystemDpi();
// The dpi a window is drawn at: its monitor's where the system tells (Windows 10 1607 on),
// else the system dpi.
int WindowDpi(HWND hwnd);

// The sizes the system asks icons to be at a dpi: SM_CXICON (Alt+Tab, the taskbar) and
// SM_CXSMICON (a window's caption, the notification area).
int BigIconSize(int dpi);
int SmallIconSize(int dpi);

// The size a window's frame (borders, caption) adds to its client area at a dpi; nothing
// where the system cannot tell for a dpi other than the system dpi.
std::optional<SIZE> FrameSize(DWORD style, DWORD exStyle, int dpi);

}  // namespace wingui
