// The sockets library, as the one table of every call the program makes to it: the lobby's
// UDP sockets and the resolver that finds this computer's own addresses. Its functions are
// found in the system folder's copy when first used (wingui/LateBinding.h), so a start that
// never needs the network never loads the library; a function the system lacks is a stand-in
// that fails as the library does when it cannot start (WSASYSNOTREADY), so callers need no
// second road. Tests change entries of the table in use (launch/Seam.h) to make the failures
// Wine never shows happen: a refused bind or send, a datagram too large, the reset that
// Windows reports after a send to a closed port.
//
// The header names the library's types without its header, which must come before the window
// system's wherever it is included: SOCKET is a UINT_PTR, and what the calls point to is
// declared only.
#pragma once

#include <windows.h>

#include "launch/Seam.h"

struct WSAData;
struct hostent;
struct sockaddr;

namespace wingui {

// A socket of the library (its SOCKET).
using SocketHandle = UINT_PTR;

struct SocketCalls {
  int(WINAPI* Startup)(WORD version, WSAData* data);
  int(WINAPI* Cleanup)();
  int(WINAPI* LastError)();
  // The resolver (Windows Sockets 1.1).
  int(WINAPI* GetHostName)(char* name, int length);
  hostent*(WINAPI* GetHostByName)(const char* name);
  // UDP sockets. Control is WSAIoctl, used without overlapped calls.
  SocketHandle(WINAPI* Socket)(int family, int type, int protocol);
  int(WINAPI* CloseSocket)(SocketHandle s);
  int(WINAPI* SetOption)(SocketHandle s, int level, int name, const char* value, int length);
  int(WINAPI* Control)(SocketHandle s, DWORD code, void* in, DWORD inSize, void* out,
                       DWORD outSize, DWORD* returned, void* overlapped, void* completion);
  int(WINAPI* Bind)(SocketHandle s, const sockaddr* address, int length);
  int(WINAPI* GetName)(SocketHandle s, sockaddr* address, int* length);
  int(WINAPI* SendTo)(SocketHandle s, const char* data, int length, int flags,
                      const sockaddr* to, int toLength);
  int(WINAPI* ReceiveFrom)(SocketHandle s, char* data, int length, int flags, sockaddr* from,
                           int* fromLength);
  int(WINAPI* AsyncSelect)(SocketHandle s, HWND window, unsigned message, long events);
};

launch::Seam<SocketCalls>& SocketSeam();

}  // namespace wingui
