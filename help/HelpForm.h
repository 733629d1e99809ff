// The help window: a tool window at the screen's top-left corner showing "help.html" from
// the program's folder in the web-browser control. Closing it only hides it; ShowHelp
// brings the same window, with the same page, back to the front.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "help/BrowserHost.h"
#include "wingui/Form.h"
#include "wingui/Menus.h"

namespace help {

// The help page beside the program: the help window shows it, the maker label opens it.
inline constexpr std::string_view kHelpPageName = "help.html";
std::string HelpPagePath();

class TForm2 : public wingui::Form {
 public:
  // Builds the window, its browser and its menu and runs FormCreate. A browser control
  // that cannot be created is an error out of the constructor.
  explicit TForm2(wingui::Component* owner);
  ~TForm2() override;

  // Visible if hidden, and in front of the other windows; the page is not reloaded.
  void ShowHelp();

  // The browser control gets the keyboard first; what it leaves goes to the window's own
  // dialog keys.
  bool PreTranslateMessage(MSG& msg) override;

  std::unique_ptr<BrowserHost> WebBrowser1;
  // The browser's context menu: no items, so a request shows nothing and goes no further.
  wingui::PopupMenu* PopupMenu1 = nullptr;

 protected:
  void FormCreate() override;
};

}  // namespace help
