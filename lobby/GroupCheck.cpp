// The group check: who greets whom, who each game waits for, and the words for what is wrong.
//
// Which pairs can hear each other does not depend on the order of starting: X can hear Y when
// X accepts Y's greeting (X allows Y's address, or X broadcasts) and either Y's greetings reach
// X (Y allows X's address at X's port, or Y broadcasts on X's port) or X's reach Y and Y accepts
// them (and then greets back). That relation is symmetric. A game that allows its players
// needs every one of them; a broadcast game waiting for N others needs N of those that can
// hear it. A game that needs every game it can hear stays unready, and so greeting, until it
// has heard them all, whatever the order: the group is ready when every allowed entry is a game
// that can hear it and every broadcast game can hear exactly its N others. A broadcast game
// that can hear more than N gets ready with the first N and greets nobody after: a game that
// started later and waits for it may wait for ever.
#include "lobby/GroupCheck.h"

#include <algorithm>
#include <deque>
#include <optional>
#include <string>
#include <utility>

#include "launch/GameAddress.h"
#include "launch/ScriptCheck.h"

namespace lobby {
namespace {

std::string Dotted(Endpoint at) {
  return launch::DottedAddress(at.address) + ":" + std::to_string(at.port);
}

std::string Players(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " player" : " players");
}

class Check {
 public:
  Check(const std::vector<GroupMember>& members, std::size_t self)
      : members_(members), self_(self), verdict_{} {
    verdict_.members.resize(members.size());
    at_.resize(members.size());
    for (std::size_t i = 0; i < members.size(); ++i) {
      const GroupMember& m = members[i];
      if (!m.setup) continue;
      const std::uint32_t heard = m.heardFrom.empty() ? 0 : m.heardFrom.front();
      at_[i] = {m.setup->listen.address ? m.setup->listen.address : heard, m.setup->listen.port};
    }
  }

  GroupVerdict Run() {
    FindGroup();
    for (std::size_t i : verdict_.group) {
      if (!members_[i].setup) {
        Unknown(i);
      } else if (members_[i].setup->mode == PlayerMode::AllowIps) {
        CheckAllowList(i);
      } else {
        CheckBroadcast(i);
      }
    }
    for (std::size_t i : verdict_.group) Hazards(i);
    CompareGames();
    bool ready = verdict_.group.size() > 1;
    for (std::size_t i : verdict_.group) {
      MemberVerdict& v = verdict_.members[i];
      if (!members_[i].setup || v.state == MemberState::Waiting) {
        ready = false;
        continue;
      }
      v.state = members_[i].setup->ready ? MemberState::Ready : MemberState::Set;
    }
    verdict_.everyoneReady = ready;
    // This player's own problems first: those are the ones to change here.
    std::stable_partition(problems_.begin(), problems_.end(),
                          [](const auto& problem) { return problem.first; });
    for (auto& problem : problems_) verdict_.problems.push_back(std::move(problem.second));
    return verdict_;
  }

 private:
  bool Known(std::size_t i) const { return members_[i].setup.has_value(); }
  const GameSetup& Setup(std::size_t i) const { return *members_[i].setup; }
  bool Allows(std::size_t i) const { return Setup(i).mode == PlayerMode::AllowIps; }

  // Names as a sentence uses them: "you"/"your" for this copy.
  std::string Name(std::size_t i) const {
    if (i == self_) return "you";
    if (!members_[i].nick.empty()) return members_[i].nick;
    return "the player at " + launch::DottedAddress(Address(i));
  }
  std::string Whose(std::size_t i) const { return i == self_ ? "your" : Name(i) + "'s"; }
  // The sentence with its first letter in capitals.
  static std::string Capital(const std::string& text) {
    std::string capital = text;
    if (!capital.empty() && capital.front() >= 'a' && capital.front() <= 'z') {
      capital.front() = static_cast<char>(capital.front() - 'a' + 'A');
    }
    return capital;
  }
  // "you list" / "Cat lists".
  std::string Verb(std::size_t i, const char* plain, const char* third) const {
    return Name(i) + " " + (i == self_ ? plain : third);
  }
  std::uint32_t Address(std::size_t i) const {
    if (Known(i)) return at_[i].address;
    return members_[i].heardFrom.empty() ? 0 : members_[i].heardFrom.front();
  }
  bool HeardAt(std::size_t i, std::uint32_t address) const {
    if (Known(i)) return at_[i].address == address;
    const auto& from = members_[i].heardFrom;
    return std::find(from.begin(), from.end(), address) != from.end();
  }

  void Problem(std::size_t about, const std::string& text) {
    problems_.emplace_back(about == self_, Capital(text));
  }
  void Wait(std::size_t i, std::string forWhom) {
    MemberVerdict& v = verdict_.members[i];
    if (v.state == MemberState::Waiting) return;  // the first reason is the one shown
    v.state = MemberState::Waiting;
    v.waitingFor = std::move(forWhom);
  }

  // Greeting and acceptance, as the start-up has them.
  bool Reaches(std::size_t s, std::size_t t) const {
    if (Allows(s)) {
      const auto& allowed = Setup(s).allowed;
      return std::find(allowed.begin(), allowed.end(), at_[t]) != allowed.end();
    }
    return at_[s].port == at_[t].port;
  }
  bool Accepts(std::size_t t, std::size_t s) const {
    if (!Allows(t)) return true;
    const auto& allowed = Setup(t).allowed;
    return std::any_of(allowed.begin(), allowed.end(),
                       [&](const Endpoint& e) { return e.address == at_[s].address; });
  }
  bool CanHear(std::size_t x, std::size_t y) const {
    return Accepts(x, y) && (Reaches(y, x) || (Reaches(x, y) && Accepts(y, x)));
  }

  // Linked: one allows the other's address, or both broadcast on one port.
  bool Linked(std::size_t a, std::size_t b) const {
    auto lists = [&](std::size_t s, std::size_t t) {
      return Known(s) && Allows(s) &&
             std::any_of(Setup(s).allowed.begin(), Setup(s).allowed.end(),
                         [&](const Endpoint& e) { return HeardAt(t, e.address); });
    };
    const bool broadcastTogether =
        Known(a) && Known(b) && !Allows(a) && !Allows(b) && at_[a].port == at_[b].port;
    return lists(a, b) || lists(b, a) || broadcastTogether;
  }

  void FindGroup() {
    std::vector<bool> seen(members_.size(), false);
    std::deque<std::size_t> next{self_};
    seen[self_] = true;
    while (!next.empty()) {
      const std::size_t a = next.front();
      next.pop_front();
      verdict_.group.push_back(a);
      for (std::size_t b = 0; b < members_.size(); ++b) {
        if (!seen[b] && b != a && Linked(a, b)) {
          seen[b] = true;
          next.push_back(b);
        }
      }
    }
    inGroup_.assign(members_.size(), false);
    for (std::size_t i : verdict_.group) inGroup_[i] = true;
  }

  void Unknown(std::size_t i) {
    Problem(i, Whose(i) +
                   " set-up is unknown (an earlier version of Lanvora): nobody can tell "
                   "whether the group will get ready");
  }

  // The game at an entry's address: the one listening at the entry's port when there is one.
  std::optional<std::size_t> GameAt(std::size_t x, Endpoint entry) const {
    std::optional<std::size_t> found;
    for (std::size_t y : verdict_.group) {
      if (y == x || !HeardAt(y, entry.address)) continue;
      if (Known(y) && at_[y].port == entry.port) return y;
      if (!found) found = y;
    }
    return found;
  }

  void CheckAllowList(std::size_t x) {
    const GameSetup& setup = Setup(x);
    if (setup.allowed.empty()) {
      Wait(x, "nobody");
      Problem(x, Whose(x) + " allowed list has nobody in it: the game gives up at once");
      return;
    }
    if (setup.moreAllowed) {
      Wait(x, "more than 8 players");
      Problem(x, Verb(x, "list", "lists") +
                     " more than 8 players: the game's network code "
                     "supports at most 8 others");
    }
    std::vector<std::size_t> seen;
    for (const Endpoint& entry : setup.allowed) {
      if (entry == at_[x]) {
        Wait(x, "itself");
        Problem(x, Verb(x, "list", "lists") + " " + Whose(x) + " own address " + Dotted(entry) +
                       ": the game will wait for itself");
        continue;
      }
      const std::optional<std::size_t> y = GameAt(x, entry);
      if (!y) {
        Wait(x, Dotted(entry));
        Problem(x, Verb(x, "list", "lists") + " " + Dotted(entry) +
                       ", where nobody is playing: " + Whose(x) + " game will wait for it");
        continue;
      }
      if (std::find(seen.begin(), seen.end(), *y) != seen.end()) {
        Wait(x, Name(*y));
        Problem(x, Verb(x, "list", "lists") + " " + Name(*y) + " twice: " + Whose(x) +
                       " game will wait for the second one forever");
        continue;
      }
      seen.push_back(*y);
      if (!Known(*y)) {
        Wait(x, Name(*y));
        continue;  // the unknown set-up is a problem of its own
      }
      if (CanHear(x, *y)) continue;
      Wait(x, Name(*y));
      if (!Accepts(*y, x)) {
        Problem(x, Capital(Name(*y)) + (*y == self_ ? " do not list " : " does not list ") +
                       Name(x) + ": " + Whose(x) + " game will wait for " + Name(*y) + ", and " +
                       (*y == self_ ? "yours" : Whose(*y)) + " ignores " +
                       (x == self_ ? "yours" : Whose(x)));
      } else {
        Problem(x, Verb(x, "list", "lists") + " " + Name(*y) + " at port " +
                       std::to_string(entry.port) + ", but " + Name(*y) +
                       (*y == self_ ? " play" : " plays") + " on port " +
                       std::to_string(at_[*y].port) + ": " + Whose(x) + " game will wait for " +
                       Name(*y) + ", whose greetings do not reach it either");
      }
    }
  }

  std::vector<std::size_t> Hearers(std::size_t x) const {
    std::vector<std::size_t> hearers;
    for (std::size_t y : verdict_.group) {
      if (y != x && Known(y) && CanHear(x, y)) hearers.push_back(y);
    }
    return hearers;
  }

  void CheckBroadcast(std::size_t x) {
    const std::size_t wanted = Setup(x).broadcastCount;
    const std::size_t here = Hearers(x).size();
    const std::string plays =
        Verb(x, "play", "plays") + " Broadcast on LAN for " + Players(wanted + 1);
    if (wanted == 0) {
      Wait(x, "nobody");
      Problem(x, plays + ": the game gives up at once with nobody to wait for");
      return;
    }
    if (wanted > launch::kMaxOtherPlayers) {
      Problem(x, plays +
                     ": the game's network code supports at most 8 other players, and "
                     "more can crash it");
    }
    if (here < wanted) {
      Wait(x, Players(wanted - here) + " more");
      Problem(x, plays + "; " + std::to_string(here + 1) + (here == 0 ? " is" : " are") + " here");
      // Broadcasts on another port are the usual reason.
      for (std::size_t y = 0; y < members_.size(); ++y) {
        if (y == x || !Known(y) || Allows(y) || at_[y].port == at_[x].port) continue;
        Problem(x, Capital(Name(y)) + (y == self_ ? " use port " : " uses port ") +
                       std::to_string(at_[y].port) + " for broadcast, " + Name(x) +
                       (x == self_ ? " use " : " uses ") + std::to_string(at_[x].port) + ": " +
                       (x == self_ || y == self_ ? "your" : "their") +
                       " broadcasts do not reach each other");
        break;
      }
    }
  }

  // A broadcast game that can hear more than it waits for is ready with the first it hears:
  // those it has not heard may wait for it.
  void Hazards(std::size_t x) {
    if (!Known(x) || Allows(x) || Setup(x).broadcastCount == 0) return;
    const std::vector<std::size_t> hearers = Hearers(x);
    const std::size_t wanted = Setup(x).broadcastCount;
    if (hearers.size() <= wanted) return;
    for (std::size_t y : hearers) Wait(y, Name(x));
    Problem(x, Verb(x, "play", "plays") + " Broadcast on LAN for " + Players(wanted + 1) +
                   ", but " + std::to_string(hearers.size() + 1) + " are here: " + Whose(x) +
                   " game is ready with the first " +
                   (wanted == 1 ? std::string("one") : std::to_string(wanted)) +
                   " it hears and ignores the others, who may wait for it");
  }

  void CompareGames() {
    if (!Known(self_)) return;
    const Fingerprint& own = Setup(self_).game;
    const Fingerprint none{};
    if (own == none) return;
    for (std::size_t i = 0; i < members_.size(); ++i) {
      if (i == self_ || !Known(i) || Setup(i).game == none || Setup(i).game == own) continue;
      if (!inGroup_[i]) continue;
      problems_.emplace_back(false, Capital(Whose(i)) +
                                        " game differs from yours (another version or other data "
                                        "files): the game may fall out of sync");
    }
  }

  const std::vector<GroupMember>& members_;
  std::size_t self_;
  GroupVerdict verdict_;
  std::vector<Endpoint> at_;  // where each known member's game listens
  std::vector<bool> inGroup_;
  // Each problem, and whether it is this player's own.
  std::vector<std::pair<bool, std::string>> problems_;
};

}  // namespace

GroupVerdict CheckGroup(const std::vector<GroupMember>& members, std::size_t self) {
  return Check(members, self).Run();
}

}  // namespace lobby
