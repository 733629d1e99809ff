// The lobby packet against its bytes written out by hand, each way a packet is refused, the
// nick as announced, and dotted addresses both ways.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "lobby/Ipv4.h"
#include "lobby/LobbyPacket.h"

using namespace std::string_literals;
using lobby::Announcement;
using lobby::PacketKind;
using lobby::PlayerMode;

namespace {

// An announce of instance 0x0102030405060708, game port 1635 (0x0663), broadcast mode, "Duke".
const std::string kDukeBytes = "LVLB" "\x01" "\x01" "\x01\x02\x03\x04\x05\x06\x07\x08"
                               "\x06\x63" "\x01" "\x04" "Duke"s;
const Announcement kDuke{PacketKind::Announce, 0x0102030405060708, "Duke", 1635,
                         PlayerMode::Broadcast, std::nullopt};

std::string With(std::string bytes, std::size_t at, char value) {
  bytes[at] = value;
  return bytes;
}

TEST(LobbyPacket, EncodesAndDecodesTheBytesWrittenOutByHand) {
  EXPECT_EQ(lobby::EncodePacket(kDuke), kDukeBytes);
  EXPECT_EQ(lobby::DecodePacket(kDukeBytes), kDuke);
}

TEST(LobbyPacket, EveryKindModeAndNickLengthSurvivesARoundTrip) {
  const std::string nicks[] = {"", "x", std::string(32, 'n'), "\x20~\x80\xff caf\xe9"};
  for (PacketKind kind : {PacketKind::Announce, PacketKind::Answer, PacketKind::Goodbye}) {
    for (PlayerMode mode : {PlayerMode::AllowIps, PlayerMode::Broadcast}) {
      for (const std::string& nick : nicks) {
        const Announcement sent{kind, 0xFFFFFFFFFFFFFFFF, nick, 65535, mode, std::nullopt};
        const std::string bytes = lobby::EncodePacket(sent);
        EXPECT_EQ(bytes.size(), 18 + nick.size());
        EXPECT_EQ(lobby::DecodePacket(bytes), sent) << testing::PrintToString(bytes);
      }
    }
  }
}

TEST(LobbyPacket, DropsEveryMalformedPacket) {
  const std::string name33 = std::string(kDukeBytes, 0, 17) + "\x21" + std::string(33, 'n');
  const std::string bad[] = {
      "",
      kDukeBytes.substr(0, 17),                      // shorter than the header
      kDukeBytes.substr(0, kDukeBytes.size() - 1),   // a nick byte missing
      kDukeBytes + "x",                              // a byte too many
      kDukeBytes + std::string(513 - kDukeBytes.size(), 'x'),
      With(kDukeBytes, 0, 'l'),                      // magic
      With(kDukeBytes, 3, 'C'),
      With(kDukeBytes, 4, 0), With(kDukeBytes, 4, 3),  // version
      With(kDukeBytes, 5, 0), With(kDukeBytes, 5, 4),  // kind
      std::string(kDukeBytes).replace(6, 8, 8, '\0'),  // instance 0
      std::string(kDukeBytes).replace(14, 2, 2, '\0'),  // game port 0
      With(kDukeBytes, 16, 2),                       // mode
      With(kDukeBytes, 17, 3), With(kDukeBytes, 17, 5),  // nick length against the size
      name33,
      With(kDukeBytes, 19, '\0'), With(kDukeBytes, 19, '\x1f'), With(kDukeBytes, 21, '\x7f'),
  };
  for (const std::string& bytes : bad) {
    EXPECT_EQ(lobby::DecodePacket(bytes), std::nullopt) << testing::PrintToString(bytes);
  }
}

// Version 2: Ann's answer, instance 9, game port 1635, "Allow IP's", listening on 10.0.0.2,
// ready, two entries (10.0.0.3:1635 and 192.168.1.4:1700), fingerprint 0x00 to 0x0f.
const std::string kAnnBytes = "LVLB" "\x02" "\x02" "\0\0\0\0\0\0\0\x09" "\x06\x63" "\x00"
                              "\x03" "Ann" "\x0a\x00\x00\x02" "\x01" "\x00" "\x02"
                              "\x0a\x00\x00\x03\x06\x63" "\xc0\xa8\x01\x04\x06\xa4"
                              "\x00\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c\x0d\x0e\x0f"s;

lobby::GameSetup AnnSetup() {
  lobby::GameSetup setup;
  setup.listen = {0x0A000002, 1635};
  setup.allowed = {{0x0A000003, 1635}, {0xC0A80104, 1700}};
  setup.ready = true;
  for (std::uint8_t i = 0; i < 16; ++i) setup.game[i] = i;
  return setup;
}

TEST(LobbyPacket, TheSetUpTravelsInVersionTwoAsWrittenOutByHand) {
  const Announcement ann{PacketKind::Answer, 9, "Ann", 1635, PlayerMode::AllowIps, AnnSetup()};
  EXPECT_EQ(lobby::EncodePacket(ann), kAnnBytes);
  EXPECT_EQ(lobby::DecodePacket(kAnnBytes), ann);

  // A broadcast set-up, and a list longer than a packet carries: the first eight and a mark.
  lobby::GameSetup broadcast;
  broadcast.mode = PlayerMode::Broadcast;
  broadcast.listen = {0, 23513};
  broadcast.broadcastCount = 255;
  const Announcement ben{PacketKind::Announce, 10, std::string(32, 'b'), 23513,
                         PlayerMode::Broadcast, broadcast};
  const std::string benBytes = lobby::EncodePacket(ben);
  EXPECT_EQ(benBytes.size(), 41u + 32u);
  EXPECT_EQ(lobby::DecodePacket(benBytes), ben);

  lobby::GameSetup long_list = AnnSetup();
  for (std::uint16_t port = 1; port <= 10; ++port) long_list.allowed.push_back({0x0A000009, port});
  const Announcement cat{PacketKind::Announce, 11, std::string(32, 'c'), 1635,
                         PlayerMode::AllowIps, long_list};
  const std::string catBytes = lobby::EncodePacket(cat);
  EXPECT_EQ(catBytes.size(), lobby::kLargestPacket);
  const std::optional<Announcement> decoded = lobby::DecodePacket(catBytes);
  ASSERT_TRUE(decoded && decoded->setup);
  EXPECT_EQ(decoded->setup->allowed,
            std::vector<lobby::Endpoint>(long_list.allowed.begin(), long_list.allowed.begin() + 8));
  EXPECT_TRUE(decoded->setup->moreAllowed);

  // The first version still decodes, with no set-up.
  EXPECT_EQ(lobby::DecodePacket(kDukeBytes)->setup, std::nullopt);
}

TEST(LobbyPacket, DropsEveryMalformedSetUp) {
  const std::size_t setupAt = 18 + 3;
  const std::string bad[] = {
      kAnnBytes.substr(0, kAnnBytes.size() - 1),  // a fingerprint byte missing
      kAnnBytes + "x",
      kAnnBytes.substr(0, setupAt),               // version 2 without its set-up
      With(kAnnBytes, setupAt + 4, 4),            // an unknown flag
      With(kAnnBytes, setupAt + 6, 1),            // the entry count against the size
      With(kAnnBytes, setupAt + 6, 9),
      std::string(kAnnBytes).replace(setupAt + 11, 2, 2, '\0'),  // an entry's port 0
      With(kDukeBytes, 4, 2),                     // a version 2 header with nothing after it
  };
  for (const std::string& bytes : bad) {
    EXPECT_EQ(lobby::DecodePacket(bytes), std::nullopt) << testing::PrintToString(bytes);
  }
}

TEST(LobbyPacket, AnnouncedNickDropsControlCharactersThenCutsAt32Bytes) {
  EXPECT_EQ(lobby::AnnouncedNick("Duke Nukem"), "Duke Nukem");
  EXPECT_EQ(lobby::AnnouncedNick("\tDu\x7fke\r\n\0"s), "Duke");
  EXPECT_EQ(lobby::AnnouncedNick("caf\xe9 \x80\xff"), "caf\xe9 \x80\xff");
  EXPECT_EQ(lobby::AnnouncedNick(std::string(40, 'a')), std::string(32, 'a'));
  EXPECT_EQ(lobby::AnnouncedNick("\x01\x02" + std::string(32, 'a') + "b"), std::string(32, 'a'));
  EXPECT_EQ(lobby::AnnouncedNick(""), "");

  // The encoder cleans whatever it is given, so its packets always decode.
  const Announcement messy{PacketKind::Answer, 7, "\x1b[31m" + std::string(40, 'r'), 1635,
                           PlayerMode::AllowIps, std::nullopt};
  const auto decoded = lobby::DecodePacket(lobby::EncodePacket(messy));
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->nick, "[31m" + std::string(28, 'r'));
}

TEST(Ipv4, FormatsAndParsesDottedAddresses) {
  EXPECT_EQ(lobby::FormatIpv4(0), "0.0.0.0");
  EXPECT_EQ(lobby::FormatIpv4(0xC0A80104), "192.168.1.4");
  EXPECT_EQ(lobby::FormatIpv4(0x0A00FF02), "10.0.255.2");
  EXPECT_EQ(lobby::FormatIpv4(0xFFFFFFFF), "255.255.255.255");

  EXPECT_EQ(lobby::ParseIpv4("192.168.1.4"), 0xC0A80104u);
  EXPECT_EQ(lobby::ParseIpv4("0.0.0.0"), 0u);
  EXPECT_EQ(lobby::ParseIpv4("255.255.255.255"), 0xFFFFFFFFu);
  EXPECT_EQ(lobby::ParseIpv4("010.0.0.001"), 0x0A000001u);  // plain decimal, not octal
  for (const char* text : {"", "1.2.3", "1.2.3.4.5", "256.1.1.1", "1.2.3.256", " 1.2.3.4",
                           "1.2.3.4 ", "1.2.3.4:1635", "any", "1..2.3", "+1.2.3.4", "1.2.3.4.",
                           "a.b.c.d", "1.2.3.0x1", "-1.2.3.4"}) {
    EXPECT_EQ(lobby::ParseIpv4(text), std::nullopt) << text;
  }
}

}  // namespace
