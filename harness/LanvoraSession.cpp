// Starting lanvora.exe for a scenario, and the two facts a scenario needs from the platform
// itself: the host's addresses and the system's text for an error code.
// clang-format off
#include <winsock2.h>  // before <windows.h>, which the session header brings in
#include "harness/LanvoraSession.h"
// clang-format on

#include <cstring>

namespace harness {

LanvoraSession::LanvoraSession(const std::string& programExe, const std::string& currentDirectory,
                               const POINT* defaultPosition)
    : process_(Process::Start(programExe, currentDirectory, "", defaultPosition)),
      window_(WaitForWindow(process_.Id(), "", kMainTitle)) {}

LanvoraSession::~LanvoraSession() {
  if (process_.Running() && IsWindow(window_)) {
    PostMessageA(window_, WM_CLOSE, 0, 0);
    process_.WaitForExit(5000);
  }
}

void LanvoraSession::AddAddress(const std::string& address) const {
  Type(AddressToAddField(), address);
  Click(Button("&Add"));
}

std::vector<std::string> LocalAddresses() {
  WSADATA data;
  WSAStartup(0x0101, &data);
  char name[256] = {};
  std::vector<std::string> addresses;
  if (gethostname(name, sizeof name) == 0) {
    if (hostent* host = gethostbyname(name)) {
      for (char** entry = host->h_addr_list; *entry != nullptr; ++entry) {
        in_addr address;
        memcpy(&address, *entry, sizeof address);
        addresses.push_back(inet_ntoa(address));
      }
    }
  }
  WSACleanup();
  return addresses;
}

std::string FirstLocalAddress() {
  const std::vector<std::string> addresses = LocalAddresses();
  return addresses.empty() ? std::string() : addresses.front();
}

std::string SystemErrorText(unsigned long errorCode) {
  char* buffer = nullptr;
  DWORD n = FormatMessageA(
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, errorCode, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text(buffer ? buffer : "", n);
  LocalFree(buffer);
  while (!text.empty() && (static_cast<unsigned char>(text.back()) <= ' ' || text.back() == '.')) {
    text.pop_back();
  }
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  return text;
}

}  // namespace harness
