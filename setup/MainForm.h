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
#include "wingui/ListBox.h"
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

  // The help window that "Help" shows (created after this window).
  void SetHelpWindow(help::TForm2* helpWindow) { helpWindow_ = helpWindow; }

  // The players window while it exists (made by the first "Find players").
  players::TForm3* PlayersWindow() const { return playersWindow_; }

  // The four settings fields as they are now.
  launch::LaunchSettings CurrentSettings() const;
  launch::AllowedList AllowedEntries() const;
  const std::string& LaunchPath() const { return launchPath_; }
  const std::vector<std::string>& LocalAddressList() const { return localAddressList_; }

  // ---- controls, in the order of the layout (the names are the window's design's) ----
  wingui::Label* Label1 = nullptr;     // heading "Lanvora"
  wingui::Label* Label9 = nullptr;     // the date under the heading
  wingui::Label* Label6 = nullptr;     // "Duke3D .EXE:"
  wingui::Edit* Edit5 = nullptr;       // the game's executable
  wingui::Button* Button5 = nullptr;   // "..": browse for the game
  wingui::Label* Label5 = nullptr;     // "Nick:"
  wingui::Edit* Edit4 = nullptr;       // the nick
  wingui::Label* Label4 = nullptr;     // "Interface:"
  wingui::Edit* Edit3 = nullptr;       // the interface address
  wingui::Button* Button11 = nullptr;  // "Get": this host's own address
  wingui::Label* Label2 = nullptr;     // "Port:"
  wingui::Edit* Edit1 = nullptr;       // the port
  wingui::Button* Button1 = nullptr;   // "&Default" port
  wingui::Button* FindPlayers1 = nullptr;  // "&Find players": the players window
  wingui::GroupBox* RadioGroup1 = nullptr;  // the frame behind the two mode buttons
  wingui::RadioButton* rbc = nullptr;  // "Broadcast on LAN" mode
  wingui::RadioButton* rip = nullptr;  // "Allow IP's" mode
  wingui::Label* Label3 = nullptr;     // "Allowed IP List:" or "Number Of Players:"
  wingui::Edit* Edit2 = nullptr;       // the address to add
  wingui::Edit* Edit6 = nullptr;       // the number of players
  wingui::Button* Button2 = nullptr;   // "&Add" the address
  wingui::ListBox* ListBox1 = nullptr;  // the allowed list
  wingui::Button* Button4 = nullptr;   // "Remove &Selected"
  wingui::Button* Button6 = nullptr;   // "Save"
  wingui::Button* Button3 = nullptr;   // "Save && Play", "Allow IP's" mode
  wingui::Button* Button8 = nullptr;   // "Save && &Play", "Broadcast on LAN" mode
  wingui::Button* Button10 = nullptr;  // "Help"
  wingui::Button* Button7 = nullptr;   // "&Exit"
  wingui::Label* Label7 = nullptr;     // the maker label

  // ---- non-visual members ----
  wingui::OpenDialog* OpenDialog1 = nullptr;  // the browse dialog
  wingui::PopupMenu* PopupMenu1 = nullptr;    // the tray menu
  wingui::MenuItem* CopyYourIP1 = nullptr;    // "IP": copies this host's addresses
  wingui::MenuItem* Players = nullptr;        // the submenu showing the allowed list
  wingui::MenuItem* ipeet1 = nullptr;         // its one item: the list as comma text
  wingui::MenuItem* Play1 = nullptr;          // "Save"
  wingui::MenuItem* Play2 = nullptr;          // "Save && Play", always broadcast
  wingui::MenuItem* Exit1 = nullptr;          // "Exit"
  wingui::Timer* Timer1 = nullptr;            // keeps the players item in step
  tray::TTrayIcon* TrayIcon2 = nullptr;       // the notification-area icon

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

  // The maker's name: the maker label's caption and the application's title (the taskbar
  // button, the caption of every box). The maker's page is the help page beside the program,
  // whose first section says who made the program and where to find help: the maker label
  // shows its name while the pointer is over it, and a click opens it in the web browser.
  static constexpr char kMakerName[] = "Pelmar 2005";

 protected:
  void FormCreate() override;

 private:
  void BuildControls();
  void BuildTrayMenu();
  void SetMode(NetworkMode mode);
  // "Save && Play" of that mode (Button3, Button8); false when a warning stopped it.
  bool SaveAndPlay(NetworkMode mode);
  // Appends to the allowed list ("&Add", and what the players window adds).
  void AppendEntries(const std::vector<std::string>& entries);
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
