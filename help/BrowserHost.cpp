// Hosting of the web-browser control: an area window of our own, the container object as
// its client site, and in-place activation into the area. Every interface is held by a
// ComPtr; teardown deactivates and closes the control before the site lets go of it.
#include "help/BrowserHost.h"

#include <oleauto.h>

#include "help/BrowserSite.h"
#include "help/OleErrors.h"
#include "wingui/ExceptionBoundary.h"

namespace help {
namespace {

constexpr char kAreaClass[] = "LanvoraBrowserArea";

// {8856F961-340A-11D0-A96B-00C04FD705A2}
constexpr CLSID kWebBrowserClass = {
    0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};
// {D30C1661-CDAF-11D0-8A3E-00C04FC9E26E}
constexpr IID kWebBrowser2 = {
    0xD30C1661, 0xCDAF, 0x11D0, {0x8A, 0x3E, 0x00, 0xC0, 0x4F, 0xC9, 0xE2, 0x6E}};

HRESULT CreateWebBrowser(IUnknown** control) {
  return CoCreateInstance(kWebBrowserClass, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                          __uuidof(IUnknown), reinterpret_cast<void**>(control));
}

HRESULT NavigateWebBrowser(IWebBrowser2* browser, BSTR url, VARIANT* flags,
                           VARIANT* targetFrameName, VARIANT* postData, VARIANT* headers) {
  return browser->Navigate(url, flags, targetFrameName, postData, headers);
}

// The automation convention for an optional argument that is not given.
VARIANT Omitted() {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_ERROR;
  v.scode = DISP_E_PARAMNOTFOUND;
  return v;
}

// Owns the BSTR for the duration of one call.
class Bstr {
 public:
  explicit Bstr(const std::wstring& text)
      : s_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {
    if (!s_) CheckOle(E_OUTOFMEMORY);
  }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  ~Bstr() { SysFreeString(s_); }
  BSTR Get() const { return s_; }

 private:
  BSTR s_;
};

}  // namespace

launch::Seam<BrowserCalls>& BrowserSeam() {
  static launch::Seam<BrowserCalls> seam{
      {.CreateControl = &CreateWebBrowser, .Navigate = &NavigateWebBrowser}};
  return seam;
}

BrowserHost::BrowserHost(HWND parent, int left, int top, int width, int height) {
  wingui::RegisterWindowClass({.name = kAreaClass,
                               .cursor = LoadCursorA(nullptr, IDC_ARROW),
                               .background = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)});
  MakeWindow(
      {.className = kAreaClass,
       .style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN,
       .left = left,
       .top = top,
       .width = width,
       .height = height,
       .parent = parent});
  // A control that cannot be activated lets go of what it was given; the area goes with the
  // half-made host.
  try {
    Activate();
  } catch (...) {
    Deactivate();
    throw;
  }
}

// The control is let go of while its area still exists; the area goes with the host.
BrowserHost::~BrowserHost() { Deactivate(); }

void BrowserHost::Activate() {
  wingui::ComPtr<IUnknown> control;
  CheckOle(BrowserSeam().InUse.CreateControl(control.Put()));
  CheckOle(control->QueryInterface(__uuidof(IOleObject), object_.PutVoid()));
  CheckOle(control->QueryInterface(kWebBrowser2, browser_.PutVoid()));

  site_ = new BrowserSite(Handle());
  CheckOle(object_->SetClientSite(static_cast<IOleClientSite*>(site_)));
  RECT bounds;
  GetClientRect(Handle(), &bounds);
  CheckOle(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(site_),
                           0, Handle(), &bounds));
}

bool BrowserHost::TranslateKey(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  if (!HandleAllocated()) return false;
  const HWND area = Handle();
  if (msg.hwnd != area && !IsChild(area, msg.hwnd)) return false;
  // The object the control named active; while it named none (only in place, not yet
  // activated for the user), the control's own.
  wingui::ComPtr<IOleInPlaceActiveObject> own;
  IOleInPlaceActiveObject* active = site_ ? site_->ActiveObject() : nullptr;
  if (!active && browser_ &&
      SUCCEEDED(browser_->QueryInterface(__uuidof(IOleInPlaceActiveObject), own.PutVoid()))) {
    active = own.Get();
  }
  return active && active->TranslateAccelerator(&msg) == S_OK;
}

void BrowserHost::Deactivate() {
  if (object_) {
    wingui::ComPtr<IOleInPlaceObject> inPlace;
    if (SUCCEEDED(object_->QueryInterface(__uuidof(IOleInPlaceObject), inPlace.PutVoid())))
      inPlace->InPlaceDeactivate();
    object_->Close(OLECLOSE_NOSAVE);
    object_->SetClientSite(nullptr);
  }
  browser_.Reset();
  object_.Reset();
  if (site_) {
    // The control may still hold references; it must not reach a window that is gone.
    site_->Detach();
    site_->Release();
    site_ = nullptr;
  }
}

void BrowserHost::Navigate(const std::wstring& url) {
  Bstr address(url);
  VARIANT flags = Omitted(), targetFrameName = Omitted(), postData = Omitted(),
          headers = Omitted();
  // A stale description from an earlier call must not be taken for this call's.
  SetErrorInfo(0, nullptr);
  CheckOle(BrowserSeam().InUse.Navigate(browser_.Get(), address.Get(), &flags, &targetFrameName,
                                       &postData, &headers));
}

LRESULT BrowserHost::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  const HWND hwnd = Handle();
  switch (msg) {
    case WM_CONTEXTMENU: {
      POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (at.x == -1 && at.y == -1) {
        // From the keyboard: no pointer position, so the menu opens at the area's corner.
        at = POINT{0, 0};
        ClientToScreen(hwnd, &at);
      }
      // A menu that fails lets the request go on, as if there were no menu.
      bool handled = false;
      if (OnContextPopup) wingui::CallGuarded([&] { handled = OnContextPopup(at.x, at.y); });
      if (handled) return 0;
      break;
    }
    case WM_SIZE:
      // The control fills the area at whatever size the area is given (the window's layout
      // at another display scale).
      if (object_) {
        wingui::ComPtr<IOleInPlaceObject> inPlace;
        if (SUCCEEDED(object_->QueryInterface(__uuidof(IOleInPlaceObject), inPlace.PutVoid()))) {
          RECT bounds;
          GetClientRect(hwnd, &bounds);
          inPlace->SetObjectRects(&bounds, &bounds);
        }
      }
      break;
    case WM_SETFOCUS:
      // The area itself takes no keys: the focus belongs to the control's own window.
      if (HWND inner = GetWindow(hwnd, GW_CHILD)) SetFocus(inner);
      return 0;
  }
  return DefaultMessage(msg, wParam, lParam);
}

}  // namespace help
