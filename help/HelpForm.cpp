// Layout and creation of the help window. The page location is worked out once, from the
// executable's own path rather than the current directory, and handed to the browser as a
// plain path; the program never looks at what the browser does with it.
#include "help/HelpForm.h"

#include "launch/Paths.h"
#include "wingui/TextConversion.h"

namespace help {
namespace {

constexpr int kClientWidth = 555;
constexpr int kClientHeight = 496;
// The browser is one pixel higher than the client area and two pixels narrower; it is
// neither aligned nor anchored.
constexpr wingui::DesignedRect kBrowserBounds{0, 0, kClientWidth - 2, kClientHeight + 1};

}  // namespace

std::string HelpPagePath() { return launch::ProgramFolder() + std::string(kHelpPageName); }

TForm2::TForm2(wingui::Component* owner) : Form(owner, wingui::BorderStyle::ToolWindow) {
  BeginLoading();
  SetText("HELP");
  SetClientWidth(kClientWidth);
  SetClientHeight(kClientHeight);
  SetPosition(0, 0);
  VisibleAtCreation = true;

  PopupMenu1 = new wingui::PopupMenu(this);
  const RECT browser = wingui::Scale(kBrowserBounds, Dpi());
  WebBrowser1 = std::make_unique<BrowserHost>(Handle(), browser.left, browser.top,
                                              browser.right - browser.left,
                                              browser.bottom - browser.top);
  PlaceWindow(WebBrowser1->Handle(), kBrowserBounds);
  WebBrowser1->OnContextPopup = [this](int x, int y) {
    if (!PopupMenu1->AutoPopup()) return false;
    PopupMenu1->Popup(x, y, Handle());
    return true;
  };
  EndCreation();
}

// The browser goes before the form's window, while the window it lives in still exists.
TForm2::~TForm2() { WebBrowser1.reset(); }

void TForm2::FormCreate() { WebBrowser1->Navigate(wingui::WideFromAnsi(HelpPagePath())); }

void TForm2::ShowHelp() { BringToFront(); }

bool TForm2::PreTranslateMessage(MSG& msg) {
  if (WebBrowser1 && WebBrowser1->TranslateKey(msg)) return true;
  return Form::PreTranslateMessage(msg);
}

}  // namespace help
