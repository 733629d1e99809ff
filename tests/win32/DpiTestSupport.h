// What the layout tests of the program's windows need to run at any display scale: the dpi
// and the fonts the test program runs under (tools/wine-test run --dpi, --system-fonts), and
// designed values scaled the way the layout promises, written out here from that promise:
// each edge of a designed rectangle times dpi/96, rounded to the nearest pixel.
#pragma once

#include <windows.h>

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

}  // namespace dpi_test
