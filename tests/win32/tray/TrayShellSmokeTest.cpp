// Against the real notification area of the session's desktop: the shell accepts our
// record (488 bytes from a 32-bit program, 504 from a 64-bit one) for add, modify and
// delete, and refuses a second delete.
#include <gtest/gtest.h>

#include "TrayTestSupport.h"
#include "tray/TrayIcon.h"
#include "wingui/Application.h"

namespace {

TEST(TrayShellSmoke, RealShellAcceptsAddModifyDelete) {
  wingui::App().Initialize();
  tray::TraySeam().InUse = tray::TraySeam().Real;
  tray::TTrayIcon icon(nullptr);
  HICON image = traytest::MakeSolidIcon(RGB(0, 128, 255));
  icon.Icon().LoadFromHandle(image);
  DestroyIcon(image);

  EXPECT_TRUE(icon.AddToTray());
  icon.SetHint("Lanvora");
  EXPECT_TRUE(icon.UpdateInTray());
  EXPECT_TRUE(icon.RemoveFromTray());
  EXPECT_FALSE(icon.RemoveFromTray()) << "the icon is already gone";
}

}  // namespace
