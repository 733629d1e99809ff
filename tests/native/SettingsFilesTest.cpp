// "settings.txt" and "ips.txt" through real files: what reading makes of any bytes, the
// exact bytes written, the existence test, "Save", and what a failed write leaves behind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "Errors.h"
#include "SettingsFiles.h"
#include "TestFiles.h"

using namespace std::string_literals;
using launch::AllowedList;
using launch::LaunchSettings;
using launch_test::ReadBytes;
using launch_test::TempFolder;
using launch_test::WriteBytes;

namespace {

struct SettingsCase {
  std::string bytes;
  LaunchSettings settings;
};

TEST(ReadSettings, LinesBecomeFieldsWhateverTheBytes) {
  const std::string cut(4096, 'n');
  const SettingsCase cases[] = {
      {"d.exe\r\nJohn\r\n10.0.0.2\r\n1635\r\n", {"d.exe", "John", "10.0.0.2", "1635"}},
      {"d.exe\r\nJohn\r\n", {"d.exe", "John", "", ""}},
      {"", {"", "", "", ""}},
      {"d.exe\nJohn\n10.0.0.2\n1635\n", {"d.exe", "John", "10.0.0.2", "1635"}},
      {"d.exe\rJohn\r10.0.0.2\r1635\r", {"d.exe", "John", "10.0.0.2", "1635"}},
      {"a\r\nb\r\nc\r\nd\r\ne\r\nf\r\n", {"a", "b", "c", "d"}},
      {"a\n\rb", {"a", "", "b", ""}},
      {"a\r\nb\0c\r\nd\r\n"s, {"a", "b", "", ""}},
      {" x \r\n\t\r\n", {" x ", "\t", "", ""}},
      {cut + "tail\r\nJohn", {cut, "John", "", ""}},
      {"\xff\xfe\x01\x80\r\n\x9c", {"\xff\xfe\x01\x80", "\x9c", "", ""}},
  };
  TempFolder folder;
  for (const SettingsCase& c : cases) {
    WriteBytes(folder / "settings.txt", c.bytes);
    EXPECT_EQ(launch::ReadSettings(folder / "settings.txt"), c.settings)
        << "file: " << testing::PrintToString(c.bytes);
  }
}

struct ListCase {
  std::string bytes;
  AllowedList list;
};

TEST(ReadAllowedList, OneEntryPerLineTakenAsItStands) {
  const ListCase cases[] = {
      {"", {}},
      {"allow 10.0.0.2:1635\r\nallow 10.0.0.3:1635\r\n",
       {"allow 10.0.0.2:1635", "allow 10.0.0.3:1635"}},
      {"allow a:1\r\n\r\nallow b:2", {"allow a:1", "", "allow b:2"}},
      {"allow a:1\r\n\r\n", {"allow a:1", ""}},
      {"not an entry\nanother one", {"not an entry", "another one"}},
      {"x\0y\r\nz"s, {"x"}},
  };
  TempFolder folder;
  for (const ListCase& c : cases) {
    WriteBytes(folder / "ips.txt", c.bytes);
    EXPECT_EQ(launch::ReadAllowedList(folder / "ips.txt"), c.list)
        << "file: " << testing::PrintToString(c.bytes);
  }
}

TEST(ReadAllowedList, MegabyteLinesOfBinaryBytesLoadWhole) {
  std::string line;
  for (int i = 0; i < (1 << 20); ++i) line += static_cast<char>(1 + i % 255);
  std::string clean;
  for (char c : line) clean += (c == '\r' || c == '\n') ? 'x' : c;
  TempFolder folder;
  WriteBytes(folder / "ips.txt", clean + "\n" + clean + "\r");
  const AllowedList list = launch::ReadAllowedList(folder / "ips.txt");
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0], clean);
  EXPECT_EQ(list[1], clean);
}

TEST(ReadFiles, UnreadableFileNamesItsFullPath) {
  TempFolder folder;
  launch_test::CurrentDirectoryScope here(folder.Path());
  try {
    launch::ReadSettings("settings.txt");
    FAIL() << "no error for a missing file";
  } catch (const launch::LaunchError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + folder.Path() + "settings.txt\". " +
                                         launch_test::MissingFileText());
  }
}

TEST(WriteFiles, ExactBytes) {
  TempFolder folder;
  launch::WriteSettings(folder / "settings.txt", {"C:\\G\\d.exe", "John Doe", "10.0.0.2", "1635"});
  EXPECT_EQ(ReadBytes(folder / "settings.txt"), "C:\\G\\d.exe\r\nJohn Doe\r\n10.0.0.2\r\n1635\r\n");

  launch::WriteSettings(folder / "settings.txt", {});
  EXPECT_EQ(ReadBytes(folder / "settings.txt"), "\r\n\r\n\r\n\r\n");

  launch::WriteAllowedList(folder / "ips.txt", {"allow 10.0.0.3:1635", "", "odd line"});
  EXPECT_EQ(ReadBytes(folder / "ips.txt"), "allow 10.0.0.3:1635\r\n\r\nodd line\r\n");

  launch::WriteAllowedList(folder / "ips.txt", {});
  EXPECT_EQ(ReadBytes(folder / "ips.txt"), "");
  EXPECT_EQ(folder.Names(), (std::vector<std::string>{"ips.txt", "settings.txt"}));
}

TEST(WriteFiles, ListsLongerThanOnePieceAreWrittenWhole) {
  TempFolder folder;
  const launch_test::LongList list = launch_test::MakeLongList(5000);
  ASSERT_GT(list.bytes.size(), 96u * 1024) << "well over one 64 KB piece";
  launch::WriteAllowedList(folder / "ips.txt", list.entries);
  EXPECT_TRUE(ReadBytes(folder / "ips.txt") == list.bytes) << "the file differs from the list";
}

TEST(WriteFiles, ReplacedFileKeepsItsAttributes) {
  TempFolder folder;
  WriteBytes(folder / "ips.txt", "old\r\n");
  launch_test::SetUnusualAttributes(folder / "ips.txt");
  const unsigned long marks = launch_test::Attributes(folder / "ips.txt");
  launch::WriteAllowedList(folder / "ips.txt", {"new"});
  EXPECT_EQ(ReadBytes(folder / "ips.txt"), "new\r\n");
  EXPECT_EQ(launch_test::Attributes(folder / "ips.txt"), marks);
}

TEST(WriteFiles, LeftoverTemporaryFilesAreSkippedAndKept) {
  TempFolder folder;
  // The names the writer tries first, left by an earlier process with this process's id.
#ifdef _WIN32
  const std::string pid = std::to_string(GetCurrentProcessId());
#else
  const std::string pid = std::to_string(getpid());
#endif
  const std::string taken[] = {"~lvtmp" + pid + "-0.tmp", "~lvtmp" + pid + "-1.tmp"};
  for (const std::string& name : taken) WriteBytes(folder / name, "leftover");
  launch::WriteAllowedList(folder / "ips.txt", {"allow 10.0.0.3:1635"});
  EXPECT_EQ(ReadBytes(folder / "ips.txt"), "allow 10.0.0.3:1635\r\n");
  for (const std::string& name : taken) EXPECT_EQ(ReadBytes(folder / name), "leftover");
  EXPECT_EQ(folder.Names(), (std::vector<std::string>{"ips.txt", taken[0], taken[1]}));
}

TEST(WriteFiles, ForeignListIsWrittenBackUnchanged) {
  TempFolder folder;
  const std::string foreign = "# peers\r\n\r\nallow 10.0.0.9:27960\r\n\xe9t\xe9\r\n\r\n";
  WriteBytes(folder / "ips.txt", foreign);
  launch::WriteAllowedList(folder / "copy.txt", launch::ReadAllowedList(folder / "ips.txt"));
  EXPECT_EQ(ReadBytes(folder / "copy.txt"), foreign);
}

TEST(SaveAll, WritesBothFilesInTheFolderAndTwiceGivesTheSameBytes) {
  TempFolder folder;
  const LaunchSettings settings{"duke3d_w32.exe", "JohnDoe", "192.168.1.4", "1635"};
  const AllowedList list{"allow 192.168.1.5:1635", "allow 192.168.1.6:1635"};
  launch::SaveAll(folder.Path(), settings, list);
  EXPECT_EQ(ReadBytes(folder / "settings.txt"),
            "duke3d_w32.exe\r\nJohnDoe\r\n192.168.1.4\r\n1635\r\n");
  EXPECT_EQ(ReadBytes(folder / "ips.txt"),
            "allow 192.168.1.5:1635\r\nallow 192.168.1.6:1635\r\n");
  const std::string first = ReadBytes(folder / "settings.txt") + ReadBytes(folder / "ips.txt");
  launch::SaveAll(folder.Path(), settings, list);
  EXPECT_EQ(ReadBytes(folder / "settings.txt") + ReadBytes(folder / "ips.txt"), first);
  EXPECT_EQ(folder.Names(), (std::vector<std::string>{"ips.txt", "settings.txt"}));
}

TEST(SaveAll, EmptyFolderMeansTheCurrentDirectory) {
  TempFolder folder;
  launch_test::CurrentDirectoryScope here(folder.Path());
  launch::SaveAll("", {"a", "b", "c", "d"}, {});
  EXPECT_EQ(ReadBytes(folder / "settings.txt"), "a\r\nb\r\nc\r\nd\r\n");
  EXPECT_EQ(ReadBytes(folder / "ips.txt"), "");
}

TEST(FileIsPresent, OnlyFilesDatedWithinTheOldDateRange) {
  TempFolder folder;
  EXPECT_FALSE(launch::FileIsPresent(folder / "settings.txt"));
  WriteBytes(folder / "settings.txt", "");
  EXPECT_TRUE(launch::FileIsPresent(folder / "settings.txt"));  // empty still counts

  // The old date format's range, local time.
  const std::pair<int, bool> years[] = {
      {1975, false}, {1979, false}, {1980, true}, {2024, true}, {2107, true}, {2108, false},
      {2150, false}};
  for (const auto& [year, present] : years) {
    launch_test::SetLastWriteYear(folder / "settings.txt", year);
    EXPECT_EQ(launch::FileIsPresent(folder / "settings.txt"), present) << "year " << year;
  }

  launch_test::MakeFolder(folder / "ips.txt");
  EXPECT_FALSE(launch::FileIsPresent(folder / "ips.txt"));
  EXPECT_FALSE(launch::FileIsPresent(folder / "missing" + "/settings.txt"));
}

}  // namespace
