// The one answer to an index outside a list.
#include "wingui/ListIndex.h"

#include "launch/Errors.h"

namespace wingui {

void CheckIndex(int index, int count) {
  if (index < 0 || index >= count) throw launch::Error("List index out of bounds");
}

}  // namespace wingui
