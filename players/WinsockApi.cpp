#include "players/WinsockApi.h"

#include "wingui/LateBinding.h"

namespace players {
namespace {

template <typename Function>
bool Find(Function& function, const char* name) {
  function = wingui::LateBound<Function>("ws2_32.dll", name);
  return function != nullptr;
}

}  // namespace

const WinsockApi* Winsock() {
  static WinsockApi api{};
  static const bool found =
      Find(api.startup, "WSAStartup") && Find(api.cleanup, "WSACleanup") &&
      Find(api.socket, "socket") && Find(api.closesocket, "closesocket") &&
      Find(api.setsockopt, "setsockopt") && Find(api.bind, "bind") &&
      Find(api.getsockname, "getsockname") && Find(api.sendto, "sendto") &&
      Find(api.recvfrom, "recvfrom") && Find(api.asyncSelect, "WSAAsyncSelect") &&
      Find(api.lastError, "WSAGetLastError");
  return found ? &api : nullptr;
}

}  // namespace players
