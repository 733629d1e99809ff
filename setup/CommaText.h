// The allowed list as one line of comma-separated text, as the tray menu's players item
// shows it: entries that hold a blank, a control character, a double quote or a comma are
// put in double quotes (inner quotes doubled); one empty entry alone shows as "".
#pragma once

#include <string>
#include <vector>

namespace setup {

std::string CommaText(const std::vector<std::string>& entries);

}  // namespace setup
