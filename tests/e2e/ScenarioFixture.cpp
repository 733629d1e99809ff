// Scenario folders and the program's life within one scenario.
#include "tests/e2e/ScenarioFixture.h"

namespace e2e {

void Scenario::SetUp() {
  scratch_ = std::make_unique<ScratchFolder>(
      E2E_SCRATCH_ROOT, ::testing::UnitTest::GetInstance()->current_test_info()->name());
  programFolder_ = scratch_->Sub("prog");
  programExe_ = Join(programFolder_, "lanvora.exe");
  CopyInto(WindowsPath(E2E_LANVORA_EXE), programExe_);
  const std::string help = WindowsPath(E2E_LANVORA_HELP);
  if (FileExists(help)) CopyInto(help, Join(programFolder_, "help.html"));
  programFiles_ = FolderEntries(programFolder_);
  log_ = Join(scratch_->Path(), "standin.log");
  SetEnvironmentVariableA("LANVORA_STANDIN_LOG", log_.c_str());
}

void Scenario::TearDown() { session_.reset(); }

std::string Scenario::Folder(const std::string& name, bool withGame) {
  std::string folder = scratch_->Sub(name);
  if (withGame) CopyInto(WindowsPath(E2E_STANDIN_EXE), Join(folder, kGameName));
  return folder;
}

LanvoraSession& Scenario::Start(const std::string& currentDirectory,
                                const POINT* defaultPosition) {
  session_ = std::make_unique<LanvoraSession>(programExe_, currentDirectory, defaultPosition);
  return *session_;
}

std::vector<StandinStart> Scenario::GameStarts(size_t count) {
  WaitUntil([&] { return ReadStandinLog(log_).size() >= count; });
  return ReadStandinLog(log_);
}

Rows Scenario::LaunchArguments(const StandinStart& start) {
  return start.argv.empty() ? Rows{} : Rows(start.argv.begin() + 1, start.argv.end());
}

void Scenario::AnswerWarning(const std::string& problem, int answer) {
  HWND warning = WaitForDialog(session_->Program().Id(), kAppTitle);
  const std::string text = MessageBoxText(warning);
  EXPECT_NE(text.find(problem), std::string::npos) << text;
  CloseDialog(warning, answer);
}

}  // namespace e2e
