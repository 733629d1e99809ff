// An index into a list (list box rows, list view rows, menu items, image list images), the
// same way everywhere: -1 names no item (nothing selected) and asks for nothing; any other
// index outside the list is a programming error (CheckIndex throws "List index out of
// bounds"). What a player can do, such as "Remove Selected" with nothing selected, is answered
// by the command before it asks the list.
#pragma once

namespace wingui {

// Throws unless 0 <= index < count.
void CheckIndex(int index, int count);

}  // namespace wingui
