// The fingerprint of the game a copy would start: the executable named in the Duke3D .EXE
// field and the *.grp, *.con and *.rts files beside it (its data and its scripts), hashed with
// SHA-256 a few megabytes at a time from the players window's timer, so a large data file
// never freezes the window. The data files are named in it (in lower case: the game finds them
// in any case), the executable is not (a renamed copy is the same game), and the folder is not
// (the same game installed elsewhere is the same game). Kept while none of the files changes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "lobby/GameSetup.h"
#include "lobby/Sha256.h"
#include "wingui/Handles.h"

namespace players {

class GameFingerprint {
 public:
  // The most read and hashed in one step.
  static constexpr std::uint64_t kBytesPerStep = 4 * 1024 * 1024;
  // How often the files are looked at again for a change once the fingerprint is known.
  static constexpr DWORD kRecheckMs = 2000;

  // One step for the game named by exeField as typed (relative to the current directory): a
  // changed field or a changed file starts again.
  void Step(const std::string& exeField);

  // All zero while not known (still hashing, or no such executable).
  const lobby::Fingerprint& Value() const { return value_; }

 private:
  struct File {
    std::string path;
    std::string name;  // in lower case; empty for the executable
    std::uint64_t size = 0;
    std::uint64_t written = 0;
    bool operator==(const File&) const = default;
  };
  static std::vector<File> List(const std::string& exeField);
  void Restart(std::vector<File> files);
  // Hashes up to budget bytes of the current file; false when it cannot be read.
  bool Read(std::uint64_t& budget);

  std::string field_;
  std::vector<File> files_;
  DWORD checkedAt_ = 0;
  std::optional<lobby::Sha256> sha_;  // while hashing
  std::size_t file_ = 0;
  wingui::UniqueKernelHandle open_;
  lobby::Fingerprint value_{};
};

}  // namespace players
