// Controls against their real windows: texts, bounds, visibility, fonts, events, the tab
// order a form arranges from tab indexes, radio groups and the dialog keyboard handling.
#include "wingui/Controls.h"
#include "wingui/ListBox.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "launch/Errors.h"
#include "wingui/Form.h"

namespace {

using namespace wingui;
using wingui_test::BoxRecorder;
using wingui_test::FontInUse;
using wingui_test::FontOf;
using wingui_test::TextWidth;

std::string ClassOf(HWND hwnd) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

// A caption too wide is drawn in a narrowed form of the control's font: same face, same height.
void ExpectNarrowedFormOfItsFont(WinControl& control) {
  const HFONT used = FontInUse(control.Handle());
  EXPECT_NE(used, control.Font());
  EXPECT_STREQ(FontOf(used).lfFaceName, FontOf(control.Font()).lfFaceName);
  EXPECT_EQ(FontOf(used).lfHeight, FontOf(control.Font()).lfHeight);
}

TEST(Controls, TextsBoundsAndVisibilityAreThoseOfTheRealWindows) {
  BoxRecorder boxes;
  Form form(nullptr);
  form.SetText("Lanvora - Pelmar 2005");
  auto* edit = new Edit(&form, "duke3d_w32.exe");
  edit->SetBounds(88, 32, 201, 21);
  auto* button = new Button(&form, "Save && Play");
  button->SetBounds(97, 425, 73, 25);
  auto* label = new Label(&form, "Nick:");
  label->SetBounds(59, 56, 25, 13);

  EXPECT_EQ(ClassOf(edit->Handle()), "Edit");
  EXPECT_EQ(GetParent(edit->Handle()), form.Handle());
  char text[64] = {};
  GetWindowTextA(form.Handle(), text, sizeof text);
  EXPECT_STREQ(text, "Lanvora - Pelmar 2005");
  GetWindowTextA(button->Handle(), text, sizeof text);
  EXPECT_STREQ(text, "Save && Play");
  EXPECT_EQ(edit->Text(), "duke3d_w32.exe");
  SetWindowTextA(edit->Handle(), "typed by the user");
  EXPECT_EQ(edit->Text(), "typed by the user");

  const RECT r = button->Bounds();
  EXPECT_EQ(r.left, 97);
  EXPECT_EQ(r.top, 425);
  EXPECT_EQ(button->Width(), 73);
  EXPECT_EQ(button->Height(), 25);
  EXPECT_EQ(label->Left(), 59);

  EXPECT_TRUE(edit->Visible()) << "controls are visible by default, even on a hidden form";
  EXPECT_FALSE(IsWindowVisible(edit->Handle()));
  edit->Hide();
  EXPECT_FALSE(GetWindowLongPtrA(edit->Handle(), GWL_STYLE) & WS_VISIBLE);
  edit->Show();
  EXPECT_TRUE(GetWindowLongPtrA(edit->Handle(), GWL_STYLE) & WS_VISIBLE);
}

TEST(Controls, OwnedComponentsGoWhileTheirFormIsStillAWindow) {
  BoxRecorder boxes;
  static bool wasWindow, windowAlive;
  struct Reporting : Component {
    using Component::Component;
    ~Reporting() override {
      auto* window = dynamic_cast<WinControl*>(Owner());
      wasWindow = window != nullptr;
      windowAlive = window && IsWindow(window->Handle());
    }
  };
  wasWindow = windowAlive = false;
  {
    Form form(nullptr);
    new Reporting(&form);
  }
  EXPECT_TRUE(wasWindow);
  EXPECT_TRUE(windowAlive);
}

// A window Windows destroyed with its parent is forgotten, never made again: asking for it
// is an error, and the control's object goes without destroying anything twice.
TEST(Controls, AWindowDestroyedFromOutsideIsNotMadeAgain) {
  BoxRecorder boxes;
  Form form(nullptr);
  auto* edit = new Edit(&form, "text");
  HWND hwnd = edit->Handle();
  DestroyWindow(hwnd);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_FALSE(edit->HandleAllocated());
  EXPECT_THROW(edit->Handle(), launch::Error);
  EXPECT_EQ(WinControl::FromHandle(hwnd), nullptr);
  delete edit;
  EXPECT_TRUE(IsWindow(form.Handle()));
}

TEST(Controls, FormSizesAndFonts) {
  BoxRecorder boxes;
  Form form(nullptr);
  form.SetWidth(355);
  form.SetClientHeight(495);
  RECT outer{};
  GetWindowRect(form.Handle(), &outer);
  EXPECT_EQ(outer.right - outer.left, 355);
  RECT client{};
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.bottom, 495);
  const LONG_PTR style = GetWindowLongPtrA(form.Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);

  auto* heading = new Label(&form, "Lanvora");
  heading->SetFont("Arial Black", 16);
  auto* plain = new Edit(&form);
  EXPECT_STREQ(FontOf(plain->Handle()).lfFaceName, "MS Sans Serif");
  EXPECT_EQ(FontOf(plain->Handle()).lfHeight, -11);
  EXPECT_STREQ(FontOf(heading->Handle()).lfFaceName, "Arial Black");
  EXPECT_EQ(FontOf(heading->Handle()).lfHeight, -16);

  Form tool(nullptr, BorderStyle::ToolWindow);
  tool.SetClientWidth(555);
  tool.SetClientHeight(496);
  tool.SetPosition(0, 0);
  EXPECT_EQ(tool.ClientWidth(), 555);
  EXPECT_EQ(tool.ClientHeight(), 496);
  EXPECT_TRUE(GetWindowLongPtrA(tool.Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(GetWindowLongPtrA(tool.Handle(), GWL_STYLE) & WS_MINIMIZEBOX);
  GetWindowRect(tool.Handle(), &outer);
  EXPECT_EQ(outer.left, 0);
  EXPECT_EQ(outer.top, 0);
}

TEST(Controls, ClicksAndChangesReachTheirHandlers) {
  BoxRecorder boxes;
  Form form(nullptr);
  auto* button = new Button(&form, "&Default");
  button->SetBounds(128, 104, 57, 21);
  auto* edit = new Edit(&form, "1635");
  auto* label = new Label(&form, "Pelmar 2005");
  int clicks = 0, changes = 0, labelClicks = 0;
  button->OnClick = [&] { ++clicks; };
  edit->OnChange = [&] { ++changes; };
  label->OnClick = [&] { ++labelClicks; };
  SendMessageA(button->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  edit->SetText("1636");
  EXPECT_EQ(changes, 1);
  edit->SetText("1636");
  EXPECT_EQ(changes, 1) << "setting the same text again is no change";
  // A click on the label is reported by the label to its parent as STN_CLICKED.
  SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(label->Handle()), STN_CLICKED),
               reinterpret_cast<LPARAM>(label->Handle()));
  EXPECT_EQ(labelClicks, 1);
  EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(Controls, LabelNarrowsItsFontForACaptionWiderThanItselfOnly) {
  BoxRecorder boxes;
  Form form(nullptr);
  auto* label = new Label(&form, "short");
  label->SetBounds(0, 0, 60, 20);
  label->SetFont("Tahoma", 16);
  HWND hwnd = label->Handle();
  EXPECT_EQ(FontInUse(hwnd), label->Font());

  label->SetText("A caption far wider than the label");
  ExpectNarrowedFormOfItsFont(*label);
  EXPECT_LE(TextWidth(hwnd, label->Text()), 60);

  label->SetText("short");
  EXPECT_EQ(FontInUse(hwnd), label->Font()) << "a caption that fits has the label's own font";
}

// Push buttons and radio buttons fit their caption with what they draw beside it (edges, the
// radio glyph and its gap) as the control itself measures them; a group frame fits its
// caption between its corners.
TEST(Controls, ButtonsRadioButtonsAndGroupFramesNarrowTheirFontForACaptionTooWide) {
  BoxRecorder boxes;
  Form form(nullptr);
  auto* button = new Button(&form, "OK");
  button->SetBounds(0, 0, 90, 25);
  auto* radio = new RadioButton(&form, "On");
  radio->SetBounds(0, 30, 90, 17);
  auto* frame = new GroupBox(&form, "Set");
  frame->SetBounds(0, 50, 90, 40);
  const std::string wide = "A caption far wider than the control";
  for (WinControl* c : std::vector<WinControl*>{button, radio, frame}) {
    c->SetFont("Tahoma", 16);
    HWND hwnd = c->Handle();
    SCOPED_TRACE(ClassOf(hwnd) + " " + c->Text());
    EXPECT_EQ(FontInUse(hwnd), c->Font());

    c->SetText(wide);
    ExpectNarrowedFormOfItsFont(*c);
    RECT client;
    GetClientRect(hwnd, &client);
    if (c == frame) {
      EXPECT_LE(TextWidth(hwnd, wide) + 16, client.right);
    } else {
      SIZE ideal{0, 0};
      SendMessageA(hwnd, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal));
      EXPECT_GT(ideal.cx, 0);
      EXPECT_LE(ideal.cx, client.right);
    }

    c->SetText("On");
    EXPECT_EQ(FontInUse(hwnd), c->Font()) << "a caption that fits has the control's own font";
  }
  EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(Controls, LabelColourAndMouseEvents) {
  BoxRecorder boxes;
  Form form(nullptr);
  auto* label = new Label(&form, "Pelmar 2005");
  label->SetAlignment(Alignment::Center);
  EXPECT_TRUE(GetWindowLongPtrA(label->Handle(), GWL_STYLE) & SS_CENTER);
  EXPECT_TRUE(GetWindowLongPtrA(label->Handle(), GWL_STYLE) & SS_NOTIFY);
  EXPECT_EQ(label->Color(), GetSysColor(COLOR_BTNFACE));

  label->SetColor(RGB(0, 0, 255));
  HDC dc = GetDC(label->Handle());
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageA(form.Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                   reinterpret_cast<LPARAM>(label->Handle())));
  EXPECT_EQ(GetBkColor(dc), RGB(0, 0, 255));
  LOGBRUSH lb{};
  ASSERT_NE(brush, nullptr);
  GetObjectA(brush, sizeof lb, &lb);
  EXPECT_EQ(lb.lbColor, RGB(0, 0, 255));
  ReleaseDC(label->Handle(), dc);

  int moves = 0, leaves = 0;
  label->OnMouseMove = [&] { ++moves; };
  label->OnMouseLeave = [&] { ++leaves; };
  SendMessageA(label->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  SendMessageA(label->Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(moves, 1);
  EXPECT_EQ(leaves, 1);
}

TEST(Controls, ListBoxKeepsInsertionOrderAndSingleSelection) {
  BoxRecorder boxes;
  Form form(nullptr);
  auto* list = new ListBox(&form);
  EXPECT_EQ(SendMessageA(list->Handle(), LB_GETITEMHEIGHT, 0, 0), 13);
  EXPECT_FALSE(GetWindowLongPtrA(list->Handle(), GWL_STYLE) & (LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
  list->Add("allow 10.0.0.9:1635");
  list->Add("allow 10.0.0.1:1635");
  list->Add("allow 10.0.0.9:1635");
  EXPECT_EQ(list->Items(), (std::vector<std::string>{"allow 10.0.0.9:1635", "allow 10.0.0.1:1635",
                                                      "allow 10.0.0.9:1635"}));
  EXPECT_EQ(list->ItemIndex(), -1);
  list->Delete(list->ItemIndex());  // nothing selected: nothing happens
  EXPECT_EQ(list->Count(), 3);
  list->SetItemIndex(1);
  list->Delete(list->ItemIndex());
  EXPECT_EQ(list->Count(), 2);
  EXPECT_EQ(list->Item(1), "allow 10.0.0.9:1635");
  // The first index past the end is outside the list, like any larger one.
  EXPECT_THROW(list->Item(list->Count()), launch::Error);
  list->SetItems({"-"});
  EXPECT_EQ(list->Items(), std::vector<std::string>{"-"});
}

// A long list shows its first rows at once and the rest arrive from the message loop; any
// call that reads or changes the list first completes the fill, so the order always holds.
TEST(Controls, ListBoxFillsALongListInSlicesInOrder) {
  BoxRecorder boxes;
  Form form(nullptr);
  auto* list = new ListBox(&form);
  std::vector<std::string> rows;
  for (int i = 0; i < 5000; ++i) rows.push_back("allow 10.0." + std::to_string(i) + ":1635");
  list->SetItems(rows);
  EXPECT_TRUE(list->Filling());
  EXPECT_EQ(SendMessageA(list->Handle(), LB_GETCOUNT, 0, 0),
            static_cast<LRESULT>(ListBox::kImmediateRows));
  EXPECT_TRUE(wingui_test::PumpUntil([&] { return !list->Filling(); }, 5000));
  EXPECT_EQ(list->Items(), rows);

  // Added while the fill is under way: after every row of the list.
  list->SetItems(rows);
  list->Add("added");
  EXPECT_FALSE(list->Filling());
  EXPECT_EQ(list->Count(), 5001);
  EXPECT_EQ(list->Item(5000), "added");
  EXPECT_EQ(list->Item(4999), rows.back());

  // Replaced or cleared while filling: no row of the old list arrives later.
  list->SetItems(rows);
  list->SetItems({"one", "two"});
  wingui_test::PumpFor(100);
  EXPECT_EQ(list->Items(), (std::vector<std::string>{"one", "two"}));
  list->SetItems(rows);
  list->Clear();
  wingui_test::PumpFor(100);
  EXPECT_EQ(list->Count(), 0);
}

TEST(Controls, ListBoxRowsOfAnyLengthAndByteReadBackExactly) {
  BoxRecorder boxes;
  Form form(nullptr);
  auto* list = new ListBox(&form);
  std::string bytes;
  for (int i = 0; i < 5000; ++i) bytes += static_cast<char>(0x20 + i % 0x5f);
  std::string high;
  for (int c = 0xa0; c < 0x100; ++c) high += static_cast<char>(c);
  list->Add(bytes);
  list->Add(high);
  list->Add("");
  EXPECT_EQ(list->Item(0), bytes);
  EXPECT_EQ(list->Item(1), high);
  EXPECT_EQ(list->Item(2), "");
}

std::string ToolText(HWND tip, HWND form, HWND control) {
  char text[80] = {};
  TTTOOLINFOA info{};
  info.cbSize = TTTOOLINFOA_V1_SIZE;
  info.hwnd = form;
  info.uId = reinterpret_cast<UINT_PTR>(control);
  info.lpszText = text;
  SendMessageA(tip, TTM_GETTEXTA, 0, reinterpret_cast<LPARAM>(&info));
  return text;
}

TEST(Controls, HintBecomesATooltipOfTheFormOnHover) {
  BoxRecorder boxes;
  Form form(nullptr);
  auto* get = new Button(&form, "Get");
  auto* plain = new Button(&form, "..");
  get->SetHint("Works for most of the users!");
  HWND tip = form.TooltipHandle();
  EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 0);

  // The pointer over a control without a hint adds nothing; over the hinted one, its tool.
  SendMessageA(plain->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 0);
  SendMessageA(get->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  SendMessageA(get->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(4, 3));
  EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
  EXPECT_EQ(ToolText(tip, form.Handle(), get->Handle()), "Works for most of the users!");

  // Once shown, the tooltip follows changes of the hint.
  get->SetHint("Another text");
  EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
  EXPECT_EQ(ToolText(tip, form.Handle(), get->Handle()), "Another text");
  get->SetHint("");
  EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 0);
  SendMessageA(get->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 0);
}

// A small version of the main window's layout, with tab indexes out of creation order.
struct TabForm : Form {
  TabForm() : Form(nullptr) {
    BeginLoading();
    frame = new GroupBox(this);
    frame->TabOrder = 18;
    frame->SetBounds(24, 136, 297, 41);
    rbc = new RadioButton(this, "Broadcast on LAN");
    rbc->TabOrder = 19;
    rbc->SetBounds(80, 152, 105, 17);
    rip = new RadioButton(this, "Allow IP's");
    rip->TabOrder = 20;
    rip->SetBounds(200, 152, 65, 17);
    port = new Edit(this, "1635");
    port->TabOrder = 0;
    def = new Button(this, "&Default");
    def->TabOrder = 1;
    def->SetBounds(128, 104, 57, 21);
    nick = new Edit(this, "JohnDoe");
    nick->TabOrder = 7;
    players = new Edit(this);
    players->TabOrder = 21;
    rip->SetChecked(true);
    EndCreation();
  }
  GroupBox* frame;
  RadioButton *rbc, *rip;
  Edit *port, *nick, *players;
  Button* def;
};

std::vector<HWND> TabWalk(HWND form) {
  std::vector<HWND> order;
  HWND first = GetNextDlgTabItem(form, nullptr, FALSE);
  for (HWND h = first; h && order.size() < 20;) {
    order.push_back(h);
    h = GetNextDlgTabItem(form, h, FALSE);
    if (h == first) break;
  }
  return order;
}

TEST(TabOrder, FollowsTabIndexesAndStopsAtTheCheckedRadioButton) {
  BoxRecorder boxes;
  TabForm form;
  EXPECT_EQ(TabWalk(form.Handle()),
            (std::vector<HWND>{form.port->Handle(), form.def->Handle(), form.nick->Handle(),
                               form.rip->Handle(), form.players->Handle()}));
  // The frame is painted behind everything: last in z-order.
  HWND last = GetWindow(GetWindow(form.Handle(), GW_CHILD), GW_HWNDLAST);
  EXPECT_EQ(last, form.frame->Handle());
  // Arrow keys walk the group of the two radio buttons and nothing else.
  EXPECT_EQ(GetNextDlgGroupItem(form.Handle(), form.rbc->Handle(), FALSE), form.rip->Handle());
  EXPECT_EQ(GetNextDlgGroupItem(form.Handle(), form.rip->Handle(), FALSE), form.rbc->Handle());

  form.rbc->SetChecked(true);
  EXPECT_FALSE(form.rip->Checked());
  EXPECT_EQ(TabWalk(form.Handle())[3], form.rbc->Handle());
}

TEST(TabOrder, DialogKeysMoveBetweenRadioButtonsAndPressAccelerators) {
  BoxRecorder boxes;
  TabForm form;
  int ripClicks = 0, rbcClicks = 0, defaults = 0;
  form.rip->OnClick = [&] { ++ripClicks; };
  form.rbc->OnClick = [&] { ++rbcClicks; };
  form.def->OnClick = [&] { ++defaults; };
  form.Show();
  SetForegroundWindow(form.Handle());
  form.rip->SetFocus();
  ASSERT_EQ(GetFocus(), form.rip->Handle());

  MSG down{form.rip->Handle(), WM_KEYDOWN, VK_DOWN, 0, 0, {}};
  EXPECT_TRUE(form.PreTranslateMessage(down));
  EXPECT_EQ(GetFocus(), form.rbc->Handle());
  EXPECT_TRUE(form.rbc->Checked());
  EXPECT_FALSE(form.rip->Checked());
  EXPECT_EQ(rbcClicks, 1);

  MSG tab{form.rbc->Handle(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
  EXPECT_TRUE(form.PreTranslateMessage(tab));
  EXPECT_EQ(GetFocus(), form.players->Handle());

  MSG alt{form.players->Handle(), WM_SYSCHAR, 'd', 0x20000000, 0, {}};
  EXPECT_TRUE(form.PreTranslateMessage(alt));
  wingui_test::PumpUntil([&] { return defaults > 0; }, 1000);
  EXPECT_EQ(defaults, 1);
  EXPECT_EQ(ripClicks, 0);
  form.Hide();
}

}  // namespace
