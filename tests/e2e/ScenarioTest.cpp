// Black-box scenarios: the real lanvora.exe, started in a fresh folder, driven from outside,
// judged only by what it shows, the exact bytes of the files it writes, and the record the
// stand-in game (copied in as "duke3d_w32.exe") leaves of each start.
#include <gtest/gtest.h>

#include "tests/e2e/ScenarioFixture.h"

namespace e2e {
namespace {

TEST_F(Scenario, FirstStartInAnEmptyFolderShowsTheInitialTexts) {
  const std::string run = Folder("run", false);
  LanvoraSession& app = Start(run);

  EXPECT_EQ(Text(app.GameExeField()), "duke3d_w32.exe");
  EXPECT_EQ(Text(app.NickField()), "JohnDoe");
  EXPECT_EQ(Text(app.PortField()), "1635");
  EXPECT_EQ(Text(app.InterfaceField()), FirstLocalAddress());
  EXPECT_EQ(ListRows(app.AllowedList()), Rows{});
  EXPECT_EQ(Text(app.AddressToAddField()), "");

  // Starts in "Allow IP's" mode.
  EXPECT_TRUE(Checked(app.Button("Allow IP's")));
  EXPECT_FALSE(Checked(app.Button("Broadcast on LAN")));
  EXPECT_TRUE(Visible(app.AllowedList()));
  EXPECT_FALSE(Visible(app.PlayersField()));
  EXPECT_TRUE(Visible(app.Button("Save && Play")));
  EXPECT_FALSE(Visible(app.Button("Save && &Play")));

  // Starting writes nothing.
  EXPECT_EQ(FolderEntries(run), Rows{});
  EXPECT_EQ(FolderEntries(programFolder_), programFiles_);
}

TEST_F(Scenario, BothWindowsHaveTheirFramesAndClosingHelpOnlyHidesIt) {
  // The system is asked to put windows that leave their position to it at (200, 150), so a
  // help window left there would show it.
  const POINT systemDefault{200, 150};
  LanvoraSession& app = Start(Folder("run", false), &systemDefault);
  HWND main = app.Window();
  const LONG_PTR mainStyle = GetWindowLongPtrA(main, GWL_STYLE);
  EXPECT_TRUE(mainStyle & WS_SYSMENU);
  EXPECT_TRUE(mainStyle & WS_MINIMIZEBOX);
  EXPECT_FALSE(mainStyle & WS_MAXIMIZEBOX);
  EXPECT_FALSE(mainStyle & WS_THICKFRAME);
  RECT outer{}, client{};
  GetWindowRect(main, &outer);
  GetClientRect(main, &client);
  EXPECT_EQ(outer.right - outer.left, 355);
  EXPECT_EQ(client.bottom, 495);
  // The main window takes the system's default position.
  EXPECT_EQ(outer.left, systemDefault.x);
  EXPECT_EQ(outer.top, systemDefault.y);

  // The help window is up from the start, in the top-left corner (not where the system puts
  // new windows), as a small tool window.
  HWND help = WaitForWindow(app.Program().Id(), "", "HELP");
  const LONG_PTR helpStyle = GetWindowLongPtrA(help, GWL_STYLE);
  EXPECT_TRUE(GetWindowLongPtrA(help, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(helpStyle & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  GetWindowRect(help, &outer);
  GetClientRect(help, &client);
  EXPECT_EQ(outer.left, 0);
  EXPECT_EQ(outer.top, 0);
  EXPECT_EQ(client.right, 555);
  EXPECT_EQ(client.bottom, 496);
  // Shown first, so the main window, shown last, lies in front of it.
  EXPECT_TRUE(Visible(help));
  auto inFront = [](HWND a, HWND b) {
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
      if (w == a) return true;
      if (w == b) return false;
    }
    return false;
  };
  EXPECT_TRUE(WaitUntil([&] { return inFront(main, help); }))
      << "after start-up the main window lies in front of the help window";

  PostMessageA(help, WM_SYSCOMMAND, SC_CLOSE, 0);  // its close box
  EXPECT_TRUE(WaitUntil([&] { return !Visible(help); }));
  EXPECT_TRUE(IsWindow(help));
  EXPECT_TRUE(app.Program().Running());
  Click(app.Button("Help"));
  EXPECT_TRUE(WaitUntil([&] { return Visible(help); }));
  EXPECT_TRUE(WaitUntil([&] { return inFront(help, main); }))
      << "Help brings the help window in front of the main window";
}

TEST_F(Scenario, LaterStartReadsSavedFilesFromTheCurrentDirectoryNotTheProgramFolder) {
  const std::string run = Folder("run", false);
  // Written by another editor: LF-only line ends, and a list that is not all "allow" lines.
  WriteBytes(Join(run, "settings.txt"), "C:\\games\\duke.exe\nPlayer One\n10.4.4.4\n7777\n");
  WriteBytes(Join(run, "ips.txt"), "allow 10.4.4.5:7777\r\n\r\nnot an entry\n");
  WriteBytes(Join(programFolder_, "settings.txt"), "wrong\r\nwrong\r\nwrong\r\nwrong\r\n");
  WriteBytes(Join(programFolder_, "ips.txt"), "wrong\r\n");
  LanvoraSession& app = Start(run);

  EXPECT_EQ(Text(app.GameExeField()), "C:\\games\\duke.exe");
  EXPECT_EQ(Text(app.NickField()), "Player One");
  EXPECT_EQ(Text(app.InterfaceField()), "10.4.4.4");
  EXPECT_EQ(Text(app.PortField()), "7777");
  EXPECT_EQ(ListRows(app.AllowedList()), (Rows{"allow 10.4.4.5:7777", "", "not an entry"}));
}

TEST_F(Scenario, OddSettingsFilesAtStartUp) {
  // A folder in the place of "settings.txt" does not count as the file: first-start path.
  const std::string folderInTheWay = Folder("folder", false);
  scratch_->Sub("folder\\settings.txt");
  {
    LanvoraSession app(programExe_, folderInTheWay);
    EXPECT_EQ(Text(app.InterfaceField()), FirstLocalAddress());
    EXPECT_EQ(Text(app.NickField()), "JohnDoe");
  }
  // Two lines fill two fields; the missing lines leave theirs empty.
  const std::string twoLines = Folder("two lines", false);
  WriteBytes(Join(twoLines, "settings.txt"), "game.exe\r\nShort\r\n");
  {
    LanvoraSession app(programExe_, twoLines);
    EXPECT_EQ(Text(app.GameExeField()), "game.exe");
    EXPECT_EQ(Text(app.NickField()), "Short");
    EXPECT_EQ(Text(app.InterfaceField()), "");
    EXPECT_EQ(Text(app.PortField()), "");
  }
}

TEST_F(Scenario, UnreadableSettingsShowCannotOpenAndStartUpGoesOn) {
  const std::string run = Folder("run", false);
  const std::string settings = Join(run, "settings.txt");
  WriteBytes(settings, "other.exe\r\nSomeone\r\n10.3.3.3\r\n9999\r\n");
  WriteBytes(Join(run, "ips.txt"), "allow 10.3.3.4:9999\r\n");
  // Held open without sharing, the file is there but cannot be opened.
  wingui::UniqueKernelHandle held(
      CreateFileA(settings.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_NE(held.get(), INVALID_HANDLE_VALUE);
  HANDLE probe = CreateFileA(settings.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                             OPEN_EXISTING, 0, nullptr);
  ASSERT_EQ(probe, INVALID_HANDLE_VALUE);
  const std::string reason = SystemErrorText(GetLastError());
  ASSERT_FALSE(reason.empty());

  Process program = Process::Start(programExe_, run);
  HWND box = WaitForDialog(program.Id(), kAppTitle);
  EXPECT_EQ(MessageBoxText(box), "Cannot open file \"" + settings + "\". " + reason);
  CloseDialog(box, IDOK);

  // The window comes up with its initial texts, and the list is not read.
  HWND window = WaitForWindow(program.Id(), "", kMainTitle);
  EXPECT_EQ(Text(ChildAt(window, "Edit", 88, 32)), "duke3d_w32.exe");
  EXPECT_EQ(Text(ChildAt(window, "Edit", 88, 56)), "JohnDoe");
  EXPECT_EQ(Text(ChildAt(window, "Edit", 88, 104)), "1635");
  EXPECT_EQ(ListRows(ChildAt(window, "ListBox", 24, 228)), Rows{});
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.WaitForExit());
}

TEST_F(Scenario, WindowCommandsChangeOnlyWhatTheyName) {
  LanvoraSession& app = Start(Folder("run", false));
  app.Type(app.PortField(), "9");
  app.AddAddress("10.0.0.1");
  app.AddAddress("10.0.0.1");  // the same address again is a second entry
  Click(app.Button("&Default"));
  EXPECT_EQ(Text(app.PortField()), "1635");
  EXPECT_EQ(ListRows(app.AllowedList()), (Rows{"allow 10.0.0.1:9", "allow 10.0.0.1:9"}));
  EXPECT_EQ(Text(app.AddressToAddField()), "10.0.0.1");  // "Add" leaves the field as it was

  app.SwitchToBroadcast();
  app.Type(app.PlayersField(), "6");
  app.SwitchToAllowList();
  app.SwitchToBroadcast();
  EXPECT_EQ(Text(app.PlayersField()), "6");
  EXPECT_EQ(Text(app.AddressToAddField()), "10.0.0.1");
  EXPECT_EQ(ListRows(app.AllowedList()).size(), 2u);

  // "Remove &Selected" with no row selected changes nothing.
  SelectRow(app.AllowedList(), -1);
  Click(app.Button("Remove &Selected"));
  EXPECT_EQ(ListRows(app.AllowedList()).size(), 2u);

  app.Type(app.InterfaceField(), "typed over");
  Click(app.Button("Get"));
  EXPECT_EQ(Text(app.InterfaceField()), FirstLocalAddress());
}

TEST_F(Scenario, SaveAndPlayInAllowModeWritesAndStartsInTheCurrentDirectory) {
  const std::string game = Folder("game", true);
  LanvoraSession& app = Start(game);
  app.Type(app.InterfaceField(), "192.168.7.1");
  app.Type(app.NickField(), "John Doe");
  app.AddAddress("10.0.0.2");
  app.Type(app.PortField(), "27000");  // entries keep the port they were added with
  app.AddAddress("10.0.0.3");
  ASSERT_EQ(ListRows(app.AllowedList()), (Rows{"allow 10.0.0.2:1635", "allow 10.0.0.3:27000"}));

  Click(app.Button("Save && Play"));
  const auto starts = GameStarts(1);

  const std::string script =
      "interface 192.168.7.1:27000\r\nmode peer\r\n"
      "allow 10.0.0.2:1635\r\nallow 10.0.0.3:27000\r\n\r\n";
  EXPECT_EQ(ReadBytes(Join(game, "net.txt")), script);
  EXPECT_EQ(ReadBytes(Join(game, "ips.txt")), "allow 10.0.0.2:1635\r\nallow 10.0.0.3:27000\r\n");
  EXPECT_EQ(ReadBytes(Join(game, "settings.txt")),
            "duke3d_w32.exe\r\nJohn Doe\r\n192.168.7.1\r\n27000\r\n");
  EXPECT_EQ(FolderEntries(programFolder_), programFiles_);

  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].workingDirectory, game);
  EXPECT_EQ(LaunchArguments(starts[0]),
            (Rows{"/m", "/c1", "/i1", "-name", "John", "Doe", "-net", "net.txt"}));
  EXPECT_TRUE(starts[0].commandLine.ends_with(" /m /c1 /i1 -name John Doe -net net.txt"))
      << starts[0].commandLine;
  EXPECT_EQ(starts[0].script, script);
}

TEST_F(Scenario, BroadcastFromAnotherFolderWritesScriptBesideGameAndSettingsInProgramFolder) {
  const std::string run = Folder("run", true);
  LanvoraSession& app = Start(run);
  app.Type(app.InterfaceField(), "10.1.1.1");
  app.SwitchToBroadcast();
  EXPECT_TRUE(Visible(app.PlayersField()));
  EXPECT_FALSE(Visible(app.AllowedList()));
  EXPECT_FALSE(Visible(app.AddressToAddField()));
  EXPECT_FALSE(Visible(app.Button("&Add")));
  EXPECT_FALSE(Visible(app.Button("Save && Play")));
  EXPECT_TRUE(Visible(app.Button("Save && &Play")));
  EXPECT_TRUE(Visible(app.Button("Remove &Selected")));
  app.Type(app.PlayersField(), "4");

  Click(app.Button("Save && &Play"));
  const auto starts = GameStarts(1);

  const std::string script = "interface 10.1.1.1:1635\r\nmode peer\r\nbroadcast 4\r\n";
  EXPECT_EQ(ReadBytes(Join(run, "net.txt")), script);
  EXPECT_EQ(ReadBytes(Join(programFolder_, "settings.txt")),
            "duke3d_w32.exe\r\nJohnDoe\r\n10.1.1.1\r\n1635\r\n");
  EXPECT_EQ(ReadBytes(Join(programFolder_, "ips.txt")), "");
  EXPECT_EQ(FolderEntries(run), (Rows{"duke3d_w32.exe", "net.txt"}));

  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].workingDirectory, run);
  EXPECT_EQ(LaunchArguments(starts[0]),
            (Rows{"/m", "/c1", "/i1", "-name", "JohnDoe", "-net", "net.txt"}));
  EXPECT_EQ(starts[0].script, script);
}

TEST_F(Scenario, SaveTwiceRewritesIdenticalFilesWithAnEmptyListAsZeroBytes) {
  const std::string run = Folder("run", false);
  LanvoraSession& app = Start(run);
  app.Type(app.InterfaceField(), "1.2.3.4");
  const std::string settings = "duke3d_w32.exe\r\nJohnDoe\r\n1.2.3.4\r\n1635\r\n";
  const std::string settingsPath = Join(programFolder_, "settings.txt");
  const std::string listPath = Join(programFolder_, "ips.txt");

  Click(app.Button("Save"));
  EXPECT_EQ(ReadBytes(settingsPath), settings);
  ASSERT_TRUE(FileExists(listPath));
  EXPECT_EQ(ReadBytes(listPath), "");

  // Spoil both files: the second "Save" must write them whole again, not leave them be.
  WriteBytes(settingsPath, "spoilt\r\nspoilt\r\nspoilt\r\nspoilt\r\nand more\r\n");
  WriteBytes(listPath, "spoilt\r\n");
  Click(app.Button("Save"));
  EXPECT_EQ(ReadBytes(settingsPath), settings);
  EXPECT_EQ(ReadBytes(listPath), "");

  EXPECT_EQ(FolderEntries(run), Rows{});
  EXPECT_FALSE(FileExists(log_));  // "Save" never starts the game
}

TEST_F(Scenario, BrowseThenBroadcastPutsScriptInTheChosenFolderAndStartsThere) {
  const std::string run = Folder("run", false);
  const std::string gameFolder = Folder("games\\duke 3d", true);
  const std::string gamePath = Join(gameFolder, kGameName);
  LanvoraSession& app = Start(run);
  app.Type(app.InterfaceField(), "10.9.9.9");

  PostClick(app.Button(".."));
  ChooseFile(WaitForOpenDialog(app.Program().Id()), gamePath);
  ASSERT_TRUE(WaitUntil([&] { return Text(app.GameExeField()) == gamePath; }))
      << Text(app.GameExeField());

  app.SwitchToBroadcast();
  app.Type(app.PlayersField(), "2");
  Click(app.Button("Save && &Play"));
  const auto starts = GameStarts(1);

  const std::string script = "interface 10.9.9.9:1635\r\nmode peer\r\nbroadcast 2\r\n";
  EXPECT_EQ(ReadBytes(Join(gameFolder, "net.txt")), script);
  EXPECT_EQ(ReadBytes(Join(programFolder_, "settings.txt")),
            gamePath + "\r\nJohnDoe\r\n10.9.9.9\r\n1635\r\n");
  EXPECT_EQ(ReadBytes(Join(programFolder_, "ips.txt")), "");
  EXPECT_EQ(FolderEntries(run), Rows{});

  // The confirmed browse moved the current directory, so the game starts beside its script.
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].workingDirectory, gameFolder);
  EXPECT_EQ(starts[0].script, script);
}

TEST_F(Scenario, RemoveSelectedInBroadcastModeRemovesTheRowSelectedBeforeTheSwitch) {
  LanvoraSession& app = Start(Folder("run", false));
  for (const char* address : {"10.0.0.1", "10.0.0.2", "10.0.0.3"}) app.AddAddress(address);
  SelectRow(app.AllowedList(), 1);

  app.SwitchToBroadcast();
  ASSERT_FALSE(Visible(app.AllowedList()));
  Click(app.Button("Remove &Selected"));
  app.SwitchToAllowList();
  EXPECT_EQ(ListRows(app.AllowedList()), (Rows{"allow 10.0.0.1:1635", "allow 10.0.0.3:1635"}));

  Click(app.Button("Save"));
  EXPECT_EQ(ReadBytes(Join(programFolder_, "ips.txt")),
            "allow 10.0.0.1:1635\r\nallow 10.0.0.3:1635\r\n");
}

TEST_F(Scenario, UnwritableAllowedListShowsTheErrorBoxAndStartsNothing) {
  const std::string game = Folder("game", true);
  const std::string blocked = Join(game, "ips.txt");
  scratch_->Sub("game\\ips.txt");  // a folder where the file should go
  // What the system says when that path is opened for writing.
  HANDLE probe = CreateFileA(blocked.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_EQ(probe, INVALID_HANDLE_VALUE);
  const std::string reason = SystemErrorText(GetLastError());
  ASSERT_FALSE(reason.empty());

  LanvoraSession& app = Start(game);
  app.Type(app.InterfaceField(), "10.0.0.1");
  PostClick(app.Button("Save && Play"));
  // With nobody in the list the game would give up at once: the warning comes first.
  AnswerWarning("The allowed list has nobody in it", IDYES);
  HWND box = WaitForDialog(app.Program().Id(), kAppTitle);
  EXPECT_EQ(MessageBoxText(box), "Cannot create file \"" + blocked + "\". " + reason);
  EXPECT_EQ(DialogButtons(box), Rows{"OK"});

  // The script came first and stays written; the settings came after and are not.
  EXPECT_EQ(ReadBytes(Join(game, "net.txt")), "interface 10.0.0.1:1635\r\nmode peer\r\n\r\n");
  EXPECT_FALSE(FileExists(Join(game, "settings.txt")));
  CloseDialog(box, IDOK);

  // The window still works: with the way cleared the same command succeeds, and it is the
  // only start the stand-in ever saw.
  RemoveDirectoryA(blocked.c_str());
  PostClick(app.Button("Save && Play"));
  AnswerWarning("The allowed list has nobody in it", IDYES);
  const auto starts = GameStarts(1);
  EXPECT_EQ(ReadBytes(blocked), "");
  EXPECT_EQ(ReadBytes(Join(game, "settings.txt")),
            "duke3d_w32.exe\r\nJohnDoe\r\n10.0.0.1\r\n1635\r\n");
  EXPECT_EQ(starts.size(), 1u);
}

TEST_F(Scenario, ExitEndsTheProgramWithoutWritingAnything) {
  const std::string run = Folder("run", false);
  LanvoraSession& app = Start(run);
  app.Type(app.NickField(), "Changed");
  app.AddAddress("10.0.0.7");

  PostClick(app.Button("&Exit"));
  ASSERT_TRUE(app.Program().WaitForExit());
  EXPECT_EQ(app.Program().ExitCode(), 0u);
  EXPECT_EQ(FolderEntries(run), Rows{});
  EXPECT_EQ(FolderEntries(programFolder_), programFiles_);
}

// A set-up the game would hang on (the own address in the list): "No" leaves every file as it
// was and starts nothing; "Yes" writes what it always writes and starts the game.
TEST_F(Scenario, WarningBeforeASetUpTheGameWouldHangOnAndItsTwoAnswers) {
  const std::string game = Folder("game", true);
  LanvoraSession& app = Start(game);
  app.Type(app.InterfaceField(), "192.0.2.7");
  app.AddAddress("192.0.2.8");
  app.AddAddress("192.0.2.7");

  PostClick(app.Button("Save && Play"));
  HWND warning = WaitForDialog(app.Program().Id(), kAppTitle);
  const std::string text = MessageBoxText(warning);
  EXPECT_EQ(text,
            "The game may not start as meant with this set-up:\r\n\r\n"
            "- \"allow 192.0.2.7:1635\" is your own address and port (the Interface field): the "
            "game would wait for it forever.\r\n\r\nStart the game anyway?");
  EXPECT_EQ(DialogButtons(warning), (Rows{"&Yes", "&No"}));
  EXPECT_EQ(GetWindowLongPtrA(ChildByCaption(warning, "Button", "&No"), GWL_STYLE) & BS_TYPEMASK,
            BS_DEFPUSHBUTTON)
      << "No is the default";
  CloseDialog(warning, IDNO);
  // A message the program answers once the command has returned.
  EXPECT_EQ(Text(app.NickField()), "JohnDoe");
  EXPECT_EQ(FolderEntries(game), Rows{kGameName});
  EXPECT_EQ(FolderEntries(programFolder_), programFiles_);
  EXPECT_TRUE(ReadStandinLog(log_).empty());
  EXPECT_EQ(ListRows(app.AllowedList()), (Rows{"allow 192.0.2.8:1635", "allow 192.0.2.7:1635"}));

  PostClick(app.Button("Save && Play"));
  AnswerWarning("is your own address", IDYES);
  const auto starts = GameStarts(1);
  const std::string script =
      "interface 192.0.2.7:1635\r\nmode peer\r\nallow 192.0.2.8:1635\r\n"
      "allow 192.0.2.7:1635\r\n\r\n";
  EXPECT_EQ(ReadBytes(Join(game, "net.txt")), script);
  EXPECT_EQ(ReadBytes(Join(game, "ips.txt")), "allow 192.0.2.8:1635\r\nallow 192.0.2.7:1635\r\n");
  EXPECT_EQ(ReadBytes(Join(game, "settings.txt")),
            "duke3d_w32.exe\r\nJohnDoe\r\n192.0.2.7\r\n1635\r\n");
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].workingDirectory, game);
  EXPECT_EQ(LaunchArguments(starts[0]),
            (Rows{"/m", "/c1", "/i1", "-name", "JohnDoe", "-net", "net.txt"}));
  EXPECT_EQ(starts[0].script, script);
}

TEST_F(Scenario, FieldsAreNotValidatedAndReachTheFilesExactlyAsTyped) {
  const std::string game = Folder("game", true);
  LanvoraSession& app = Start(game);
  std::string huge;  // 32 KB: beyond what any field of the program expects
  for (int i = 0; huge.size() < 32768; ++i) huge += "x" + std::to_string(i) + " ";
  huge.resize(32768);
  const std::string oddPath = "  no such game?*<>|  ";

  app.Type(app.GameExeField(), oddPath);
  app.Type(app.NickField(), "");
  app.Type(app.InterfaceField(), huge);
  app.Type(app.PortField(), "");
  app.AddAddress("");
  app.AddAddress("a,b \"q\"");
  ASSERT_EQ(Text(app.InterfaceField()), huge);
  ASSERT_EQ(ListRows(app.AllowedList()), (Rows{"allow :", "allow a,b \"q\":"}));

  // Nothing is refused: the game would not read these, and the program only says so first.
  PostClick(app.Button("Save && Play"));
  AnswerWarning("\"allow :\" is not an address the game can read", IDYES);
  const auto starts = GameStarts(1);

  EXPECT_EQ(ReadBytes(Join(game, "net.txt")),
            "interface " + huge + ":\r\nmode peer\r\nallow :\r\nallow a,b \"q\":\r\n\r\n");
  EXPECT_EQ(ReadBytes(Join(game, "ips.txt")), "allow :\r\nallow a,b \"q\":\r\n");
  EXPECT_EQ(ReadBytes(Join(game, "settings.txt")), oddPath + "\r\n\r\n" + huge + "\r\n\r\n");

  // The typed path is only stored; the game started is still the one beside the program's
  // current directory, told an empty nick.
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(LaunchArguments(starts[0]), (Rows{"/m", "/c1", "/i1", "-name", "-net", "net.txt"}));
  EXPECT_TRUE(starts[0].commandLine.ends_with(" /m /c1 /i1 -name  -net net.txt"))
      << starts[0].commandLine;
  EXPECT_TRUE(app.Program().Running());
}

}  // namespace
}  // namespace e2e
