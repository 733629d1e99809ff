// What Windows can do to the lobby's sockets that Wine never shows, made to happen through the
// sockets seam: a refused bind, a send that fails everywhere, a read that fails with the reset
// Windows reports after a send to a closed port or with a datagram too large, and a stream of
// datagrams with Windows' own posting of readiness messages. Each with what the player sees.
#include <winsock2.h>  // before the window system's header, which the session's brings

#include "players/LobbySession.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "launch/Platform.h"
#include "tests/win32/players/PlayersTestSupport.h"
#include "tests/win32/wingui/TestSupport.h"
#include "wingui/Sockets.h"

namespace {

using players::LobbySession;
using players::LocalPlayer;

std::uint16_t TestPort() { return static_cast<std::uint16_t>(43000 + GetCurrentProcessId() % 20000); }

// The sockets library with failures and a flood on top of the real one. Plain functions over
// one state: the seam holds function pointers.
struct Fakes {
  int bindError = 0;         // binds to failPort fail with it (0: none)
  int failPort = 0;
  int sendError = 0;         // every send fails with it (0: none)
  std::vector<int> readErrors;  // the next reads fail with these, one each, then real reads
  bool flood = false;        // every read gets a junk datagram, as from a busy network
  int pending = 0;           // the error the next LastError gives (0: the real one)
  std::vector<DWORD> controls;
  // Where each socket's readiness goes while it asks for it (Windows posts another message
  // after each read that leaves data behind).
  std::map<wingui::SocketHandle, std::pair<HWND, unsigned>> listening;
};
Fakes* g_fakes = nullptr;

const wingui::SocketCalls& Real() { return wingui::SocketSeam().Real; }

int WINAPI FakeLastError() {
  return g_fakes->pending ? std::exchange(g_fakes->pending, 0) : Real().LastError();
}

int WINAPI FakeBind(wingui::SocketHandle s, const sockaddr* address, int length) {
  const int port = ntohs(reinterpret_cast<const sockaddr_in*>(address)->sin_port);
  if (g_fakes->bindError && port == g_fakes->failPort) {
    g_fakes->pending = g_fakes->bindError;
    return SOCKET_ERROR;
  }
  return Real().Bind(s, address, length);
}

int WINAPI FakeSendTo(wingui::SocketHandle s, const char* data, int length, int flags,
                      const sockaddr* to, int toLength) {
  if (g_fakes->sendError) {
    g_fakes->pending = g_fakes->sendError;
    return SOCKET_ERROR;
  }
  return Real().SendTo(s, data, length, flags, to, toLength);
}

int WINAPI FakeControl(wingui::SocketHandle s, DWORD code, void* in, DWORD inSize, void* out,
                       DWORD outSize, DWORD* returned, void* overlapped, void* completion) {
  if (code == _WSAIOW(IOC_VENDOR, 12) && inSize == sizeof(BOOL) && !*static_cast<BOOL*>(in)) {
    g_fakes->controls.push_back(code);
  }
  return Real().Control(s, code, in, inSize, out, outSize, returned, overlapped, completion);
}

int WINAPI FakeAsyncSelect(wingui::SocketHandle s, HWND window, unsigned message, long events) {
  if (events & FD_READ) {
    g_fakes->listening[s] = {window, message};
    if (g_fakes->flood) PostMessageA(window, message, s, FD_READ);
  } else {
    g_fakes->listening.erase(s);
  }
  return Real().AsyncSelect(s, window, message, events);
}

int WINAPI FakeReceiveFrom(wingui::SocketHandle s, char* data, int length, int flags,
                           sockaddr* from, int* fromLength) {
  if (!g_fakes->readErrors.empty()) {
    g_fakes->pending = g_fakes->readErrors.front();
    g_fakes->readErrors.erase(g_fakes->readErrors.begin());
    return SOCKET_ERROR;
  }
  if (!g_fakes->flood) return Real().ReceiveFrom(s, data, length, flags, from, fromLength);
  // Junk from 10.1.2.3:4444, and more waiting: the socket's readiness is posted again.
  const auto found = g_fakes->listening.find(s);
  if (found != g_fakes->listening.end()) {
    PostMessageA(found->second.first, found->second.second, s, FD_READ);
  }
  sockaddr_in source{};
  source.sin_family = AF_INET;
  source.sin_port = htons(4444);
  source.sin_addr.s_addr = htonl(0x0A010203);
  *reinterpret_cast<sockaddr_in*>(from) = source;
  *fromLength = sizeof source;
  data[0] = 'x';
  return 1;
}

class LobbyFailures : public ::testing::Test {
 protected:
  void SetUp() override {
    g_fakes = &fakes_;
    scope_->LastError = &FakeLastError;
    scope_->Bind = &FakeBind;
    scope_->SendTo = &FakeSendTo;
    scope_->Control = &FakeControl;
    scope_->AsyncSelect = &FakeAsyncSelect;
    scope_->ReceiveFrom = &FakeReceiveFrom;
  }
  void TearDown() override { g_fakes = nullptr; }

  static std::unique_ptr<LobbySession> Open(const char* nick) {
    return std::make_unique<LobbySession>(
        [nick] { return players_test::Local(nick, "1635", lobby::PlayerMode::AllowIps); }, TestPort());
  }

  Fakes fakes_;
  launch::SeamScope<wingui::SocketCalls> scope_{wingui::SocketSeam()};
};

TEST_F(LobbyFailures, ABindTheSystemRefusesIsToldWithItsReason) {
  fakes_.failPort = 0;  // the own socket, which sends everything from a port of its own
  fakes_.bindError = WSAEADDRNOTAVAIL;
  EXPECT_EQ(Open("Ann")->Problem(), "Cannot open a network socket (" +
                                        launch::TidiedSystemErrorText(WSAEADDRNOTAVAIL) +
                                        "): Lanvora cannot look for players.");
  fakes_.failPort = TestPort();
  fakes_.bindError = WSAEADDRINUSE;
  EXPECT_EQ(Open("Ann")->Problem(),
            "Cannot listen on UDP port " + std::to_string(TestPort()) + " (" +
                launch::TidiedSystemErrorText(WSAEADDRINUSE) +
                "): only players who answer are found. Close the program that holds the port, "
                "then open this window again.");
}

TEST_F(LobbyFailures, ASendThatFailsEverywhereIsTold) {
  fakes_.sendError = WSAENETUNREACH;
  const std::unique_ptr<LobbySession> session = Open("Ann");
  EXPECT_EQ(session->Problem(), "Cannot send on this network (" +
                                    launch::TidiedSystemErrorText(WSAENETUNREACH) +
                                    "): check that this PC is connected.");
  EXPECT_EQ(session->PacketsSent(), 0u);
}

// Windows fails a UDP socket's next read after a send to a port nobody listens on, unless told
// not to (the session tells its sending socket); a datagram larger than any packet fails its
// read too. Either costs that read only: the copies are found and nothing is shown.
TEST_F(LobbyFailures, AResetOrAnOversizedDatagramCostsThatReadOnly) {
  fakes_.readErrors = {WSAECONNRESET, WSAEMSGSIZE, WSAECONNRESET, WSAEMSGSIZE};
  const std::unique_ptr<LobbySession> ann = Open("Ann");
  const std::unique_ptr<LobbySession> ben = Open("Ben");
  EXPECT_EQ(fakes_.controls.size(), 2u) << "each sending socket asks for no reset reports";
  ASSERT_TRUE(wingui_test::PumpUntil(
      [&] { return ann->Peers().size() == 1 && ben->Peers().size() == 1; }, 3000))
      << "no active network adapter to broadcast on, or a failed read cost more than itself";
  EXPECT_TRUE(fakes_.readErrors.empty());
  EXPECT_EQ(ann->Problem(), "");
  EXPECT_EQ(ben->Problem(), "");
}

// While a datagram waits, Windows posts the socket's message again after every read, and hands
// out timer messages only when no posted message waits: a session that read on as long as
// anything waited would never tick again. It announces at opening, 1 s and 2 s later.
TEST_F(LobbyFailures, AStreamOfDatagramsLeavesTheTimerItsPace) {
  fakes_.flood = true;
  const std::unique_ptr<LobbySession> session = Open("Ann");
  const std::uint64_t first = session->PacketsSent();
  ASSERT_GT(first, 0u);
  wingui_test::PumpFor(3200);
  EXPECT_EQ(session->PacketsSent(), 3 * first);
  EXPECT_EQ(session->Problem(), "");
}

}  // namespace
