// Icons own private copies of their images and report each change; image lists hand out
// copies too.
#include "wingui/Graphics.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "launch/Errors.h"
#include "tests/win32/TestIcons.h"

namespace {

using namespace wingui;

using test_icons::CentreColour;
using test_icons::MakeSolidIcon;

TEST(Icon, KeepsItsOwnCopyAndReportsEveryChange) {
  Icon icon;
  int changes = 0;
  icon.OnChange = [&] { ++changes; };
  EXPECT_TRUE(icon.Empty());
  HICON red = MakeSolidIcon(RGB(255, 0, 0));
  icon.LoadFromHandle(red);
  EXPECT_EQ(changes, 1);
  EXPECT_NE(icon.Handle(), red);
  DestroyIcon(red);  // the caller's handle is gone; ours still draws
  EXPECT_EQ(CentreColour(icon.Handle()), RGB(255, 0, 0));

  Icon other;
  other.Assign(icon);
  EXPECT_NE(other.Handle(), icon.Handle());
  EXPECT_EQ(CentreColour(other.Handle()), RGB(255, 0, 0));
  icon.Assign(Icon{});
  EXPECT_TRUE(icon.Empty());
  EXPECT_EQ(changes, 2);
}

TEST(ImageList, AddReplaceAndGetIconGiveCopies) {
  Component owner(nullptr);
  auto* list = new ImageList(&owner);
  HICON red = MakeSolidIcon(RGB(255, 0, 0));
  HICON blue = MakeSolidIcon(RGB(0, 0, 255));
  list->Add(red);
  list->Add(red);
  EXPECT_EQ(list->Count(), 2);
  list->Replace(1, blue);
  EXPECT_THROW(list->Replace(2, blue), launch::Error);
  Icon dest;
  int changes = 0;
  dest.OnChange = [&] { ++changes; };
  list->GetIcon(1, dest);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(CentreColour(dest.Handle()), RGB(0, 0, 255));
  list->GetIcon(0, dest);
  EXPECT_EQ(CentreColour(dest.Handle()), RGB(255, 0, 0));
  EXPECT_THROW(list->GetIcon(7, dest), launch::Error);
  EXPECT_THROW(list->GetIcon(2, dest), launch::Error);
  DestroyIcon(red);
  DestroyIcon(blue);
}

}  // namespace
