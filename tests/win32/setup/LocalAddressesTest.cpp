// Address discovery through faked socket calls (order of calls, several adapters, loopback
// only, failed lookups) and once against the real resolver of this session.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/LocalAddresses.h"
#include "wingui/Sockets.h"

namespace {

using setup::DiscoverLocalAddresses;

// What the fake resolver answers and what it saw.
struct FakeResolver {
  std::vector<std::string> calls;
  WORD requestedVersion = 0;
  int nameLength = 0;
  std::string lookedUp;
  int nameResult = 0;
  const char* hostName = "gamebox";
  bool resolves = true;
  std::vector<std::vector<unsigned char>> addresses;
  // Storage for the host entry handed out.
  hostent entry{};
  std::vector<char*> list;
};
FakeResolver* g_fake = nullptr;

int __stdcall FakeStartup(unsigned short version, WSAData* data) {
  g_fake->calls.push_back("startup");
  g_fake->requestedVersion = version;
  ZeroMemory(data, sizeof(WSADATA));
  return 0;
}

int __stdcall FakeGetHostName(char* name, int length) {
  g_fake->calls.push_back("gethostname");
  g_fake->nameLength = length;
  if (g_fake->nameResult != 0) {
    // A failing call that leaves rubbish behind.
    memset(name, 'x', length);
    return g_fake->nameResult;
  }
  lstrcpynA(name, g_fake->hostName, length);
  return 0;
}

hostent* __stdcall FakeGetHostByName(const char* name) {
  g_fake->calls.push_back("gethostbyname");
  g_fake->lookedUp = name;
  if (!g_fake->resolves) return nullptr;
  g_fake->list.clear();
  for (auto& a : g_fake->addresses) g_fake->list.push_back(reinterpret_cast<char*>(a.data()));
  g_fake->list.push_back(nullptr);
  g_fake->entry.h_name = const_cast<char*>(g_fake->hostName);
  g_fake->entry.h_addrtype = AF_INET;
  g_fake->entry.h_length = 4;
  g_fake->entry.h_addr_list = g_fake->list.data();
  return &g_fake->entry;
}

int __stdcall FakeCleanup() {
  g_fake->calls.push_back("cleanup");
  return 0;
}

class FakedDiscovery : public ::testing::Test {
 protected:
  void SetUp() override {
    g_fake = &fake_;
    sockets_->Startup = &FakeStartup;
    sockets_->GetHostName = &FakeGetHostName;
    sockets_->GetHostByName = &FakeGetHostByName;
    sockets_->Cleanup = &FakeCleanup;
  }
  void TearDown() override { g_fake = nullptr; }

  FakeResolver fake_;
  launch::SeamScope<wingui::SocketCalls> sockets_{wingui::SocketSeam()};
};

using Strings = std::vector<std::string>;

TEST_F(FakedDiscovery, SeveralAdaptersInResolverOrderWithDuplicatesAndOneCallSequence) {
  fake_.addresses = {{192, 168, 1, 20}, {10, 0, 0, 255}, {192, 168, 1, 20}, {0, 0, 0, 0}};
  EXPECT_EQ(DiscoverLocalAddresses(),
            (Strings{"192.168.1.20", "10.0.0.255", "192.168.1.20", "0.0.0.0"}));
  EXPECT_EQ(fake_.calls, (Strings{"startup", "gethostname", "gethostbyname", "cleanup"}));
  EXPECT_EQ(fake_.requestedVersion, 0x0101);
  EXPECT_GE(fake_.nameLength, 256) << "every legal host name must fit the buffer";
  EXPECT_EQ(fake_.lookedUp, "gamebox");
}

TEST_F(FakedDiscovery, LoopbackOnlyHostGivesTheLoopbackAddress) {
  fake_.addresses = {{127, 0, 0, 1}};
  EXPECT_EQ(DiscoverLocalAddresses(), Strings{"127.0.0.1"});
}

TEST_F(FakedDiscovery, RepeatedRunsGiveFreshListsThatDoNotAccumulate) {
  fake_.addresses = {{10, 1, 2, 3}};
  EXPECT_EQ(DiscoverLocalAddresses(), Strings{"10.1.2.3"});
  fake_.addresses = {{10, 4, 5, 6}, {10, 7, 8, 9}};
  EXPECT_EQ(DiscoverLocalAddresses(), (Strings{"10.4.5.6", "10.7.8.9"}));
}

TEST_F(FakedDiscovery, FailuresGiveAnEmptyListAndStillShutTheLibraryDown) {
  // The resolver knows nothing.
  fake_.resolves = false;
  EXPECT_TRUE(DiscoverLocalAddresses().empty());
  EXPECT_EQ(fake_.calls, (Strings{"startup", "gethostname", "gethostbyname", "cleanup"}));

  // A resolver entry without addresses.
  fake_.calls.clear();
  fake_.resolves = true;
  fake_.addresses.clear();
  EXPECT_TRUE(DiscoverLocalAddresses().empty());

  // A failed name query leaves rubbish in the buffer: nothing is looked up.
  fake_.calls.clear();
  fake_.addresses = {{10, 0, 0, 1}};
  fake_.nameResult = SOCKET_ERROR;
  EXPECT_TRUE(DiscoverLocalAddresses().empty());
  EXPECT_EQ(fake_.calls, (Strings{"startup", "gethostname", "cleanup"}));
}

bool IsDottedDecimal(const std::string& text) {
  int parts = 0, digits = 0;
  for (char c : text) {
    if (c == '.') {
      if (digits == 0) return false;
      ++parts;
      digits = 0;
    } else if (c >= '0' && c <= '9' && ++digits <= 3) {
    } else {
      return false;
    }
  }
  return parts == 3 && digits > 0 && inet_addr(text.c_str()) != INADDR_NONE;
}

TEST(RealDiscovery, MatchesAnIndependentLookupOfTheHostName) {
  const Strings found = DiscoverLocalAddresses();
  for (const auto& a : found) EXPECT_TRUE(IsDottedDecimal(a)) << a;

  WSADATA data;
  ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
  char name[256] = {};
  ASSERT_EQ(gethostname(name, sizeof name), 0);
  Strings expected;
  if (const hostent* host = gethostbyname(name)) {
    for (char** p = host->h_addr_list; *p; ++p) {
      const auto* b = reinterpret_cast<const unsigned char*>(*p);
      expected.push_back(std::to_string(b[0]) + "." + std::to_string(b[1]) + "." +
                         std::to_string(b[2]) + "." + std::to_string(b[3]));
    }
  }
  WSACleanup();
  EXPECT_EQ(found, expected);
}

}  // namespace
