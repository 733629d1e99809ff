// The main window's icons and the notification-area icon at the display's scale: each is the
// image the program's icon resource holds for the size the system asks for there, not a
// larger image shrunk. The expected images are read from the resource's own bytes: the icon
// group's directory names the image of each size, and the system decodes that image alone.
#include "tests/win32/setup/MainFormTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/win32/DpiTestSupport.h"

namespace {

using namespace setup_test;

constexpr WORD kIconGroup = 1;

// An icon made here and destroyed with the holder.
struct OwnedIcon {
  HICON handle = nullptr;
  ~OwnedIcon() {
    if (handle) DestroyIcon(handle);
  }
};

// The 32-bit image of size x size pixels in the icon group, decoded on its own; nullptr when
// the group has none.
HICON ResourceImage(int size) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(kIconGroup), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
  if (!group) return nullptr;
  const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
  // The directory: three WORDs, then 14-byte entries (width, height, colours, reserved,
  // planes, bit count, byte count, image id); a width of 0 means 256.
  WORD count = 0;
  std::memcpy(&count, bytes + 4, sizeof count);
  for (WORD i = 0; i < count; ++i) {
    const BYTE* entry = bytes + 6 + 14 * i;
    WORD bitCount = 0, id = 0;
    std::memcpy(&bitCount, entry + 6, sizeof bitCount);
    std::memcpy(&id, entry + 12, sizeof id);
    const int width = entry[0] ? entry[0] : 256;
    if (width != size || bitCount != 32) continue;
    HRSRC image = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(3));  // RT_ICON
    auto* imageBytes = static_cast<BYTE*>(LockResource(LoadResource(module, image)));
    return CreateIconFromResourceEx(imageBytes, SizeofResource(module, image), TRUE, 0x00030000,
                                    size, size, LR_DEFAULTCOLOR);
  }
  return nullptr;
}

// The icon drawn at size x size over a fixed background, pixel by pixel.
std::vector<DWORD> Pixels(HICON icon, int size) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP canvas = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, canvas);
  RECT all{0, 0, size, size};
  HBRUSH background = CreateSolidBrush(RGB(255, 0, 255));
  FillRect(dc, &all, background);
  DeleteObject(background);
  DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
  GdiFlush();
  std::vector<DWORD> pixels(static_cast<const DWORD*>(bits),
                            static_cast<const DWORD*>(bits) + size * size);
  SelectObject(dc, old);
  DeleteObject(canvas);
  DeleteDC(dc);
  return pixels;
}

// The width of the icon's own image.
int ImageSize(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return 0;
  BITMAP bits{};
  GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bits, &bits);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return bits.bmWidth;
}

// How many pixels of two drawings differ.
int Differences(const std::vector<DWORD>& a, const std::vector<DWORD>& b) {
  int n = 0;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) n += a[i] != b[i];
  return n;
}

class MainFormIcons : public ::testing::Test {
 protected:
  void SetUp() override {
    dpi_test::ExpectTheRunsSetUp();
    form_ = MakeMainWindow();
  }

  // The icon is the resource's image of its size, and not the big image shrunk to it.
  static void ExpectTheImageOfItsSize(HICON icon, int size, int bigSize) {
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(ImageSize(icon), size);
    OwnedIcon own{ResourceImage(size)}, big{ResourceImage(bigSize)};
    ASSERT_NE(own.handle, nullptr) << "the icon file has no " << size << "-pixel image";
    ASSERT_NE(big.handle, nullptr);
    const std::vector<DWORD> shown = Pixels(icon, size);
    EXPECT_EQ(Differences(shown, Pixels(own.handle, size)), 0);
    // Shrinking blurs the drawing's edges: many of the pixels come out otherwise.
    EXPECT_GT(Differences(shown, Pixels(big.handle, size)), size * size / 10);
  }

  wingui_test::BoxRecorder boxes_;
  ScratchFolder folder_{"icons"};
  FakeDiscovery discovery_{{"10.1.2.3"}};
  QuietTray tray_;
  std::unique_ptr<setup::TForm1> form_;
};

TEST_F(MainFormIcons, TheNotificationAreaGetsTheSmallImageOfTheSystemScale) {
  ExpectTheImageOfItsSize(QuietTray::LastImage(), GetSystemMetrics(SM_CXSMICON),
                          GetSystemMetrics(SM_CXICON));
}

TEST_F(MainFormIcons, TheWindowHasTheSmallAndBigImagesOfItsScale) {
  HWND hwnd = form_->Handle();
  const int dpi = dpi_test::ScreenDpi();
  const int small = dpi_test::MetricAt(SM_CXSMICON, dpi);
  const int big = dpi_test::MetricAt(SM_CXICON, dpi);
  auto icon = [hwnd](WPARAM which) {
    return static_cast<HICON>(reinterpret_cast<HANDLE>(SendMessageA(hwnd, WM_GETICON, which, 0)));
  };
  ExpectTheImageOfItsSize(icon(ICON_SMALL), small, big);
  HICON shown = icon(ICON_BIG);
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(ImageSize(shown), big);
  OwnedIcon expected{ResourceImage(big)};
  ASSERT_NE(expected.handle, nullptr) << "the icon file has no " << big << "-pixel image";
  EXPECT_EQ(Differences(Pixels(shown, big), Pixels(expected.handle, big)), 0);
}

}  // namespace
