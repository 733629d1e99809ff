// Layout and commands of the players window. The rows come from the lobby session; which
// entries to add, which adapter to advise and the number of players come from lobby/; this
// file only puts them on screen and hands the results to the main window.
#include "players/PlayersForm.h"

#include <initializer_list>
#include <utility>

#include "launch/GameAddress.h"
#include "lobby/FoundEntries.h"
#include "lobby/Ipv4.h"

namespace players {
namespace {

constexpr int kClientWidth = 392;
constexpr int kClientHeight = 310;

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
  // One line, in a narrower face when it must.
  Label4 = Place(new wingui::Label(this, ""), 8, 262, 376, 14, 6);
  Button3 = Place(new wingui::Button(this, "&Add"), 8, 280, 88, 25, 7);
  Button3->OnClick = [this] { Button3Click(); };
  Button4 = Place(new wingui::Button(this, "Add a&ll"), 104, 280, 88, 25, 8);
  Button4->OnClick = [this] { Button4Click(); };
  Button5 = Place(new wingui::Button(this, "&Close"), 296, 280, 88, 25, 9);
  Button5->OnClick = [this] { Button5Click(); };
  for (wingui::WinControl* advice :
       std::initializer_list<wingui::WinControl*>{Label2, Button1, Label3, Button2, Label4}) {
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
  const LocalPlayer me = host_.localPlayer();
  const std::vector<lobby::Adapter> adapters =
      session_->Adapters().value_or(std::vector<lobby::Adapter>{});

  std::vector<wingui::ListView::Row> rows;
  for (const lobby::Peer& peer : peers) {
    rows.push_back({Key(peer),
                    {peer.nick,
                     lobby::FormatIpv4(lobby::PreferredAddress(peer, adapters, me.interfaceField)),
                     std::to_string(peer.gamePort), ModeText(peer.mode)}});
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

  // The adapter the players were heard on, when the Interface field is on none of theirs.
  const std::optional<lobby::InterfaceAdvice> advice =
      session_->Adapters() ? lobby::AdviseInterface(peers, adapters, me.interfaceField)
                           : std::nullopt;
  adviceAddress_ = advice ? advice->adapterAddress : std::string();
  if (advice) {
    Label2->SetText("The players are on your adapter " +
                    (advice->adapterName.empty() ? advice->adapterAddress
                                                 : advice->adapterName + " (" +
                                                       advice->adapterAddress + ")") +
                    ", but Interface says \"" + me.interfaceField + "\".");
    Button1->SetText("&Use " + advice->adapterAddress);
  }
  Label2->SetVisible(advice.has_value());
  Button1->SetVisible(advice.has_value());

  // In broadcast mode the game waits for the number of others it is given, and only copies
  // broadcasting on its own port answer its broadcast; several adapters may send it the wrong
  // way.
  const bool broadcast = me.mode == lobby::PlayerMode::Broadcast;
  const std::optional<unsigned> port = launch::ReadGamePort(me.port);
  const lobby::BroadcastCount count =
      lobby::CountBroadcastPlayers(peers, port ? static_cast<std::uint16_t>(*port) : 0);
  playersCount_ = std::to_string(count.counted);
  if (broadcast) {
    Label3->SetText(Players(count.counted) + " found in \"Broadcast on LAN\" mode on your port" +
                    (port ? " " + std::to_string(*port) : std::string()) + ".");
    Button2->SetText("Set &Number Of Players to " + playersCount_);
    std::vector<std::string> notes;
    if (count.otherMode > 0) notes.push_back(std::to_string(count.otherMode) + " in \"Allow IP's\" mode");
    if (count.otherPort > 0) notes.push_back(std::to_string(count.otherPort) + " on another port");
    std::string note;
    if (!notes.empty()) {
      note = "Not counted: " + notes[0] + (notes.size() > 1 ? ", " + notes[1] : std::string()) +
             " (the game's broadcast does not reach them).";
    }
    if (lobby::ActiveAdapterCount(adapters) > 1) {
      note += std::string(note.empty() ? "" : " ") +
              "Several adapters: the broadcast may leave on the wrong one.";
    }
    Label4->SetText(note);
  }
  Label3->SetVisible(broadcast);
  Button2->SetVisible(broadcast && count.counted > 0);
  Label4->SetVisible(broadcast);
}

void TForm3::AddPeers(const std::vector<lobby::Peer>& chosen) {
  const LocalPlayer me = host_.localPlayer();
  const std::vector<std::string> entries =
      lobby::EntriesToAdd(chosen, host_.allowedList(), me.interfaceField, me.port,
                          session_->Adapters().value_or(std::vector<lobby::Adapter>{}));
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
