// Proves the automation driver against a fixture program of our own, so that a failing
// scenario against the real program points at the program and not at the driver.
#include <gtest/gtest.h>

#include "harness/Driver.h"
#include "harness/Scratch.h"

namespace e2e {
using namespace harness;
namespace {

class DriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    scratch_ =
        std::make_unique<ScratchFolder>(E2E_SCRATCH_ROOT, std::string("driver-") + info->name());
    fixture_ =
        std::make_unique<Process>(Process::Start(WindowsPath(E2E_FIXTURE_EXE), scratch_->Path()));
    window_ = WaitForWindow(fixture_->Id(), "LanvoraDriverFixture", "Driver Fixture");
    edit_ = ChildrenOfClass(window_, "Edit").at(0);
    list_ = ChildrenOfClass(window_, "ListBox").at(0);
    status_ = ChildAt(window_, "Static", 10, 65);
  }

  HWND Button(const char* caption) { return ChildByCaption(window_, "Button", caption); }

  std::unique_ptr<ScratchFolder> scratch_;
  std::unique_ptr<Process> fixture_;
  HWND window_ = nullptr, edit_ = nullptr, list_ = nullptr, status_ = nullptr;
};

TEST_F(DriverTest, TypesIntoEditsAndReadsThemBackExactly) {
  SetText(edit_, "two words, \"quoted\" & more");
  EXPECT_EQ(Text(edit_), "two words, \"quoted\" & more");
  SetText(edit_, "");
  EXPECT_EQ(Text(edit_), "");

  std::string longText;
  for (int i = 0; longText.size() < 32768; ++i) longText += std::to_string(i) + ';';
  longText.resize(32768);
  SetText(edit_, longText);
  EXPECT_EQ(Text(edit_), longText);
}

TEST_F(DriverTest, ClicksButtonsAndReadsListRowsInOrder) {
  for (const char* row : {"alpha", "beta gamma", "alpha"}) {
    SetText(edit_, row);
    Click(Button("&Copy"));
  }
  EXPECT_EQ(ListRows(list_), (std::vector<std::string>{"alpha", "beta gamma", "alpha"}));
  EXPECT_EQ(SelectedRow(list_), -1);

  SelectRow(list_, 1);
  EXPECT_EQ(SelectedRow(list_), 1);
  EXPECT_EQ(Text(status_), "selected 1 beta gamma");  // the owner heard of the selection
  EXPECT_THROW(SelectRow(list_, 7), std::runtime_error);
}

TEST_F(DriverTest, ClicksRadioButtons) {
  HWND one = ChildByCaption(window_, "Button", "One");
  HWND two = ChildByCaption(window_, "Button", "Two");
  Click(two);
  EXPECT_TRUE(Checked(two));
  EXPECT_FALSE(Checked(one));
  EXPECT_EQ(Text(status_), "mode two");
  Click(one);
  EXPECT_TRUE(Checked(one));
  EXPECT_FALSE(Checked(two));
  EXPECT_EQ(Text(status_), "mode one");
}

TEST_F(DriverTest, ReadsAndDismissesAMessageBoxOpenedByAPostedClick) {
  SetText(edit_, "hello");
  PostClick(Button("Show &Box"));
  HWND box = WaitForDialog(fixture_->Id(), "Fixture Box");
  EXPECT_EQ(MessageBoxText(box), "You typed: hello");
  EXPECT_EQ(DialogButtons(box), std::vector<std::string>{"OK"});
  EXPECT_EQ(Text(status_), "ready");  // the click is still inside the box
  CloseDialog(box, IDOK);
  EXPECT_TRUE(WaitUntil([&] { return Text(status_) == "box closed"; }));
}

TEST_F(DriverTest, AnswersTheOpenFileDialog) {
  const std::string chosen = Join(scratch_->Sub("some folder"), "pick me.exe");
  WriteBytes(chosen, "x");
  PostClick(Button("&Browse"));
  ChooseFile(WaitForOpenDialog(fixture_->Id()), chosen);
  EXPECT_TRUE(WaitUntil([&] { return Text(edit_) == chosen; })) << Text(edit_);

  PostClick(Button("&Browse"));
  CloseDialog(WaitForOpenDialog(fixture_->Id()), IDCANCEL);
  EXPECT_TRUE(WaitUntil([&] { return Text(status_) == "cancelled"; }));
}

TEST_F(DriverTest, SeesTheProgramEndAndFailsLoudlyOnMissingWindows) {
  EXPECT_THROW(WaitForDialog(fixture_->Id(), "No Such Box", 200), std::runtime_error);
  EXPECT_THROW(ChildByCaption(window_, "Button", "No Such Button"), std::runtime_error);
  EXPECT_TRUE(fixture_->Running());
  PostClick(Button("&Quit"));
  ASSERT_TRUE(fixture_->WaitForExit());
  EXPECT_EQ(fixture_->ExitCode(), 7u);
  EXPECT_THROW(Text(edit_), std::runtime_error);  // the window is gone with its process
}

}  // namespace
}  // namespace e2e

namespace e2e {
using namespace harness;
namespace {

// The stand-in game is what the scenarios read their verdict from, so its record must be
// exact: arguments split as the C runtime does, the working directory, and every byte of the
// script, NUL and line breaks included.
TEST(StandinGame, RecordsEachStartWithItsArgumentsFolderAndScript) {
  ScratchFolder scratch(E2E_SCRATCH_ROOT, "standin");
  const std::string log = Join(scratch.Path(), "standin.log");
  ASSERT_TRUE(SetEnvironmentVariableA("LANVORA_STANDIN_LOG", log.c_str()));
  const std::string withScript = scratch.Sub("with script");
  static const char kScript[] = "interface a:1\r\nmode peer\r\n\0x\r\n\r\n";
  const std::string script(kScript, sizeof kScript - 1);
  WriteBytes(Join(withScript, "net.txt"), script);
  const std::string exe = WindowsPath(E2E_STANDIN_EXE);

  Process first = Process::Start(exe, withScript, "/m -name John  Doe \"two words\" -net net.txt");
  ASSERT_TRUE(first.WaitForExit());
  EXPECT_EQ(first.ExitCode(), 0u);
  Process second = Process::Start(exe, scratch.Sub("empty"), "");
  ASSERT_TRUE(second.WaitForExit());

  const std::vector<StandinStart> starts = ReadStandinLog(log);
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_EQ(starts[0].commandLine, "\"" + exe + "\" /m -name John  Doe \"two words\" -net net.txt");
  EXPECT_EQ(starts[0].argv, (std::vector<std::string>{exe, "/m", "-name", "John", "Doe",
                                                      "two words", "-net", "net.txt"}));
  EXPECT_EQ(starts[0].workingDirectory, withScript);
  EXPECT_TRUE(starts[0].scriptPresent);
  EXPECT_EQ(starts[0].script, script);
  EXPECT_EQ(starts[1].argv, std::vector<std::string>{exe});
  EXPECT_EQ(starts[1].workingDirectory, Join(scratch.Path(), "empty"));
  EXPECT_FALSE(starts[1].scriptPresent);
  SetEnvironmentVariableA("LANVORA_STANDIN_LOG", nullptr);
}

}  // namespace
}  // namespace e2e
