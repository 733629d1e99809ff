// The lobby session: two sockets, the tick that announces and forgets, and the packets heard.
#include <winsock2.h>  // before the window system's header, which the session's brings

#include "players/LobbySession.h"

#include <utility>

#include "launch/GameAddress.h"
#include "launch/SystemErrorText.h"
#include "lobby/Mix64.h"
#include "players/NetworkAdapters.h"
#include "players/SocketAddress.h"
#include "wingui/Sockets.h"
#include "wingui/Timer.h"

namespace players {
namespace {

// Messages of the session's hidden window.
constexpr UINT kLobbySocketMessage = WM_APP + 0x41;
constexpr UINT kOwnSocketMessage = WM_APP + 0x42;
// Often enough for the 1 s steps of the opening announcements and for prompt forgetting.
constexpr UINT kTickMs = 250;
// At most this many datagrams per readiness message; a socket with more waiting is read
// again from the next tick, so a stream of them leaves the window its timers, painting and
// input (Windows hands those out only while no posted message waits).
constexpr int kReadsPerMessage = 64;
// The system's control code that stops UDP sockets from failing their next read with
// WSAECONNRESET after a send to a port nobody listens on (older headers lack it).
constexpr DWORD kUdpConnectionReset = IOC_IN | IOC_VENDOR | 12;  // SIO_UDP_CONNRESET

// A number for this opening of the window that no other copy has: the performance counter,
// the time of day and the process make it; only uniqueness matters here.
std::uint64_t NewInstanceId(const void* object) {
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  const std::uint64_t x = lobby::Mix64(
      static_cast<std::uint64_t>(counter.QuadPart) ^
      (std::uint64_t{now.dwHighDateTime} << 32 | now.dwLowDateTime) ^
      (std::uint64_t{GetCurrentProcessId()} << 40) ^ reinterpret_cast<std::uintptr_t>(object));
  return x ? x : 1;
}

// The address the own socket is bound to: the Interface field's, when it is an address of an
// active adapter of this computer; else any (0).
std::uint32_t SendingAddress(const std::optional<std::vector<lobby::Adapter>>& adapters,
                             const std::string& interfaceField) {
  const std::optional<std::uint32_t> wanted = lobby::ParseIpv4(interfaceField);
  if (!wanted || !adapters) return 0;
  for (const lobby::Adapter& adapter : *adapters) {
    if (lobby::IsActive(adapter) && adapter.address == *wanted) return *wanted;
  }
  return 0;
}

}  // namespace

std::optional<std::uint16_t> GamePort(const std::string& field) {
  const std::optional<unsigned> port = launch::ReadGamePort(field);
  if (!port) return std::nullopt;
  return static_cast<std::uint16_t>(*port);
}

lobby::GameSetup SetupOf(const LocalPlayer& me, std::uint16_t gamePort) {
  lobby::GameSetup setup = lobby::ReadSetup(me.mode, me.script, gamePort);
  setup.game = me.game;
  setup.ready = me.ready;
  return setup;
}

// A UDP socket of the sockets library, closed with it; it knows the message its readiness
// comes as, and whether it has stopped asking for it until the next tick.
class LobbySession::Socket {
 public:
  Socket(SOCKET s, UINT message) : s_(s), message_(message) {}
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  ~Socket() { wingui::SocketSeam().InUse.CloseSocket(s_); }
  SOCKET get() const { return s_; }
  UINT Message() const { return message_; }

  // Readiness messages on or off; true when the system took the change.
  bool Listen(HWND window, bool on) {
    paused_ = !on;
    return wingui::SocketSeam().InUse.AsyncSelect(s_, window, message_, on ? FD_READ : 0) == 0;
  }
  bool Paused() const { return paused_; }

 private:
  SOCKET s_;
  UINT message_;
  bool paused_ = false;
};

LobbySession::LobbySession(std::function<LocalPlayer()> local, std::uint16_t lobbyPort)
    : local_(std::move(local)),
      lobbyPort_(lobbyPort),
      instance_(NewInstanceId(this)),
      openedMs_(GetTickCount64()),
      table_(instance_),
      schedule_(openedMs_, instance_) {
  // The timer first: without it there is no lobby (the system refusing it is an error), and
  // nothing is opened yet.
  tick_.SetInterval(kTickMs);
  tick_.OnTimer = [this] { Tick(); };
  Open();
  Tick();
}

LobbySession::~LobbySession() { Close(); }

void LobbySession::Close() {
  tick_.SetEnabled(false);
  if (ownSocket_) {
    const std::uint64_t now = GetTickCount64();
    Send(lobby::PacketKind::Goodbye, lobby::AnnounceTargets(adapters_),
         policy_.GoodbyeTargets(table_.Peers(), now));
  }
  lobbySocket_.reset();
  ownSocket_.reset();
  if (started_) wingui::SocketSeam().InUse.Cleanup();
  started_ = false;
}

void LobbySession::Open() {
  const wingui::SocketCalls& calls = wingui::SocketSeam().InUse;
  WSADATA data{};
  if (calls.Startup(MAKEWORD(2, 2), &data) != 0) {
    openProblem_ = "The network library cannot be loaded: Lanvora cannot look for players.";
    return;
  }
  started_ = true;
  adapters_ = ListAdapters();
  const LocalPlayer me = local_ ? local_() : LocalPlayer{};
  OpenOwnSocket(SendingAddress(adapters_, me.interfaceField));

  // Several copies on one machine share the lobby port; every one of them gets each
  // broadcast that arrives there.
  const SOCKET s = calls.Socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  int code = s == INVALID_SOCKET ? calls.LastError() : 0;
  if (!code) {
    lobbySocket_ = std::make_unique<Socket>(s, kLobbySocketMessage);
    const BOOL on = TRUE;
    calls.SetOption(s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&on), sizeof on);
    const sockaddr_in any = SocketAddress(0, lobbyPort_);
    if (calls.Bind(s, reinterpret_cast<const sockaddr*>(&any), sizeof any) != 0 ||
        !lobbySocket_->Listen(Handle(), true)) {
      code = calls.LastError();
      lobbySocket_.reset();
    }
  }
  if (code) {
    openProblem_ = "Cannot listen on UDP port " + std::to_string(lobbyPort_) + " (" +
                   launch::TidiedSystemErrorText(code) +
                   "): only players who answer are found. Close the program that holds the "
                   "port, then open this window again.";
  }
}

bool LobbySession::OpenOwnSocket(std::uint32_t address) {
  const wingui::SocketCalls& calls = wingui::SocketSeam().InUse;
  ownSocket_.reset();
  ownPort_ = 0;
  ownAddress_ = address;
  const SOCKET s = calls.Socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  int code = s == INVALID_SOCKET ? calls.LastError() : 0;
  if (!code) {
    ownSocket_ = std::make_unique<Socket>(s, kOwnSocketMessage);
    const BOOL on = TRUE;
    calls.SetOption(s, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on), sizeof on);
    // Windows fails the next read of a UDP socket after a send to a closed port unless told
    // not to; a copy that left without a goodbye must not cost the next datagram. The system
    // may not know the code: that is no failure.
    BOOL report = FALSE;
    DWORD returned = 0;
    calls.Control(s, kUdpConnectionReset, &report, sizeof report, nullptr, 0, &returned, nullptr,
                  nullptr);
    const sockaddr_in bound = SocketAddress(address, 0);
    if (calls.Bind(s, reinterpret_cast<const sockaddr*>(&bound), sizeof bound) != 0 ||
        !ownSocket_->Listen(Handle(), true)) {
      code = calls.LastError();
      ownSocket_.reset();
    }
  }
  socketProblem_ = code ? "Cannot open a network socket (" +
                              launch::TidiedSystemErrorText(code) +
                              "): Lanvora cannot look for players."
                        : std::string();
  if (code) return false;
  sockaddr_in own{};
  int length = sizeof own;
  if (calls.GetName(ownSocket_->get(), reinterpret_cast<sockaddr*>(&own), &length) == 0) {
    ownPort_ = PortOf(own);
  }
  return true;
}

void LobbySession::Tick() {
  const std::uint64_t now = GetTickCount64();
  for (Socket* socket : {lobbySocket_.get(), ownSocket_.get()}) {
    if (socket && socket->Paused()) socket->Listen(Handle(), true);
  }
  if (started_ && schedule_.Due(now)) {
    Announce(now);
    schedule_.Sent(now);
  } else {
    AnnounceChanges();
  }
  changed_ = table_.Expire(now) || changed_;
  policy_.Prune(table_.Peers());
  Report(now);
}

void LobbySession::AnnounceChanges() {
  // A change of the set-up (a ready mark among them) goes out at once: the others' group
  // check and their start together wait for it.
  if (!ownSocket_ || !announced_) return;
  const LocalPlayer me = local_ ? local_() : LocalPlayer{};
  const std::optional<std::uint16_t> port = GamePort(me.port);
  if (port && SetupOf(me, *port) != *announced_) Announce(GetTickCount64());
}

void LobbySession::Announce(std::uint64_t now) {
  adapters_ = ListAdapters();
  const LocalPlayer me = local_ ? local_() : LocalPlayer{};
  table_.SetLocalNetworks(
      lobby::LocalNetworksOf(adapters_.value_or(std::vector<lobby::Adapter>{}), me.interfaceField));
  // The Interface field changed to another address of this computer: the others are to hear
  // this copy from there.
  const std::uint32_t sending = SendingAddress(adapters_, me.interfaceField);
  if ((!ownSocket_ || sending != ownAddress_) && !OpenOwnSocket(sending)) return;
  Send(lobby::PacketKind::Announce, lobby::AnnounceTargets(adapters_),
       policy_.DirectTargets(table_.Peers(), now));
}

void LobbySession::Send(lobby::PacketKind kind, const std::vector<std::uint32_t>& broadcasts,
                        const std::vector<lobby::Endpoint>& direct) {
  const LocalPlayer me = local_ ? local_() : LocalPlayer{};
  std::optional<std::uint16_t> port = GamePort(me.port);
  if (port && kind != lobby::PacketKind::Goodbye) announcedPort_ = *port;
  // A goodbye goes whatever the field holds: it names the port last announced.
  if (kind == lobby::PacketKind::Goodbye) {
    port = announcedPort_ ? announcedPort_ : static_cast<std::uint16_t>(launch::kGamePort);
  }
  // Without a port the others could use, there is nothing to announce.
  if (!port) return;
  lobby::GameSetup setup = SetupOf(me, *port);
  if (kind == lobby::PacketKind::Announce) announced_ = setup;
  const std::string packet = lobby::EncodePacket(
      {kind, instance_, lobby::AnnouncedNick(me.nick), *port, me.mode, std::move(setup)});
  std::vector<lobby::Endpoint> to;
  for (std::uint32_t address : broadcasts) to.push_back({address, lobbyPort_});
  to.insert(to.end(), direct.begin(), direct.end());
  const wingui::SocketCalls& calls = wingui::SocketSeam().InUse;
  std::size_t failed = 0;
  int lastError = 0;
  for (const lobby::Endpoint& target : to) {
    const sockaddr_in address = SocketAddress(target.address, target.port);
    if (calls.SendTo(ownSocket_->get(), packet.data(), static_cast<int>(packet.size()), 0,
                     reinterpret_cast<const sockaddr*>(&address), sizeof address) < 0) {
      ++failed;
      lastError = calls.LastError();
    } else {
      ++sent_;
    }
  }
  if (kind == lobby::PacketKind::Announce) {
    sendProblem_ = !to.empty() && failed == to.size()
                       ? "Cannot send on this network (" +
                             launch::TidiedSystemErrorText(lastError) +
                             "): check that this PC is connected."
                       : std::string();
  }
}

void LobbySession::Receive(Socket& socket, bool lobbySocket) {
  const wingui::SocketCalls& calls = wingui::SocketSeam().InUse;
  const std::uint64_t now = GetTickCount64();
  // One byte more than the largest packet, so a larger datagram shows as too large.
  char buffer[lobby::kLargestPacket + 1];
  for (int i = 0; i < kReadsPerMessage; ++i) {
    sockaddr_in from{};
    int fromLength = sizeof from;
    const int got = calls.ReceiveFrom(socket.get(), buffer, sizeof buffer, 0,
                                      reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (got < 0) {
      const int code = calls.LastError();
      // A datagram too large, or the echo of an earlier send to a closed port: next one.
      if (code == WSAEMSGSIZE || code == WSAECONNRESET) continue;
      return;  // nothing more waiting (WSAEWOULDBLOCK), or the socket is gone
    }
    if (fromLength < static_cast<int>(sizeof from) || from.sin_family != AF_INET) continue;
    Heard(std::string_view(buffer, static_cast<std::size_t>(got)), {AddressOf(from), PortOf(from)},
          lobbySocket, now);
  }
  // The budget is spent and more may be waiting: the rest comes from the next tick.
  socket.Listen(Handle(), false);
}

void LobbySession::Heard(std::string_view bytes, lobby::Endpoint from, bool lobbySocket,
                         std::uint64_t now) {
  const std::optional<lobby::Announcement> packet = lobby::DecodePacket(bytes);
  if (!packet) return;
  using Heard = lobby::PeerTable::Heard;
  const Heard heard = table_.Hear(*packet, from, now);
  if (heard != Heard::New && heard != Heard::Refreshed && heard != Heard::Gone) return;
  // Listed or gone; a refresh can bring a new nick, port or mode.
  changed_ = true;
  if (heard != Heard::Gone && ownSocket_ && policy_.Heard(*packet, from, lobbySocket, now)) {
    Send(lobby::PacketKind::Answer, {}, {from});
  }
}

std::string LobbySession::CurrentProblem(std::uint64_t now) const {
  if (!openProblem_.empty()) return openProblem_;
  if (!socketProblem_.empty()) return socketProblem_;
  if (!sendProblem_.empty()) return sendProblem_;
  const LocalPlayer me = local_ ? local_() : LocalPlayer{};
  if (!GamePort(me.port)) {
    return "Your Port field is not a port number (1 to 65535): the others cannot see you "
           "until it is.";
  }
  // Nobody listed, and nobody heard for as long as a copy is remembered.
  const std::uint64_t since = table_.LastHeardMs() > openedMs_ ? table_.LastHeardMs() : openedMs_;
  if (table_.Peers().empty() && now - since >= lobby::PeerTable::kForgetAfterMs) {
    return "Nobody heard yet: open Find players on the other PCs too, and allow Lanvora "
           "through the firewall on private networks (some Wi-Fi networks keep their "
           "clients apart).";
  }
  return {};
}

void LobbySession::Report(std::uint64_t now) {
  std::string problem = CurrentProblem(now);
  bool changed = std::exchange(changed_, false);
  if (problem != problem_) {
    problem_ = std::move(problem);
    changed = true;
  }
  if (changed && OnChange) OnChange();
}

LRESULT LobbySession::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case kLobbySocketMessage:
    case kOwnSocketMessage: {
      const bool lobbySocket = msg == kLobbySocketMessage;
      Socket* socket = lobbySocket ? lobbySocket_.get() : ownSocket_.get();
      // A message posted before the socket paused (or was closed) is passed over.
      if (socket && !socket->Paused() && WSAGETSELECTEVENT(lParam) == FD_READ) {
        Receive(*socket, lobbySocket);
      }
      return 0;
    }
    case WM_ENDSESSION:
      // Windows is logging off or shutting down: the others hear the goodbye now.
      if (wParam) Close();
      return 0;
  }
  return DefaultMessage(msg, wParam, lParam);
}

}  // namespace players
