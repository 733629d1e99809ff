// Start-up of the main window: what it reads from "settings.txt" and "ips.txt" in the
// current directory, the first-start path with address discovery, and files that are
// odd, unreadable or in the way.
#include "tests/win32/setup/MainFormTestSupport.h"

#include <gtest/gtest.h>


namespace {

using namespace setup_test;

class MainFormStartup : public ::testing::Test {
 protected:
  struct Fields {
    std::string exe, nick, iface, port, ipCaption;
    std::vector<std::string> list;
  };

  Fields Start() {
    auto form = MakeMainWindow();
    Fields f{form->Edit5->Text(), form->Edit4->Text(), form->Edit3->Text(),
             form->Edit1->Text(), form->CopyYourIP1->Caption(), form->AllowedEntries()};
    EXPECT_EQ(form->LaunchPath(), "duke3d_w32.exe");
    RECT outer;
    GetWindowRect(form->Handle(), &outer);
    EXPECT_EQ(outer.right - outer.left, 355);
    return f;
  }

  wingui_test::BoxRecorder boxes_;
  ScratchFolder folder_{"startup"};
  FakeDiscovery discovery_{{"192.168.7.20", "10.0.0.5", "192.168.7.20"}};
  QuietTray tray_;
};

TEST_F(MainFormStartup, FirstStartInAnEmptyFolderTakesTheFirstDiscoveredAddress) {
  Fields f = Start();
  EXPECT_EQ(f.exe, "duke3d_w32.exe");
  EXPECT_EQ(f.nick, "JohnDoe");
  EXPECT_EQ(f.iface, "192.168.7.20");
  EXPECT_EQ(f.ipCaption, "192.168.7.20");
  EXPECT_EQ(f.port, "1635");
  EXPECT_TRUE(f.list.empty());
  EXPECT_EQ(FakeDiscovery::Lookups(), 1);
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(MainFormStartup, NothingDiscoveredLeavesTheInterfaceEmpty) {
  FakeDiscovery none({});
  Fields f = Start();
  EXPECT_EQ(f.iface, "");
  EXPECT_EQ(f.ipCaption, "");
}

TEST_F(MainFormStartup, SettingsFileFillsTheFieldsWithoutDiscovery) {
  WriteBytes("settings.txt", "C:\\Games\\duke3d_w32.exe\r\nDuke Nukem\r\n10.9.8.7\r\n23513\r\n");
  WriteBytes("ips.txt", "allow 10.0.0.2:1635\r\nsomething else\r\n\r\nallow 10.0.0.3:99\r\n");
  Fields f = Start();
  EXPECT_EQ(f.exe, "C:\\Games\\duke3d_w32.exe");
  EXPECT_EQ(f.nick, "Duke Nukem");
  EXPECT_EQ(f.iface, "10.9.8.7");
  EXPECT_EQ(f.ipCaption, "10.9.8.7") << "the IP item shows the saved interface";
  EXPECT_EQ(f.port, "23513");
  EXPECT_EQ(f.list, (std::vector<std::string>{"allow 10.0.0.2:1635", "something else", "",
                                              "allow 10.0.0.3:99"}));
  EXPECT_EQ(FakeDiscovery::Lookups(), 0);
}

TEST_F(MainFormStartup, ShortAndOddlyEndedSettingsFiles) {
  struct Case {
    const char* bytes;
    Fields expected;
  };
  const Case cases[] = {
      {"game.exe\r\nNick\r\n", {"game.exe", "Nick", "", "", "", {}}},
      {"game.exe\nNick\n1.2.3.4\n77\n", {"game.exe", "Nick", "1.2.3.4", "77", "1.2.3.4", {}}},
      {"game.exe\rNick\r1.2.3.4\r77\r", {"game.exe", "Nick", "1.2.3.4", "77", "1.2.3.4", {}}},
      {"", {"", "", "", "", "", {}}},
      {"a\r\nb\r\nc\r\nd\r\nextra\r\n", {"a", "b", "c", "d", "c", {}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(std::string(c.bytes)));
    WriteBytes("settings.txt", c.bytes);
    Fields f = Start();
    EXPECT_EQ(f.exe, c.expected.exe);
    EXPECT_EQ(f.nick, c.expected.nick);
    EXPECT_EQ(f.iface, c.expected.iface);
    EXPECT_EQ(f.port, c.expected.port);
    EXPECT_EQ(f.ipCaption, c.expected.ipCaption);
  }
  EXPECT_EQ(FakeDiscovery::Lookups(), 0);
}

TEST_F(MainFormStartup, FolderNamedSettingsIsTakenAsMissing) {
  CreateDirectoryA("settings.txt", nullptr);
  Fields f = Start();
  EXPECT_EQ(f.iface, "192.168.7.20");
  EXPECT_EQ(f.exe, "duke3d_w32.exe");
  EXPECT_EQ(FakeDiscovery::Lookups(), 1);
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(MainFormStartup, SettingsFileDatedBefore1980IsTakenAsMissing) {
  WriteBytes("settings.txt", "old.exe\r\nOld\r\n1.1.1.1\r\n1\r\n");
  HANDLE file = CreateFileA("settings.txt", FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  SYSTEMTIME st{};
  st.wYear = 1979;
  st.wMonth = 6;
  st.wDay = 15;
  st.wHour = 12;
  FILETIME local, utc;
  SystemTimeToFileTime(&st, &local);
  LocalFileTimeToFileTime(&local, &utc);
  ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &utc));
  CloseHandle(file);

  Fields f = Start();
  EXPECT_EQ(f.exe, "duke3d_w32.exe");
  EXPECT_EQ(f.iface, "192.168.7.20");
  EXPECT_EQ(FakeDiscovery::Lookups(), 1);
}

TEST_F(MainFormStartup, UnreadableSettingsShowsTheBoxAndSkipsTheList) {
  WriteBytes("settings.txt", "x.exe\r\nN\r\n1.2.3.4\r\n5\r\n");
  WriteBytes("ips.txt", "allow 1.1.1.1:1\r\n");
  // Held open with no sharing: it exists, but opening it for reading fails.
  HANDLE lock = CreateFileA("settings.txt", GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  auto form = MakeMainWindow();
  CloseHandle(lock);

  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  const auto& box = boxes_.Boxes().front();
  EXPECT_EQ(box.caption, "Pelmar 2005");
  EXPECT_EQ(box.type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
  const std::string prefix = "Cannot open file \"" + (folder_ / "settings.txt") + "\". ";
  EXPECT_EQ(box.text.substr(0, prefix.size()), prefix) << box.text;
  EXPECT_EQ(box.text.back(), '.');
  // The remaining steps were skipped: the list was not read, the fields keep their texts.
  EXPECT_EQ(form->ListBox1->Count(), 0);
  EXPECT_EQ(form->Edit5->Text(), "duke3d_w32.exe");
  EXPECT_TRUE(IsWindow(form->Handle()));
}

TEST_F(MainFormStartup, BinarySettingsStillGiveAWindow) {
  std::string binary;
  for (int i = 1; i < 256; ++i) binary += static_cast<char>(i);
  WriteBytes("settings.txt", binary + std::string(1, '\0') + "after nul");
  auto form = MakeMainWindow();
  EXPECT_TRUE(IsWindow(form->Handle()));
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(MainFormStartup, HugeAndMixedListLinesStillGiveAWindow) {
  WriteBytes("settings.txt", "g\r\nn\r\ni\r\np\r\n");
  WriteBytes("ips.txt", std::string(300000, 'x') + "\n\r\r\nlast");
  auto form = MakeMainWindow();
  EXPECT_TRUE(IsWindow(form->Handle()));
  EXPECT_TRUE(boxes_.Boxes().empty());
  EXPECT_EQ(form->ListBox1->Count(), 4);
  ASSERT_EQ(form->AllowedEntries().size(), 4u);
  EXPECT_EQ(form->AllowedEntries()[0], std::string(300000, 'x'));
  EXPECT_EQ(form->AllowedEntries()[3], "last");
}

}  // namespace
