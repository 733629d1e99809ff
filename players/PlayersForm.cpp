// Layout and commands of the players window. The rows come from the lobby session; which
// entries to add, which adapter to advise, the number of players, the group check and when
// to start come from lobby/; this file only puts them on screen and hands the results to the
// main window.
#include "players/PlayersForm.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

#include "lobby/FoundEntries.h"
#include "lobby/Ipv4.h"
#include "wingui/Commands.h"

namespace players {
namespace {

constexpr int kClientWidth = 472;
constexpr int kClientHeight = 330;

using wingui::Place;

std::string ModeText(lobby::PlayerMode mode) {
  return mode == lobby::PlayerMode::Broadcast ? "Broadcast on LAN" : "Allow IP's";
}

std::string Players(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " player" : " players");
}

std::string Key(const lobby::Peer& peer) { return std::to_string(peer.instance); }

// A player's state in the list: ready, ready to start, waiting for whom, or why not known.
std::string StateText(const lobby::Peer& peer, const lobby::MemberVerdict& verdict) {
  switch (verdict.state) {
    case lobby::MemberState::Ready:
      return "Ready";
    case lobby::MemberState::Set:
      return "Can start";
    case lobby::MemberState::Waiting:
      return "Waiting for " + verdict.waitingFor;
    case lobby::MemberState::Unknown:
      break;
  }
  return peer.setup ? "Not in your group" : "Set-up unknown";
}

}  // namespace

TForm3::TForm3(wingui::Component* owner, PlayersHost host)
    : Form(owner, wingui::BorderStyle::Single), host_(std::move(host)) {
  BeginLoading();
  SetText("Players on this network");
  SetClientWidth(kClientWidth);
  SetClientHeight(kClientHeight);

  ListView1 = Place(new wingui::ListView(this, {{"Nick", 96}, {"Address", 96}, {"Port", 48},
                                                {"Mode", 88}, {"State", 124}}),
                    8, 8, 456, 144, 0);
  Label1 = Place(new wingui::Label(this, ""), 8, 158, 456, 40, 1);
  Label1->SetWordWrap(true);
  // One line, in a narrower face when it must; every problem in its hint.
  Label5 = Place(new wingui::Label(this, ""), 8, 202, 456, 14, 2);
  // Room for "&Use 255.255.255.255" and "Set &Number Of Players to 64".
  Label2 = Place(new wingui::Label(this, ""), 8, 220, 292, 26, 3);
  Label2->SetWordWrap(true);
  Button1 = Place(new wingui::Button(this, "&Use"), 304, 221, 160, 23, 4);
  Button1->OnClick = [this] { Button1Click(); };
  Label3 = Place(new wingui::Label(this, ""), 8, 250, 292, 26, 5);
  Label3->SetWordWrap(true);
  Button2 = Place(new wingui::Button(this, "Set &Number Of Players"), 304, 251, 160, 23, 6);
  Button2->OnClick = [this] { Button2Click(); };
  // One line, in a narrower face when it must.
  Label4 = Place(new wingui::Label(this, ""), 8, 280, 456, 14, 7);
  Button3 = Place(new wingui::Button(this, "&Add"), 8, 298, 88, 25, 8);
  Button3->OnClick = [this] { Button3Click(); };
  Button4 = Place(new wingui::Button(this, "Add a&ll"), 104, 298, 88, 25, 9);
  Button4->OnClick = [this] { Button4Click(); };
  CheckBox1 = Place(new wingui::CheckBox(this, "&Ready"), 208, 301, 120, 19, 10);
  CheckBox1->SetHint(
      "Tick when you are ready: once every player of your group has ticked it and the group "
      "check passes, each Lanvora starts its own game.");
  CheckBox1->OnClick = [this] { CheckBox1Click(); };
  Button5 = Place(new wingui::Button(this, "&Close"), 376, 298, 88, 25, 11);
  Button5->OnClick = [this] { Button5Click(); };
  for (wingui::WinControl* advice :
       std::initializer_list<wingui::WinControl*>{Label2, Button1, Label3, Button2, Label4}) {
    advice->Hide();
  }

  Timer1 = new wingui::Timer(this);
  Timer1->SetEnabled(false);
  Timer1->SetInterval(500);
  Timer1->OnTimer = [this] {
    fingerprint_.Step(host_.localPlayer().gameExe);
    Refresh();
  };
  EndCreation();
}

// The session says goodbye while the window it reports to still exists.
TForm3::~TForm3() { session_.reset(); }

void TForm3::Open() { BringToFront(); }

void TForm3::SetVisible(bool visible) {
  if (visible && !session_) {
    added_.clear();
    closedAt_ = 0;
    session_ = std::make_unique<LobbySession>([this] { return Me(); }, host_.lobbyPort);
    session_->OnChange = [this] { Refresh(); };
  }
  if (!visible && session_) {
    // Closing takes the ready mark away; the check's last word is kept for a minute.
    start_.SetReady(false, {});
    CheckBox1->SetChecked(false);
    closedAt_ = std::max<DWORD>(GetTickCount(), 1);
    session_.reset();
  }
  Timer1->SetEnabled(visible);
  Form::SetVisible(visible);
  if (visible) Refresh();
}

void TForm3::Refresh() {
  if (!session_) return;
  const std::vector<lobby::Peer>& peers = session_->Peers();
  const LocalPlayer me = Me();
  const std::vector<lobby::Adapter> adapters =
      session_->Adapters().value_or(std::vector<lobby::Adapter>{});
  const lobby::GroupVerdict verdict = CheckTheGroup(me);

  std::vector<wingui::ListView::Row> rows;
  for (std::size_t i = 0; i < peers.size(); ++i) {
    const lobby::Peer& peer = peers[i];
    rows.push_back({Key(peer),
                    {peer.nick,
                     lobby::FormatIpv4(lobby::PreferredAddress(peer, adapters, me.interfaceField)),
                     std::to_string(peer.gamePort), ModeText(peer.mode),
                     StateText(peer, verdict.members[i + 1])}});
  }
  ListView1->SetRows(rows);
  ShowGroup(verdict);

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
  const std::optional<std::uint16_t> port = GamePort(me.port);
  const lobby::BroadcastCount count = lobby::CountBroadcastPlayers(peers, port.value_or(0));
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

LocalPlayer TForm3::Me() const {
  LocalPlayer me = host_.localPlayer();
  me.game = fingerprint_.Value();
  me.ready = start_.Ready();
  return me;
}

lobby::GroupVerdict TForm3::CheckTheGroup(const LocalPlayer& me) const {
  // Where the others hear this copy: the Interface field's address, else its first adapter's.
  std::vector<std::uint32_t> own;
  if (const std::optional<std::uint32_t> address = lobby::ParseIpv4(me.interfaceField)) {
    own.push_back(*address);
  } else if (session_->Adapters()) {
    for (const lobby::Adapter& adapter : *session_->Adapters()) {
      if (lobby::IsActive(adapter)) own.push_back(adapter.address);
    }
  }
  std::vector<lobby::GroupMember> members{
      {me.nick, SetupOf(me, GamePort(me.port).value_or(0)), own}};
  for (const lobby::Peer& peer : session_->Peers()) {
    members.push_back({peer.nick, peer.setup, peer.addresses});
  }
  // A copy whose window closed a moment ago is most likely starting its game: its last set-up
  // still counts, or every start after the first would be warned of "nobody is playing" there.
  for (const lobby::Peer& gone : session_->Departed()) {
    members.push_back({gone.nick, gone.setup, gone.addresses});
  }
  return lobby::CheckGroup(members, 0);
}

void TForm3::ShowGroup(const lobby::GroupVerdict& verdict) {
  problems_ = verdict.problems;
  std::string line;
  if (session_->Peers().empty() && session_->Departed().empty()) {
    line = "nobody else here yet";
  } else if (!verdict.problems.empty()) {
    line = verdict.problems.front();
  } else {
    line = verdict.everyoneReady ? "everyone will get ready" : "nobody in your group yet";
  }
  Label5->SetText("Group check: " + line);
  std::string all;
  for (const std::string& problem : verdict.problems) all += (all.empty() ? "" : "\r\n") + problem;
  Label5->SetHint(all);

  // Everyone of the group ready: this copy starts its own game, once, as its player would.
  // Never inside another command (a box of it may be open): it waits for the next refresh.
  // The click on Ready is a command itself, and starts at once.
  if (!wingui::CommandRunning() || clickingReady_) {
    const LocalPlayer me = Me();
    const std::optional<std::uint16_t> port = GamePort(me.port);
    const bool start = port && start_.Update(SetupOf(me, *port), verdict);
    if (start && host_.saveAndPlay) {
      // A warning answered No, or an error, stops this copy and takes its mark away; a start
      // keeps it, for the others.
      bool wentOn = false;
      const auto run = [&] {
        struct Untick {
          TForm3& form;
          const bool& wentOn;
          ~Untick() {
            if (!wentOn) form.start_.SetReady(false, {});
          }
        } untick{*this, wentOn};
        wentOn = host_.saveAndPlay();
      };
      if (clickingReady_) {
        run();
      } else {
        wingui::RunCommand(run);
      }
    }
  }
  CheckBox1->SetChecked(start_.Ready());
}

void TForm3::CheckBox1Click() {
  const LocalPlayer me = Me();
  const std::optional<std::uint16_t> port = GamePort(me.port);
  start_.SetReady(CheckBox1->Checked() && port, SetupOf(me, port.value_or(0)));
  CheckBox1->SetChecked(start_.Ready());
  if (session_) session_->AnnounceChanges();
  clickingReady_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{clickingReady_};
  Refresh();
}

std::vector<std::string> TForm3::RecentGroupProblems() const {
  if (!session_ && (closedAt_ == 0 || GetTickCount() - closedAt_ > kProblemsKeptMs)) return {};
  return problems_;
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
