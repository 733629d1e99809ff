// Local address discovery: the host's own IPv4 addresses as dotted-decimal texts, in the
// order the resolver gives them, duplicates kept. It asks the local resolver only and never
// fails towards its caller: any failure yields an empty (or shorter) list.
#pragma once

#include <string>
#include <vector>

#include "launch/Seam.h"

struct WSAData;
struct hostent;

namespace setup {

std::vector<std::string> DiscoverLocalAddresses();

// The four socket-library calls discovery makes, which tests replace (fake adapters, a failed
// lookup, the order of the calls). The discovery seam (launch/Seam.h); its real calls are
// found when it is first used, so a start that reads its settings never loads the library.
struct DiscoveryCalls {
  int(__stdcall* Startup)(unsigned short version, WSAData* data);
  int(__stdcall* GetHostName)(char* name, int length);
  hostent*(__stdcall* GetHostByName)(const char* name);
  int(__stdcall* Cleanup)();
};

launch::Seam<DiscoveryCalls>& DiscoverySeam();

}  // namespace setup
