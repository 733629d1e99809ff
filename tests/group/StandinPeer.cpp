// One game's peer start-up, for a Linux network namespace: reads a net.txt, listens on its
// port, greets and answers as the game does, and after its run time writes "ready" or
// "waiting" (with whom it heard) to a result file.
//   standin_peer NET_TXT RUN_MS RESULT [START_AT_MS]
// START_AT_MS, on the monotonic clock, lets a test launch a whole start order at once: the
// stand-in sleeps until then before it listens, and its run time counts from then.
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "StandinScript.h"

using standin::Peer;
using standin::Script;

namespace {

constexpr long long kGreetEveryMs = 30;
constexpr char kGreeting[] = "greeting";

long long NowMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000LL + now.tv_nsec / 1'000'000;
}

void SleepUntil(long long ms) {
  timespec at{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000 * 1'000'000)};
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) != 0) {
  }
}

// The game's state: whom it waits for, whom it heard, and what it does with a greeting.
class Game {
 public:
  explicit Game(const Script& script) : script_(script) {
    for (const Peer& entry : script.allowed) entries_.push_back({entry, false});
  }

  // Nobody to wait for: the game gives up at once.
  bool GivesUp() const { return script_.broadcast ? script_.broadcastCount <= 0 : entries_.empty(); }
  bool Ready() const {
    if (script_.broadcast) return static_cast<long long>(heard_.size()) >= script_.broadcastCount;
    return std::all_of(entries_.begin(), entries_.end(), [](const Entry& e) { return e.heard; });
  }

  // Where the next round of greetings goes: 255.255.255.255 at the game's own port, or every
  // entry not heard yet at its port ("any" entries name nobody to send to).
  std::vector<Peer> Targets() const {
    if (script_.broadcast) return {{0xFFFFFFFF, script_.port}};
    std::vector<Peer> targets;
    for (const Entry& e : entries_) {
      if (!e.heard && e.peer.address != 0) targets.push_back(e.peer);
    }
    return targets;
  }

  // Takes a greeting from another game; true when the game accepts it and greets back.
  bool Accept(const Peer& from) {
    if (Ready()) return false;
    if (script_.broadcast) {
      if (std::find(heard_.begin(), heard_.end(), from) != heard_.end()) return false;
      heard_.push_back(from);
      return true;
    }
    bool accepted = false;
    for (Entry& e : entries_) {
      // A listed address counts from whatever port it greets from, which the entry then takes.
      if (e.peer.address == from.address && !e.heard) {
        e.peer.port = from.port;
        e.heard = true;
        accepted = true;
      }
    }
    if (accepted) heard_.push_back(from);
    return accepted;
  }

  const std::vector<Peer>& Heard() const { return heard_; }

 private:
  struct Entry {
    Peer peer;
    bool heard;
  };
  Script script_;
  std::vector<Entry> entries_;
  std::vector<Peer> heard_;
};

sockaddr_in SocketAddress(const Peer& peer) {
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_addr.s_addr = htonl(peer.address);
  at.sin_port = htons(peer.port);
  return at;
}

// The namespace's own addresses: a packet from one of them at the game's port is its own
// (a broadcast comes back to the socket that sent it).
std::vector<std::uint32_t> OwnAddresses() {
  std::vector<std::uint32_t> own;
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return own;
  for (ifaddrs* a = list; a; a = a->ifa_next) {
    if (a->ifa_addr && a->ifa_addr->sa_family == AF_INET) {
      own.push_back(ntohl(reinterpret_cast<const sockaddr_in*>(a->ifa_addr)->sin_addr.s_addr));
    }
  }
  freeifaddrs(list);
  return own;
}

void Greet(int socket, const Peer& to) {
  sockaddr_in at = SocketAddress(to);
  // Errors (nobody at an address, no route) are the network's business, as for the game.
  sendto(socket, kGreeting, sizeof kGreeting - 1, 0, reinterpret_cast<sockaddr*>(&at), sizeof at);
}

// Reads every datagram waiting on the socket and lets the game answer it.
void Receive(int socket, Game& game, std::uint16_t ownPort, const std::vector<std::uint32_t>& own) {
  char buffer[64];
  sockaddr_in from{};
  socklen_t size = sizeof from;
  ssize_t got;
  while ((got = recvfrom(socket, buffer, sizeof buffer, MSG_DONTWAIT,
                         reinterpret_cast<sockaddr*>(&from), &size)) >= 0) {
    Peer sender{ntohl(from.sin_addr.s_addr), ntohs(from.sin_port)};
    size = sizeof from;
    bool mine = sender.port == ownPort &&
                std::find(own.begin(), own.end(), sender.address) != own.end();
    if (mine || std::string(buffer, static_cast<std::size_t>(got)) != kGreeting) continue;
    if (game.Accept(sender)) Greet(socket, sender);
  }
}

int Fail(const std::string& result, const std::string& why) {
  std::ofstream(result) << "error " << why << "\n";
  std::fprintf(stderr, "standin_peer: %s\n", why.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 && argc != 5) {
    std::fprintf(stderr, "usage: standin_peer NET_TXT RUN_MS RESULT [START_AT_MS]\n");
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  if (!file) return Fail(argv[3], std::string("cannot read ") + argv[1]);
  std::stringstream text;
  text << file.rdbuf();
  const Script script = standin::ReadScript(text.str());
  const long long startAt = argc == 5 ? std::atoll(argv[4]) : NowMs();
  const long long end = startAt + std::atoll(argv[2]);

  // A stand-in is a game on a machine of its own: it keeps its pace ahead of whatever else runs
  // here, such as a build beside the test. Best effort: raising it needs root, as the LAN does.
  (void)setpriority(PRIO_PROCESS, 0, -10);
  SleepUntil(startAt);
  const long long late = std::max(0LL, NowMs() - startAt);
  Game game(script);
  if (!game.GivesUp()) {
    int sock = socket(AF_INET, SOCK_DGRAM, 0);
    int on = 1;
    sockaddr_in any = SocketAddress({INADDR_ANY, script.port});
    if (sock < 0 || setsockopt(sock, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0 ||
        bind(sock, reinterpret_cast<sockaddr*>(&any), sizeof any) != 0) {
      return Fail(argv[3], "cannot listen on port " + std::to_string(script.port));
    }
    const std::vector<std::uint32_t> own = OwnAddresses();
    long long nextGreeting = NowMs();
    for (long long now = NowMs(); now < end; now = NowMs()) {
      if (!game.Ready() && now >= nextGreeting) {
        for (const Peer& to : game.Targets()) Greet(sock, to);
        nextGreeting = now + kGreetEveryMs;
      }
      // A ready game has nothing more to send: it only drains its socket until the end.
      const long long wake = game.Ready() ? end : std::min(end, nextGreeting);
      pollfd wait{sock, POLLIN, 0};
      poll(&wait, 1, static_cast<int>(std::max(0LL, wake - now)) + 1);
      Receive(sock, game, script.port, own);
    }
    close(sock);
  }

  std::ofstream out(argv[3]);
  out << (!game.GivesUp() && game.Ready() ? "ready" : "waiting") << "\nheard";
  for (const Peer& peer : game.Heard()) out << ' ' << standin::FormatPeer(peer);
  out << "\nlate " << late << "\n";
  return out ? 0 : 2;
}
