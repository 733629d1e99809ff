// The last step of every save: the new file takes the old one's place through the system's
// replace. Each failure the system documents for it is made to happen, leaving the files as
// its documentation says; the target must then hold its old or its new contents, whole, and
// the command must report an error exactly when the new contents did not arrive.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Errors.h"
#include "Launch.h"
#include "Paths.h"
#include "Platform.h"
#include "SettingsFiles.h"
#include "TestFiles.h"

#ifdef _WIN32
#include <windows.h>
#endif

using launch_test::CurrentDirectoryScope;
using launch_test::ObservedReplaces;
using launch_test::ReadBytes;
using launch_test::ReplaceLeaves;
using launch_test::TempFolder;
using launch_test::WriteBytes;
using Names = std::vector<std::string>;

namespace {

// The codes the system documents for its replace, by number so the test needs no system header.
constexpr int kUnableToRemoveReplaced = 1175;
constexpr int kUnableToMoveReplacement = 1176;
constexpr int kUnableToMoveReplacement2 = 1177;
constexpr int kSharingViolation = 32;

const char kOldList[] = "allow 10.0.0.1:1635\r\n";
const char kNewList[] = "allow 192.168.1.5:1635\r\nallow 192.168.1.6:23513\r\n";

launch::LaunchInputs Inputs() {
  launch::LaunchInputs inputs;
  inputs.settings = {"d.exe", "John", "192.168.1.4", "1635"};
  inputs.allowed = {"allow 192.168.1.5:1635", "allow 192.168.1.6:23513"};
  inputs.launchPath = "d.exe";
  return inputs;
}

// The error a command raised, or "" when it went through.
std::string RunSaveAndPlay() {
  try {
    launch::SaveAndPlayAllowList(Inputs());
  } catch (const launch::LaunchError& e) {
    return e.what();
  }
  return {};
}

struct Outcome {
  const char* what;
  int code;
  ReplaceLeaves leaves;
  bool newArrives;
};

TEST(FailedReplace, TargetHoldsItsOldOrItsNewContentsAndTheErrorSaysWhich) {
  const Outcome outcomes[] = {
      {"1175: the old file could not be removed", kUnableToRemoveReplaced,
       ReplaceLeaves::BothInPlace, false},
      {"1176 as documented with a backup name: nothing moved", kUnableToMoveReplacement,
       ReplaceLeaves::BothInPlace, false},
      {"1176 as documented without a backup name: the old file is gone",
       kUnableToMoveReplacement, ReplaceLeaves::TargetRemoved, true},
      {"1177: the old file is under the backup name", kUnableToMoveReplacement2,
       ReplaceLeaves::TargetUnderBackup, true},
      {"any other error: nothing moved", kSharingViolation, ReplaceLeaves::BothInPlace, false},
  };
  for (const Outcome& o : outcomes) {
    SCOPED_TRACE(o.what);
    TempFolder current;
    CurrentDirectoryScope here(current.Path());
    launch_test::RecordedStarts starts;
    WriteBytes(current / "ips.txt", kOldList);
    launch_test::SetUnusualAttributes(current / "ips.txt");
    const unsigned long marks = launch_test::Attributes(current / "ips.txt");

    ObservedReplaces replaces(o.code, o.leaves);
    const std::string error = RunSaveAndPlay();

    ASSERT_EQ(replaces.Calls().size(), 1u);  // only ips.txt was there to be replaced
    if (o.newArrives) {
      EXPECT_EQ(error, "");
      EXPECT_EQ(ReadBytes(current / "ips.txt"), kNewList);
      EXPECT_EQ(launch_test::Attributes(current / "ips.txt"), marks);
      EXPECT_EQ(current.Names(), (Names{"ips.txt", "net.txt", "settings.txt"}));
      EXPECT_EQ(starts.Requests().size(), 1u);
    } else {
      EXPECT_EQ(error, "Cannot create file \"" + launch::FullPath("ips.txt") + "\". " +
                           launch_test::SystemText(o.code));
      EXPECT_EQ(ReadBytes(current / "ips.txt"), kOldList);
      // The command stopped there: no settings, no game, no file left over.
      EXPECT_EQ(current.Names(), (Names{"ips.txt", "net.txt"}));
      EXPECT_TRUE(starts.Requests().empty());
    }
  }
}

// The temporary file and the old file's name during the replace are in the target's own
// folder: a move across folders (or drives) would lose the system's replace or fail.
TEST(FailedReplace, EveryNameOfTheReplaceIsInTheTargetsFolder) {
  TempFolder current, program;
  CurrentDirectoryScope here(current.Path());
  WriteBytes(program / "settings.txt", "old\r\n");
  ObservedReplaces replaces;
  launch::SaveAll(program.Path(), Inputs().settings, Inputs().allowed);

  ASSERT_EQ(replaces.Calls().size(), 1u);
  const launch_test::ReplaceCall& call = replaces.Calls()[0];
  EXPECT_EQ(launch::FolderOf(call.target), program.Path());
  EXPECT_EQ(launch::FolderOf(call.replacement), program.Path());
  EXPECT_EQ(launch::FolderOf(call.backup), program.Path());
  EXPECT_NE(call.backup, call.replacement);
  EXPECT_EQ(ReadBytes(program / "settings.txt"), "d.exe\r\nJohn\r\n192.168.1.4\r\n1635\r\n");
  EXPECT_EQ(program.Names(), (Names{"ips.txt", "settings.txt"}));
  EXPECT_EQ(current.Names(), Names{});
}

#ifdef _WIN32
// Another program that holds the file open while sharing everything (reading, writing and
// deleting) does not stand in the way: creating the file for writing would succeed, so the
// save does too. Held without sharing writes, the file is refused as creating it would be.
TEST(FailedReplace, FileHeldOpenWithFullSharingIsReplacedAndOneHeldWithoutWritesIsNot) {
  TempFolder current;
  CurrentDirectoryScope here(current.Path());
  const std::string list = current / "ips.txt";
  WriteBytes(list, kOldList);
  {
    const HANDLE held = CreateFileA(list.c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(RunSaveAndPlay(), "");
    CloseHandle(held);
  }
  EXPECT_EQ(ReadBytes(list), kNewList);

  WriteBytes(list, kOldList);
  const HANDLE held = CreateFileA(list.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(RunSaveAndPlay(), "Cannot create file \"" + launch::FullPath("ips.txt") + "\". " +
                                  launch_test::SystemText(ERROR_SHARING_VIOLATION));
  CloseHandle(held);
  EXPECT_EQ(ReadBytes(list), kOldList);
}

// The system's own replace, not a stand-in: a target another program holds open without
// sharing deletes cannot be replaced, and the replace must say so (and leave both files as
// they were), or a save that did not happen would be reported as done.
TEST(FailedReplace, TheSystemsReplaceOfATargetHeldOpenFailsAndSaysSo) {
  TempFolder folder;
  WriteBytes(folder / "ips.txt", kOldList);
  WriteBytes(folder / "new.tmp", kNewList);
  const HANDLE held = CreateFileA((folder / "ips.txt").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const auto replace = [&] {
    return launch::ReplaceWithBackup(folder / "ips.txt", folder / "new.tmp", folder / "old.tmp");
  };
  SetLastError(0);
  EXPECT_FALSE(replace());
  EXPECT_NE(launch::LastSystemError(), 0);
  CloseHandle(held);
  EXPECT_EQ(ReadBytes(folder / "ips.txt"), kOldList);
  EXPECT_EQ(ReadBytes(folder / "new.tmp"), kNewList);

  EXPECT_TRUE(replace());
  EXPECT_EQ(ReadBytes(folder / "ips.txt"), kNewList);
}

#endif

// Where the new file cannot be moved either, nothing is thrown away: the old contents go back
// in place when the system left them under the backup name; when it removed them, the new
// contents stay under their temporary name, and the error names it.
TEST(FailedReplace, NewContentsThatCannotBeMovedAreKeptAndNamed) {
  {
    SCOPED_TRACE("1177: the old contents go back");
    TempFolder current;
    CurrentDirectoryScope here(current.Path());
    WriteBytes(current / "ips.txt", kOldList);
    ObservedReplaces replaces(kUnableToMoveReplacement2, ReplaceLeaves::TargetUnderBackup, true);
    EXPECT_EQ(RunSaveAndPlay(), "Cannot create file \"" + launch::FullPath("ips.txt") + "\". " +
                                    launch_test::SystemText(kUnableToMoveReplacement2));
    EXPECT_EQ(ReadBytes(current / "ips.txt"), kOldList);
  }
  TempFolder current;
  CurrentDirectoryScope here(current.Path());
  WriteBytes(current / "ips.txt", kOldList);
  std::string error;
  std::string kept;
  {
    ObservedReplaces replaces(kUnableToMoveReplacement, ReplaceLeaves::TargetRemoved, true);
    error = RunSaveAndPlay();
    ASSERT_EQ(replaces.Calls().size(), 1u);
    kept = replaces.Calls()[0].replacement;
  }
  EXPECT_EQ(error, "Cannot create file \"" + launch::FullPath("ips.txt") + "\". " +
                       launch_test::SystemText(kUnableToMoveReplacement) +
                       ". Its new contents are kept in \"" + kept + "\".");
  EXPECT_EQ(ReadBytes(kept), kNewList);
}

}  // namespace
