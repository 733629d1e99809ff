// The lobby while the players window is open: this copy announces itself on the local network
// and lists the other copies it hears. It exists only while the window is open, so with the
// window closed the program sends and receives nothing.
//
// Two UDP sockets. The lobby socket is bound to the lobby port, shared with other copies on
// this machine, and hears announcements. Everything this copy sends leaves from its own socket
// on a port of its own, where the answers arrive: an answer sent to the shared lobby port
// would reach only one of several copies on a machine, and a player whose firewall blocks the
// lobby port still gets answers to what it sent (Windows lets them through for a few seconds).
// The own socket is bound to the Interface field's address when that is one of this
// computer's, so the others list the address this player's game will use.
//
// Announcements go to each adapter's own broadcast address (a broadcast to 255.255.255.255
// leaves through one adapter only); who else is sent to directly is lobby::SendPolicy's call.
// Everything arrives as messages of its hidden window on the GUI thread (WSAAsyncSelect) and
// the timing comes from a timer: nothing runs in parallel. A stream of datagrams never starves the
// window: each readiness message reads a bounded number, and a socket that has more waiting
// stops asking for messages until the next tick; the peers and the problem line are reported
// from the tick, never per datagram.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "launch/NetScript.h"
#include "lobby/Adapters.h"
#include "lobby/AnnounceSchedule.h"
#include "lobby/LobbyPacket.h"
#include "lobby/PeerTable.h"
#include "lobby/SendPolicy.h"
#include "wingui/HiddenWindow.h"
#include "wingui/Timer.h"

namespace players {

// What this copy says about itself, read afresh for each announcement.
struct LocalPlayer {
  std::string nick;  // the Nick field as typed
  std::string port;  // the Port field as typed
  lobby::PlayerMode mode = lobby::PlayerMode::AllowIps;
  std::string interfaceField;  // the Interface field as typed
  std::string gameExe;         // the Duke3D .EXE field as typed
  // The network script "Save && Play" would write now, the fingerprint of the game's files
  // (all zero while not known) and the player's ready mark: what its set-up is read from.
  launch::NetScript script;
  lobby::Fingerprint game{};
  bool ready = false;
};

// The game port as the game reads the Port field; nothing for a field it cannot read.
std::optional<std::uint16_t> GamePort(const std::string& field);

// The set-up a copy announces, from what it says about itself and its game port.
lobby::GameSetup SetupOf(const LocalPlayer& me, std::uint16_t gamePort);

class LobbySession : private wingui::HiddenWindow {
 public:
  // Opens the sockets and sends the first announcement. Never throws for the network: what
  // goes wrong is told by Problem(). The program always uses the lobby port; tests that must
  // not meet other runs on the same network give one of their own.
  explicit LobbySession(std::function<LocalPlayer()> local,
                        std::uint16_t lobbyPort = lobby::kLobbyPort);
  LobbySession(const LobbySession&) = delete;
  LobbySession& operator=(const LobbySession&) = delete;
  // Says goodbye, so the others drop this copy at once, and closes the sockets.
  ~LobbySession();

  const std::vector<lobby::Peer>& Peers() const { return table_.Peers(); }
  // Those that said goodbye in the last minute (lobby::PeerTable::Departed).
  const std::vector<lobby::Peer>& Departed() const { return table_.Departed(); }
  // The set-up of the last announcement; nothing before the first.
  const std::optional<lobby::GameSetup>& Announced() const { return announced_; }
  // The adapters of the last announcement; nothing when the system could not list them.
  const std::optional<std::vector<lobby::Adapter>>& Adapters() const { return adapters_; }
  // One line on what keeps the lobby from working and what to do; empty when nothing does.
  const std::string& Problem() const { return problem_; }
  // Datagrams sent since opening.
  std::uint64_t PacketsSent() const { return sent_; }
  // The port this copy sends from and gets its answers at (0 without a socket).
  std::uint16_t OwnPort() const { return ownPort_; }

  // Announces now when this copy's set-up changed since its last announcement (a ready mark
  // ticked: the others wait for it to start); each tick does the same.
  void AnnounceChanges();

  // Runs from the timer after a change of the peers or of the problem line.
  std::function<void()> OnChange;

 private:
  class Socket;

  // The hidden window's messages: socket readiness, and the end of the Windows session.
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void Open();
  // The own socket, bound to `address` (0: any); false with the problem told when it fails.
  bool OpenOwnSocket(std::uint32_t address);
  // Says goodbye and closes everything; nothing is sent or read after it.
  void Close();
  void Tick();
  void Announce(std::uint64_t now);
  // To the lobby port at each broadcast address, then to each direct address and port.
  void Send(lobby::PacketKind kind, const std::vector<std::uint32_t>& broadcasts,
            const std::vector<lobby::Endpoint>& direct);
  void Receive(Socket& socket, bool lobbySocket);
  void Heard(std::string_view bytes, lobby::Endpoint from, bool lobbySocket, std::uint64_t now);
  std::string CurrentProblem(std::uint64_t now) const;
  // Takes the problem line afresh, and runs OnChange when it or the peers changed.
  void Report(std::uint64_t now);

  std::function<LocalPlayer()> local_;
  std::uint16_t lobbyPort_;
  std::uint64_t instance_;
  std::uint64_t openedMs_;
  wingui::Timer tick_{nullptr};
  lobby::PeerTable table_;
  lobby::SendPolicy policy_;
  lobby::AnnounceSchedule schedule_;
  std::optional<std::vector<lobby::Adapter>> adapters_;
  std::unique_ptr<Socket> lobbySocket_;  // bound to the shared lobby port
  std::unique_ptr<Socket> ownSocket_;    // sends everything; answers arrive here
  std::uint32_t ownAddress_ = 0;         // what the own socket is bound to (0: any)
  std::uint16_t ownPort_ = 0;
  // The game port of the last announcement: a goodbye names it whatever the field holds now.
  std::uint16_t announcedPort_ = 0;
  // The set-up of the last announcement: a change is announced at once, not in 4 s.
  std::optional<lobby::GameSetup> announced_;
  bool started_ = false;                 // the sockets library was started
  bool changed_ = false;                 // the peers changed since the last report
  std::string openProblem_;              // the library or the lobby socket failed to open
  std::string socketProblem_;            // the own socket failed to open
  std::string sendProblem_;              // the last announcement could reach nobody
  std::string problem_;
  std::uint64_t sent_ = 0;
};

}  // namespace players
