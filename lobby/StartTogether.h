// Starting together: the player ticks Ready, and once every game of the group will get ready
// and every player of the group has ticked Ready too, this copy starts its own game, once. No
// copy starts another's game: each decides from what all announce, and a copy outside the group
// (or alone in it) starts nothing. The mark stays after the start, so the others, who hear of
// the last click a moment later, start too; unticking, or any change of this copy's set-up (its
// mode, addresses, list or count), takes it away. No clock: the caller asks on each refresh.
#pragma once

#include <optional>

#include "lobby/GameSetup.h"
#include "lobby/GroupCheck.h"

namespace lobby {

class StartTogether {
 public:
  // The player ticked (or unticked) Ready, with this set-up.
  void SetReady(bool ready, const GameSetup& setup);
  bool Ready() const { return markedWith_.has_value(); }

  // On each refresh, with this copy's set-up now (its ready mark aside) and the verdict on its
  // group: true (once per mark) when this copy is to start its game now. A changed set-up
  // takes the mark away. A start that did not go on (a warning answered No) takes it away too:
  // the caller unticks.
  bool Update(const GameSetup& setupNow, const GroupVerdict& verdict);

 private:
  std::optional<GameSetup> markedWith_;  // the set-up when Ready was ticked
  bool started_ = false;                 // this mark has started the game
};

}  // namespace lobby
