// The players window against its design at the display's scale (the test program also runs at
// 144 and 192 dpi and with a fresh prefix's fonts): every control at its designed place scaled,
// the list's columns at their designed widths scaled, and no caption cut off, the longest ones
// the window can show included.
#include "players/PlayersForm.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <initializer_list>
#include <memory>

#include "tests/win32/DpiTestSupport.h"
#include "tests/win32/wingui/TestSupport.h"

namespace {

using dpi_test::Scaled;

struct Designed {
  wingui::WinControl* control;
  int left, top, width, height;
};

TEST(PlayersWindowLayout, EveryControlAtItsPlaceScaledAndNoCaptionCutOff) {
  dpi_test::ExpectTheRunsSetUp();
  const int dpi = dpi_test::ScreenDpi();
  wingui_test::BoxRecorder boxes;
  auto mainWindow = std::make_unique<wingui::Form>(&wingui::App());
  players::PlayersHost host;
  host.localPlayer = [] { return players::LocalPlayer{}; };
  auto window = std::make_unique<players::TForm3>(&wingui::App(), host);
  players::TForm3& f = *window;

  RECT client;
  GetClientRect(f.Handle(), &client);
  EXPECT_EQ(client.right, Scaled(472, dpi));
  EXPECT_EQ(client.bottom, Scaled(330, dpi));
  const Designed layout[] = {
      {f.ListView1, 8, 8, 456, 144},   {f.Label1, 8, 158, 456, 40},     {f.Label5, 8, 202, 456, 14},
      {f.Label2, 8, 220, 292, 26},     {f.Button1, 304, 221, 160, 23},  {f.Label3, 8, 250, 292, 26},
      {f.Button2, 304, 251, 160, 23},  {f.Label4, 8, 280, 456, 14},     {f.Button3, 8, 298, 88, 25},
      {f.Button4, 104, 298, 88, 25},   {f.CheckBox1, 208, 301, 120, 19}, {f.Button5, 376, 298, 88, 25}};
  for (const Designed& d : layout) {
    const RECT expected = Scaled(d.left, d.top, d.width, d.height, dpi);
    const RECT actual = dpi_test::RectIn(f.Handle(), d.control->Handle());
    EXPECT_EQ(actual.left, expected.left) << d.left << "," << d.top;
    EXPECT_EQ(actual.top, expected.top) << d.left << "," << d.top;
    EXPECT_EQ(actual.right, expected.right) << d.left << "," << d.top;
    EXPECT_EQ(actual.bottom, expected.bottom) << d.left << "," << d.top;
  }
  const int columns[] = {96, 96, 48, 88, 124};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(SendMessageA(f.ListView1->Handle(), LVM_GETCOLUMNWIDTH, i, 0), Scaled(columns[i], dpi));
  }

  // The longest captions the buttons take while the window runs.
  f.Button1->SetText("&Use 255.255.255.255");
  f.Button2->SetText("Set &Number Of Players to 64");
  for (wingui::WinControl* c : std::initializer_list<wingui::WinControl*>{
           f.Button1, f.Button2, f.Button3, f.Button4, f.Button5, f.CheckBox1}) {
    dpi_test::ExpectCaptionFits(c->Handle(), dpi);
  }
}

}  // namespace
