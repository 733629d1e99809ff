// The window "Players on this network": the other copies of the program heard on the local
// network, and one-click ways to use them (allowed-list entries, the interface address, the
// number of players); the group check (will every game of the group get ready, and if not,
// who waits for whom) with each player's state; and the Ready mark that starts the group
// together. The network is used only while this window is open: the lobby session starts when
// it is shown and ends, with a goodbye, when it is closed. Nothing found goes into a file:
// what the player adds lands in the main window's fields, saved by its commands.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "launch/LaunchSettings.h"
#include "lobby/GroupCheck.h"
#include "lobby/StartTogether.h"
#include "players/GameFingerprint.h"
#include "players/LobbySession.h"
#include "wingui/Controls.h"
#include "wingui/Form.h"
#include "wingui/ListView.h"
#include "wingui/Timer.h"

namespace players {

// What the window needs of the main window, read or changed at the moment it is used.
struct PlayersHost {
  // nick, port, mode and interface as the fields hold them
  std::function<LocalPlayer()> localPlayer;
  std::function<launch::AllowedList()> allowedList;
  std::function<void(const std::vector<std::string>&)> addEntries;  // to the allowed list
  std::function<void(const std::string&)> setInterface;
  std::function<void(const std::string&)> setPlayers;  // the Number Of Players field
  // "Save && Play" of the mode the main window is in, exactly as a press of it; false when a
  // warning stopped it.
  std::function<bool()> saveAndPlay;
  // Always the lobby port in the program; tests give one of their own run.
  std::uint16_t lobbyPort = lobby::kLobbyPort;
};

// The third window of the program (after the main and the help window).
class TForm3 : public wingui::Form {
 public:
  TForm3(wingui::Component* owner, PlayersHost host);
  ~TForm3() override;

  // Shows the window in front and starts looking for players (when it was closed).
  void Open();
  // Closing only hides the window, and hiding it ends the lobby session.
  void SetVisible(bool visible) override;

  // The session while the window is open; nullptr while it is closed.
  const LobbySession* Session() const { return session_.get(); }

  // What the group check found while the window is open or in the minute after it closed:
  // "Save && Play" warns with it. Empty otherwise, or when everyone will get ready.
  std::vector<std::string> RecentGroupProblems() const;
  static constexpr DWORD kProblemsKeptMs = 60000;

  wingui::ListView* ListView1 = nullptr;  // the copies heard
  wingui::Label* Label1 = nullptr;        // status: looking, how many found, or the problem
  wingui::Label* Label2 = nullptr;        // interface advice
  wingui::Button* Button1 = nullptr;      // "&Use <address>" for the Interface field
  wingui::Label* Label3 = nullptr;        // the players a broadcast game can count on
  wingui::Button* Button2 = nullptr;      // "Set &Number Of Players to N"
  wingui::Label* Label4 = nullptr;        // one line: who is not counted, several adapters
  wingui::Label* Label5 = nullptr;        // "Group check: ...", every problem in its hint
  wingui::CheckBox* CheckBox1 = nullptr;  // "&Ready": start together
  wingui::Button* Button3 = nullptr;      // "&Add": the selected rows
  wingui::Button* Button4 = nullptr;      // "Add a&ll"
  wingui::Button* Button5 = nullptr;      // "&Close"
  wingui::Timer* Timer1 = nullptr;        // keeps the advice in step with the main window

  void Button1Click();
  void Button2Click();
  void Button3Click();
  void Button4Click();
  void Button5Click();
  void CheckBox1Click();
  // Shows the session's peers and what follows from them.
  void Refresh();

 private:
  void AddPeers(const std::vector<lobby::Peer>& chosen);
  // This copy as the others see it: the main window's fields, the game's fingerprint and the
  // ready mark.
  LocalPlayer Me() const;
  // The group check over this copy and the copies heard; the first member is this copy.
  lobby::GroupVerdict CheckTheGroup(const LocalPlayer& me) const;
  void ShowGroup(const lobby::GroupVerdict& verdict);

  PlayersHost host_;
  std::unique_ptr<LobbySession> session_;
  // What the last Add did, shown under the status until the window closes.
  std::string added_;
  std::string adviceAddress_;
  std::string playersCount_;
  GameFingerprint fingerprint_;
  lobby::StartTogether start_;
  std::vector<std::string> problems_;  // of the last check
  DWORD closedAt_ = 0;                 // when the window last closed; 0 while open or never
  bool clickingReady_ = false;         // the click on Ready is running

};

}  // namespace players
