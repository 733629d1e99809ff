// The text rules of the launch core: splitting and joining lines, message tidying, the
// allow-entry form and folder parts of paths.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Errors.h"
#include "LaunchSettings.h"
#include "Paths.h"
#include "TextLines.h"

using namespace std::string_literals;
using Lines = std::vector<std::string>;

namespace {

struct SplitCase {
  std::string bytes;
  Lines lines;
};

TEST(TextLines, SplitsAtEveryKindOfLineEnd) {
  const SplitCase cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\rb\nc", {"a", "b", "c"}},
      {"a\n\rb", {"a", "", "b"}},   // LF CR is two line ends
      {"a\r\r\nb", {"a", "", "b"}},
      {"a\r\n\r\n", {"a", ""}},     // an empty line before the final break counts
      {"\r\n", {""}},
      {"\n\n", {"", ""}},
      {"\r", {""}},
      {"a\r\n\r\n\r\nb", {"a", "", "", "b"}},
      {"ab\0cd\r\nef"s, {"ab"}},     // NUL ends the text
      {"\0a\r\n"s, {}},
      {"\xff\xe9t\xe9\r\n\x01\x7f", {"\xff\xe9t\xe9", "\x01\x7f"}},
  };
  for (const SplitCase& c : cases) {
    EXPECT_EQ(launch::SplitLines(c.bytes), c.lines) << "input: " << testing::PrintToString(c.bytes);
  }
}

TEST(TextLines, JoinEndsEveryLineWithCrLf) {
  EXPECT_EQ(launch::JoinLines({}), "");
  EXPECT_EQ(launch::JoinLines({""}), "\r\n");
  EXPECT_EQ(launch::JoinLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
}

TEST(TextLines, MegabyteLineStaysWhole) {
  const std::string longLine(3 << 20, 'x');
  const Lines lines = launch::SplitLines(longLine + "\n" + longLine);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], longLine);
  EXPECT_EQ(lines[1], longLine);
}

TEST(MessageText, TidyDropsTrailingBreaksBlanksAndFullStops) {
  EXPECT_EQ(launch::TidySystemText("Access is denied.\r\n"), "Access is denied");
  EXPECT_EQ(launch::TidySystemText("No such file or directory"), "No such file or directory");
  EXPECT_EQ(launch::TidySystemText("Odd. \t..\x01\n"), "Odd");
  EXPECT_EQ(launch::TidySystemText("v1.2 ok"), "v1.2 ok");
  EXPECT_EQ(launch::TidySystemText(" .\r\n"), "");
  EXPECT_EQ(launch::TidySystemText("caf\xe9\r\n"), "caf\xe9");
}

TEST(MessageText, ClosingFullStopOnlyAfterCharactersSortingAfterIt) {
  EXPECT_EQ(launch::AddClosingFullStop("Access is denied"), "Access is denied.");
  EXPECT_EQ(launch::AddClosingFullStop("Stream write error"), "Stream write error.");
  EXPECT_EQ(launch::AddClosingFullStop("Done."), "Done.");
  EXPECT_EQ(launch::AddClosingFullStop("Really?"), "Really?.");  // "?" sorts after "."
  EXPECT_EQ(launch::AddClosingFullStop("Hm!"), "Hm!");           // "!" sorts before "."
  EXPECT_EQ(launch::AddClosingFullStop("Path \"C:\\x\""), "Path \"C:\\x\"");
  EXPECT_EQ(launch::AddClosingFullStop("version 1/"), "version 1/.");
  EXPECT_EQ(launch::AddClosingFullStop("caf\xe9"), "caf\xe9.");  // upper-half byte
  EXPECT_EQ(launch::AddClosingFullStop(""), "");
}

TEST(AllowEntry, InsertsAddressAndPortUnchanged) {
  EXPECT_EQ(launch::MakeAllowEntry("192.168.0.7", "1635"), "allow 192.168.0.7:1635");
  EXPECT_EQ(launch::MakeAllowEntry(" x ", ""), "allow  x :");
}

struct FolderCase {
  std::string path;
  std::string folder;
};

TEST(Paths, FolderPartEndsAtLastSeparator) {
#ifdef _WIN32
  const FolderCase cases[] = {
      {"duke3d_w32.exe", ""},
      {"C:\\Games\\Duke\\duke3d_w32.exe", "C:\\Games\\Duke\\"},
      {"C:duke3d_w32.exe", "C:"},
      {"C:\\Games\\", "C:\\Games\\"},
      {"\\\\server\\share\\d.exe", "\\\\server\\share\\"},
      {"games/duke/d.exe", ""},  // "/" is an ordinary character here
      {"", ""},
  };
#else
  const FolderCase cases[] = {
      {"duke3d_w32.exe", ""},
      {"/opt/duke/duke3d_w32.exe", "/opt/duke/"},
      {"/d.exe", "/"},
      {"games/duke/", "games/duke/"},
      {"C:\\Games\\d.exe", ""},  // "\" and ":" are ordinary characters here
      {"", ""},
  };
#endif
  for (const FolderCase& c : cases) {
    EXPECT_EQ(launch::FolderOf(c.path), c.folder) << "path: " << c.path;
  }
}

TEST(Paths, ProgramFolderIsTheExecutablesFolder) {
  const std::string folder = launch::ProgramFolder();
  const std::string path = launch::ProgramPath();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(path.substr(0, folder.size()), folder);
  const std::string name = path.substr(folder.size());
  EXPECT_NE(name.find("launch"), std::string::npos) << path;
  EXPECT_EQ(launch::FolderOf(name), "");
}

}  // namespace
