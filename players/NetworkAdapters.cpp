// GetAdaptersAddresses with the IPv4 family: one record per unicast address of each adapter.
// Its prefix length gives the mask; point-to-point links (dial-up, tunnels) cannot broadcast.
#include "players/NetworkAdapters.h"

#include <winsock2.h>
#include <iphlpapi.h>

#include <string>

#include "players/SocketAddress.h"
#include "wingui/LateBinding.h"
#include "wingui/TextConversion.h"

namespace players {
namespace {

using GetAdaptersAddressesFunction = ULONG(WINAPI*)(ULONG family, ULONG flags, void* reserved,
                                                   IP_ADAPTER_ADDRESSES* addresses, ULONG* size);

// Interface types without a broadcast domain (the system's values).
constexpr DWORD kPointToPoint = 23;   // IF_TYPE_PPP
constexpr DWORD kTunnel = 131;        // IF_TYPE_TUNNEL
constexpr DWORD kLoopbackType = 24;   // IF_TYPE_SOFTWARE_LOOPBACK

std::uint32_t MaskOf(unsigned prefixLength) {
  return prefixLength == 0 ? 0 : prefixLength >= 32 ? 0xFFFFFFFFu : ~(0xFFFFFFFFu >> prefixLength);
}

}  // namespace

std::optional<std::vector<lobby::Adapter>> ListAdapters() {
  static const auto getAdapters =
      wingui::LateBound<GetAdaptersAddressesFunction>("iphlpapi.dll", "GetAdaptersAddresses");
  if (!getAdapters) return std::nullopt;
  const ULONG flags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
  // The list may grow between asking for its size and fetching it: a few tries.
  std::string buffer;
  ULONG size = 16 * 1024;
  ULONG result = ERROR_BUFFER_OVERFLOW;
  for (int attempt = 0; attempt < 4 && result == ERROR_BUFFER_OVERFLOW; ++attempt) {
    buffer.assign(size, '\0');
    result = getAdapters(AF_INET, flags, nullptr,
                         reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
  }
  if (result == ERROR_NO_DATA) return std::vector<lobby::Adapter>{};
  if (result != NO_ERROR) return std::nullopt;

  std::vector<lobby::Adapter> adapters;
  for (auto* a = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()); a; a = a->Next) {
    for (IP_ADAPTER_UNICAST_ADDRESS* u = a->FirstUnicastAddress; u; u = u->Next) {
      const sockaddr* address = u->Address.lpSockaddr;
      if (!address || address->sa_family != AF_INET) continue;
      lobby::Adapter adapter;
      adapter.name = a->FriendlyName ? wingui::AnsiFromWide(a->FriendlyName) : std::string();
      adapter.address = AddressOf(*reinterpret_cast<const sockaddr_in*>(address));
      adapter.mask = MaskOf(u->OnLinkPrefixLength);
      adapter.up = a->OperStatus == IfOperStatusUp;
      adapter.loopback = a->IfType == kLoopbackType;
      adapter.canBroadcast = a->IfType != kPointToPoint && a->IfType != kTunnel;
      adapters.push_back(std::move(adapter));
    }
  }
  return adapters;
}

}  // namespace players
