// SHA-256 against the examples published with the standard (FIPS 180-4 and its example
// values), fed whole and in pieces of every size a timer might hand it.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "lobby/Sha256.h"

namespace {

std::string Hex(const lobby::Sha256::Digest& digest) {
  std::string text;
  char two[3];
  for (std::uint8_t byte : digest) {
    std::snprintf(two, sizeof two, "%02x", byte);
    text += two;
  }
  return text;
}

std::string InPieces(const std::string& message, std::size_t piece) {
  lobby::Sha256 sha;
  for (std::size_t at = 0; at < message.size(); at += piece) sha.Add(message.substr(at, piece));
  return Hex(sha.Finish());
}

TEST(Sha256, TheStandardsExamplesWholeAndInPieces) {
  const struct {
    std::string message;
    const char* digest;
  } examples[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqr"
       "lmnopqrsmnopqrstnopqrstu",
       "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
      {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& example : examples) {
    for (std::size_t piece : {std::size_t{1}, std::size_t{63}, std::size_t{64}, std::size_t{65},
                              std::size_t{1000003}}) {
      EXPECT_EQ(InPieces(example.message, piece), example.digest)
          << example.message.size() << " bytes in pieces of " << piece;
    }
  }
}

}  // namespace
