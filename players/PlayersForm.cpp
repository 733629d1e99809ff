// Layout and commands of the players window. The rows come from the lobby session; which
// entries to add, which adapter to advise and the number of players come from lobby/; this
// file only puts them on screen and hands the results to the main window.
#include "players/PlayersForm.h"

#include <initializer_list>
#include <utility>

#include "lobby/FoundEntries.h"
#include "lobby/Ipv4.h"

namespace players {
namespace {

constexpr int kClientWidth = 392;
constexpr int kClientHeight = 292;

using wingui::Place;

std::string ModeText(lobby::PlayerMode mode) {
  return mode == lobby::PlayerMode::Broadcast ? "Broadcast on LAN" : "Allow IP's";
}

std::string Players(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " player" : " players");
}

std::string Key(const lobby::Peer& peer) { return std::to_string(peer.instance); }

}  // namespace

TForm3::TForm3(wingui::Component* owner, PlayersHost host)
    : Form(owner, wingui::BorderStyle::Single), host_(std::move(host)) {
  BeginLoading();
  SetText("Players on this network");
  SetClientWidth(kClientWidth);
  SetClientHeight(kClientHeight);

  ListView1 = Place(new wingui::ListView(this, {{"Nick", 112}, {"Address", 104}, {"Port", 56},
                                                {"Mode", 100}}),
                    8, 8, 376, 144, 0);
  Label1 = Place(new wingui::Label(this, ""), 8, 158, 376, 40, 1);
  Label1->SetWordWrap(true);
  // Room for "&Use 255.255.255.255" and "Set &Number Of Players to 64".
  Label2 = Place(new wingui::Label(this, ""), 8, 202, 212, 26, 2);
  Label2->SetWordWrap(true);
  Button1 = Place(new wingui::Button(this, "&Use"), 224, 203, 160, 23, 3);
  Button1->OnClick = [this] { Button1Click(); };
  Label3 = Place(new wingui::Label(this, ""), 8, 232, 212, 26, 4);
  Label3->SetWordWrap(true);
  Button2 = Place(new wingui::Button(this, "Set &Number Of Players"), 224, 233, 160, 23, 5);
  Button2->OnClick = [this] { Button2Click(); };
  Button3 = Place(new wingui::Button(this, "&Add"), 8, 262, 88, 25, 6);
  Button3->OnClick = [this] { Button3Click(); };
  Button4 = Place(new wingui::Button(this, "Add a&ll"), 104, 262, 88, 25, 7);
  Button4->OnClick = [this] { Button4Click(); };
  Button5 = Place(new wingui::Button(this, "&Close"), 296, 262, 88, 25, 8);
  Button5->OnClick = [this] { Button5Click(); };
  for (wingui::WinControl* advice :
       std::initializer_list<wingui::WinControl*>{Label2, Button1, Label3, Button2}) {
    advice->Hide();
  }

  Timer1 = new wingui::Timer(this);
  Timer1->SetEnabled(false);
  Timer1->SetInterval(500);
  Timer1->OnTimer = [this] { Refresh(); };
  EndCreation();
}

// The session says goodbye while the window it reports to still exists.
TForm3::~TForm3() { session_.reset(); }

void TForm3::Open() { BringToFront(); }

void TForm3::SetVisible(bool visible) {
  if (visible && !session_) {
    added_.clear();
    session_ = std::make_unique<LobbySession>(host_.localPlayer, host_.lobbyPort);
    session_->OnChange = [this] { Refresh(); };
  }
  if (!visible) session_.reset();
  Timer1->SetEnabled(visible);
  Form::SetVisible(visible);
  if (visible) Refresh();
}

void TForm3::Refresh() {
  if (!session_) return;
  const std::vector<lobby::Peer>& peers = session_->Peers();

  std::vector<wingui::ListView::Row> rows;
  for (const lobby::Peer& peer : peers) {
    rows.push_back({Key(peer),
                    {peer.nick, lobby::FormatIpv4(peer.address), std::to_string(peer.gamePort),
                     ModeText(peer.mode)}});
  }
  ListView1->SetRows(rows);

  std::string status = session_->Problem();
  if (status.empty()) {
    status = peers.empty() ? "Looking for other players on this network..."
                           : Players(peers.size()) +
                                 " found. Select the ones to play with and press Add, or Add all.";
  }
  if (!added_.empty()) status += "\r\n" + added_;
  Label1->SetText(status);

  // The adapter the players were heard on, when the Interface field names another.
  const std::optional<std::vector<lobby::Adapter>>& adapters = session_->Adapters();
  std::optional<lobby::InterfaceAdvice> advice;
  if (adapters) advice = lobby::AdviseInterface(peers, *adapters, host_.interfaceField());
  adviceAddress_ = advice ? advice->adapterAddress : std::string();
  if (advice) {
    Label2->SetText("The players are on your adapter " +
                    (advice->adapterName.empty() ? advice->adapterAddress
                                                 : advice->adapterName + " (" +
                                                       advice->adapterAddress + ")") +
                    ", but Interface says \"" + host_.interfaceField() + "\".");
    Button1->SetText("&Use " + advice->adapterAddress);
  }
  Label2->SetVisible(advice.has_value());
  Button1->SetVisible(advice.has_value());

  // In broadcast mode the game needs the number of the others; several adapters may send its
  // broadcast the wrong way.
  const bool broadcast = host_.localPlayer().mode == lobby::PlayerMode::Broadcast;
  playersCount_ = std::to_string(peers.size());
  if (broadcast) {
    std::string note = Players(peers.size()) + " heard.";
    if (adapters && lobby::ActiveAdapterCount(*adapters) > 1) {
      note += " This PC has several network adapters: the game's broadcast may leave on the "
              "wrong one; \"Allow IP's\" with the players found is the sure road.";
    }
    Label3->SetText(note);
    Button2->SetText("Set &Number Of Players to " + playersCount_);
  }
  Label3->SetVisible(broadcast);
  Button2->SetVisible(broadcast && !peers.empty());
}

void TForm3::AddPeers(const std::vector<lobby::Peer>& chosen) {
  const std::vector<std::string> entries = lobby::EntriesToAdd(
      chosen, host_.allowedList(), host_.interfaceField(), host_.localPlayer().port);
  if (!entries.empty()) host_.addEntries(entries);
  const std::size_t skipped = chosen.size() - entries.size();
  added_ = entries.empty() ? "Nothing added"
                           : "Added " + Players(entries.size()) + " to the allowed list";
  if (skipped > 0) added_ += " (" + std::to_string(skipped) + " already there)";
  added_ += entries.empty() ? "." : "; saved with Save or Save && Play.";
  Refresh();
}

void TForm3::Button1Click() {
  if (!adviceAddress_.empty()) host_.setInterface(adviceAddress_);
  Refresh();
}

void TForm3::Button2Click() { host_.setPlayers(playersCount_); }

void TForm3::Button3Click() {
  if (!session_) return;
  std::vector<lobby::Peer> chosen;
  for (int row : ListView1->SelectedRows()) {
    for (const lobby::Peer& peer : session_->Peers()) {
      if (Key(peer) == ListView1->Key(row)) chosen.push_back(peer);
    }
  }
  if (chosen.empty()) {
    added_ = "Select the players to add first.";
    Refresh();
    return;
  }
  AddPeers(chosen);
}

void TForm3::Button4Click() {
  if (session_) AddPeers(session_->Peers());
}

void TForm3::Button5Click() { Close(); }

}  // namespace players
