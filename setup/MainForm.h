// The main window: the one real user interface of the program. The player edits the launch
// settings here and starts the game; the window also owns the tray icon, its menu and the
// timer that keeps the menu's players item in step with the allowed list.
// The handlers only copy field texts into launch/ records and back; launch/ does the work.
#pragma once

#include <string>
#include <vector>

#include "launch/Launch.h"
#include "tray/TrayIcon.h"
#include "wingui/Controls.h"
#include "wingui/Dialogs.h"
#include "wingui/Form.h"
#include "wingui/Menus.h"
#include "wingui/Timer.h"

namespace help {
class TForm2;
}
namespace players {
class TForm3;
}

namespace setup {

// The two network modes, held only as the checked radio button and the visibility of the
// controls that depend on it.
enum class NetworkMode { AllowIps, Broadcast };

class TForm1 : public wingui::Form {
 public:
  explicit TForm1(wingui::Component* owner);
  ~TForm1() override;

  // The help window that "Help" shows (created after this window).
  void SetHelpWindow(help::TForm2* helpWindow) { helpWindow_ = helpWindow; }

  // The players window while it exists (made by the first "Find players").
  players::TForm3* PlayersWindow() const { return playersWindow_; }

  // The four settings fields as they are now.
  launch::LaunchSettings CurrentSettings() const;
  launch::AllowedList AllowedEntries() const;
  const std::string& LaunchPath() const { return launchPath_; }
  const std::vector<std::string>& LocalAddressList() const { return localAddressList_; }

  // ---- controls, in the order of the layout ----
  wingui::Label* Label1 = nullptr;
  wingui::Label* Label9 = nullptr;
  wingui::Label* Label6 = nullptr;
  wingui::Edit* Edit5 = nullptr;
  wingui::Button* Button5 = nullptr;
  wingui::Label* Label5 = nullptr;
  wingui::Edit* Edit4 = nullptr;
  wingui::Label* Label4 = nullptr;
  wingui::Edit* Edit3 = nullptr;
  wingui::Button* Button11 = nullptr;
  wingui::Label* Label2 = nullptr;
  wingui::Edit* Edit1 = nullptr;
  wingui::Button* Button1 = nullptr;
  // "&Find players": opens the players window (the LAN lobby).
  wingui::Button* FindPlayers1 = nullptr;
  wingui::GroupBox* RadioGroup1 = nullptr;
  wingui::RadioButton* rbc = nullptr;
  wingui::RadioButton* rip = nullptr;
  wingui::Label* Label3 = nullptr;
  wingui::Edit* Edit2 = nullptr;
  wingui::Edit* Edit6 = nullptr;
  wingui::Button* Button2 = nullptr;
  wingui::ListBox* ListBox1 = nullptr;
  wingui::Button* Button4 = nullptr;
  wingui::Button* Button6 = nullptr;
  wingui::Button* Button3 = nullptr;
  wingui::Button* Button8 = nullptr;
  wingui::Button* Button10 = nullptr;
  wingui::Button* Button7 = nullptr;
  wingui::Label* Label7 = nullptr;

  // ---- non-visual members ----
  wingui::OpenDialog* OpenDialog1 = nullptr;
  wingui::PopupMenu* PopupMenu1 = nullptr;
  wingui::MenuItem* CopyYourIP1 = nullptr;
  wingui::MenuItem* Players = nullptr;
  wingui::MenuItem* ipeet1 = nullptr;
  wingui::MenuItem* Play1 = nullptr;
  wingui::MenuItem* Play2 = nullptr;
  wingui::MenuItem* Exit1 = nullptr;
  wingui::Timer* Timer1 = nullptr;
  tray::TTrayIcon* TrayIcon2 = nullptr;

  // ---- handlers ----
  void Button1Click();
  void Button2Click();
  void Button3Click();
  void Button4Click();
  void Button5Click();
  void Button6Click();
  void Button7Click();
  void Button8Click();
  void Button10Click();
  void Button11Click();
  void FindPlayers1Click();
  void rbcClick();
  void ripClick();
  void Label7MouseMove();
  void Label7MouseLeave();
  void Label7Click();
  void CopyYourIP1Click();
  void Play1Click();
  void Play2Click();
  void Exit1Click();
  void Timer1Timer();

  // The maker's page: the help page beside the program, whose first section says who made
  // the program and where to find help. The maker label shows its address while the pointer
  // is over it, and a click opens it in the user's web browser.
  static constexpr char kMakerPage[] = "help.html";
  static constexpr char kMakerCaption[] = "Pelmar 2005";

 protected:
  void FormCreate() override;

 private:
  void BuildControls();
  void BuildTrayMenu();
  void SetMode(NetworkMode mode);
  void ReplaceAllowedList(launch::AllowedList entries);
  void TakeDiscoveredAddresses(std::vector<std::string> addresses);
  launch::LaunchInputs CurrentLaunchInputs() const;
  // What a launch command asks before it writes a script the game would not run as meant:
  // the problems in one warning box, and whether to start the game all the same.
  launch::GoOnDespite AskBeforeProblems();

  // The allowed list itself; ListBox1 shows it row for row. Commands read the entries from
  // here, never back from the control, so every entry stays byte for byte as it was.
  launch::AllowedList allowed_;
  std::string launchPath_;
  std::vector<std::string> localAddressList_;
  // True once discovery has run in this run of the program.
  bool addressesDiscovered_ = false;
  help::TForm2* helpWindow_ = nullptr;
  // The players window, made when it is first opened (owned by the application).
  players::TForm3* playersWindow_ = nullptr;
  // Bumped by every change of the allowed list, so the timer rebuilds the players caption
  // only when there is something new to show.
  unsigned listVersion_ = 0;
  unsigned shownListVersion_ = ~0u;
};

}  // namespace setup
