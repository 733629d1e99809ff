// Whether the games of a group will all get ready, predicted from what every copy announces.
//
// The game's start-up has no host and no time limit: each game listens on its interface
// address and port and greets, again and again until it is ready, the addresses it allows (at
// their listed ports) or, in broadcast mode, 255.255.255.255 at its own port. A game accepts a
// greeting only from an address it allows (taking the sender's port when it differs from the
// listed one) or, in broadcast mode, from anyone until it has the number of others it waits
// for; it greets back whoever it accepts for the first time, and it is ready once it has heard
// from every allowed entry or from that number of others. A ready game greets nobody any more.
// Players start their games one after another, in any order: the group is ready only when
// every game gets ready whatever the order.
//
// The group is every copy linked to this one through set-ups, directly or through others (one
// allows another's address, or both broadcast on one port). No sockets, no clock.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "lobby/GameSetup.h"

namespace lobby {

struct GroupMember {
  std::string nick;
  // Nothing for a copy of an earlier version, which does not announce its set-up.
  std::optional<GameSetup> setup;
  // Where its packets came from (the first one is used for a game listening on every interface).
  std::vector<std::uint32_t> heardFrom;
};

enum class MemberState {
  Ready,     // its game will get ready, and its player has ticked Ready
  Set,       // its game will get ready; its player has not ticked Ready
  Waiting,   // its game would wait (for whom: MemberVerdict::waitingFor)
  Unknown,   // set-up unknown: an earlier version of the program
};

struct MemberVerdict {
  MemberState state = MemberState::Unknown;
  // Who or what its game would wait for, in a few words ("Ben", "10.0.0.9:1635", "2 more
  // players"); empty unless Waiting.
  std::string waitingFor;
};

struct GroupVerdict {
  // Every game of the group will get ready, in any order of starting; no set-up is unknown.
  bool everyoneReady = false;
  // The members of the group (indexes into the members given), this copy first.
  std::vector<std::size_t> group;
  // What stands in the way, most important first, in words a player understands, naming the
  // player who must change something ("you" for this copy). Empty when everyone will get ready.
  std::vector<std::string> problems;
  // For each member given, in the same order; members outside the group stay Unknown.
  std::vector<MemberVerdict> members;
};

// members[self] is this copy.
GroupVerdict CheckGroup(const std::vector<GroupMember>& members, std::size_t self);

}  // namespace lobby
