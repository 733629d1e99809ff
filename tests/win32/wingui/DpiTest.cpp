// Display scale in the framework: forms and controls laid out in designed units are drawn at
// their window's dpi, each edge scaled on its own; a form told it is on a display of another
// scale (WM_DPICHANGED) takes the system's rectangle and lays out everything again, from the
// design, whatever it holds: controls inside controls, inherited and own fonts, a label sized
// to its text, a foreign child window, icons. The manifest declares the awareness that makes
// Windows leave the scaling to the program.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "wingui/Controls.h"
#include "wingui/Dpi.h"
#include "wingui/Form.h"

namespace {

using namespace wingui;
using wingui_test::BoxRecorder;
using wingui_test::FontInUse;
using wingui_test::FontOf;

constexpr UINT kGetDpiScaledSize = 0x02E4;

int DesignedAt(int length, int dpi) { return MulDiv(length, dpi, 96); }

RECT RectIn(HWND parent, HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void MoveToScale(Form& form, int dpi) {
  RECT now;
  GetWindowRect(form.Handle(), &now);
  SIZE size{0, 0};
  SendMessageA(form.Handle(), kGetDpiScaledSize, MAKEWPARAM(dpi, dpi),
               reinterpret_cast<LPARAM>(&size));
  RECT suggested{now.left, now.top, now.left + size.cx, now.top + size.cy};
  SendMessageA(form.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
               reinterpret_cast<LPARAM>(&suggested));
}

TEST(Dpi, EdgesScaleOnTheirOwnSoNeighboursStayTogether) {
  // Two fields that meet, and one that lines up under them: at 125 % a scaled width would
  // leave a gap or an overlap where scaled edges cannot.
  const DesignedRect left{88, 32, 201, 21}, right{289, 32, 25, 21}, below{88, 53, 226, 21};
  for (const int dpi : {96, 120, 144, 168, 192, 240}) {
    SCOPED_TRACE(dpi);
    const RECT a = Scale(left, dpi), b = Scale(right, dpi), c = Scale(below, dpi);
    EXPECT_EQ(a.right, b.left);
    EXPECT_EQ(a.bottom, c.top);
    EXPECT_EQ(c.left, a.left);
    EXPECT_EQ(c.right, b.right);
    EXPECT_EQ(a.left, DesignedAt(88, dpi));
  }
  EXPECT_EQ(Scale(13, 144), 20) << "halves round up";
  EXPECT_EQ(Scale(11, 96), 11);
}

TEST(Dpi, AFormMovedToAnotherScaleLaysOutEverythingAgainFromItsDesign) {
  BoxRecorder boxes;
  Form form(nullptr);
  form.SetClientWidth(300);
  form.SetClientHeight(200);
  form.SetIconResource(GetModuleHandleA(nullptr), 1);
  auto* frame = new GroupBox(&form, "Mode");
  frame->SetBounds(10, 10, 200, 100);
  // A control inside the frame: placed in the frame's client area, font from the form.
  auto* inside = new Button(&form, "Go", frame);
  inside->SetBounds(5, 20, 75, 23);
  auto* heading = new Label(&form, "Heading");
  heading->SetBounds(10, 120, 100, 20);
  heading->SetFont("Tahoma", 16);
  auto* sized = new Label(&form, "short");
  sized->SetBounds(10, 150, 40, 13);
  sized->SetAutoSize(true);
  sized->SetText("a longer caption");
  HWND foreign = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 1, 1, form.Handle(), nullptr,
                                 nullptr, nullptr);
  form.PlaceWindow(foreign, {220, 10, 70, 50});

  for (const int dpi : {144, 192, 120, 96}) {
    SCOPED_TRACE(dpi);
    MoveToScale(form, dpi);
    EXPECT_EQ(form.Dpi(), dpi);
    EXPECT_EQ(inside->Dpi(), dpi);
    const RECT f = RectIn(form.Handle(), frame->Handle());
    EXPECT_EQ(f.left, DesignedAt(10, dpi));
    EXPECT_EQ(f.right, DesignedAt(210, dpi));
    EXPECT_EQ(f.bottom, DesignedAt(110, dpi));
    const RECT i = RectIn(frame->Handle(), inside->Handle());
    EXPECT_EQ(i.left, DesignedAt(5, dpi));
    EXPECT_EQ(i.top, DesignedAt(20, dpi));
    EXPECT_EQ(i.right, DesignedAt(80, dpi));
    EXPECT_EQ(i.bottom, DesignedAt(43, dpi));
    const RECT p = RectIn(form.Handle(), foreign);
    EXPECT_EQ(p.left, DesignedAt(220, dpi));
    EXPECT_EQ(p.bottom, DesignedAt(60, dpi));

    // Fonts: the form's own, which the controls without one take, and a control's own.
    EXPECT_EQ(FontOf(inside->Handle()).lfHeight, -DesignedAt(11, dpi));
    EXPECT_EQ(FontInUse(inside->Handle()), form.Font());
    EXPECT_EQ(FontOf(heading->Handle()).lfHeight, -DesignedAt(16, dpi));
    EXPECT_STREQ(FontOf(heading->Handle()).lfFaceName, "Tahoma");

    // The label sized to its text has the text's width in its font at this scale.
    HDC dc = GetDC(sized->Handle());
    HGDIOBJ old = SelectObject(dc, sized->Font());
    RECT text{0, 0, 0, 0};
    DrawTextA(dc, "a longer caption", -1, &text, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(sized->Handle(), dc);
    EXPECT_EQ(sized->Width(), text.right);

    // The icons, loaded again at the sizes the system asks for at this scale.
    EXPECT_EQ(form.SmallFormIcon().Empty(), false);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(form.SmallFormIcon().Handle(), &info));
    BITMAP bits{};
    GetObjectA(info.hbmColor, sizeof bits, &bits);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    EXPECT_EQ(bits.bmWidth, SmallIconSize(dpi));
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(form.Handle(), WM_GETICON, ICON_SMALL, 0)),
              form.SmallFormIcon().Handle());
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(form.Handle(), WM_GETICON, ICON_BIG, 0)),
              form.FormIcon().Handle());
  }
  EXPECT_EQ(form.ClientWidth(), 300);
  EXPECT_EQ(form.ClientHeight(), 200);
  EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(Dpi, TheSizeAFormAsksForAtAnotherScaleIsItsDesignWithThatScalesFrame) {
  BoxRecorder boxes;
  Form outer(nullptr);
  outer.SetWidth(355);
  outer.SetClientHeight(495);
  const auto style = static_cast<DWORD>(GetWindowLongPtrA(outer.Handle(), GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(outer.Handle(), GWL_EXSTYLE));
  for (const int dpi : {120, 144, 192}) {
    SCOPED_TRACE(dpi);
    const std::optional<SIZE> frame = FrameSize(style, exStyle, dpi);
    ASSERT_TRUE(frame);
    SIZE size{0, 0};
    EXPECT_TRUE(SendMessageA(outer.Handle(), kGetDpiScaledSize, MAKEWPARAM(dpi, dpi),
                             reinterpret_cast<LPARAM>(&size)));
    // The outer width is designed as it is, the height as a client height.
    EXPECT_EQ(size.cx, DesignedAt(355, dpi));
    EXPECT_EQ(size.cy, DesignedAt(495, dpi) + frame->cy);
  }
}

// The manifest, as the system reads it: per-monitor awareness (version 2) where the system
// knows it, else the system dpi. A misspelt namespace would leave the program unaware, drawn
// at 96 dpi and stretched, without a word.
TEST(Dpi, TheManifestDeclaresPerMonitorAwarenessWithSystemAwarenessBeforeIt) {
  auto setting = [](const wchar_t* ns, const wchar_t* name) {
    wchar_t value[64] = {};
    SIZE_T written = 0;
    if (!QueryActCtxSettingsW(0, nullptr, ns, name, value, 64, &written)) return std::wstring();
    return std::wstring(value);
  };
  EXPECT_EQ(setting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"),
            L"PerMonitorV2, System");
  EXPECT_EQ(setting(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"),
            L"true");
}

}  // namespace
