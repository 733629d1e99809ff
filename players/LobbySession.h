// The lobby while the players window is open: this copy announces itself on the local network
// and lists the other copies it hears. It exists only while the window is open, so with the
// window closed the program sends and receives nothing.
//
// Two UDP sockets. The lobby socket is bound to the lobby port, shared with other copies on
// this machine, and hears announcements. Everything this copy sends leaves from its own socket
// on a port of its own, where the answers arrive: an answer sent to the shared lobby port
// would reach only one of several copies on a machine, and a player whose firewall blocks the
// lobby port still gets answers to what it sent (Windows lets them through for a few seconds).
//
// Announcements go to each adapter's own broadcast address (a broadcast to 255.255.255.255
// leaves through one adapter only). Everything arrives as window messages on the GUI thread
// (WSAAsyncSelect) and the timing comes from a window timer: nothing runs in parallel.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "lobby/Adapters.h"
#include "lobby/AnnounceSchedule.h"
#include "lobby/AnswerLimiter.h"
#include "lobby/LobbyPacket.h"
#include "lobby/PeerTable.h"
#include "wingui/HiddenWindow.h"

namespace players {

// What this copy says about itself, read afresh for each announcement.
struct LocalPlayer {
  std::string nick;  // the Nick field as typed
  std::string port;  // the Port field as typed
  lobby::PlayerMode mode = lobby::PlayerMode::AllowIps;
};

class LobbySession : private wingui::MessageTarget {
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
  // The adapters of the last announcement; nothing when the system could not list them.
  const std::optional<std::vector<lobby::Adapter>>& Adapters() const { return adapters_; }
  // One line on what keeps the lobby from working and what to do; empty when nothing does.
  const std::string& Problem() const { return problem_; }
  // Datagrams sent since opening.
  std::uint64_t PacketsSent() const { return sent_; }
  // The port this copy sends from and gets its answers at (0 without a socket).
  std::uint16_t OwnPort() const { return ownPort_; }

  // Runs after a change of the peers or of the problem line.
  std::function<void()> OnChange;

 private:
  class Socket;

  LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
  void Open();
  void Tick();
  void Announce(std::uint64_t now);
  // To the lobby port at each broadcast address, then to each direct address and port.
  void Send(lobby::PacketKind kind, const std::vector<std::uint32_t>& broadcasts,
            const std::vector<std::pair<std::uint32_t, std::uint16_t>>& direct);
  void Receive(bool lobbySocket);
  void Heard(const std::string& bytes, std::uint32_t from, std::uint16_t port, bool lobbySocket,
             std::uint64_t now, bool& changed);
  std::string CurrentProblem(std::uint64_t now) const;
  // Takes the problem line afresh, and runs OnChange when it or the peers changed.
  void Report(std::uint64_t now, bool changed);

  std::function<LocalPlayer()> local_;
  std::uint16_t lobbyPort_;
  std::uint64_t instance_;
  std::uint64_t openedMs_;
  wingui::HiddenWindow window_;
  lobby::PeerTable table_;
  lobby::AnswerLimiter limiter_;
  lobby::AnnounceSchedule schedule_;
  std::optional<std::vector<lobby::Adapter>> adapters_;
  std::unique_ptr<Socket> lobbySocket_;  // bound to the shared lobby port
  std::unique_ptr<Socket> ownSocket_;    // sends everything; answers arrive here
  std::uint16_t ownPort_ = 0;
  bool started_ = false;                 // the sockets library was started
  std::string openProblem_;              // what went wrong while opening
  std::string sendProblem_;              // the last announcement could reach nobody
  std::string problem_;
  // When each listed copy was last heard on the lobby socket.
  std::unordered_map<std::uint64_t, std::uint64_t> heardOnLobbyPort_;
  std::uint64_t sent_ = 0;
};

}  // namespace players
