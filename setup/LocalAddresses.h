// Local address discovery: the host's own IPv4 addresses as dotted-decimal texts, in the
// order the resolver gives them, duplicates kept. It asks the local resolver only and never
// fails towards its caller: any failure yields an empty (or shorter) list.
#pragma once

#include <string>
#include <vector>

struct WSAData;
struct hostent;

namespace setup {

std::vector<std::string> DiscoverLocalAddresses();

// The four socket-library calls discovery makes, replaceable by tests (fake adapters, a
// failed lookup, the order of the calls). The real functions are the default.
struct SocketCalls {
  int(__stdcall* startup)(unsigned short version, WSAData* data);
  int(__stdcall* getHostName)(char* name, int length);
  hostent*(__stdcall* getHostByName)(const char* name);
  int(__stdcall* cleanup)();
};

SocketCalls& DiscoverySocketCalls();

}  // namespace setup
