// What the layout tests of the program's windows need to run at any display scale: the dpi
// and the fonts the test program runs under (tools/wine-test run --dpi, --system-fonts), and
// designed values scaled the way the layout promises, written out here from that promise:
// each edge of a designed rectangle times dpi/96, rounded to the nearest pixel.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace dpi_test {

// The screen's dpi, which Wine takes from the registry when the process starts.
inline int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

// "wine" with Wine's own fonts in the prefix, "system" with a fresh prefix's, "" when the
// session runner did not say.
inline std::string RunFonts() {
  const char* fonts = std::getenv("LANVORA_TEST_FONTS");
  return fonts ? fonts : "";
}

// The run is what the session runner set up: a test at "144 dpi" that ran at 96 would
// prove nothing.
inline void ExpectTheRunsSetUp() {
  if (const char* dpi = std::getenv("LANVORA_TEST_DPI")) {
    EXPECT_EQ(ScreenDpi(), std::atoi(dpi));
  }
  if (RunFonts().empty()) return;
  HDC screen = GetDC(nullptr);
  HFONT font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                           0, 0, "MS Sans Serif");
  HGDIOBJ old = SelectObject(screen, font);
  char face[LF_FACESIZE] = {};
  GetTextFaceA(screen, sizeof face, face);
  SelectObject(screen, old);
  DeleteObject(font);
  ReleaseDC(nullptr, screen);
  // A fresh prefix has no face of that name: another one stands in.
  EXPECT_EQ(std::string(face) == "MS Sans Serif", RunFonts() == "wine") << face;
}

inline int Scaled(int length, int dpi) { return MulDiv(length, dpi, 96); }

inline RECT Scaled(int left, int top, int width, int height, int dpi) {
  return RECT{Scaled(left, dpi), Scaled(top, dpi), Scaled(left + width, dpi),
              Scaled(top + height, dpi)};
}

// The system's metric at a dpi (GetSystemMetricsForDpi, which Wine 8 has).
inline int MetricAt(int metric, int dpi) {
  using Function = int(WINAPI*)(int, UINT);
  const auto forDpi = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleA("user32.dll"), "GetSystemMetricsForDpi")));
  return forDpi ? forDpi(metric, dpi) : -1;
}

// A window's rectangle relative to its parent's client area.
inline RECT RectIn(HWND parent, HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The size a control needs to show its caption whole with the font it actually got: labels
// measured with their own font, buttons and radio buttons as the control itself reports it
// (its edges, or the radio glyph and the gap after it, included), a group frame's caption
// between the frame's corners.
inline SIZE NeededCaptionSize(HWND control, const std::string& caption, int dpi) {
  char windowClass[16] = {};
  GetClassNameA(control, windowClass, sizeof windowClass);
  const bool button = lstrcmpiA(windowClass, "Button") == 0;
  if (button && (GetWindowLongPtrA(control, GWL_STYLE) & BS_TYPEMASK) != BS_GROUPBOX) {
    SIZE ideal{0, 0};
    SendMessageA(control, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal));
    return ideal;
  }
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
  RECT extent{0, 0, 0, 0};
  DrawTextA(dc, caption.c_str(), -1, &extent, DT_CALCRECT | DT_SINGLELINE);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  const int corners = button && !caption.empty() ? Scaled(16, dpi) : 0;
  return SIZE{extent.right + corners, extent.bottom};
}

inline void ExpectCaptionFits(HWND control, int dpi) {
  char text[512] = {};
  GetWindowTextA(control, text, sizeof text);
  const std::string caption = text;
  const SIZE needed = NeededCaptionSize(control, caption, dpi);
  RECT client;
  GetClientRect(control, &client);
  EXPECT_LE(needed.cx, client.right) << "\"" << caption << "\" is cut off";
  EXPECT_LE(needed.cy, client.bottom) << "\"" << caption << "\" is cut off";
}

}  // namespace dpi_test
