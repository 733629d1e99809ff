// The ready mark and the moment to start.
#include "lobby/StartTogether.h"

#include <algorithm>

namespace lobby {
namespace {

// What the player set up: neither the ready mark (ticking is no change) nor the fingerprint
// (the game's files are hashed while the player waits; another game is the check's concern).
GameSetup Unmarked(GameSetup setup) {
  setup.ready = false;
  setup.game = {};
  return setup;
}

}  // namespace

void StartTogether::SetReady(bool ready, const GameSetup& setup) {
  markedWith_.reset();
  started_ = false;
  if (ready) markedWith_ = Unmarked(setup);
}

bool StartTogether::Update(const GameSetup& setupNow, const GroupVerdict& verdict) {
  if (!markedWith_) return false;
  if (Unmarked(setupNow) != *markedWith_) {
    SetReady(false, setupNow);
    return false;
  }
  if (started_) return false;
  // The group's other players, every one ticked, and nothing in the way.
  const bool othersReady =
      verdict.group.size() > 1 &&
      std::all_of(verdict.group.begin() + 1, verdict.group.end(), [&](std::size_t i) {
        return verdict.members[i].state == MemberState::Ready;
      });
  if (!verdict.everyoneReady || !verdict.problems.empty() || !othersReady) return false;
  started_ = true;
  return true;
}

}  // namespace lobby
