// Starting together: the player ticks Ready, and once every game of the group will get ready
// and every player of the group has ticked Ready too, this copy starts its own game, once. No
// copy starts another's game: each decides from what all announce, and a copy outside the group
// (or alone in it) starts nothing. Unticking, or any change of this copy's set-up (its mode,
// addresses, list or count), takes the mark away. No clock: the caller asks on each refresh.
#pragma once

#include <optional>

#include "GameSetup.h"
#include "GroupCheck.h"

namespace lobby {

class StartTogether {
 public:
  // The player ticked (or unticked) Ready, with this set-up.
  void SetReady(bool ready, const GameSetup& setup);
  bool Ready() const { return markedWith_.has_value(); }

  // On each refresh, with this copy's set-up now (its ready mark aside) and the verdict on its
  // group: true when this copy is to start its game now. Then, or when the set-up has changed,
  // the mark goes.
  bool Update(const GameSetup& setupNow, const GroupVerdict& verdict);

 private:
  std::optional<GameSetup> markedWith_;  // the set-up when Ready was ticked
};

}  // namespace lobby
