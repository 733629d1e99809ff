// The sockets header goes before the window system's, which the session's header brings.
#include <winsock2.h>

#include "players/LobbySession.h"

#include <utility>

#include "launch/GameAddress.h"
#include "launch/Platform.h"
#include "lobby/Mix64.h"
#include "players/NetworkAdapters.h"
#include "players/SocketAddress.h"
#include "players/WinsockApi.h"
#include "wingui/Failures.h"

namespace players {
namespace {

// Messages of the session's hidden window.
constexpr UINT kLobbySocketMessage = WM_APP + 0x41;
constexpr UINT kOwnSocketMessage = WM_APP + 0x42;
constexpr UINT_PTR kTickTimer = 1;
// Often enough for the 1 s steps of the opening announcements and for prompt forgetting.
constexpr UINT kTickMs = 250;
// At most this many datagrams per readiness message: a flood cannot keep the window from
// painting and answering; the rest comes with the next message.
constexpr int kReadsPerMessage = 64;
// A copy not heard on the lobby socket for this long is sent the announcements directly.
constexpr std::uint64_t kHeardLatelyMs = lobby::AnnounceSchedule::kIntervalMs + 1000;

// The game port as the game reads the Port field; nothing for a field it cannot read.
std::optional<std::uint16_t> GamePort(const std::string& field) {
  const std::optional<launch::GameAddress> read = launch::ReadGameAddress("any:" + field);
  if (!read) return std::nullopt;
  return static_cast<std::uint16_t>(read->port);
}

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

}  // namespace

// A UDP socket of the sockets library, closed with it.
class LobbySession::Socket {
 public:
  Socket(const WinsockApi& api, SOCKET s) : api_(api), s_(s) {}
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  ~Socket() { api_.closesocket(s_); }
  SOCKET get() const { return s_; }

 private:
  const WinsockApi& api_;
  SOCKET s_;
};

LobbySession::LobbySession(std::function<LocalPlayer()> local, std::uint16_t lobbyPort)
    : local_(std::move(local)),
      lobbyPort_(lobbyPort),
      instance_(NewInstanceId(this)),
      openedMs_(GetTickCount64()),
      window_(*this),
      table_(instance_),
      schedule_(openedMs_, instance_) {
  // The timer first: without it there is no lobby, and nothing is opened yet.
  wingui::StartTimer(window_.Handle(), kTickTimer, kTickMs);
  Open();
  Tick();
}

LobbySession::~LobbySession() {
  KillTimer(window_.Handle(), kTickTimer);
  if (ownSocket_) Send(lobby::PacketKind::Goodbye, lobby::AnnounceTargets(adapters_), {});
  lobbySocket_.reset();
  ownSocket_.reset();
  if (started_) Winsock()->cleanup();
}

void LobbySession::Open() {
  const WinsockApi* api = Winsock();
  WSADATA data{};
  if (!api || api->startup(MAKEWORD(2, 2), &data) != 0) {
    openProblem_ = "The network library cannot be loaded: Lanvora cannot look for players.";
    return;
  }
  started_ = true;
  const BOOL on = TRUE;
  auto makeSocket = [&](std::uint16_t port, bool shared, UINT message,
                        std::unique_ptr<Socket>& socket) -> int {
    const SOCKET s = api->socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (s == INVALID_SOCKET) return api->lastError();
    socket = std::make_unique<Socket>(*api, s);
    // Several copies on one machine share the lobby port; every one of them gets each
    // broadcast that arrives there.
    if (shared) api->setsockopt(s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&on), sizeof on);
    api->setsockopt(s, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on), sizeof on);
    const sockaddr_in any = SocketAddress(0, port);
    if (api->bind(s, reinterpret_cast<const sockaddr*>(&any), sizeof any) != 0 ||
        api->asyncSelect(s, window_.Handle(), message, FD_READ) != 0) {
      const int code = api->lastError();
      socket.reset();
      return code;
    }
    return 0;
  };
  if (const int code = makeSocket(0, false, kOwnSocketMessage, ownSocket_)) {
    openProblem_ = "Cannot open a network socket (" + launch::TidiedSystemErrorText(code) +
                   "): Lanvora cannot look for players.";
    return;
  }
  sockaddr_in own{};
  int length = sizeof own;
  if (api->getsockname(ownSocket_->get(), reinterpret_cast<sockaddr*>(&own), &length) == 0) {
    ownPort_ = PortOf(own);
  }
  if (const int code = makeSocket(lobbyPort_, true, kLobbySocketMessage, lobbySocket_)) {
    openProblem_ = "Cannot listen on UDP port " + std::to_string(lobbyPort_) + " (" +
                   launch::TidiedSystemErrorText(code) +
                   "): only players who answer are found. Close the program that holds the "
                   "port, then open this window again.";
  }
}

void LobbySession::Tick() {
  const std::uint64_t now = GetTickCount64();
  if (ownSocket_ && schedule_.Due(now)) {
    Announce(now);
    schedule_.Sent(now);
  }
  Report(now, table_.Expire(now));
}

void LobbySession::Announce(std::uint64_t now) {
  adapters_ = ListAdapters();
  std::vector<std::pair<std::uint32_t, std::uint16_t>> direct;
  // Copies heard only through their answers lately (a firewall or another program keeps the
  // lobby port from us) are told directly: they answer that every time, or we would lose them.
  for (const lobby::Peer& peer : table_.Peers()) {
    const auto heard = heardOnLobbyPort_.find(peer.instance);
    const std::uint64_t last = heard == heardOnLobbyPort_.end() ? 0 : heard->second;
    if (now - last > kHeardLatelyMs) direct.emplace_back(peer.address, peer.sourcePort);
  }
  Send(lobby::PacketKind::Announce, lobby::AnnounceTargets(adapters_), direct);
}

void LobbySession::Send(lobby::PacketKind kind, const std::vector<std::uint32_t>& broadcasts,
                        const std::vector<std::pair<std::uint32_t, std::uint16_t>>& direct) {
  const LocalPlayer me = local_ ? local_() : LocalPlayer{};
  const std::optional<std::uint16_t> port = GamePort(me.port);
  // Without a port the others could not use, there is nothing to announce.
  if (!port) return;
  const std::string packet = lobby::EncodePacket(
      {kind, instance_, lobby::AnnouncedNick(me.nick), *port, me.mode});
  std::vector<std::pair<std::uint32_t, std::uint16_t>> to;
  for (std::uint32_t address : broadcasts) to.emplace_back(address, lobbyPort_);
  to.insert(to.end(), direct.begin(), direct.end());
  const WinsockApi& api = *Winsock();
  int failed = 0;
  int lastError = 0;
  for (const auto& [address, targetPort] : to) {
    const sockaddr_in target = SocketAddress(address, targetPort);
    if (api.sendto(ownSocket_->get(), packet.data(), static_cast<int>(packet.size()), 0,
                   reinterpret_cast<const sockaddr*>(&target), sizeof target) < 0) {
      ++failed;
      lastError = api.lastError();
    } else {
      ++sent_;
    }
  }
  if (kind == lobby::PacketKind::Announce) {
    sendProblem_ = !to.empty() && failed == static_cast<int>(to.size())
                       ? "Cannot send on this network (" + launch::TidiedSystemErrorText(lastError) +
                             "): check that this PC is connected."
                       : std::string();
  }
}

void LobbySession::Receive(bool lobbySocket) {
  Socket* socket = lobbySocket ? lobbySocket_.get() : ownSocket_.get();
  if (!socket) return;
  const WinsockApi& api = *Winsock();
  const std::uint64_t now = GetTickCount64();
  bool changed = false;
  // One byte more than the largest packet, so a larger datagram shows as too large.
  char buffer[lobby::kMaxPacketSize + 1];
  for (int i = 0; i < kReadsPerMessage; ++i) {
    sockaddr_in from{};
    int fromLength = sizeof from;
    const int got = api.recvfrom(socket->get(), buffer, sizeof buffer, 0,
                                 reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (got < 0) {
      const int code = api.lastError();
      // A datagram too large, or the echo of an earlier send to a closed port: next one.
      if (code == WSAEMSGSIZE || code == WSAECONNRESET) continue;
      break;  // nothing more waiting (WSAEWOULDBLOCK), or the socket is gone
    }
    if (fromLength < static_cast<int>(sizeof from) || from.sin_family != AF_INET) continue;
    Heard(std::string(buffer, static_cast<std::size_t>(got)), AddressOf(from), PortOf(from),
          lobbySocket, now, changed);
  }
  Report(now, changed);
}

void LobbySession::Heard(const std::string& bytes, std::uint32_t from, std::uint16_t port,
                         bool lobbySocket, std::uint64_t now, bool& changed) {
  const std::optional<lobby::Announcement> packet = lobby::DecodePacket(bytes);
  if (!packet) return;
  using Heard = lobby::PeerTable::Heard;
  const Heard heard = table_.Hear(*packet, from, port, now);
  if (heard == Heard::Ignored || heard == Heard::Full) return;
  // Listed or gone; a refresh can bring a new nick, port or mode.
  changed = true;
  if (heard == Heard::Gone) {
    heardOnLobbyPort_.erase(packet->instance);
  } else if (lobbySocket) {
    heardOnLobbyPort_[packet->instance] = now;
  }
  // A newly heard copy is answered once; an announcement sent here directly is always
  // answered, since its sender hears us no other way. Never an answer to an answer.
  const bool answer = packet->kind == lobby::PacketKind::Announce &&
                      (heard == Heard::New || !lobbySocket);
  if (answer && ownSocket_ && limiter_.Allow(from, now)) {
    Send(lobby::PacketKind::Answer, {}, {{from, port}});
  }
}

std::string LobbySession::CurrentProblem(std::uint64_t now) const {
  if (!openProblem_.empty()) return openProblem_;
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

void LobbySession::Report(std::uint64_t now, bool changed) {
  std::string problem = CurrentProblem(now);
  if (problem != problem_) {
    problem_ = std::move(problem);
    changed = true;
  }
  if (changed && OnChange) OnChange();
}

LRESULT LobbySession::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_TIMER:
      if (wParam == kTickTimer) Tick();
      return 0;
    case kLobbySocketMessage:
    case kOwnSocketMessage:
      if (WSAGETSELECTEVENT(lParam) == FD_READ) Receive(msg == kLobbySocketMessage);
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace players
