// The system web-browser control embedded in a child area of a window. The program makes
// exactly one kind of request on it, Navigate; it handles none of the control's events.
#pragma once

#include <windows.h>
#include <exdisp.h>

#include <functional>
#include <string>

#include "launch/Seam.h"
#include "wingui/Handles.h"
#include "wingui/WindowBinding.h"

namespace help {

class BrowserSite;

// The two platform steps the host takes, which tests replace: creating the control and the
// navigation request itself. The browser seam (launch/Seam.h).
struct BrowserCalls {
  HRESULT (*CreateControl)(IUnknown** control);
  HRESULT (*Navigate)(IWebBrowser2* browser, BSTR url, VARIANT* flags, VARIANT* targetFrameName,
                      VARIANT* postData, VARIANT* headers);
};

launch::Seam<BrowserCalls>& BrowserSeam();

// The area window is owned the one way every window is (WindowBinding.h): Handle() is the area
// the control is activated in, destroyed with the host (and, when the control cannot be
// activated, with the half-made host).
class BrowserHost : public wingui::WindowOwner {
 public:
  // Creates the area window inside parent and activates the control in it. A control that
  // cannot be created or activated is an OleError out of the constructor.
  BrowserHost(HWND parent, int left, int top, int width, int height);
  ~BrowserHost() override;

  IWebBrowser2* Browser() const { return browser_.Get(); }

  // Offers a key message aimed at the control to its active object first, as an embedding
  // host does (Tab between the page's links, the page's own Ctrl+C): true when the control
  // used it up.
  bool TranslateKey(MSG& msg);

  // One Navigate request: url, with Flags, TargetFrameName, PostData and Headers omitted.
  // A failure code becomes an OleError with the component's own text.
  void Navigate(const std::wstring& url);

  // Runs for a context-menu request that reaches the control's window, with the screen
  // point (the area's top-left corner for the menu key). Answering true means the request
  // was handled there and goes no further; false passes it on as usual.
  std::function<bool(int x, int y)> OnContextPopup;

 private:
  // The area window's messages.
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void Activate();
  void Deactivate();

  BrowserSite* site_ = nullptr;
  wingui::ComPtr<IOleObject> object_;
  wingui::ComPtr<IWebBrowser2> browser_;
};

}  // namespace help
