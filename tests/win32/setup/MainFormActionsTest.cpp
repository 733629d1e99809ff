// The main window's commands and its tray menu, run in-process: the allowed list, the mode
// switch, the maker label, address discovery, the three launch roads with the files they
// write and the start request they make, and the players item kept in step by the timer.
#include "tests/win32/setup/MainFormTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

#include "harness/LanvoraSession.h"
#include "harness/Scratch.h"
#include "launch/Paths.h"
#include "players/PlayersForm.h"
#include "setup/CommaText.h"

namespace {

using namespace setup_test;

class MainFormActions : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = MakeMainWindow();
    programFolder_ = launch::ProgramFolder();
    ASSERT_NE(programFolder_ + "\\", folder_.Path() + "\\");
  }
  void TearDown() override {
    form_.reset();
    DeleteFileA((programFolder_ + "settings.txt").c_str());
    DeleteFileA((programFolder_ + "ips.txt").c_str());
  }

  void Type(wingui::Edit* edit, const std::string& text) { edit->SetText(text); }

  wingui_test::BoxRecorder boxes_;
  ScratchFolder folder_{"actions"};
  FakeDiscovery discovery_{{"192.168.1.10", "10.0.0.1"}};
  QuietTray tray_;
  StartRecorder starts_;
  std::unique_ptr<setup::TForm1> form_;
  std::string programFolder_;
};

TEST_F(MainFormActions, AddKeepsThePortOfItsMomentAndTheAddressField) {
  Type(form_->Edit2, "192.168.1.2");
  form_->Button2Click();
  Type(form_->Edit1, "2000");
  form_->Button2Click();
  Type(form_->Edit2, "");
  form_->Button2Click();
  Type(form_->Edit1, "");
  Type(form_->Edit2, "x");
  form_->Button2Click();
  form_->Button1Click();  // "&Default" changes only the port field
  EXPECT_EQ(form_->Edit1->Text(), "1635");
  EXPECT_EQ(form_->Edit2->Text(), "x");
  EXPECT_EQ(form_->AllowedEntries(),
            (std::vector<std::string>{"allow 192.168.1.2:1635", "allow 192.168.1.2:2000",
                                      "allow :2000", "allow x:"}));
  EXPECT_EQ(form_->ListBox1->Items(), form_->AllowedEntries()) << "the list shows every entry";
}

TEST_F(MainFormActions, RemoveSelectedInBothModesAndWithNothingSelected) {
  Type(form_->Edit2, "a");
  form_->Button2Click();
  Type(form_->Edit2, "b");
  form_->Button2Click();
  Type(form_->Edit2, "c");
  form_->Button2Click();
  form_->Button4Click();  // nothing selected: nothing changes
  EXPECT_EQ(form_->ListBox1->Count(), 3);

  form_->ListBox1->SetItemIndex(1);
  form_->rbcClick();
  EXPECT_FALSE(form_->ListBox1->Visible());
  EXPECT_TRUE(form_->Button4->Visible());
  form_->Button4Click();
  EXPECT_EQ(form_->AllowedEntries(), (std::vector<std::string>{"allow a:1635", "allow c:1635"}));
}

TEST_F(MainFormActions, ModeSwitchSetsEveryDependentControlAndKeepsTheFields) {
  Type(form_->Edit2, "10.0.0.9");
  Type(form_->Edit6, "3");
  for (int round = 0; round < 2; ++round) {
    form_->rbcClick();
    EXPECT_EQ(form_->Label3->Text(), "Number Of Players:");
    EXPECT_FALSE(form_->Edit2->Visible());
    EXPECT_TRUE(form_->Edit6->Visible());
    EXPECT_FALSE(form_->Button2->Visible());
    EXPECT_FALSE(form_->ListBox1->Visible());
    EXPECT_FALSE(form_->Button3->Visible());
    EXPECT_TRUE(form_->Button8->Visible());
    form_->ripClick();
    EXPECT_EQ(form_->Label3->Text(), "Allowed IP List:");
    EXPECT_TRUE(form_->Edit2->Visible());
    EXPECT_FALSE(form_->Edit6->Visible());
    EXPECT_TRUE(form_->Button2->Visible());
    EXPECT_TRUE(form_->ListBox1->Visible());
    EXPECT_TRUE(form_->Button3->Visible());
    EXPECT_FALSE(form_->Button8->Visible());
  }
  // The mode label takes the width of its longer caption instead of cutting it off.
  form_->rbcClick();
  EXPECT_GE(form_->Label3->Width(),
            wingui_test::TextWidth(form_->Label3->Handle(), "Number Of Players:"));
  EXPECT_EQ(form_->Label3->Left(), 24);
  EXPECT_EQ(form_->Label3->Top(), 188);
  form_->ripClick();
  // The same switch twice in a row changes nothing further.
  form_->rbcClick();
  form_->rbcClick();
  EXPECT_TRUE(form_->Edit6->Visible());
  EXPECT_EQ(form_->Edit2->Text(), "10.0.0.9");
  EXPECT_EQ(form_->Edit6->Text(), "3");
  EXPECT_TRUE(form_->Button4->Visible());
}

TEST_F(MainFormActions, MakerLabelFollowsThePointerAndOpensThePage) {
  form_->Label7MouseMove();
  EXPECT_EQ(form_->Label7->Color(), RGB(0, 0, 255));
  EXPECT_EQ(form_->Label7->Text(), "help.html");
  form_->Label7MouseLeave();
  EXPECT_EQ(form_->Label7->Color(), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(form_->Label7->Text(), "Pelmar 2005");
  form_->Label7Click();
  ASSERT_EQ(StartRecorder::Requests().size(), 1u);
  const launch::LaunchRequest& r = StartRecorder::Requests().front();
  EXPECT_EQ(r.verb, "open");
  // The help page beside the program, in the user's web browser.
  EXPECT_EQ(r.file, programFolder_ + "help.html");
  EXPECT_EQ(r.parameters, "");
  EXPECT_EQ(r.showCommand, SW_SHOW);
  EXPECT_EQ(r.ownerWindow, reinterpret_cast<std::uintptr_t>(form_->Handle()));
}

TEST_F(MainFormActions, GetReplacesTheAddressListEachTime) {
  FakeDiscovery other({"172.16.0.4", "172.16.0.5"});
  form_->Button11Click();
  form_->Button11Click();
  EXPECT_EQ(form_->LocalAddressList(), (std::vector<std::string>{"172.16.0.4", "172.16.0.5"}));
  EXPECT_EQ(form_->Edit3->Text(), "172.16.0.4");
  EXPECT_EQ(form_->CopyYourIP1->Caption(), "172.16.0.4");
  FakeDiscovery none({});
  form_->Button11Click();
  EXPECT_TRUE(form_->LocalAddressList().empty());
  EXPECT_EQ(form_->Edit3->Text(), "");
  EXPECT_EQ(form_->CopyYourIP1->Caption(), "");
}

TEST_F(MainFormActions, SaveWritesBothFilesIntoTheProgramFolder) {
  Type(form_->Edit4, "Nick Name");
  form_->Button6Click();
  EXPECT_EQ(ReadBytes(programFolder_ + "settings.txt"),
            "duke3d_w32.exe\r\nNick Name\r\n192.168.1.10\r\n1635\r\n");
  EXPECT_TRUE(Exists(programFolder_ + "ips.txt"));
  EXPECT_EQ(ReadBytes(programFolder_ + "ips.txt"), "");
  EXPECT_FALSE(Exists("settings.txt")) << "Save never writes into the current directory";
  form_->Play1Click();  // the tray's "Save" is the same command
  EXPECT_EQ(ReadBytes(programFolder_ + "settings.txt"),
            "duke3d_w32.exe\r\nNick Name\r\n192.168.1.10\r\n1635\r\n");
  EXPECT_TRUE(StartRecorder::Requests().empty());
}

TEST_F(MainFormActions, SaveAndPlayInAllowModeWritesIntoTheCurrentDirectory) {
  Type(form_->Edit4, "Duke Nukem");
  Type(form_->Edit2, "10.0.0.2");
  form_->Button2Click();
  Type(form_->Edit1, "1700");
  Type(form_->Edit2, "10.0.0.3");
  form_->Button2Click();
  form_->Button3Click();
  EXPECT_EQ(ReadBytes("net.txt"),
            "interface 192.168.1.10:1700\r\nmode peer\r\nallow 10.0.0.2:1635\r\n"
            "allow 10.0.0.3:1700\r\n\r\n");
  EXPECT_EQ(ReadBytes("ips.txt"), "allow 10.0.0.2:1635\r\nallow 10.0.0.3:1700\r\n");
  EXPECT_EQ(ReadBytes("settings.txt"), "duke3d_w32.exe\r\nDuke Nukem\r\n192.168.1.10\r\n1700\r\n");
  EXPECT_FALSE(Exists(programFolder_ + "settings.txt"));
  ASSERT_EQ(StartRecorder::Requests().size(), 1u);
  const launch::LaunchRequest& r = StartRecorder::Requests().front();
  EXPECT_EQ(r.verb, "open");
  EXPECT_EQ(r.file, "duke3d_w32.exe");
  EXPECT_EQ(r.parameters, "/m /c1 /i1 -name Duke Nukem -net net.txt");
  EXPECT_EQ(r.workingDirectory, "");
  EXPECT_EQ(r.showCommand, 5);
  EXPECT_EQ(r.ownerWindow, reinterpret_cast<std::uintptr_t>(form_->Handle()));
}

TEST_F(MainFormActions, SaveAndPlayInBroadcastModeWritesSettingsIntoTheProgramFolder) {
  form_->rbcClick();
  Type(form_->Edit6, "3");
  // The field names another folder (as after reading settings.txt): the script still goes
  // beside what is started, "duke3d_w32.exe" in the current directory.
  CreateDirectoryA("game", nullptr);
  Type(form_->Edit5, folder_ / "game\\duke3d_w32.exe");
  form_->Button8Click();
  EXPECT_EQ(ReadBytes("net.txt"), "interface 192.168.1.10:1635\r\nmode peer\r\nbroadcast 3\r\n");
  EXPECT_FALSE(Exists(folder_ / "game\\net.txt"));
  EXPECT_FALSE(Exists("settings.txt"));
  EXPECT_EQ(ReadBytes(programFolder_ + "settings.txt"),
            folder_ / "game\\duke3d_w32.exe\r\nJohnDoe\r\n192.168.1.10\r\n1635\r\n");
  ASSERT_EQ(StartRecorder::Requests().size(), 1u);
  EXPECT_EQ(StartRecorder::Requests().front().parameters,
            "/m /c1 /i1 -name JohnDoe -net net.txt");
}

TEST_F(MainFormActions, TraySaveAndPlayIsBroadcastBesideTheExecutableField) {
  CreateDirectoryA("game", nullptr);
  Type(form_->Edit5, folder_ / "game\\duke3d_w32.exe");
  Type(form_->Edit2, "10.0.0.2");
  form_->Button2Click();
  Type(form_->Edit6, "");
  form_->Play2Click();  // the window still shows "Allow IP's"
  EXPECT_EQ(ReadBytes(folder_ / "game\\net.txt"),
            "interface 192.168.1.10:1635\r\nmode peer\r\nbroadcast \r\n");
  EXPECT_FALSE(Exists("net.txt"));
  EXPECT_EQ(ReadBytes(programFolder_ + "ips.txt"), "allow 10.0.0.2:1635\r\n");
  ASSERT_EQ(StartRecorder::Requests().size(), 1u);
  EXPECT_EQ(StartRecorder::Requests().front().file, "duke3d_w32.exe")
      << "typing a path does not change what is started";
}

// A set-up the game would not run as meant: each "Save && Play" asks first in one warning
// box, and "No" leaves everything as it was; "Save" alone never asks.
TEST_F(MainFormActions, SaveAndPlayWarnsOfASetUpTheGameWouldNotRun) {
  Type(form_->Edit2, "192.168.1.10");  // the own address, as the interface field shows it
  form_->Button2Click();
  wingui_test::YesNoAnswer() = IDNO;
  // The window's command reads the list; the tray's is always the broadcast form, with no
  // number of players typed.
  const std::vector<std::pair<std::function<void()>, std::string>> commands = {
      {[&] { form_->Button3->Click(); }, "\"allow 192.168.1.10:1635\" is your own address"},
      {[&] { form_->Play2->Click(); }, "The number of players is empty"},
      {[&] {
         form_->rbc->SetChecked(true);
         form_->rbcClick();
         form_->Button8->Click();
         form_->rip->SetChecked(true);
         form_->ripClick();
       },
       "The number of players is empty"}};
  for (const auto& [command, problem] : commands) {
    command();
    ASSERT_FALSE(boxes_.Boxes().empty());
    const wingui_test::RecordedBox& box = boxes_.Boxes().back();
    EXPECT_EQ(box.caption, "Pelmar 2005");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2));
    EXPECT_NE(box.text.find(problem), std::string::npos) << box.text;
    EXPECT_NE(box.text.find("Start the game anyway?"), std::string::npos);
  }
  EXPECT_EQ(boxes_.Boxes().size(), 3u);
  EXPECT_EQ(harness::FolderEntries(folder_.Path()), std::vector<std::string>{});
  EXPECT_FALSE(Exists(programFolder_ + "ips.txt"));
  EXPECT_TRUE(StartRecorder::Requests().empty());

  form_->Button6Click();
  EXPECT_EQ(boxes_.Boxes().size(), 3u) << "Save alone never asks";
  EXPECT_TRUE(Exists(programFolder_ + "ips.txt"));
}

// While a command waits for an answer (its box runs a message loop of its own), the tray's
// commands and the window's buttons start nothing: the tray menu shows its command items
// disabled, and a choice that gets through anyway is ignored. The first command goes on.
TEST_F(MainFormActions, NoCommandStartsWhileAnotherWaitsForAnAnswer) {
  Type(form_->Edit2, "192.168.1.10");  // the own address: "Save && Play" warns first
  form_->Button2Click();
  auto itemGrayed = [&](wingui::MenuItem* item) {
    return (GetMenuState(form_->PopupMenu1->Handle(), item->Command(), MF_BYCOMMAND) &
            MF_GRAYED) != 0;
  };
  bool grayedWhileOpen = false;
  wingui_test::WhileNextBoxIsOpen() = [&] {
    form_->PopupMenu1->Items().RefreshEntries();
    grayedWhileOpen = itemGrayed(form_->Play2) && itemGrayed(form_->Play1) &&
                      itemGrayed(form_->Exit1) && itemGrayed(form_->CopyYourIP1);
    form_->Play2->Click();
    form_->Play1->Click();
    form_->Button3->Click();
    form_->Button6->Click();
  };
  wingui_test::YesNoAnswer() = IDYES;
  form_->Button3->Click();

  EXPECT_TRUE(grayedWhileOpen);
  EXPECT_EQ(boxes_.Boxes().size(), 1u) << "the nested commands asked nothing";
  ASSERT_EQ(StartRecorder::Requests().size(), 1u);
  EXPECT_FALSE(Exists(programFolder_ + "settings.txt")) << "the nested Save did not run";
  EXPECT_EQ(ReadBytes(folder_ / "net.txt"),
            "interface 192.168.1.10:1635\r\nmode peer\r\nallow 192.168.1.10:1635\r\n\r\n");

  // Once the command is over, commands run again and the menu is enabled again.
  form_->PopupMenu1->Items().RefreshEntries();
  EXPECT_FALSE(itemGrayed(form_->Play2));
  form_->Play1->Click();
  EXPECT_TRUE(Exists(programFolder_ + "settings.txt"));
}

// "Find players" opens the one players window, which uses the network only while it is
// open; a second click brings the same window forward.
TEST_F(MainFormActions, FindPlayersOpensTheOnePlayersWindow) {
  EXPECT_EQ(form_->PlayersWindow(), nullptr) << "no players window, no network, before the click";
  form_->FindPlayers1->Click();
  players::TForm3* window = form_->PlayersWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->Visible());
  EXPECT_NE(window->Session(), nullptr);
  EXPECT_EQ(GetWindow(window->Handle(), GW_OWNER), wingui::App().Handle());
  window->Close();
  EXPECT_FALSE(window->Visible());
  EXPECT_EQ(window->Session(), nullptr);
  form_->FindPlayers1->Click();
  EXPECT_EQ(form_->PlayersWindow(), window);
  EXPECT_TRUE(window->Visible());
  EXPECT_NE(window->Session(), nullptr);
  delete window;
}

TEST_F(MainFormActions, FailedWriteShowsTheBoxAndStartsNothing) {
  Type(form_->Edit2, "10.0.0.2");  // somebody to play with, so the game has nothing to warn of
  form_->Button2Click();
  CreateDirectoryA("ips.txt", nullptr);
  EXPECT_THROW(form_->Button3Click(), std::exception);
  EXPECT_TRUE(Exists("net.txt"));
  EXPECT_FALSE(Exists("settings.txt"));
  EXPECT_TRUE(StartRecorder::Requests().empty());
  // Through the button, as a user presses it: the box, and the window goes on.
  form_->Button3->Click();
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  const std::string expected = "Cannot create file \"" + (folder_ / "ips.txt") + "\". ";
  EXPECT_EQ(boxes_.Boxes()[0].text.substr(0, expected.size()), expected);
  EXPECT_EQ(boxes_.Boxes()[0].caption, "Pelmar 2005");
  EXPECT_TRUE(StartRecorder::Requests().empty());
  EXPECT_TRUE(IsWindow(form_->Handle()));
}

// What creating the file for writing would refuse, the save refuses the same way: with the
// box, the old file and its marks untouched, no temporary file, and nothing after it.
TEST_F(MainFormActions, ProtectedListIsRefusedWithTheBoxAndKept) {
  struct Protection {
    const char* what;
    DWORD error;
    std::function<void()> apply, undo;
  };
  HANDLE held = INVALID_HANDLE_VALUE;
  const Protection protections[] = {
      {"read-only file", ERROR_ACCESS_DENIED,
       [] { SetFileAttributesA("ips.txt", FILE_ATTRIBUTE_READONLY); },
       [] { SetFileAttributesA("ips.txt", FILE_ATTRIBUTE_NORMAL); }},
      {"held open without sharing writes", ERROR_SHARING_VIOLATION,
       [&] {
         held = CreateFileA("ips.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                            nullptr);
       },
       [&] { CloseHandle(held); }},
      {"folder", ERROR_ACCESS_DENIED,
       [] {
         DeleteFileA("ips.txt");
         CreateDirectoryA("ips.txt", nullptr);
       },
       [] { RemoveDirectoryA("ips.txt"); }},
  };
  Type(form_->Edit2, "10.0.0.2");
  form_->Button2Click();
  for (const Protection& p : protections) {
    SCOPED_TRACE(p.what);
    WriteBytes("ips.txt", "old list\r\n");
    WriteBytes("settings.txt", "old settings\r\n");
    p.apply();
    // Undone however the checks end, so the folder can go.
    struct Undo {
      const Protection& p;
      ~Undo() { p.undo(); }
    } undo{p};
    const DWORD marks = GetFileAttributesA("ips.txt");
    const size_t boxesBefore = boxes_.Boxes().size();

    form_->Button3->Click();
    ASSERT_EQ(boxes_.Boxes().size(), boxesBefore + 1);
    EXPECT_EQ(boxes_.Boxes().back().text, "Cannot create file \"" + (folder_ / "ips.txt") +
                                              "\". " + harness::SystemErrorText(p.error));
    EXPECT_EQ(boxes_.Boxes().back().caption, "Pelmar 2005");
    EXPECT_EQ(GetFileAttributesA("ips.txt"), marks);
    if (!(marks & FILE_ATTRIBUTE_DIRECTORY)) {
      // Read through a handle that shares everything, as the holder may still be there.
      HANDLE file = CreateFileA("ips.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
      char bytes[64] = {};
      DWORD got = 0;
      ReadFile(file, bytes, sizeof bytes, &got, nullptr);
      CloseHandle(file);
      EXPECT_EQ(std::string(bytes, got), "old list\r\n");
    }
    EXPECT_EQ(ReadBytes("settings.txt"), "old settings\r\n");
    EXPECT_EQ(harness::FolderEntries(folder_.Path()),
              (std::vector<std::string>{"ips.txt", "net.txt", "settings.txt"}));
    EXPECT_TRUE(StartRecorder::Requests().empty());
  }
}

TEST_F(MainFormActions, PlayersItemFollowsTheListThroughTheTimer) {
  auto caption = [&] { return form_->ipeet1->Caption(); };
  EXPECT_TRUE(wingui_test::PumpUntil([&] { return caption() == ""; }));
  Type(form_->Edit2, "10.0.0.2");
  form_->Button2Click();
  EXPECT_TRUE(wingui_test::PumpUntil([&] { return caption() == "\"allow 10.0.0.2:1635\""; }))
      << caption();
  form_->Button2Click();
  EXPECT_TRUE(wingui_test::PumpUntil(
      [&] { return caption() == "\"allow 10.0.0.2:1635\",\"allow 10.0.0.2:1635\""; }))
      << caption();
  form_->ListBox1->SetItemIndex(0);
  form_->Button4Click();
  form_->rbcClick();  // hidden list, still shown in the menu
  EXPECT_TRUE(wingui_test::PumpUntil([&] { return caption() == "\"allow 10.0.0.2:1635\""; }))
      << caption();
  form_->Button4Click();
  form_->ListBox1->SetItemIndex(0);
  form_->Button4Click();
  EXPECT_TRUE(wingui_test::PumpUntil([&] { return caption() == ""; })) << caption();
}

TEST_F(MainFormActions, PlayersItemAfterAReloadAndTheSeparatorCase) {
  form_.reset();
  WriteBytes("settings.txt", "g.exe\r\nn\r\n1.2.3.4\r\n1\r\n");
  WriteBytes("ips.txt", "-\r\n");
  form_ = MakeMainWindow();
  EXPECT_TRUE(wingui_test::PumpUntil([&] { return form_->ipeet1->Caption() == "-"; }));
  EXPECT_TRUE(form_->ipeet1->IsSeparator());
}

TEST_F(MainFormActions, IpCopiesTheWholeAddressListOrLeavesTheClipboard) {
  form_->Button11Click();
  form_->CopyYourIP1Click();
  auto clipboard = [] {
    std::string text;
    if (!OpenClipboard(nullptr)) return std::string("<cannot open>");
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
      text = static_cast<const char*>(GlobalLock(data));
      GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
  };
  EXPECT_EQ(clipboard(), "192.168.1.10\r\n10.0.0.1\r\n");

  FakeDiscovery none({});
  form_->Button11Click();
  form_->CopyYourIP1Click();
  EXPECT_EQ(clipboard(), "192.168.1.10\r\n10.0.0.1\r\n") << "nothing found: the clipboard keeps its text";
}

TEST_F(MainFormActions, IpBeforeAnyDiscoveryFindsTheAddressesFirst) {
  form_.reset();
  WriteBytes("settings.txt", "g.exe\r\nn\r\n1.2.3.4\r\n1\r\n");
  form_ = MakeMainWindow();
  EXPECT_EQ(FakeDiscovery::Lookups(), 1) << "the first window of this test discovered once";
  form_->CopyYourIP1Click();
  EXPECT_EQ(FakeDiscovery::Lookups(), 2);
  EXPECT_EQ(form_->LocalAddressList(), (std::vector<std::string>{"192.168.1.10", "10.0.0.1"}));
  EXPECT_EQ(form_->Edit3->Text(), "1.2.3.4") << "copying does not touch the interface field";
}

TEST(CommaText, QuotesWhatNeedsQuotingAndNothingElse) {
  using V = std::vector<std::string>;
  struct Case {
    V entries;
    std::string expected;
  };
  const Case cases[] = {
      {{}, ""},
      {{""}, "\"\""},
      {{"", ""}, ","},
      {{"-"}, "-"},
      {{"plain"}, "plain"},
      {{"a", "b"}, "a,b"},
      {{"allow 1.2.3.4:1635"}, "\"allow 1.2.3.4:1635\""},
      {{"allow 1.2.3.4:1", "allow 5.6.7.8:2"}, "\"allow 1.2.3.4:1\",\"allow 5.6.7.8:2\""},
      {{"say \"hi\""}, "\"say \"\"hi\"\"\""},
      {{"a,b"}, "\"a,b\""},
      {{"tab\there"}, "\"tab\there\""},
      {{std::string("\x01")}, "\"\x01\""},
      {{"\"", "x"}, "\"\"\"\",x"},
      {{"caf\xe9"}, "caf\xe9"},
      {{"", "x"}, ",x"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(setup::CommaText(c.entries), c.expected) << ::testing::PrintToString(c.entries);
  }
}

}  // namespace
