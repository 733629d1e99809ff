// Building allowed-list entries from the window's address and port texts.
#include "LaunchSettings.h"

namespace launch {

std::string MakeAllowEntry(std::string_view address, std::string_view port) {
  std::string entry = "allow ";
  entry.append(address).append(":").append(port);
  return entry;
}

}  // namespace launch
