// Windows Sockets 1.1 sequence: start the library, ask for the host name, resolve it, walk
// the address list, shut the library down. The start-up result is not examined; a failed
// name query counts as a failed lookup.
#include <winsock2.h>

#include "setup/LocalAddresses.h"

#include "lobby/Ipv4.h"
#include "wingui/Sockets.h"

namespace setup {
namespace {

// Host names are at most 255 bytes plus the terminator; a larger buffer never truncates.
constexpr int kHostNameBuffer = 256;

}  // namespace

std::vector<std::string> DiscoverLocalAddresses() {
  const wingui::SocketCalls& calls = wingui::SocketSeam().InUse;
  WSADATA data{};
  calls.Startup(0x0101, &data);

  std::vector<std::string> addresses;
  char name[kHostNameBuffer] = {};
  // A failed name query may leave anything in the buffer: it counts as a failed lookup
  // instead of sending that to the resolver.
  const bool named = calls.GetHostName(name, kHostNameBuffer) == 0;
  name[kHostNameBuffer - 1] = '\0';

  const hostent* host = named && name[0] != '\0' ? calls.GetHostByName(name) : nullptr;
  // Only IPv4 entries are in scope; a Winsock 1.1 resolver gives nothing else.
  if (host && host->h_addrtype == AF_INET && host->h_length == 4) {
    for (char** entry = host->h_addr_list; entry && *entry; ++entry) {
      addresses.push_back(
          lobby::FormatIpv4(lobby::Ipv4FromBytes(reinterpret_cast<const unsigned char*>(*entry))));
    }
  }

  calls.Cleanup();
  return addresses;
}

}  // namespace setup
