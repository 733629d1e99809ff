// The web-browser host: the real control activated in its area, the single Navigate request
// and its omitted arguments (through the call table), failure texts, a control that cannot
// be created, and context-menu requests that stop at the control's window.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "help/BrowserHost.h"
#include "help/OleErrors.h"

namespace {

using help::BrowserCalls;
using help::BrowserHost;
using help::OleError;

class ComEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
  void TearDown() override { CoUninitialize(); }
};
const auto* const g_com = ::testing::AddGlobalTestEnvironment(new ComEnvironment);

int g_parentContextMenus = 0;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CONTEXTMENU) {
    ++g_parentContextMenus;
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// A plain top-level window to host the area in.
class HostWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "BrowserHostTestParent";
    RegisterClassA(&wc);
    parent_ = CreateWindowExA(0, wc.lpszClassName, "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                              700, 600, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(parent_, nullptr);
    g_parentContextMenus = 0;
  }
  void TearDown() override { DestroyWindow(parent_); }

  static int CountChildren(HWND hwnd) {
    int count = 0;
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      ++count;
    return count;
  }

  HWND parent_ = nullptr;
  launch::SeamScope<help::BrowserCalls> browser_{help::BrowserSeam()};
};

TEST_F(HostWindow, RealControlIsActivatedInsideItsAreaAndAcceptsALocalPath) {
  BrowserHost host(parent_, 0, 0, 553, 497);
  ASSERT_NE(host.Handle(), nullptr);
  ASSERT_NE(host.Browser(), nullptr);
  EXPECT_EQ(GetParent(host.Handle()), parent_);
  RECT r;
  GetWindowRect(host.Handle(), &r);
  MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right - r.left, 553);
  EXPECT_EQ(r.bottom - r.top, 497);
  // In-place activation gives the control a window of its own inside the area.
  EXPECT_GE(CountChildren(host.Handle()), 1);

  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  const std::string page = std::string(folder) + "browser-host-test.html";
  std::ofstream(page) << "<html><body>page</body></html>";
  EXPECT_NO_THROW(host.Navigate(std::wstring(page.begin(), page.end())));
  DeleteFileA(page.c_str());
}

struct NavigateRecord {
  int calls = 0;
  std::wstring url;
  UINT urlLength = 0;
  std::vector<VARIANT> optional;
  IWebBrowser2* browser = nullptr;
  HRESULT answer = S_OK;
  const wchar_t* description = nullptr;
};
NavigateRecord g_navigate;

HRESULT RecordingNavigate(IWebBrowser2* browser, BSTR url, VARIANT* flags, VARIANT* frame,
                          VARIANT* postData, VARIANT* headers) {
  ++g_navigate.calls;
  g_navigate.browser = browser;
  g_navigate.url = url ? url : L"";
  g_navigate.urlLength = SysStringLen(url);
  g_navigate.optional.clear();
  for (VARIANT* v : {flags, frame, postData, headers}) g_navigate.optional.push_back(*v);
  if (g_navigate.description) {
    ICreateErrorInfo* create = nullptr;
    if (SUCCEEDED(CreateErrorInfo(&create))) {
      create->SetDescription(const_cast<wchar_t*>(g_navigate.description));
      IErrorInfo* info = nullptr;
      create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info));
      SetErrorInfo(0, info);
      info->Release();
      create->Release();
    }
  }
  return g_navigate.answer;
}

TEST_F(HostWindow, NavigateMakesOneRequestWithTheUrlAndFourOmittedArguments) {
  BrowserHost host(parent_, 0, 0, 553, 497);
  g_navigate = {};
  browser_->Navigate = &RecordingNavigate;
  const std::wstring url = L"C:\\Games\\Lanvora \u00e9t\u00e9\\help.html";
  host.Navigate(url);
  EXPECT_EQ(g_navigate.calls, 1);
  EXPECT_EQ(g_navigate.browser, host.Browser());
  EXPECT_EQ(g_navigate.url, url);
  EXPECT_EQ(g_navigate.urlLength, url.size());
  ASSERT_EQ(g_navigate.optional.size(), 4u);
  for (const VARIANT& v : g_navigate.optional) {
    EXPECT_EQ(v.vt, VT_ERROR);
    EXPECT_EQ(v.scode, DISP_E_PARAMNOTFOUND);
  }
}

std::string FailureText(BrowserHost& host, HRESULT code, const wchar_t* description) {
  g_navigate = {};
  g_navigate.answer = code;
  g_navigate.description = description;
  help::BrowserSeam().InUse.Navigate = &RecordingNavigate;
  try {
    host.Navigate(L"help.html");
  } catch (const OleError& e) {
    EXPECT_EQ(e.Code(), code);
    return e.what();
  }
  ADD_FAILURE() << "no error for " << std::hex << code;
  return {};
}

TEST_F(HostWindow, FailureTextsComeFromTheComponentThenTheSystemThenTheCode) {
  BrowserHost host(parent_, 0, 0, 553, 497);

  // The component's own description, with the trailing blanks, controls and stops gone.
  EXPECT_EQ(FailureText(host, E_FAIL, L"Navigation refused.. \r\n\t"), "Navigation refused");
  // A description left behind by an earlier call that succeeded is not taken for a later
  // failure's.
  g_navigate = {};
  g_navigate.description = L"left behind";
  host.Navigate(L"help.html");
  EXPECT_EQ(FailureText(host, 0xA0001234, nullptr), "OLE error a0001234");
  EXPECT_EQ(FailureText(host, static_cast<HRESULT>(0x8004FF0A), nullptr),
            "OLE error 8004ff0a");

  // No description: the system's text for the code, tidied the same way.
  const HRESULT denied = E_ACCESSDENIED;
  const std::string text = FailureText(host, denied, nullptr);
  char raw[512] = {};
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 static_cast<DWORD>(denied), 0, raw, sizeof raw, nullptr);
  ASSERT_NE(raw[0], '\0') << "the platform has no text for E_ACCESSDENIED";
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(std::string(raw).rfind(text, 0), 0u) << text << " | " << raw;
  EXPECT_NE(text.back(), '.');
  EXPECT_GT(static_cast<unsigned char>(text.back()), ' ');
}

HRESULT FailingCreate(IUnknown** control) {
  *control = nullptr;
  return REGDB_E_CLASSNOTREG;
}

HRESULT CreateNonControl(IUnknown** control) {
  return CreateErrorInfo(reinterpret_cast<ICreateErrorInfo**>(control));
}

// The error code construction fails with (S_OK when it does not fail).
HRESULT ConstructionFailure(HWND parent) {
  try {
    BrowserHost host(parent, 0, 0, 553, 497);
  } catch (const OleError& e) {
    EXPECT_STRNE(e.what(), "");
    return e.Code();
  }
  return S_OK;
}

TEST_F(HostWindow, AControlThatCannotBeCreatedFailsConstructionAndLeavesNoArea) {
  browser_->CreateControl = &FailingCreate;
  EXPECT_EQ(ConstructionFailure(parent_), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(CountChildren(parent_), 0);

  // An object that is no embeddable control at all.
  browser_->CreateControl = &CreateNonControl;
  EXPECT_EQ(ConstructionFailure(parent_), E_NOINTERFACE);
  EXPECT_EQ(CountChildren(parent_), 0);
}

TEST_F(HostWindow, ContextMenuRequestsStopAtTheControlWindow) {
  BrowserHost host(parent_, 0, 0, 553, 497);
  std::vector<POINT> popups;
  host.OnContextPopup = [&](int x, int y) {
    popups.push_back(POINT{x, y});
    return true;
  };

  EXPECT_EQ(SendMessageA(host.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(host.Handle()),
                         MAKELPARAM(120, 45)),
            0);
  // From the keyboard (-1, -1): at the area's top-left corner on the screen.
  SendMessageA(host.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(host.Handle()),
               MAKELPARAM(-1, -1));
  ASSERT_EQ(popups.size(), 2u);
  EXPECT_EQ(popups[0].x, 120);
  EXPECT_EQ(popups[0].y, 45);
  POINT corner{0, 0};
  ClientToScreen(host.Handle(), &corner);
  EXPECT_EQ(popups[1].x, corner.x);
  EXPECT_EQ(popups[1].y, corner.y);
  EXPECT_EQ(g_parentContextMenus, 0) << "the request went on to the parent window";

  // A request the handler declines goes on to the parent as usual.
  host.OnContextPopup = [](int, int) { return false; };
  SendMessageA(host.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(host.Handle()),
               MAKELPARAM(120, 45));
  EXPECT_EQ(g_parentContextMenus, 1);
}

}  // namespace
