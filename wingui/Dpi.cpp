// Scaling designed units to a window's dpi, the system metrics at that dpi, and the frame a
// window of a given style takes there; the per-window functions of newer systems are found at
// run time.
#include "wingui/Dpi.h"

#include "wingui/LateBinding.h"

namespace wingui {
namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

// The system's metric at a dpi; scaled from the system dpi's where the system cannot tell.
int MetricAt(int metric, int dpi) {
  static const auto forDpi =
      NewerSystemFunction<GetSystemMetricsForDpiFunction>("user32.dll", "GetSystemMetricsForDpi");
  if (forDpi) return forDpi(metric, static_cast<UINT>(dpi));
  return MulDiv(GetSystemMetrics(metric), dpi, SystemDpi());
}

}  // namespace

int Scale(int length, int dpi) { return MulDiv(length, dpi, kDesignDpi); }

RECT Scale(const DesignedRect& rect, int dpi) {
  return RECT{Scale(rect.left, dpi), Scale(rect.top, dpi), Scale(rect.left + rect.width, dpi),
              Scale(rect.top + rect.height, dpi)};
}

int SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDesignDpi;
}

int WindowDpi(HWND hwnd) {
  static const auto forWindow =
      NewerSystemFunction<GetDpiForWindowFunction>("user32.dll", "GetDpiForWindow");
  const UINT dpi = forWindow && hwnd ? forWindow(hwnd) : 0;
  return dpi > 0 ? static_cast<int>(dpi) : SystemDpi();
}

int BigIconSize(int dpi) { return MetricAt(SM_CXICON, dpi); }

int SmallIconSize(int dpi) { return MetricAt(SM_CXSMICON, dpi); }

std::optional<SIZE> FrameSize(DWORD style, DWORD exStyle, int dpi) {
  static const auto forDpi = NewerSystemFunction<AdjustWindowRectExForDpiFunction>(
      "user32.dll", "AdjustWindowRectExForDpi");
  RECT r{0, 0, 0, 0};
  const BOOL adjusted = forDpi ? forDpi(&r, style, FALSE, exStyle, static_cast<UINT>(dpi))
                        : dpi == SystemDpi() ? AdjustWindowRectEx(&r, style, FALSE, exStyle)
                                             : FALSE;
  if (!adjusted) return std::nullopt;
  return SIZE{r.right - r.left, r.bottom - r.top};
}

}  // namespace wingui
