// The LAN of the group tests: a bridge and one namespace per player (10.88.0.11/24 up, lo up,
// a default route for 255.255.255.255), named with a suffix of this run. The orders of a batch
// are launched together; each stand-in sleeps until its own start on the monotonic clock, so
// that launching many processes cannot reorder the starts, and says how late it woke, so that
// an order a busy moment did not keep is seen and run again.
#include "GroupLan.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <sstream>
#include <stdexcept>

#include "lobby/Ipv4.h"
#include "LaunchSettings.h"

extern char** environ;

namespace group_test {
namespace {

// Each game starts once the earlier ones have settled: greetings go every 30 ms, so a round
// trip and a repeat fit well within a start gap; all run a second past the last start.
constexpr long long kStartGapMs = 150;
constexpr long long kSettleMs = 1000;
// An order is kept when each stand-in started at least three rounds of greetings after the
// one before it, and none so late that it lacks the time to settle.
constexpr long long kMinGapMs = 110;
constexpr long long kMostLateMs = kSettleMs / 2;
constexpr int kAttempts = 5;
constexpr long long kOverrunMs = 5000;
// Launching one stand-in through "ip netns exec" costs some 10 to 15 ms of a core here; a batch
// of orders starts together once all are launched.
constexpr long long kLaunchMs = 14;
constexpr std::size_t kBatchProcesses = 200;

long long NowMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000LL + now.tv_nsec / 1'000'000;
}

bool Quietly(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

void OrThrow(const std::string& command) {
  if (!Quietly(command)) throw std::runtime_error("LAN set-up failed: " + command);
}

std::string ReadAll(const std::string& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}


// The group's highest port; its ports must lie within one band.
unsigned HighestPort(const Group& group) {
  std::vector<unsigned> ports;
  for (const Player& p : group) {
    ports.push_back(p.port);
    for (const Player::Entry& e : p.allowed) ports.push_back(e.port);
  }
  auto [low, high] = std::minmax_element(ports.begin(), ports.end());
  if (*high - *low >= kPortBand) throw std::invalid_argument("a group's ports lie further apart than kPortBand");
  return *high;
}

pid_t Spawn(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
    throw std::runtime_error("cannot start " + args[0]);
  }
  return pid;
}

}  // namespace

launch::NetScript ScriptOf(const Group& group, std::size_t player, unsigned shift) {
  const Player& p = group[player];
  launch::AllowedList allowed;
  for (const Player::Entry& e : p.allowed) {
    allowed.push_back(launch::MakeAllowEntry(lobby::FormatIpv4(e.address), std::to_string(e.port + shift)));
  }
  return launch::BuildNetScript(p.broadcast ? launch::ScriptForm::Broadcast : launch::ScriptForm::AllowIps,
                                lobby::FormatIpv4(Lan::Address(player)), std::to_string(p.port + shift),
                                allowed, std::to_string(p.count));
}

std::optional<std::string> Lan::WhyNot() {
  if (!Quietly("ip -V")) return "the ip command (iproute2) is missing";
  if (geteuid() != 0) return "not run as root: network namespaces need root";
  std::string probe = "lgprobe" + std::to_string(getpid() % 100000);
  if (!Quietly("ip netns add " + probe)) return "network namespaces cannot be made here (ip netns add failed)";
  Quietly("ip netns del " + probe);
  if (!Quietly("ip link add " + probe + " type bridge")) return "a bridge cannot be made here (ip link add type bridge failed)";
  Quietly("ip link del " + probe);
  return std::nullopt;
}

std::uint32_t Lan::Address(std::size_t player) {
  return 0x0A580000u + 11 + static_cast<std::uint32_t>(player);  // 10.88.0.11 on
}

Lan::Lan(std::size_t players) : players_(players) {
  char suffix[8];
  std::snprintf(suffix, sizeof suffix, "%04x", static_cast<unsigned>(getpid() ^ NowMs()) & 0xFFFF);
  prefix_ = std::string("lg") + suffix;
  std::string folder = (std::filesystem::temp_directory_path() / "lanvora-group-XXXXXX").string();
  if (!mkdtemp(folder.data())) throw std::runtime_error("cannot make a folder under " + folder);
  folder_ = folder;
  try {
    OrThrow("ip link add " + prefix_ + "br type bridge");
    OrThrow("ip link set " + prefix_ + "br up");
    for (std::size_t i = 0; i < players; ++i) {
      std::string ns = prefix_ + "p" + std::to_string(i);
      std::string in = "ip netns exec " + ns + " ";
      OrThrow("ip netns add " + ns);
      OrThrow("ip link add " + ns + "v type veth peer name eth0 netns " + ns);
      OrThrow("ip link set " + ns + "v master " + prefix_ + "br up");
      OrThrow(in + "ip addr add " + lobby::FormatIpv4(Address(i)) + "/24 dev eth0");
      OrThrow(in + "ip link set eth0 up");
      OrThrow(in + "ip link set lo up");
      // 255.255.255.255 leaves through the default route, as on a PC with a gateway.
      OrThrow(in + "ip route add default dev eth0");
    }
  } catch (...) {
    Remove();
    throw;
  }
}

Lan::~Lan() { Remove(); }

void Lan::Remove() {
  for (std::size_t i = 0; i < players_; ++i) {
    std::string ns = prefix_ + "p" + std::to_string(i);
    Quietly("ip link del " + ns + "v");
    Quietly("ip netns del " + ns);
  }
  Quietly("ip link del " + prefix_ + "br");
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

std::vector<std::vector<OrderRun>> Lan::RunEveryOrder(const std::vector<Group>& groups) {
  std::vector<std::vector<OrderRun>> runs(groups.size());
  std::vector<Job> pending;
  for (std::size_t g = 0; g < groups.size(); ++g) {
    const std::size_t n = groups[g].size();
    if (n > players_) throw std::invalid_argument("more players than the LAN has");
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    do {
      pending.push_back({g, runs[g].size()});
      runs[g].push_back({order, std::vector<std::string>(n)});
    } while (std::next_permutation(order.begin(), order.end()));
  }
  const std::size_t orders = pending.size();
  for (int attempt = 1; !pending.empty(); ++attempt) {
    if (attempt > kAttempts) {
      throw std::runtime_error(std::to_string(pending.size()) + " of " + std::to_string(orders) +
                               " start orders were not kept in " + std::to_string(kAttempts) +
                               " attempts: the machine is too busy to keep the orders");
    }
    std::vector<Job> voided;
    for (std::size_t from = 0, to = 0; from < pending.size(); from = to) {
      std::size_t processes = 0;
      while (to < pending.size() &&
             (to == from || processes + groups[pending[to].group].size() <= kBatchProcesses)) {
        processes += groups[pending[to++].group].size();
      }
      // A busy machine launches slower: each attempt gives the launches twice the room.
      const long long slackMs = (100 + kLaunchMs * static_cast<long long>(processes)) << (attempt - 1);
      const std::vector<Job> batch(pending.begin() + static_cast<std::ptrdiff_t>(from),
                                   pending.begin() + static_cast<std::ptrdiff_t>(to));
      for (const Job& job : TryBatch(groups, batch, slackMs, runs)) voided.push_back(job);
    }
    runAgain_ += static_cast<int>(voided.size());
    pending = std::move(voided);
  }
  return runs;
}

std::vector<Lan::Job> Lan::TryBatch(const std::vector<Group>& groups, const std::vector<Job>& jobs, long long slackMs,
                                    std::vector<std::vector<OrderRun>>& runs) {
  // Every order's scripts first, each order on a band of ports of its own.
  std::vector<std::string> folders;
  unsigned highest = 0;
  for (std::size_t j = 0; j < jobs.size(); ++j) {
    const Group& group = groups[jobs[j].group];
    highest = std::max(highest, HighestPort(group));
    std::string folder = folder_ + "/" + std::to_string(++runs_) + "/";
    std::filesystem::create_directory(folder);
    for (std::size_t p = 0; p < group.size(); ++p) {
      launch::WriteNetScript(folder + "net" + std::to_string(p) + ".txt",
                             ScriptOf(group, p, static_cast<unsigned>(j) * kPortBand));
    }
    folders.push_back(folder);
  }
  if (highest + jobs.size() * kPortBand > 65535) throw std::invalid_argument("too many orders for the ports above the group's");

  // The orders start staggered within a start gap, so that fewer stand-ins wake at once.
  const long long first = NowMs() + slackMs;
  const long long count = static_cast<long long>(jobs.size());
  long long lastEnd = first;
  std::vector<std::vector<long long>> startAt(jobs.size());
  std::vector<pid_t> started;
  for (std::size_t j = 0; j < jobs.size(); ++j) {
    const OrderRun& run = runs[jobs[j].group][jobs[j].order];
    const long long n = static_cast<long long>(run.order.size());
    const long long orderFirst = first + static_cast<long long>(j) * kStartGapMs / count;
    const long long end = orderFirst + (n - 1) * kStartGapMs + kSettleMs;
    lastEnd = std::max(lastEnd, end);
    for (long long at = 0; at < n; ++at) {
      const std::string p = std::to_string(run.order[static_cast<std::size_t>(at)]);
      startAt[j].push_back(orderFirst + at * kStartGapMs);
      started.push_back(Spawn({"ip", "netns", "exec", prefix_ + "p" + p, STANDIN_PEER_PATH, folders[j] + "net" + p + ".txt",
                               std::to_string(end - startAt[j].back()), folders[j] + "result" + p + ".txt",
                               std::to_string(startAt[j].back())}));
    }
  }
  // A stand-in still running well past its end is stopped; its missing result fails the run.
  for (pid_t pid : started) {
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
      if (NowMs() > lastEnd + kOverrunMs) kill(pid, SIGKILL);
      usleep(10'000);
    }
  }
  // An order holds when its stand-ins started in it, each at least kMinGapMs after the one
  // before; the results of one that did not are the run of some other order, and it runs again.
  std::vector<Job> voided;
  for (std::size_t j = 0; j < jobs.size(); ++j) {
    OrderRun& run = runs[jobs[j].group][jobs[j].order];
    bool kept = true;
    long long previous = 0;
    for (std::size_t at = 0; at < run.order.size(); ++at) {
      const std::size_t p = run.order[at];
      std::string& result = run.result[p];
      result = ReadAll(folders[j] + "result" + std::to_string(p) + ".txt");
      const std::size_t lateAt = result.find("\nlate ");
      if (lateAt == std::string::npos) throw std::runtime_error("stand-in failed: " + result);
      const long long late = std::atoll(result.c_str() + lateAt + 6);
      const long long actual = startAt[j][at] + late;
      kept = kept && late <= kMostLateMs && (at == 0 || actual - previous >= kMinGapMs);
      previous = actual;
    }
    if (!kept) voided.push_back(jobs[j]);
  }
  return voided;
}

}  // namespace group_test
