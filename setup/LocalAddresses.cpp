// Windows Sockets 1.1 sequence: start the library, ask for the host name, resolve it, walk
// the address list, shut the library down. The start-up result is not examined; a failed
// name query counts as a failed lookup.
#include "setup/LocalAddresses.h"

#include <winsock2.h>

#include "wingui/LateBinding.h"

namespace setup {
namespace {

// Host names are at most 255 bytes plus the terminator; a larger buffer never truncates.
constexpr int kHostNameBuffer = 256;

// Stand-ins for a sockets library that cannot be loaded: every step fails, so the
// discovery finds nothing, as it does when the library refuses to start.
int __stdcall NoStartup(unsigned short, WSAData*) { return WSASYSNOTREADY; }
int __stdcall NoHostName(char*, int) { return SOCKET_ERROR; }
hostent* __stdcall NoHostByName(const char*) { return nullptr; }
int __stdcall NoCleanup() { return SOCKET_ERROR; }

template <typename Function>
Function SocketFunction(const char* name, Function missing) {
  const auto found = wingui::LateBound<Function>("ws2_32.dll", name);
  return found ? found : missing;
}

std::string DottedQuad(const unsigned char* bytes) {
  std::string text;
  for (int i = 0; i < 4; ++i) {
    if (i > 0) text += '.';
    text += std::to_string(bytes[i]);
  }
  return text;
}

}  // namespace

// Found on first use: a start that reads its settings never looks for addresses and never
// loads the sockets library.
SocketCalls& DiscoverySocketCalls() {
  static SocketCalls calls{SocketFunction("WSAStartup", &NoStartup),
                           SocketFunction("gethostname", &NoHostName),
                           SocketFunction("gethostbyname", &NoHostByName),
                           SocketFunction("WSACleanup", &NoCleanup)};
  return calls;
}

std::vector<std::string> DiscoverLocalAddresses() {
  const SocketCalls& calls = DiscoverySocketCalls();
  WSADATA data{};
  calls.startup(0x0101, &data);

  std::vector<std::string> addresses;
  char name[kHostNameBuffer] = {};
  // A failed name query may leave anything in the buffer: it counts as a failed lookup
  // instead of sending that to the resolver.
  const bool named = calls.getHostName(name, kHostNameBuffer) == 0;
  name[kHostNameBuffer - 1] = '\0';

  const hostent* host = named && name[0] != '\0' ? calls.getHostByName(name) : nullptr;
  // Only IPv4 entries are in scope; a Winsock 1.1 resolver gives nothing else.
  if (host && host->h_addrtype == AF_INET && host->h_length == 4) {
    for (char** entry = host->h_addr_list; entry && *entry; ++entry) {
      addresses.push_back(DottedQuad(reinterpret_cast<const unsigned char*>(*entry)));
    }
  }

  calls.cleanup();
  return addresses;
}

}  // namespace setup
