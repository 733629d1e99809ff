// The main window against its layout: every control at its place and size, with its
// caption, visibility and tab order, checked on the real window handles. The expected
// numbers are written out from the window's design (96 dpi), not taken from the code; at any
// other display scale the window must show them scaled (tools/wine-test run --dpi), also after
// moving to a display of another scale.
#include "tests/win32/setup/MainFormTestSupport.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <cctype>
#include <map>

#include "tests/win32/DpiTestSupport.h"


namespace {

using namespace setup_test;

struct Expected {
  const char* name;
  const char* windowClass;
  int left, top, width, height;
  const char* caption;
  bool visible;
};

HWND H(wingui::WinControl* control) { return control->Handle(); }

using dpi_test::ExpectCaptionFits;
using dpi_test::Scaled;

class MainFormLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    dpi_test::ExpectTheRunsSetUp();
    dpi_ = dpi_test::ScreenDpi();
    form_ = MakeMainWindow();
  }
  void TearDown() override { form_.reset(); }

  wingui_test::BoxRecorder boxes_;
  ScratchFolder folder_{"layout"};
  FakeDiscovery discovery_{{"10.1.2.3"}};
  QuietTray tray_;
  std::unique_ptr<setup::TForm1> form_;
  int dpi_ = 96;
};

TEST_F(MainFormLayout, WindowFrameTitleAndSize) {
  HWND hwnd = form_->Handle();
  EXPECT_EQ(WindowText(hwnd), "Lanvora - Pelmar 2005");
  const LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME) << "the window must not be sizeable";
  RECT client, outer;
  GetClientRect(hwnd, &client);
  GetWindowRect(hwnd, &outer);
  EXPECT_EQ(client.bottom, Scaled(495, dpi_));
  EXPECT_EQ(outer.right - outer.left, Scaled(355, dpi_));
  // Owned by the application window, which carries the taskbar button.
  EXPECT_EQ(GetWindow(hwnd, GW_OWNER), wingui::App().Handle());
  EXPECT_NE(SendMessageA(hwnd, WM_GETICON, ICON_BIG, 0), 0);
}

using Layout = std::vector<std::pair<wingui::WinControl*, Expected>>;

Layout DesignedLayout(setup::TForm1& f) {
  return {
      {f.Label1, {"Label1", "Static", 40, 0, 261, 23, "Lanvora", true}},
      {f.Label9, {"Label9", "Static", 304, 0, 41, 11, "13.2.2005", true}},
      {f.Label6, {"Label6", "Static", 15, 32, 70, 13, "Duke3D .EXE:", true}},
      {f.Edit5, {"Edit5", "Edit", 88, 32, 201, 21, "duke3d_w32.exe", true}},
      {f.Button5, {"Button5", "Button", 288, 32, 25, 21, "..", true}},
      {f.Label5, {"Label5", "Static", 59, 56, 25, 13, "Nick:", true}},
      {f.Edit4, {"Edit4", "Edit", 88, 56, 225, 21, "JohnDoe", true}},
      {f.Label4, {"Label4", "Static", 40, 80, 45, 13, "Interface:", true}},
      {f.Edit3, {"Edit3", "Edit", 88, 80, 201, 21, "10.1.2.3", true}},
      {f.Button11, {"Button11", "Button", 288, 80, 25, 21, "Get", true}},
      {f.Label2, {"Label2", "Static", 64, 104, 22, 13, "Port:", true}},
      {f.Edit1, {"Edit1", "Edit", 88, 104, 41, 21, "1635", true}},
      {f.Button1, {"Button1", "Button", 128, 104, 57, 21, "&Default", true}},
      {f.FindPlayers1, {"FindPlayers1", "Button", 200, 104, 113, 21, "&Find players", true}},
      {f.RadioGroup1, {"RadioGroup1", "Button", 24, 136, 297, 41, "", true}},
      {f.rbc, {"rbc", "Button", 80, 152, 105, 17, "Broadcast on LAN", true}},
      {f.rip, {"rip", "Button", 200, 152, 65, 17, "Allow IP's", true}},
      {f.Label3, {"Label3", "Static", 24, 188, 72, 13, "Allowed IP List:", true}},
      {f.Edit2, {"Edit2", "Edit", 24, 204, 217, 21, "", true}},
      {f.Edit6, {"Edit6", "Edit", 24, 205, 169, 21, "", false}},
      {f.Button2, {"Button2", "Button", 240, 204, 81, 21, "&Add", true}},
      {f.ListBox1, {"ListBox1", "ListBox", 24, 228, 297, 169, "", true}},
      {f.Button4, {"Button4", "Button", 24, 396, 297, 21, "Remove &Selected", true}},
      {f.Button6, {"Button6", "Button", 17, 425, 73, 25, "Save", true}},
      {f.Button3, {"Button3", "Button", 97, 425, 73, 25, "Save && Play", true}},
      {f.Button8, {"Button8", "Button", 97, 425, 73, 25, "Save && &Play", false}},
      {f.Button10, {"Button10", "Button", 177, 425, 73, 25, "Help", true}},
      {f.Button7, {"Button7", "Button", 257, 425, 73, 25, "&Exit", true}},
      {f.Label7, {"Label7", "Static", 0, 456, 353, 33, "Pelmar 2005", true}},
  };
}

// Every control's rectangle is the designed one scaled to dpi, edge by edge.
void ExpectControlsAt(setup::TForm1& f, int dpi) {
  for (const auto& [control, e] : DesignedLayout(f)) {
    SCOPED_TRACE(e.name);
    HWND hwnd = H(control);
    const RECT r = dpi_test::RectIn(f.Handle(), hwnd);
    const RECT expected = Scaled(e.left, e.top, e.width, e.height, dpi);
    EXPECT_EQ(r.left, expected.left);
    EXPECT_EQ(r.top, expected.top);
    EXPECT_EQ(r.right, expected.right);
    EXPECT_EQ(r.bottom, expected.bottom);
  }
  EXPECT_EQ(SendMessageA(H(f.ListBox1), LB_GETITEMHEIGHT, 0, 0), Scaled(13, dpi));
}

TEST_F(MainFormLayout, EveryControlAtItsPlaceWithItsCaption) {
  setup::TForm1& f = *form_;
  for (const auto& [control, e] : DesignedLayout(f)) {
    SCOPED_TRACE(e.name);
    HWND hwnd = H(control);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(GetParent(hwnd), f.Handle());
    char cls[64];
    GetClassNameA(hwnd, cls, sizeof cls);
    EXPECT_STRCASEEQ(cls, e.windowClass);
    EXPECT_EQ(WindowText(hwnd), e.caption);
    EXPECT_EQ((GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0, e.visible);
  }
  ExpectControlsAt(f, dpi_);
  EXPECT_EQ(SendMessageA(H(f.rip), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(H(f.rbc), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(f.Button11->Hint(), "Works for most of the users!");
  EXPECT_TRUE(GetWindowLongPtrA(H(f.Label7), GWL_STYLE) & SS_CENTER);
  EXPECT_FALSE(GetWindowLongPtrA(H(f.ListBox1), GWL_STYLE) & LBS_SORT);
  EXPECT_FALSE(GetWindowLongPtrA(H(f.ListBox1), GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
}

// The fonts the controls draw with: face, weight and the designed height at dpi.
void ExpectFontsAt(setup::TForm1& f, int dpi) {
  auto face = [](wingui::WinControl* c, LOGFONTA& lf) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(c->Handle(), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    ASSERT_NE(GetObjectA(font, sizeof lf, &lf), 0);
  };
  LOGFONTA lf{};
  face(f.Label1, lf);
  EXPECT_STREQ(lf.lfFaceName, "Arial Black");
  EXPECT_EQ(std::abs(lf.lfHeight), Scaled(16, dpi));
  EXPECT_EQ(lf.lfWeight, FW_BLACK) << "the face's own weight, also for a stand-in face";
  face(f.Label9, lf);
  EXPECT_STREQ(lf.lfFaceName, "Arial Black");
  EXPECT_EQ(std::abs(lf.lfHeight), Scaled(8, dpi));
  face(f.Label7, lf);
  EXPECT_STREQ(lf.lfFaceName, "Arial Black");
  EXPECT_EQ(std::abs(lf.lfHeight), Scaled(24, dpi));
  face(f.Edit5, lf);
  EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");
  EXPECT_EQ(std::abs(lf.lfHeight), Scaled(11, dpi));
  EXPECT_EQ(lf.lfWeight, FW_NORMAL);
}

TEST_F(MainFormLayout, FontsOfTheHeadingsAndTheRest) { ExpectFontsAt(*form_, dpi_); }

void ExpectEveryCaptionFits(setup::TForm1& f, int dpi) {
  const std::vector<wingui::WinControl*> captioned = {
      f.Label1,  f.Label9,  f.Label6,   f.Label5,  f.Label4,   f.Label2,  f.Label3,
      f.Label7,  f.Button5, f.Button11, f.Button1, f.rbc,      f.rip,     f.Button2,
      f.Button4, f.Button6, f.Button3,  f.Button8, f.Button10, f.Button7, f.RadioGroup1,
      f.FindPlayers1};
  for (wingui::WinControl* c : captioned) ExpectCaptionFits(c->Handle(), dpi);
}

TEST_F(MainFormLayout, EveryCaptionFitsItsControlWithTheFontsItGets) {
  setup::TForm1& f = *form_;
  ExpectEveryCaptionFits(f, dpi_);
  // The captions that come and go: the mode label's other one, the maker label's address.
  f.rbcClick();
  ExpectCaptionFits(f.Label3->Handle(), dpi_);
  f.Label7MouseMove();
  ExpectCaptionFits(f.Label7->Handle(), dpi_);
  // Positions stay as designed.
  EXPECT_EQ(f.Label9->Bounds().left, Scaled(304, dpi_));
  EXPECT_EQ(f.Label9->Width(), Scaled(304 + 41, dpi_) - Scaled(304, dpi_));
}

// Moved to a display of another scale, the window takes the size it answers for that scale
// and the system's place for it, and lays everything out again; moved back, it is as it was.
TEST_F(MainFormLayout, MovedToADisplayOfAnotherScaleItLaysItselfOutAgain) {
  setup::TForm1& f = *form_;
  HWND hwnd = f.Handle();
  constexpr UINT kGetDpiScaledSize = 0x02E4;
  const int other = dpi_ == 144 ? 192 : 144;
  RECT frame{0, 0, 0, 0};
  using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  const auto adjust = reinterpret_cast<AdjustForDpi>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleA("user32.dll"), "AdjustWindowRectExForDpi")));
  ASSERT_NE(adjust, nullptr);
  RECT before;
  GetWindowRect(hwnd, &before);

  for (const int dpi : {other, dpi_}) {
    SCOPED_TRACE(dpi);
    frame = RECT{0, 0, 0, 0};
    adjust(&frame, static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE)), FALSE,
           static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_EXSTYLE)), dpi);
    SIZE size{0, 0};
    ASSERT_TRUE(SendMessageA(hwnd, kGetDpiScaledSize, MAKEWPARAM(dpi, dpi),
                             reinterpret_cast<LPARAM>(&size)));
    EXPECT_EQ(size.cx, Scaled(355, dpi));
    EXPECT_EQ(size.cy, Scaled(495, dpi) + (frame.bottom - frame.top));

    RECT suggested{before.left + 7, before.top + 5, before.left + 7 + size.cx,
                   before.top + 5 + size.cy};
    SendMessageA(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    RECT now;
    GetWindowRect(hwnd, &now);
    EXPECT_TRUE(EqualRect(&now, &suggested));
    // Only a real move draws the frame at the new scale (Wine here has one display); the
    // size answered above holds the new frame.
    if (dpi == dpi_) {
      EXPECT_EQ(f.ClientHeight(), Scaled(495, dpi));
    }
    ExpectControlsAt(f, dpi);
    ExpectFontsAt(f, dpi);
    ExpectEveryCaptionFits(f, dpi);
    const auto small = static_cast<HICON>(reinterpret_cast<HANDLE>(
        SendMessageA(hwnd, WM_GETICON, ICON_SMALL, 0)));
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(small, &info));
    BITMAP bits{};
    GetObjectA(info.hbmColor, sizeof bits, &bits);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    EXPECT_EQ(bits.bmWidth, dpi_test::MetricAt(SM_CXSMICON, dpi));
  }
}

TEST_F(MainFormLayout, TabOrderFollowsTheDesign) {
  // Focusable controls in z-order; IsDialogMessage walks them in this order.
  setup::TForm1& f = *form_;
  const std::vector<wingui::WinControl*> expected = {
      f.Edit1, f.Button1, f.FindPlayers1, f.ListBox1, f.Edit2,  f.Button2, f.Edit3,   f.Edit4,
      f.Button3, f.Button4, f.Edit5,  f.Button5, f.Button6, f.Button7, f.rbc,
      f.rip,   f.Edit6,   f.Button8, f.Button10, f.Button11};
  std::vector<HWND> focusable;
  for (HWND c = GetWindow(f.Handle(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    char cls[32];
    GetClassNameA(c, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") == 0 || c == H(f.RadioGroup1)) continue;
    focusable.push_back(c);
  }
  ASSERT_EQ(focusable.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(focusable[i], H(expected[i])) << "position " << i << ": " << WindowText(focusable[i]);
  }
}

// Each Alt letter of the window leads to one control only, in both modes.
TEST_F(MainFormLayout, NoTwoCaptionsShareAnAltLetter) {
  std::map<char, std::string> taken;
  for (HWND c = GetWindow(form_->Handle(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    const std::string caption = WindowText(c);
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
      if (caption[i] != '&') continue;
      if (caption[i + 1] == '&') {
        ++i;
        continue;
      }
      const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(caption[i + 1])));
      const auto [first, added] = taken.emplace(letter, caption);
      EXPECT_TRUE(added) << "\"" << caption << "\" and \"" << first->second << "\" share Alt+"
                         << letter;
    }
  }
  EXPECT_EQ(taken.count('f'), 1u) << "Find players has its letter";
}

TEST_F(MainFormLayout, TrayMenuItemsAndCaptions) {
  wingui::MenuItem& root = form_->PopupMenu1->Items();
  ASSERT_EQ(root.Count(), 5);
  EXPECT_EQ(root.Item(0), form_->CopyYourIP1);
  EXPECT_EQ(root.Item(0)->Caption(), "10.1.2.3") << "start-up sets the IP item's caption";
  EXPECT_EQ(root.Item(1)->Caption(), "Players");
  ASSERT_EQ(root.Item(1)->Count(), 1);
  EXPECT_EQ(root.Item(1)->Item(0), form_->ipeet1);
  EXPECT_EQ(root.Item(2)->Caption(), "Save");
  EXPECT_EQ(root.Item(3)->Caption(), "Save && Play");
  EXPECT_EQ(root.Item(4)->Caption(), "Exit");
  for (int i = 0; i < root.Count(); ++i) EXPECT_FALSE(root.Item(i)->Default());
  EXPECT_EQ(form_->TrayIcon2->PopupMenu(), form_->PopupMenu1);
  EXPECT_TRUE(form_->TrayIcon2->IconVisible());
  EXPECT_EQ(form_->TrayIcon2->Hint(), "");
}

}  // namespace
