// The frame every black-box scenario runs in: a fresh folder per test with its own copy of
// lanvora.exe, the stand-in game copied in where a scenario wants it, and the stand-in's log.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "harness/LanvoraSession.h"
#include "harness/Scratch.h"

namespace e2e {

// The scenarios drive the program with the harness's tools.
using namespace harness;

using Rows = std::vector<std::string>;

inline constexpr char kGameName[] = "duke3d_w32.exe";

// Each scenario gets <scratch>\<test name>\ with the program copied into "prog" (so "Save"
// writes into the scenario, never into the build tree) and the stand-in's log beside it.
class Scenario : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A folder under the scenario, with the stand-in game in it when `withGame`.
  std::string Folder(const std::string& name, bool withGame);

  LanvoraSession& Start(const std::string& currentDirectory,
                        const POINT* defaultPosition = nullptr);

  // Waits until the stand-in has recorded `count` starts in all, and returns them.
  std::vector<StandinStart> GameStarts(size_t count);

  // The arguments the game was started with, without the program name.
  static Rows LaunchArguments(const StandinStart& start);

  // Waits for the warning a "Save && Play" shows before a set-up the game would not run as
  // meant, checks that it names `problem`, and answers it (IDYES or IDNO).
  void AnswerWarning(const std::string& problem, int answer);

  std::unique_ptr<ScratchFolder> scratch_;
  std::unique_ptr<LanvoraSession> session_;
  std::string programFolder_, programExe_, log_;
  Rows programFiles_;
};

}  // namespace e2e
