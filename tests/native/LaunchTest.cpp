// The launch commands end to end on real folders: the script and files each one writes and
// where, the start request handed to the shell, and what a failing step leaves behind.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Errors.h"
#include "Launch.h"
#include "NetScript.h"
#include "Paths.h"
#include "TestFiles.h"

using launch::LaunchInputs;
using launch::LaunchRequest;
using launch_test::CurrentDirectoryScope;
using launch_test::Exists;
using launch_test::ReadBytes;
using launch_test::RecordedStarts;
using launch_test::TempFolder;
using launch_test::WriteBytes;
using Names = std::vector<std::string>;

namespace {

constexpr std::uintptr_t kOwner = 0x1234;

LaunchInputs SampleInputs(const std::string& launchPath) {
  LaunchInputs inputs;
  inputs.settings = {launchPath, "John Doe", "192.168.1.4", "1635"};
  inputs.allowed = {"allow 192.168.1.5:1635", "allow 192.168.1.6:23513"};
  inputs.playersText = "3";
  inputs.launchPath = launchPath;
  inputs.ownerWindow = kOwner;
  return inputs;
}

const char kSettingsBytesTail[] = "\r\nJohn Doe\r\n192.168.1.4\r\n1635\r\n";
const char kListBytes[] = "allow 192.168.1.5:1635\r\nallow 192.168.1.6:23513\r\n";

LaunchRequest ExpectedRequest(const std::string& file) {
  return {"open", file, "/m /c1 /i1 -name John Doe -net net.txt", "", 5, kOwner};
}

// The current directory, the program folder and the game's folder are three different places.
struct Folders {
  TempFolder current, program, game;
};

TEST(LaunchParameters, NickGoesInAsTyped) {
  EXPECT_EQ(launch::BuildLaunchParameters("JohnDoe"), "/m /c1 /i1 -name JohnDoe -net net.txt");
  EXPECT_EQ(launch::BuildLaunchParameters(""), "/m /c1 /i1 -name  -net net.txt");
  EXPECT_EQ(launch::BuildLaunchParameters("\"x\" y"), "/m /c1 /i1 -name \"x\" y -net net.txt");
}

TEST(SaveAndPlayAllowList, WritesAllThreeFilesInTheCurrentDirectoryThenStarts) {
  Folders f;
  CurrentDirectoryScope here(f.current.Path());
  RecordedStarts starts;
  const std::string game = f.game / "duke3d_w32.exe";
  launch::SaveAndPlayAllowList(SampleInputs(game));

  EXPECT_EQ(ReadBytes(f.current / "net.txt"),
            "interface 192.168.1.4:1635\r\nmode peer\r\n"
            "allow 192.168.1.5:1635\r\nallow 192.168.1.6:23513\r\n\r\n");
  EXPECT_EQ(ReadBytes(f.current / "ips.txt"), kListBytes);
  EXPECT_EQ(ReadBytes(f.current / "settings.txt"), game + kSettingsBytesTail);
  EXPECT_EQ(f.current.Names(), (Names{"ips.txt", "net.txt", "settings.txt"}));
  EXPECT_EQ(f.program.Names(), Names{});
  EXPECT_EQ(f.game.Names(), Names{});
  EXPECT_EQ(starts.Requests(), std::vector<LaunchRequest>{ExpectedRequest(game)});
}

TEST(SaveAndPlayAllowList, EmptyListGivesThreeLinesTheLastEmpty) {
  TempFolder current;
  CurrentDirectoryScope here(current.Path());
  RecordedStarts starts;
  LaunchInputs inputs = SampleInputs("d.exe");
  inputs.allowed.clear();
  launch::SaveAndPlayAllowList(inputs);
  EXPECT_EQ(ReadBytes(current / "net.txt"), "interface 192.168.1.4:1635\r\nmode peer\r\n\r\n");
  EXPECT_EQ(ReadBytes(current / "ips.txt"), "");
  EXPECT_EQ(starts.Requests().size(), 1u);
}

TEST(SaveAndPlayBroadcast, ScriptBesideTheLaunchPathFilesInTheProgramFolder) {
  Folders f;
  TempFolder typed;
  CurrentDirectoryScope here(f.current.Path());
  RecordedStarts starts;
  const std::string game = f.game / "duke3d_w32.exe";
  LaunchInputs inputs = SampleInputs(game);
  // The executable field shows another path (read from settings.txt, or typed): the script
  // goes beside what is started, not beside the field's text.
  inputs.settings.gameExe = typed / "duke3d_w32.exe";
  inputs.playersText = "";
  launch::SaveAndPlayBroadcast(inputs, f.program.Path());

  EXPECT_EQ(ReadBytes(f.game / "net.txt"),
            "interface 192.168.1.4:1635\r\nmode peer\r\nbroadcast \r\n");
  EXPECT_EQ(ReadBytes(f.program / "ips.txt"), kListBytes);
  EXPECT_EQ(ReadBytes(f.program / "settings.txt"), (typed / "duke3d_w32.exe") + kSettingsBytesTail);
  EXPECT_EQ(f.game.Names(), Names{"net.txt"});
  EXPECT_EQ(f.program.Names(), (Names{"ips.txt", "settings.txt"}));
  EXPECT_EQ(f.current.Names(), Names{});
  EXPECT_EQ(typed.Names(), Names{});
  EXPECT_EQ(starts.Requests(), std::vector<LaunchRequest>{ExpectedRequest(game)});
}

TEST(SaveAndPlayBroadcastBesideExeField, BroadcastScriptInTheExecutableFieldsFolder) {
  Folders f;
  TempFolder browsed;
  CurrentDirectoryScope here(f.current.Path());
  RecordedStarts starts;
  // The field was edited after a browse: the script follows the field, the start the path.
  LaunchInputs inputs = SampleInputs(browsed / "duke3d_w32.exe");
  inputs.settings.gameExe = f.game / "duke3d_w32.exe";
  launch::SaveAndPlayBroadcastBesideExeField(inputs, f.program.Path());

  EXPECT_EQ(ReadBytes(f.game / "net.txt"),
            "interface 192.168.1.4:1635\r\nmode peer\r\nbroadcast 3\r\n");
  EXPECT_EQ(ReadBytes(f.program / "settings.txt"),
            (f.game / "duke3d_w32.exe") + kSettingsBytesTail);
  EXPECT_EQ(ReadBytes(f.program / "ips.txt"), kListBytes);
  EXPECT_EQ(browsed.Names(), Names{});
  EXPECT_EQ(f.current.Names(), Names{});
  EXPECT_EQ(starts.Requests(),
            std::vector<LaunchRequest>{ExpectedRequest(browsed / "duke3d_w32.exe")});
}

TEST(SaveAndPlayBroadcastBesideExeField, BareExecutableNamePutsTheScriptInTheCurrentDirectory) {
  Folders f;
  CurrentDirectoryScope here(f.current.Path());
  RecordedStarts starts;
  launch::SaveAndPlayBroadcastBesideExeField(SampleInputs("duke3d_w32.exe"), f.program.Path());
  EXPECT_EQ(f.current.Names(), Names{"net.txt"});
  EXPECT_EQ(f.program.Names(), (Names{"ips.txt", "settings.txt"}));
}

// The text of the LaunchError the command raised, or "(no error)".
std::string FailureText(const std::function<void()>& command) {
  try {
    command();
  } catch (const launch::LaunchError& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(LaunchFaults, FolderWhereTheListShouldBeStopsBeforeTheSettings) {
  TempFolder current;
  CurrentDirectoryScope here(current.Path());
  RecordedStarts starts;
  launch_test::MakeFolder(current / "ips.txt");
  WriteBytes(current / "settings.txt", "old\r\n");

  const std::string text = FailureText([] { launch::SaveAndPlayAllowList(SampleInputs("d.exe")); });
  EXPECT_EQ(text, "Cannot create file \"" + (current / "ips.txt") + "\". " +
                      launch_test::FolderInTheWayText());
  EXPECT_EQ(launch::AddClosingFullStop(text).back(), '.');
  EXPECT_TRUE(Exists(current / "net.txt"));
  EXPECT_EQ(ReadBytes(current / "settings.txt"), "old\r\n");
  EXPECT_EQ(current.Names(), (Names{"ips.txt", "net.txt", "settings.txt"}));
  EXPECT_TRUE(starts.Requests().empty());
}

TEST(LaunchFaults, ReadOnlyListIsRefusedKeptAndStopsTheCommand) {
  TempFolder current;
  CurrentDirectoryScope here(current.Path());
  RecordedStarts starts;
  WriteBytes(current / "ips.txt", "old list\r\n");
  launch_test::SetReadOnly(current / "ips.txt", true);
  const unsigned long marks = launch_test::Attributes(current / "ips.txt");
  WriteBytes(current / "settings.txt", "old\r\n");

  const std::string text = FailureText([] { launch::SaveAndPlayAllowList(SampleInputs("d.exe")); });
  EXPECT_EQ(text, "Cannot create file \"" + (current / "ips.txt") + "\". " +
                      launch_test::AccessDeniedText());
  EXPECT_EQ(ReadBytes(current / "ips.txt"), "old list\r\n");
  EXPECT_EQ(launch_test::Attributes(current / "ips.txt"), marks);
  EXPECT_EQ(ReadBytes(current / "settings.txt"), "old\r\n");
  EXPECT_EQ(current.Names(), (Names{"ips.txt", "net.txt", "settings.txt"}));
  EXPECT_TRUE(starts.Requests().empty());
  launch_test::SetReadOnly(current / "ips.txt", false);  // so the folder can go
}

TEST(LaunchFaults, MissingFolderForTheScriptStopsEverything) {
  Folders f;
  CurrentDirectoryScope here(f.current.Path());
  RecordedStarts starts;
  const std::string game = f.game / "gone" + std::string(1, f.game.Path().back()) + "d.exe";

  const std::string text =
      FailureText([&] { launch::SaveAndPlayBroadcast(SampleInputs(game), f.program.Path()); });
  EXPECT_EQ(text, "Cannot create file \"" + launch::FolderOf(game) + "net.txt\". " +
                      launch_test::MissingFolderText());
  EXPECT_EQ(f.program.Names(), Names{});
  EXPECT_EQ(f.game.Names(), Names{});
  EXPECT_TRUE(starts.Requests().empty());
}

TEST(LaunchFaults, WriteFailingPartWayKeepsTheOldFileAndEarlierFiles) {
  TempFolder current;
  CurrentDirectoryScope here(current.Path());
  RecordedStarts starts;
  WriteBytes(current / "settings.txt", "old settings\r\n");
  // Writes: net.txt, ips.txt, then settings.txt fails after five bytes.
  launch_test::FailingWrites failing(3, 5);

  const std::string text = FailureText([] { launch::SaveAndPlayAllowList(SampleInputs("d.exe")); });
  EXPECT_EQ(text, "Stream write error");
  EXPECT_EQ(ReadBytes(current / "ips.txt"), kListBytes);
  EXPECT_EQ(ReadBytes(current / "settings.txt"), "old settings\r\n");
  EXPECT_EQ(current.Names(), (Names{"ips.txt", "net.txt", "settings.txt"}));
  EXPECT_TRUE(starts.Requests().empty());
}

TEST(LaunchFaults, FailureInAnEarlyPieceOfALongListIsNotLostByLaterPieces) {
  Folders f;
  CurrentDirectoryScope here(f.current.Path());
  RecordedStarts starts;
  WriteBytes(f.program / "ips.txt", "old list\r\n");
  LaunchInputs inputs = SampleInputs(f.game / "d.exe");
  inputs.allowed = launch_test::MakeLongList(10000).entries;  // about 250 KB, several pieces
  // Writes: net.txt, then the first piece of ips.txt fails; the later pieces succeed.
  launch_test::FailingWrites failing(2, 100);

  EXPECT_EQ(FailureText([&] { launch::SaveAndPlayBroadcast(inputs, f.program.Path()); }),
            "Stream write error");
  EXPECT_EQ(ReadBytes(f.program / "ips.txt"), "old list\r\n");
  EXPECT_EQ(f.program.Names(), Names{"ips.txt"});
  EXPECT_TRUE(starts.Requests().empty());
}

TEST(LaunchFaults, FailedFirstWriteLeavesNoFileBehind) {
  TempFolder current;
  CurrentDirectoryScope here(current.Path());
  RecordedStarts starts;
  launch_test::FailingWrites failing(1, 0);
  EXPECT_EQ(FailureText([] { launch::SaveAndPlayAllowList(SampleInputs("d.exe")); }),
            "Stream write error");
  EXPECT_EQ(current.Names(), Names{});
  EXPECT_TRUE(starts.Requests().empty());
}

}  // namespace
