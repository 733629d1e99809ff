// The main window's controls and tray menu, and its handlers: field texts are copied into
// launch/ records for saving, launching and checking, and back from them when loaded; the
// tray menu and its timer follow the fields.
#include "setup/MainForm.h"

#include <windows.h>

#include "help/HelpForm.h"
#include "launch/GameAddress.h"
#include "launch/NetScript.h"
#include "launch/Paths.h"
#include "launch/SettingsFiles.h"
#include "players/NetworkAdapters.h"
#include "players/PlayersForm.h"
#include "setup/Clipboard.h"
#include "setup/CommaText.h"
#include "setup/LocalAddresses.h"
#include "setup/ProgramLook.h"
#include "wingui/ErrorBox.h"

namespace setup {
namespace {

constexpr char kDefaultGame[] = "duke3d_w32.exe";

using wingui::Place;

}  // namespace

TForm1::TForm1(wingui::Component* owner) : wingui::Form(owner, wingui::BorderStyle::Single) {
  BeginLoading();
  SetText(std::string("Lanvora - ") + kMakerName);
  SetClientHeight(495);
  SetIconResource(GetModuleHandleA(nullptr), kIconId);
  BuildControls();
  BuildTrayMenu();

  OpenDialog1 = new wingui::OpenDialog(this);

  Timer1 = new wingui::Timer(this);
  Timer1->SetInterval(100);
  Timer1->OnTimer = [this] { Timer1Timer(); };

  // The tray icon is set up through its setters alone, in the order of its properties; each
  // acts at once, so the icon is in the notification area from here on.
  TrayIcon2 = new tray::TTrayIcon(this);
  TrayIcon2->SetCycleInterval(0);
  wingui::Icon trayImage;
  trayImage.LoadFromResource(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kIconId),
                             tray::NotificationIconSize());
  TrayIcon2->SetIcon(trayImage);
  TrayIcon2->SetIconVisible(true);
  TrayIcon2->SetIconIndex(0);
  TrayIcon2->SetPopupMenu(PopupMenu1);

  EndCreation();
}

void TForm1::BuildControls() {
  using wingui::Button;
  using wingui::Edit;
  using wingui::Label;

  // Controls are made in tab order (a label just before its field), so the windows already
  // stack the way the dialog keys walk them and nothing has to be restacked afterwards.
  Label1 = Place(new Label(this, "Lanvora"), 40, 0, 261, 23);
  Label1->SetFont(kHeadingFace, 16, kHeadingWeight);
  Label9 = Place(new Label(this, "13.2.2005"), 304, 0, 41, 11);
  Label9->SetFont(kHeadingFace, 8, kHeadingWeight);

  Label2 = Place(new Label(this, "Port:"), 64, 104, 22, 13, 0);
  Edit1 = Place(new Edit(this, std::to_string(launch::kGamePort)), 88, 104, 41, 21, 0);
  Button1 = Place(new Button(this, "&Default"), 128, 104, 57, 21, 1);
  Button1->OnClick = [this] { Button1Click(); };
  // Beside "&Default", in the room the port row leaves: no other control moves.
  FindPlayers1 = Place(new Button(this, "&Find players"), 200, 104, 113, 21, 1);
  FindPlayers1->OnClick = [this] { FindPlayers1Click(); };
  ListBox1 = Place(new wingui::ListBox(this), 24, 228, 297, 169, 2);
  Label3 = Place(new Label(this, "Allowed IP List:"), 24, 188, 72, 13, 3);
  // Its caption changes with the mode; the longer one must not be cut off.
  Label3->SetAutoSize(true);
  Edit2 = Place(new Edit(this, ""), 24, 204, 217, 21, 3);
  Button2 = Place(new Button(this, "&Add"), 240, 204, 81, 21, 4);
  Button2->OnClick = [this] { Button2Click(); };
  Label4 = Place(new Label(this, "Interface:"), 40, 80, 45, 13, 6);
  Edit3 = Place(new Edit(this, "Own IP"), 88, 80, 201, 21, 6);
  Label5 = Place(new Label(this, "Nick:"), 59, 56, 25, 13, 7);
  Edit4 = Place(new Edit(this, "JohnDoe"), 88, 56, 225, 21, 7);
  Button3 = Place(new Button(this, "Save && Play"), 97, 425, 73, 25, 9);
  Button3->OnClick = [this] { Button3Click(); };
  Button4 = Place(new Button(this, "Remove &Selected"), 24, 396, 297, 21, 10);
  Button4->OnClick = [this] { Button4Click(); };
  Label6 = Place(new Label(this, "Duke3D .EXE:"), 15, 32, 70, 13, 11);
  Edit5 = Place(new Edit(this, kDefaultGame), 88, 32, 201, 21, 11);
  Button5 = Place(new Button(this, ".."), 288, 32, 25, 21, 12);
  Button5->OnClick = [this] { Button5Click(); };
  Button6 = Place(new Button(this, "Save"), 17, 425, 73, 25, 14);
  Button6->OnClick = [this] { Button6Click(); };
  Button7 = Place(new Button(this, "&Exit"), 257, 425, 73, 25, 15);
  Button7->OnClick = [this] { Button7Click(); };
  rbc = Place(new wingui::RadioButton(this, "Broadcast on LAN"), 80, 152, 105, 17, 19);
  rip = Place(new wingui::RadioButton(this, "Allow IP's"), 200, 152, 65, 17, 20);
  rbc->Group = rip->Group = 1;
  rip->SetChecked(true);
  rbc->OnClick = [this] { rbcClick(); };
  rip->OnClick = [this] { ripClick(); };
  Edit6 = Place(new Edit(this, ""), 24, 205, 169, 21, 21);
  Edit6->Hide();
  Button8 = Place(new Button(this, "Save && &Play"), 97, 425, 73, 25, 22);
  Button8->Hide();
  Button8->OnClick = [this] { Button8Click(); };
  Button10 = Place(new Button(this, "Help"), 177, 425, 73, 25, 23);
  Button10->OnClick = [this] { Button10Click(); };
  Button11 = Place(new Button(this, "Get"), 288, 80, 25, 21, 24);
  Button11->SetHint("Works for most of the users!");
  Button11->OnClick = [this] { Button11Click(); };

  Label7 = Place(new Label(this, kMakerName), 0, 456, 353, 33, 25);
  Label7->SetFont(kHeadingFace, 24, kHeadingWeight);
  Label7->SetAlignment(wingui::Alignment::Center);
  Label7->OnMouseMove = [this] { Label7MouseMove(); };
  Label7->OnMouseLeave = [this] { Label7MouseLeave(); };
  Label7->OnClick = [this] { Label7Click(); };

  // The empty frame behind the two radio buttons stacks below every other control.
  RadioGroup1 = Place(new wingui::GroupBox(this), 24, 136, 297, 41, 18);
}

void TForm1::BuildTrayMenu() {
  using wingui::MenuItem;
  PopupMenu1 = new wingui::PopupMenu(this);

  CopyYourIP1 = new MenuItem(this, "IP");
  CopyYourIP1->OnClick = [this] { CopyYourIP1Click(); };
  Players = new MenuItem(this, "Players");
  ipeet1 = new MenuItem(this, "ipeet");
  Players->Add(ipeet1);
  Play1 = new MenuItem(this, "Save");
  Play1->OnClick = [this] { Play1Click(); };
  Play2 = new MenuItem(this, "Save && Play");
  Play2->OnClick = [this] { Play2Click(); };
  Exit1 = new MenuItem(this, "Exit");
  Exit1->OnClick = [this] { Exit1Click(); };

  for (MenuItem* item : {CopyYourIP1, Players, Play1, Play2, Exit1}) PopupMenu1->Items().Add(item);
}

void TForm1::FormCreate() {
  SetWidth(355);
  launchPath_ = kDefaultGame;
  const std::string settingsFile(launch::kSettingsFileName);
  const std::string allowedFile(launch::kAllowedListFileName);
  if (!launch::FileIsPresent(settingsFile)) {
    TakeDiscoveredAddresses(DiscoverLocalAddresses());
  } else {
    const launch::LaunchSettings settings = launch::ReadSettings(settingsFile);
    Edit5->SetText(settings.gameExe);
    Edit4->SetText(settings.nick);
    Edit3->SetText(settings.interfaceAddress);
    CopyYourIP1->SetCaption(settings.interfaceAddress);
    Edit1->SetText(settings.port);
  }
  if (launch::FileIsPresent(allowedFile)) {
    allowed_ = launch::ReadAllowedList(allowedFile);
    ListBox1->SetItems(allowed_);
    ++listVersion_;
  }
}

// ---- state helpers ----------------------------------------------------------------

launch::LaunchSettings TForm1::CurrentSettings() const {
  return {Edit5->Text(), Edit4->Text(), Edit3->Text(), Edit1->Text()};
}

launch::AllowedList TForm1::AllowedEntries() const { return allowed_; }

launch::LaunchInputs TForm1::CurrentLaunchInputs() const {
  // This computer's broadcast addresses, for the check of the entries: none when the adapters
  // cannot be listed.
  const std::optional<std::vector<lobby::Adapter>> adapters = players::ListAdapters();
  return {.settings = CurrentSettings(),
          .allowed = AllowedEntries(),
          .playersText = Edit6->Text(),
          .launchPath = launchPath_,
          .ownerWindow = reinterpret_cast<std::uintptr_t>(Handle()),
          .networks = lobby::LocalNetworksOf(adapters.value_or(std::vector<lobby::Adapter>{}),
                                             Edit3->Text()),
          .otherProblems = playersWindow_ ? playersWindow_->RecentGroupProblems()
                                          : std::vector<std::string>{}};
}

launch::GoOnDespite TForm1::AskBeforeProblems() {
  return [this](const std::vector<std::string>& problems) {
    // A list of a hundred thousand entries can have as many problems: the box shows the
    // first ones and counts the rest.
    constexpr size_t kShown = 10;
    std::string text = "The game may not start as meant with this set-up:\r\n";
    for (size_t i = 0; i < problems.size() && i < kShown; ++i) text += "\r\n- " + problems[i];
    if (problems.size() > kShown) {
      text += "\r\n- and " + std::to_string(problems.size() - kShown) + " more of these.";
    }
    text += "\r\n\r\nStart the game anyway?";
    return wingui::AskToGoOn(Handle(), wingui::App().Title(), text);
  };
}

void TForm1::AppendEntries(const std::vector<std::string>& entries) {
  for (const std::string& entry : entries) {
    ListBox1->Add(entry);
    allowed_.push_back(entry);
  }
  ++listVersion_;
}

void TForm1::TakeDiscoveredAddresses(std::vector<std::string> addresses) {
  localAddressList_ = std::move(addresses);
  addressesDiscovered_ = true;
  const std::string own = localAddressList_.empty() ? std::string() : localAddressList_.front();
  Edit3->SetText(own);
  CopyYourIP1->SetCaption(own);
}

void TForm1::SetMode(NetworkMode mode) {
  const bool allow = mode == NetworkMode::AllowIps;
  Label3->SetText(allow ? "Allowed IP List:" : "Number Of Players:");
  Edit2->SetVisible(allow);
  Edit6->SetVisible(!allow);
  Button2->SetVisible(allow);
  ListBox1->SetVisible(allow);
  Button3->SetVisible(allow);
  Button8->SetVisible(!allow);
}

// ---- window commands ----------------------------------------------------------------

void TForm1::Button1Click() { Edit1->SetText(std::to_string(launch::kGamePort)); }

void TForm1::Button2Click() {
  AppendEntries({launch::MakeAllowEntry(Edit2->Text(), Edit1->Text())});
}

void TForm1::Button4Click() {
  const int selected = ListBox1->ItemIndex();
  if (selected < 0 || selected >= static_cast<int>(allowed_.size())) return;
  ListBox1->Delete(selected);
  allowed_.erase(allowed_.begin() + selected);
  ++listVersion_;
}

void TForm1::Button5Click() {
  if (!OpenDialog1->Execute()) return;
  Edit5->SetText(OpenDialog1->FileName());
  launchPath_ = OpenDialog1->FileName();
}

void TForm1::Button6Click() {
  launch::SaveAll(launch::ProgramFolder(), CurrentSettings(), AllowedEntries());
}

void TForm1::Button3Click() { SaveAndPlay(NetworkMode::AllowIps); }

void TForm1::Button8Click() { SaveAndPlay(NetworkMode::Broadcast); }

bool TForm1::SaveAndPlay(NetworkMode mode) {
  if (mode == NetworkMode::AllowIps) {
    return launch::SaveAndPlayAllowList(CurrentLaunchInputs(), AskBeforeProblems());
  }
  return launch::SaveAndPlayBroadcast(CurrentLaunchInputs(), launch::ProgramFolder(),
                                      AskBeforeProblems());
}

void TForm1::Button10Click() {
  if (helpWindow_) helpWindow_->ShowHelp();
}

void TForm1::Button7Click() { Close(); }

void TForm1::Button11Click() { TakeDiscoveredAddresses(DiscoverLocalAddresses()); }

void TForm1::FindPlayers1Click() {
  if (!playersWindow_) {
    players::PlayersHost host;
    host.localPlayer = [this] {
      const bool broadcast = rbc->Checked();
      players::LocalPlayer me;
      me.nick = Edit4->Text();
      me.port = Edit1->Text();
      me.mode = broadcast ? lobby::PlayerMode::Broadcast : lobby::PlayerMode::AllowIps;
      me.interfaceField = Edit3->Text();
      me.gameExe = Edit5->Text();
      me.script = launch::BuildNetScript(
          broadcast ? launch::ScriptForm::Broadcast : launch::ScriptForm::AllowIps, me.interfaceField,
          me.port, allowed_, Edit6->Text());
      return me;
    };
    host.allowedList = [this] { return AllowedEntries(); };
    host.addEntries = [this](const std::vector<std::string>& entries) { AppendEntries(entries); };
    host.setInterface = [this](const std::string& address) { Edit3->SetText(address); };
    host.setPlayers = [this](const std::string& count) { Edit6->SetText(count); };
    // Starting together is "Save && Play" of the mode shown, as the player's own press.
    host.saveAndPlay = [this] {
      return SaveAndPlay(rbc->Checked() ? NetworkMode::Broadcast : NetworkMode::AllowIps);
    };
    // Owned by the application like the help window, so it lies above or below the main
    // window independently and goes with the program.
    playersWindow_ = new players::TForm3(&wingui::App(), std::move(host));
  }
  playersWindow_->Open();
}

void TForm1::rbcClick() { SetMode(NetworkMode::Broadcast); }

void TForm1::ripClick() { SetMode(NetworkMode::AllowIps); }

void TForm1::Label7MouseMove() {
  Label7->SetColor(RGB(0, 0, 255));
  Label7->SetText(std::string(help::kHelpPageName));
}

void TForm1::Label7MouseLeave() {
  Label7->SetColor(GetSysColor(COLOR_BTNFACE));
  Label7->SetText(kMakerName);
}

void TForm1::Label7Click() {
  launch::OpenDocument(help::HelpPagePath(),
                       reinterpret_cast<std::uintptr_t>(Handle()));
}

// ---- tray menu and its timer ---------------------------------------------------------

void TForm1::CopyYourIP1Click() {
  // Before any discovery in this run there is nothing of our own to copy: find the
  // addresses first, so the player always gets the host's real addresses.
  if (!addressesDiscovered_) {
    localAddressList_ = DiscoverLocalAddresses();
    addressesDiscovered_ = true;
  }
  std::string text;
  for (const std::string& address : localAddressList_) text += address + "\r\n";
  // An empty list copies nothing: the clipboard keeps what it had.
  if (!text.empty()) CopyTextToClipboard(Handle(), text);
}

void TForm1::Play1Click() { Button6Click(); }

void TForm1::Play2Click() {
  launch::SaveAndPlayBroadcastBesideExeField(CurrentLaunchInputs(), launch::ProgramFolder(),
                                             AskBeforeProblems());
}

void TForm1::Exit1Click() { Close(); }

void TForm1::Timer1Timer() {
  if (shownListVersion_ == listVersion_) return;
  const std::string caption = CommaText(allowed_);
  shownListVersion_ = listVersion_;
  if (caption != ipeet1->Caption()) ipeet1->SetCaption(caption);
}

}  // namespace setup
