// The fingerprint of the game's files on real files: made a few megabytes a step (a large data
// file takes several), the same for the same game installed elsewhere under another exe name,
// another for a changed data file, unchanged by files the game does not read, and unknown
// for an executable that is not there.
#include "players/GameFingerprint.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using players::GameFingerprint;

// A folder of its own under the temporary folder, removed afterwards.
struct Folder {
  explicit Folder(const std::string& name)
      : path(fs::temp_directory_path() /
             ("lanvora-fingerprint-" + name + "-" + std::to_string(GetCurrentProcessId()))) {
    fs::remove_all(path);
    fs::create_directories(path);
  }
  ~Folder() { fs::remove_all(path); }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path / name, std::ios::binary) << bytes;
  }
  std::string operator/(const std::string& name) const { return (path / name).string(); }
  fs::path path;
};

// A game: an executable, a data file larger than one step, a script, a sound file, a readme.
void Install(const Folder& folder, const std::string& exe) {
  std::string data(GameFingerprint::kBytesPerStep + 12345, '\0');
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7919 >> 3);
  folder.Write(exe, "MZ the game");
  folder.Write("DUKE3D.GRP", data);
  folder.Write("game.con", "define x 1");
  folder.Write("duke.rts", "sounds");
  folder.Write("readme.txt", "read me");
}

// Steps until the fingerprint is known; answers how many steps it took (0: never).
int StepsUntilKnown(GameFingerprint& fingerprint, const std::string& exe) {
  for (int step = 1; step <= 20; ++step) {
    fingerprint.Step(exe);
    if (fingerprint.Value() != lobby::Fingerprint{}) return step;
  }
  return 0;
}

TEST(GameFingerprint, TheSameGameAnywhereAndAnotherForChangedData) {
  Folder here("here"), there("there");
  Install(here, "duke3d_w32.exe");
  Install(there, "renamed.exe");
  GameFingerprint a, b;
  EXPECT_GE(StepsUntilKnown(a, here / "duke3d_w32.exe"), 2) << "a large file takes several steps";
  ASSERT_NE(StepsUntilKnown(b, there / "renamed.exe"), 0);
  EXPECT_EQ(a.Value(), b.Value());

  // A file the game does not read changes nothing; a changed script does, once looked at.
  there.Write("notes.txt", "more");
  there.Write("game.con", "define x 2");
  Sleep(GameFingerprint::kRecheckMs + 100);
  b.Step(there / "renamed.exe");
  EXPECT_EQ(b.Value(), lobby::Fingerprint{}) << "unknown again while it is made anew";
  ASSERT_NE(StepsUntilKnown(b, there / "renamed.exe"), 0);
  EXPECT_NE(a.Value(), b.Value());

  GameFingerprint missing;
  EXPECT_EQ(StepsUntilKnown(missing, here / "nothing.exe"), 0);
}

}  // namespace
