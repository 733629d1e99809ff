// A LAN of network namespaces on one Linux bridge, and the stand-in games of a group run on it
// in every start order. Each player is a namespace with an address of its own; the orders of
// a batch of groups run side by side, each with every port shifted by its own offset. Needs root.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "NetScript.h"

namespace group_test {

// One player's set-up, as the program's fields give it.
struct Player {
  bool broadcast = false;
  std::uint16_t port = 0;  // the port field
  struct Entry {
    std::uint32_t address;
    std::uint16_t port;
  };
  std::vector<Entry> allowed;  // "Allow IP's": the allowed list
  int count = 0;               // "Broadcast on LAN": the players field
};
// Player i plays at Lan::Address(i).
using Group = std::vector<Player>;

// Orders that run side by side differ by a multiple of kPortBand in every port: a group's ports
// must lie within kPortBand of each other.
inline constexpr unsigned kPortBand = 100;

// Player i's script as the launch core writes it, every port raised by `shift`.
launch::NetScript ScriptOf(const Group& group, std::size_t player, unsigned shift = 0);

// What the stand-ins of a group did in each start order.
struct OrderRun {
  std::vector<std::size_t> order;   // players, first started first
  std::vector<std::string> result;  // per player: the stand-in's result file
  bool Waited(std::size_t player) const { return result[player].rfind("ready", 0) != 0; }
};

class Lan {
 public:
  // Why a LAN cannot be made here (not root, no namespaces, no bridge); nothing when it can.
  static std::optional<std::string> WhyNot();
  static std::uint32_t Address(std::size_t player);  // 10.88.0.11, .12, ...

  // Builds the bridge and `players` namespaces; throws when a step fails.
  explicit Lan(std::size_t players);
  ~Lan();
  Lan(const Lan&) = delete;
  Lan& operator=(const Lan&) = delete;

  // Runs each group's stand-ins once in every start order (players! orders each). Orders run
  // side by side, as many at once as the machine launches in reasonable time; an order whose
  // stand-ins did not start in it, a start gap apart, runs again.
  std::vector<std::vector<OrderRun>> RunEveryOrder(const std::vector<Group>& groups);
  // How many orders have had to run again so far.
  int OrdersRunAgain() const { return runAgain_; }

 private:
  // One start order of one group: runs[group][order].
  struct Job {
    std::size_t group;
    std::size_t order;
  };
  void Remove();
  // Runs the jobs at once; gives those whose stand-ins did not keep their order.
  std::vector<Job> TryBatch(const std::vector<Group>& groups, const std::vector<Job>& jobs, long long slackMs,
                            std::vector<std::vector<OrderRun>>& runs);

  std::string prefix_;
  std::size_t players_ = 0;
  std::string folder_;
  int runs_ = 0;
  int runAgain_ = 0;
};

}  // namespace group_test
