// Local address discovery: the host's own IPv4 addresses as dotted-decimal texts, in the
// order the resolver gives them, duplicates kept. It asks the local resolver only and never
// fails towards its caller: any failure yields an empty (or shorter) list. The resolver's
// calls go through the sockets seam (wingui/Sockets.h), which tests change.
#pragma once

#include <string>
#include <vector>

namespace setup {

std::vector<std::string> DiscoverLocalAddresses();

}  // namespace setup
