// Icons own private copies of their images and report each change; image lists hand out
// copies too.
#include "wingui/Graphics.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

using namespace wingui;

// A 16x16 icon of one colour, made here so the test depends on no resource.
HICON MakeIcon(COLORREF colour) {
  HDC screen = GetDC(nullptr);
  HBITMAP colourBits = CreateCompatibleBitmap(screen, 16, 16);
  HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, colourBits);
  HBRUSH brush = CreateSolidBrush(colour);
  RECT r{0, 0, 16, 16};
  FillRect(dc, &r, brush);
  SelectObject(dc, mask);
  PatBlt(dc, 0, 0, 16, 16, BLACKNESS);  // fully opaque
  SelectObject(dc, old);
  ICONINFO info{TRUE, 0, 0, mask, colourBits};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(brush);
  DeleteDC(dc);
  DeleteObject(mask);
  DeleteObject(colourBits);
  ReleaseDC(nullptr, screen);
  return icon;
}

COLORREF CentrePixel(HICON icon) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bits = CreateCompatibleBitmap(screen, 16, 16);
  HGDIOBJ old = SelectObject(dc, bits);
  DrawIconEx(dc, 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL);
  const COLORREF pixel = GetPixel(dc, 8, 8);
  SelectObject(dc, old);
  DeleteObject(bits);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return pixel;
}

TEST(Icon, KeepsItsOwnCopyAndReportsEveryChange) {
  Icon icon;
  int changes = 0;
  icon.OnChange = [&] { ++changes; };
  EXPECT_TRUE(icon.Empty());
  HICON red = MakeIcon(RGB(255, 0, 0));
  icon.LoadFromHandle(red);
  EXPECT_EQ(changes, 1);
  EXPECT_NE(icon.Handle(), red);
  DestroyIcon(red);  // the caller's handle is gone; ours still draws
  EXPECT_EQ(CentrePixel(icon.Handle()), RGB(255, 0, 0));

  Icon other;
  other.Assign(icon);
  EXPECT_NE(other.Handle(), icon.Handle());
  EXPECT_EQ(CentrePixel(other.Handle()), RGB(255, 0, 0));
  icon.Assign(Icon{});
  EXPECT_TRUE(icon.Empty());
  EXPECT_EQ(changes, 2);
}

TEST(ImageList, AddReplaceAndGetIconGiveCopies) {
  Component owner(nullptr);
  auto* list = new ImageList(&owner);
  HICON red = MakeIcon(RGB(255, 0, 0));
  HICON blue = MakeIcon(RGB(0, 0, 255));
  list->Add(red);
  list->Add(red);
  EXPECT_EQ(list->Count(), 2);
  list->Replace(1, blue);
  EXPECT_THROW(list->Replace(2, blue), std::out_of_range);
  Icon dest;
  int changes = 0;
  dest.OnChange = [&] { ++changes; };
  list->GetIcon(1, dest);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(CentrePixel(dest.Handle()), RGB(0, 0, 255));
  list->GetIcon(0, dest);
  EXPECT_EQ(CentrePixel(dest.Handle()), RGB(255, 0, 0));
  list->GetIcon(7, dest);
  EXPECT_TRUE(dest.Empty());
  DestroyIcon(red);
  DestroyIcon(blue);
}

}  // namespace
