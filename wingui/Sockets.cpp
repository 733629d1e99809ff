// The sockets library's functions, each found by name in the system folder's copy; a missing
// one (or a missing library) is a stand-in that fails the way a library that cannot start does.
#include <winsock2.h>

#include "wingui/Sockets.h"

#include "wingui/LateBinding.h"

namespace wingui {
namespace {

constexpr char kLibrary[] = "ws2_32.dll";

int WSAAPI NoStartup(WORD, WSADATA*) { return WSASYSNOTREADY; }
int WSAAPI NoCall() { return SOCKET_ERROR; }
int WSAAPI NoLastError() { return WSASYSNOTREADY; }
int WSAAPI NoHostName(char*, int) { return SOCKET_ERROR; }
hostent* WSAAPI NoHostByName(const char*) { return nullptr; }
SOCKET WSAAPI NoSocket(int, int, int) { return INVALID_SOCKET; }
int WSAAPI NoClose(SOCKET) { return SOCKET_ERROR; }
int WSAAPI NoSetOption(SOCKET, int, int, const char*, int) { return SOCKET_ERROR; }
int WSAAPI NoControl(SOCKET, DWORD, void*, DWORD, void*, DWORD, DWORD*, void*, void*) {
  return SOCKET_ERROR;
}
int WSAAPI NoBind(SOCKET, const sockaddr*, int) { return SOCKET_ERROR; }
int WSAAPI NoGetName(SOCKET, sockaddr*, int*) { return SOCKET_ERROR; }
int WSAAPI NoSendTo(SOCKET, const char*, int, int, const sockaddr*, int) { return SOCKET_ERROR; }
int WSAAPI NoReceiveFrom(SOCKET, char*, int, int, sockaddr*, int*) { return SOCKET_ERROR; }
int WSAAPI NoAsyncSelect(SOCKET, HWND, unsigned, long) { return SOCKET_ERROR; }

template <typename Function>
Function Found(const char* name, Function missing) {
  const auto found = LateBound<Function>(kLibrary, name);
  return found ? found : missing;
}

}  // namespace

launch::Seam<SocketCalls>& SocketSeam() {
  static launch::Seam<SocketCalls> seam{
      {.Startup = Found("WSAStartup", &NoStartup),
       .Cleanup = Found("WSACleanup", &NoCall),
       .LastError = Found("WSAGetLastError", &NoLastError),
       .GetHostName = Found("gethostname", &NoHostName),
       .GetHostByName = Found("gethostbyname", &NoHostByName),
       .Socket = Found("socket", &NoSocket),
       .CloseSocket = Found("closesocket", &NoClose),
       .SetOption = Found("setsockopt", &NoSetOption),
       .Control = Found("WSAIoctl", &NoControl),
       .Bind = Found("bind", &NoBind),
       .GetName = Found("getsockname", &NoGetName),
       .SendTo = Found("sendto", &NoSendTo),
       .ReceiveFrom = Found("recvfrom", &NoReceiveFrom),
       .AsyncSelect = Found("WSAAsyncSelect", &NoAsyncSelect)}};
  return seam;
}

}  // namespace wingui
