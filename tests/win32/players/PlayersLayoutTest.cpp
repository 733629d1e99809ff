// The players window against its design at the display's scale (the test program also runs at
// 144 and 192 dpi and with a fresh prefix's fonts): every control at its designed place scaled,
// the list's columns at their designed widths scaled, and no caption cut off, the longest ones
// the window can show included.
#include "players/PlayersForm.h"

#include <gtest/gtest.h>

#include <commctrl.h>

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
  EXPECT_EQ(client.right, Scaled(392, dpi));
  EXPECT_EQ(client.bottom, Scaled(310, dpi));
  const Designed layout[] = {
      {f.ListView1, 8, 8, 376, 144}, {f.Label1, 8, 158, 376, 40}, {f.Label2, 8, 202, 212, 26},
      {f.Button1, 224, 203, 160, 23}, {f.Label3, 8, 232, 212, 26}, {f.Button2, 224, 233, 160, 23},
      {f.Label4, 8, 262, 376, 14},    {f.Button3, 8, 280, 88, 25},   {f.Button4, 104, 280, 88, 25},
      {f.Button5, 296, 280, 88, 25}};
  for (const Designed& d : layout) {
    const RECT expected = Scaled(d.left, d.top, d.width, d.height, dpi);
    const RECT actual = dpi_test::RectIn(f.Handle(), d.control->Handle());
    EXPECT_EQ(actual.left, expected.left) << d.left << "," << d.top;
    EXPECT_EQ(actual.top, expected.top) << d.left << "," << d.top;
    EXPECT_EQ(actual.right, expected.right) << d.left << "," << d.top;
    EXPECT_EQ(actual.bottom, expected.bottom) << d.left << "," << d.top;
  }
  const int columns[] = {112, 104, 56, 100};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(SendMessageA(f.ListView1->Handle(), LVM_GETCOLUMNWIDTH, i, 0), Scaled(columns[i], dpi));
  }

  // The longest captions the buttons take while the window runs.
  f.Button1->SetText("&Use 255.255.255.255");
  f.Button2->SetText("Set &Number Of Players to 64");
  for (wingui::Button* c : {f.Button1, f.Button2, f.Button3, f.Button4, f.Button5}) {
    dpi_test::ExpectCaptionFits(c->Handle(), dpi);
  }
}

}  // namespace
