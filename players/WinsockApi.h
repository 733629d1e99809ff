// The sockets library's functions the lobby uses, found in the system folder's copy when the
// players window first opens: a program that never opens it never loads the library.
#pragma once

#include <winsock2.h>

namespace players {

struct WinsockApi {
  int(WSAAPI* startup)(WORD version, WSADATA* data);
  int(WSAAPI* cleanup)();
  SOCKET(WSAAPI* socket)(int family, int type, int protocol);
  int(WSAAPI* closesocket)(SOCKET s);
  int(WSAAPI* setsockopt)(SOCKET s, int level, int name, const char* value, int length);
  int(WSAAPI* bind)(SOCKET s, const sockaddr* address, int length);
  int(WSAAPI* getsockname)(SOCKET s, sockaddr* address, int* length);
  int(WSAAPI* sendto)(SOCKET s, const char* data, int length, int flags, const sockaddr* to,
                      int toLength);
  int(WSAAPI* recvfrom)(SOCKET s, char* data, int length, int flags, sockaddr* from,
                        int* fromLength);
  int(WSAAPI* asyncSelect)(SOCKET s, HWND window, unsigned message, long events);
  int(WSAAPI* lastError)();
};

// The functions, or nullptr when the library or any function is missing.
const WinsockApi* Winsock();

}  // namespace players
