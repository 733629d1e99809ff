// The help window as the start-up sequence makes it: geometry and styles (the designed sizes
// scaled to the display's dpi), owner, the one Navigate request with the page path beside the
// executable, failures during creation, hide on close and show without reloading, the
// browser's empty context menu, and the layout again on a display of another scale.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "help/HelpForm.h"
#include "help/OleErrors.h"
#include "tests/win32/DpiTestSupport.h"
#include "tests/win32/wingui/TestSupport.h"
#include "wingui/Application.h"

namespace {

using help::TForm2;
using wingui::App;
using wingui_test::BoxRecorder;
using wingui_test::PumpFor;
using dpi_test::Scaled;

struct Navigation {
  int calls = 0;
  std::wstring url;
  HRESULT answer = S_OK;
};
Navigation g_navigation;

HRESULT RecordNavigate(IWebBrowser2*, BSTR url, VARIANT*, VARIANT*, VARIANT*, VARIANT*) {
  ++g_navigation.calls;
  g_navigation.url = url ? url : L"";
  return g_navigation.answer;
}

HRESULT NoControl(IUnknown** control) {
  *control = nullptr;
  return REGDB_E_CLASSNOTREG;
}

// The folder of this test program, found independently of the code under test.
std::wstring ExeFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L"\\:") + 1);
}

class HelpWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    App().Initialize();
    // The main window comes first in the program, so the help window is never the main form.
    mainForm_ = new wingui::Form(&App());
    mainForm_->SetText("main");
    mainForm_->SetPosition(300, 200);
    mainForm_->Show();
  }

  void SetUp() override {
    browser_->Navigate = &RecordNavigate;
    g_navigation = {};
  }

  void TearDown() override { form_.reset(); }

  TForm2& Make() {
    form_ = std::make_unique<TForm2>(&App());
    return *form_;
  }

  // True when a comes before b in the z-order of top-level windows.
  static bool InFrontOf(HWND a, HWND b) {
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
      if (w == a) return true;
      if (w == b) return false;
    }
    return false;
  }

  static wingui::Form* mainForm_;
  BoxRecorder boxes_;
  launch::SeamScope<help::BrowserCalls> browser_{help::BrowserSeam()};
  std::unique_ptr<TForm2> form_;
};
wingui::Form* HelpWindow::mainForm_ = nullptr;

TEST_F(HelpWindow, IsAVisibleFixedToolWindowAtTheTopLeftOwnedByTheApplication) {
  dpi_test::ExpectTheRunsSetUp();
  const int dpi = dpi_test::ScreenDpi();
  TForm2& form = Make();
  HWND hwnd = form.Handle();
  ASSERT_NE(App().MainForm(), &form);

  char caption[32] = {};
  GetWindowTextA(hwnd, caption, sizeof caption);
  EXPECT_STREQ(caption, "HELP");
  RECT client;
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, Scaled(555, dpi));
  EXPECT_EQ(client.bottom, Scaled(496, dpi));
  RECT outer;
  GetWindowRect(hwnd, &outer);
  EXPECT_EQ(outer.left, 0);
  EXPECT_EQ(outer.top, 0);

  const LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
  const LONG_PTR exStyle = GetWindowLongPtrA(hwnd, GWL_EXSTYLE);
  EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_EQ(GetClassLongPtrA(hwnd, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);

  EXPECT_EQ(GetWindow(hwnd, GW_OWNER), App().Handle());
  EXPECT_NE(GetWindow(hwnd, GW_OWNER), mainForm_->Handle());

  // The browser: the only child, fixed at 553 x 497 (designed) in the client's corner.
  HWND browser = form.WebBrowser1->Handle();
  ASSERT_NE(browser, nullptr);
  EXPECT_EQ(GetParent(browser), hwnd);
  EXPECT_EQ(GetWindow(hwnd, GW_CHILD), browser);
  EXPECT_EQ(GetWindow(browser, GW_HWNDNEXT), nullptr);
  const RECT r = dpi_test::RectIn(hwnd, browser);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right - r.left, Scaled(553, dpi));
  EXPECT_EQ(r.bottom - r.top, Scaled(497, dpi));
  EXPECT_EQ(form.PopupMenu1->Items().Count(), 0);
  EXPECT_TRUE(form.PopupMenu1->AutoPopup());
}

TEST_F(HelpWindow, NavigatesOnceToTheHelpPageBesideTheProgramWhateverTheCurrentDirectory) {
  char saved[MAX_PATH], temp[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, saved);
  GetTempPathA(MAX_PATH, temp);
  ASSERT_TRUE(SetCurrentDirectoryA(temp));
  Make();
  SetCurrentDirectoryA(saved);

  EXPECT_EQ(g_navigation.calls, 1);
  EXPECT_EQ(g_navigation.url, ExeFolder() + L"help.html");
  EXPECT_EQ(g_navigation.url.find(L"file:"), std::wstring::npos);
  EXPECT_EQ(boxes_.Boxes().size(), 0u);
}

TEST_F(HelpWindow, ANavigateFailureIsShownInTheErrorBoxAndCreationGoesOn) {
  g_navigation.answer = static_cast<HRESULT>(0xA0001234);
  TForm2& form = Make();
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Boxes()[0].text, "OLE error a0001234.");
  EXPECT_EQ(boxes_.Boxes()[0].caption, App().Title());
  EXPECT_TRUE(boxes_.Boxes()[0].type & MB_ICONSTOP);
  EXPECT_TRUE(IsWindowVisible(form.Handle()));
}

TEST_F(HelpWindow, ABrowserThatCannotBeCreatedFailsTheWindowsCreation) {
  browser_->CreateControl = &NoControl;
  EXPECT_THROW(Make(), help::OleError);
  EXPECT_EQ(FindWindowA(nullptr, "HELP"), nullptr);
}

TEST_F(HelpWindow, ClosingHidesAndShowHelpBringsTheSameWindowBackWithoutReloading) {
  TForm2& form = Make();
  HWND hwnd = form.Handle();
  ASSERT_EQ(g_navigation.calls, 1);

  form.Close();
  EXPECT_FALSE(IsWindowVisible(hwnd));
  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_EQ(App().MainForm(), mainForm_) << "closing the help window touched the main window";
  EXPECT_TRUE(IsWindowVisible(mainForm_->Handle()));

  form.ShowHelp();
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_EQ(form.Handle(), hwnd);
  EXPECT_TRUE(InFrontOf(hwnd, mainForm_->Handle()));

  // The close box and Alt+F4 arrive as SC_CLOSE: hidden as well.
  SendMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
  PumpFor(50);
  EXPECT_FALSE(IsWindowVisible(hwnd));

  // Already visible behind the main window: brought to the front.
  form.ShowHelp();
  mainForm_->BringToFront();
  ASSERT_TRUE(InFrontOf(mainForm_->Handle(), hwnd));
  form.ShowHelp();
  EXPECT_TRUE(InFrontOf(hwnd, mainForm_->Handle()));
  EXPECT_EQ(g_navigation.calls, 1);
}

TEST_F(HelpWindow, ContextMenuRequestOnTheBrowserPopsUpTheEmptyMenuAndStopsThere) {
  TForm2& form = Make();
  int popups = 0;
  form.PopupMenu1->OnPopup = [&] { ++popups; };
  HWND browser = form.WebBrowser1->Handle();
  EXPECT_EQ(SendMessageA(browser, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(browser),
                         MAKELPARAM(100, 100)),
            0);
  EXPECT_EQ(popups, 1);

  // Switched off, the menu stays shut.
  form.PopupMenu1->SetAutoPopup(false);
  SendMessageA(browser, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(browser), MAKELPARAM(100, 100));
  EXPECT_EQ(popups, 1);
}

TEST_F(HelpWindow, OnADisplayOfAnotherScaleTheBrowserTakesItsDesignedPlaceAgain) {
  TForm2& form = Make();
  HWND hwnd = form.Handle();
  HWND browser = form.WebBrowser1->Handle();
  const int dpi = dpi_test::ScreenDpi();
  for (const int moved : {dpi == 144 ? 192 : 144, dpi}) {
    SCOPED_TRACE(moved);
    RECT suggested{0, 0, Scaled(600, moved), Scaled(540, moved)};
    SendMessageA(hwnd, WM_DPICHANGED, MAKEWPARAM(moved, moved),
                 reinterpret_cast<LPARAM>(&suggested));
    const RECT r = dpi_test::RectIn(hwnd, browser);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, Scaled(553, moved));
    EXPECT_EQ(r.bottom, Scaled(497, moved));
    // The control's own window fills the area at its new size.
    HWND inner = GetWindow(browser, GW_CHILD);
    ASSERT_NE(inner, nullptr);
    RECT area, control;
    GetClientRect(browser, &area);
    GetWindowRect(inner, &control);
    EXPECT_EQ(control.right - control.left, area.right);
    EXPECT_EQ(control.bottom - control.top, area.bottom);
  }
}

// Stands in for the object the browser control names active: records the keys it is offered
// and answers as told.
class FakeActiveObject final : public IOleInPlaceActiveObject {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, __uuidof(IOleWindow)) ||
        IsEqualIID(riid, __uuidof(IOleInPlaceActiveObject))) {
      *object = this;
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }
  HRESULT STDMETHODCALLTYPE GetWindow(HWND*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG msg) override {
    offered.push_back(static_cast<UINT>(msg->wParam));
    return answer;
  }
  HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }

  ULONG references = 1;
  HRESULT answer = S_OK;
  std::vector<UINT> offered;
};

// A key for the help window goes to the browser control's active object before the window's
// own dialog keys: what the control uses (Tab between a page's links, Ctrl+C) goes no further.
// The active object is reached as the control reaches it, through the site it was given.
// (Wine has no HTML engine here, so what a real page does with the keys cannot be shown.)
TEST_F(HelpWindow, KeysGoToTheBrowsersActiveObjectFirst) {
  TForm2& form = Make();
  wingui::ComPtr<IOleObject> object;
  ASSERT_HRESULT_SUCCEEDED(
      form.WebBrowser1->Browser()->QueryInterface(__uuidof(IOleObject), object.PutVoid()));
  wingui::ComPtr<IOleClientSite> site;
  ASSERT_HRESULT_SUCCEEDED(object->GetClientSite(site.Put()));
  wingui::ComPtr<IOleInPlaceFrame> frame;
  ASSERT_HRESULT_SUCCEEDED(site->QueryInterface(__uuidof(IOleInPlaceFrame), frame.PutVoid()));
  FakeActiveObject active;
  frame->SetActiveObject(&active, nullptr);
  EXPECT_EQ(active.references, 2u) << "the window keeps the active object";

  HWND browser = form.WebBrowser1->Handle();
  MSG tab{browser, WM_KEYDOWN, VK_TAB, 0, 0, {}};
  EXPECT_TRUE(form.PreTranslateMessage(tab)) << "the control used the key";
  EXPECT_EQ(active.offered, std::vector<UINT>{VK_TAB});

  // A key the control leaves goes on to the window's own keys, after it was offered.
  active.answer = S_FALSE;
  MSG copy{browser, WM_KEYDOWN, 'C', 0, 0, {}};
  form.PreTranslateMessage(copy);
  EXPECT_EQ(active.offered, (std::vector<UINT>{VK_TAB, 'C'}));

  // Anything but a key, or a key for another window, is not offered.
  MSG paint{browser, WM_PAINT, 0, 0, 0, {}};
  form.PreTranslateMessage(paint);
  MSG elsewhere{mainForm_->Handle(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
  form.PreTranslateMessage(elsewhere);
  EXPECT_EQ(active.offered.size(), 2u);

  frame->SetActiveObject(nullptr, nullptr);
  EXPECT_EQ(active.references, 1u) << "and lets it go when the control names none";
}

}  // namespace
