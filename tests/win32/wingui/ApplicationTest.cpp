// The application object: hook list, error boxes, minimise and restore of the whole
// application with its forms, the message loop ending with the main form, and the fatal
// start-up path (run in a child process, which must end with exit code 1).
#include "wingui/Application.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "wingui/Controls.h"
#include "launch/Errors.h"
#include "wingui/ErrorBox.h"
#include "wingui/ExceptionBoundary.h"
#include "wingui/Form.h"

namespace {

using namespace wingui;
using wingui_test::BoxRecorder;

// --- Child process modes -------------------------------------------------------------
// The test program starts itself again with WINGUI_TEST_CHILD set; the child runs one
// whole program life through RunProgram and reports to the file WINGUI_TEST_OUT.

std::string Env(const char* name) {
  char value[MAX_PATH] = {};
  return GetEnvironmentVariableA(name, value, MAX_PATH) ? value : "";
}

void Report(const std::string& text) {
  std::ofstream(Env("WINGUI_TEST_OUT"), std::ios::binary | std::ios::app) << text;
}

int WINAPI ReportBox(HWND, LPCSTR text, LPCSTR caption, UINT type) {
  std::ostringstream out;
  out << "box caption=" << caption << " type=" << type << " text=" << text << "\n";
  Report(out.str());
  return IDOK;
}

void FailingStartup() {
  App().SetTitle("Pelmar 2005");
  throw std::runtime_error("Cannot open file settings.txt");
}

void ClosingStartup() {
  App().SetTitle("Pelmar 2005");
  auto* form = new Form(&App());
  form->SetText("child main");
  // The close arrives once the loop runs; it must end the loop.
  PostMessageA(form->Handle(), WM_CLOSE, 0, 0);
}

const bool g_childRan = [] {
  const std::string mode = Env("WINGUI_TEST_CHILD");
  if (mode.empty()) return false;
  BoxSeam().InUse.ShowMessageBox = &ReportBox;
  int code = -1;
  if (mode == "fatal") code = RunProgram(&FailingStartup);
  if (mode == "close") {
    code = RunProgram(&ClosingStartup);
    Report(std::string("terminating=") + (App().Terminating() ? "1" : "0") + "\n");
  }
  ExitProcess(static_cast<UINT>(code));
}();

struct ChildResult {
  DWORD exitCode = 0xFFFFFFFF;
  std::string report;
};

ChildResult RunChild(const std::string& mode) {
  char exe[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  char out[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, out);
  const std::string outFile = std::string(out) + "wingui_child_" + mode + ".txt";
  DeleteFileA(outFile.c_str());
  SetEnvironmentVariableA("WINGUI_TEST_CHILD", mode.c_str());
  SetEnvironmentVariableA("WINGUI_TEST_OUT", outFile.c_str());
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::string commandLine = "\"" + std::string(exe) + "\"";
  const BOOL started = CreateProcessA(exe, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                      nullptr, &si, &pi);
  SetEnvironmentVariableA("WINGUI_TEST_CHILD", nullptr);
  ChildResult result;
  if (!started) return result;
  if (WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0) {
    GetExitCodeProcess(pi.hProcess, &result.exitCode);
  } else {
    TerminateProcess(pi.hProcess, 99);
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  std::ifstream in(outFile, std::ios::binary);
  result.report.assign(std::istreambuf_iterator<char>(in), {});
  DeleteFileA(outFile.c_str());
  return result;
}

TEST(ProgramLife, ErrorEscapingStartupShowsTaskModalBoxAndExitsWithOne) {
  const ChildResult child = RunChild("fatal");
  EXPECT_EQ(child.exitCode, 1u);
  const UINT type = MB_OK | MB_ICONSTOP | MB_TASKMODAL;
  EXPECT_NE(child.report.find("box caption=Application Error type=" + std::to_string(type)),
            std::string::npos)
      << child.report;
  EXPECT_NE(child.report.find("std::runtime_error"), std::string::npos) << child.report;
  EXPECT_NE(child.report.find("Cannot open file settings.txt."), std::string::npos) << child.report;
}

TEST(ProgramLife, ClosingTheMainFormEndsTheLoopWithExitCodeZero) {
  const ChildResult child = RunChild("close");
  EXPECT_EQ(child.exitCode, 0u);
  EXPECT_EQ(child.report, "terminating=1\n");
}

// --- Hooks ---------------------------------------------------------------------------

constexpr UINT kProbe = WM_APP + 17;

struct RecordingHook : AppWindowHook {
  explicit RecordingHook(bool swallow) : swallow(swallow) {}
  bool AppWindowMessage(Message& m) override {
    if (m.msg == kProbe || m.msg == WM_SYSCOMMAND) {
      seen.push_back(m.msg);
      if (swallow) {
        m.result = 42;
        return true;
      }
    }
    return false;
  }
  bool swallow;
  std::vector<UINT> seen;
};

TEST(ApplicationHooks, HooksSeeMessagesFirstInOrderAndCanSwallowThem) {
  App().Initialize();
  HWND app = App().Handle();
  RecordingHook passing(false), swallowing(true), late(false);
  App().HookMainWindow(&passing);
  App().HookMainWindow(&swallowing);
  App().HookMainWindow(&late);
  EXPECT_EQ(SendMessageA(app, kProbe, 0, 0), 42);
  EXPECT_EQ(passing.seen.size(), 1u);
  EXPECT_EQ(swallowing.seen.size(), 1u);
  EXPECT_TRUE(late.seen.empty()) << "a hook after the one that handled it saw the message";

  // Swallowing the minimise command keeps the application from minimising.
  SendMessageA(app, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_FALSE(IsIconic(app));

  App().UnhookMainWindow(&swallowing);
  EXPECT_EQ(SendMessageA(app, kProbe, 0, 0), 0);
  EXPECT_EQ(late.seen.size(), 1u);
  App().UnhookMainWindow(&passing);
  App().UnhookMainWindow(&late);
  EXPECT_EQ(SendMessageA(app, kProbe, 0, 0), 0);
  EXPECT_EQ(passing.seen, (std::vector<UINT>{kProbe, WM_SYSCOMMAND, kProbe}));
}

// --- Error box -----------------------------------------------------------------------

TEST(ErrorBox, EscapedErrorsShowTheTitledStopBoxWithTheClosingFullStopRule) {
  BoxRecorder boxes;
  App().SetTitle("Pelmar 2005");
  struct Case {
    std::string message, shown;
  };
  const std::vector<Case> cases = {
      {"Cannot open file settings.txt", "Cannot open file settings.txt."},
      {"Already ends.", "Already ends."},
      {"Port 1635", "Port 1635."},         // '5' sorts after '.'
      {"Ends with bracket)", "Ends with bracket)"},  // ')' sorts before '.'
      {"Question?", "Question?."},         // '?' sorts after '.'
  };
  for (const Case& c : cases) {
    CallGuarded([&] { throw std::runtime_error(c.message); });
  }
  ASSERT_EQ(boxes.Boxes().size(), cases.size());
  for (size_t i = 0; i < cases.size(); ++i) {
    const auto& box = boxes.Boxes()[i];
    EXPECT_EQ(box.text, cases[i].shown) << "for " << cases[i].message;
    EXPECT_EQ(box.caption, "Pelmar 2005");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
  }
}

TEST(ErrorBox, ErrorInACommandOrCreationHandlerIsShownAndTheProgramGoesOn) {
  BoxRecorder boxes;
  App().SetTitle("Pelmar 2005");
  Form form(nullptr);
  auto* button = new Button(&form, "Go");
  button->SetBounds(0, 0, 60, 20);
  int after = 0;
  button->OnClick = [] { throw std::runtime_error("Cannot create file net.txt"); };
  SendMessageA(button->Handle(), BM_CLICK, 0, 0);
  ++after;
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text, "Cannot create file net.txt.");

  struct FailingForm : Form {
    FailingForm() : Form(nullptr, BorderStyle::ToolWindow) {}
    void FormCreate() override { throw std::runtime_error("navigation failed"); }
  } created;
  created.VisibleAtCreation = true;
  created.EndCreation();
  EXPECT_EQ(boxes.Boxes().size(), 2u);
  EXPECT_TRUE(created.Visible()) << "creation did not go on after the handler failed";
  EXPECT_EQ(after, 1);
}

// --- Minimise and restore ------------------------------------------------------------

class ShowRecordingForm : public Form {
 public:
  using Form::Form;
  std::vector<std::pair<WPARAM, LPARAM>> shows;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_SHOWWINDOW) shows.emplace_back(wParam, lParam);
    return Form::HandleMessage(msg, wParam, lParam);
  }
};

TEST(ApplicationWindow, MinimisingTheMainFormMinimisesTheApplicationAndRestoreBringsBackWhatWasShown) {
  App().Initialize();
  ShowRecordingForm main(nullptr);
  ASSERT_EQ(App().MainForm(), &main);
  ShowRecordingForm help(nullptr, BorderStyle::ToolWindow);
  ShowRecordingForm hidden(nullptr);
  HWND app = App().Handle();
  EXPECT_EQ(GetWindow(main.Handle(), GW_OWNER), app);
  EXPECT_EQ(GetWindow(help.Handle(), GW_OWNER), app);

  help.Show();
  main.Show();
  EXPECT_TRUE(IsWindowVisible(app)) << "showing the main form must bring the taskbar button";
  RECT r{};
  GetWindowRect(app, &r);
  EXPECT_EQ(r.right - r.left, 0);
  EXPECT_EQ(r.bottom - r.top, 0);

  help.shows.clear();
  SendMessageA(main.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(app));
  EXPECT_FALSE(main.Visible());
  EXPECT_FALSE(help.Visible());
  EXPECT_FALSE(hidden.Visible());
  ASSERT_FALSE(help.shows.empty());
  EXPECT_EQ(help.shows.front(), (std::pair<WPARAM, LPARAM>{FALSE, SW_PARENTCLOSING}));
  EXPECT_TRUE(hidden.shows.empty());

  SendMessageA(app, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsIconic(app));
  EXPECT_TRUE(main.Visible());
  EXPECT_TRUE(help.Visible());
  EXPECT_FALSE(hidden.Visible()) << "restore showed a form that was hidden before";

  // A shell may restore the window directly instead of sending the restore command.
  help.Hide();
  SendMessageA(main.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(IsIconic(app));
  ShowWindow(app, SW_RESTORE);
  EXPECT_TRUE(main.Visible());
  EXPECT_FALSE(help.Visible());
  ShowWindow(app, SW_HIDE);
}

TEST(ApplicationWindow, ClosingASecondFormHidesItAndLeavesTheApplicationRunning) {
  App().Initialize();
  Form main(nullptr);
  Form other(nullptr, BorderStyle::ToolWindow);
  other.Show();
  other.Close();
  EXPECT_FALSE(other.Visible());
  EXPECT_TRUE(IsWindow(other.Handle()));
  EXPECT_FALSE(App().Terminating());
}

// The application window exists from Initialize to Shutdown and is never made again behind
// the program's back: after something destroyed it, asking for it is an error; a new
// Initialize makes a new one.
TEST(ApplicationWindow, IsMadeByInitializeAndNeverAgainByAskingForIt) {
  App().Initialize();
  HWND first = App().Handle();
  ASSERT_TRUE(IsWindow(first));
  App().Initialize();
  EXPECT_EQ(App().Handle(), first) << "a second Initialize does nothing";

  DestroyWindow(first);
  EXPECT_THROW(App().Handle(), launch::Error);
  App().Shutdown();
  EXPECT_THROW(App().Handle(), launch::Error);
  App().Initialize();
  EXPECT_TRUE(IsWindow(App().Handle()));
  EXPECT_EQ(GetWindowTextLengthA(App().Handle()), static_cast<int>(App().Title().size()));
}

TEST(ApplicationWindow, ProcessMessagesHandlesWhatIsWaiting) {
  App().Initialize();
  struct Counting : AppWindowHook {
    bool AppWindowMessage(Message& m) override {
      if (m.msg == kProbe) ++count;
      return false;
    }
    int count = 0;
  } hook;
  App().HookMainWindow(&hook);
  PostMessageA(App().Handle(), kProbe, 0, 0);
  PostMessageA(App().Handle(), kProbe, 0, 0);
  EXPECT_EQ(hook.count, 0);
  App().ProcessMessages();
  EXPECT_EQ(hook.count, 2);
  App().UnhookMainWindow(&hook);
}

// The file version as the version library reads it from the loaded module's file.
DWORD FileVersionOfLoadedModule(const char* name) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(GetModuleHandleA(name), path, MAX_PATH);
  DWORD ignored = 0;
  std::string data(GetFileVersionInfoSizeA(path, &ignored), '\0');
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (data.empty() || !GetFileVersionInfoA(path, 0, static_cast<DWORD>(data.size()), data.data()) ||
      !VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &length) || !info) {
    return 0;
  }
  return info->dwFileVersionMS;
}

TEST(CommonControls, VersionIsTheLoadedLibrarysFileVersion) {
  const DWORD version = CommonControlsVersion();
  EXPECT_EQ(version, FileVersionOfLoadedModule("comctl32.dll")) << std::hex << version;
  // comctl32 ships with 5.x or 6.x; 4.71 is the oldest the tray code accepts.
  EXPECT_GE(version >> 16, 5u) << std::hex << version;
  EXPECT_LE(version >> 16, 6u) << std::hex << version;
}

}  // namespace

namespace app_error_kind {

struct PlainError : std::runtime_error {
  PlainError() : std::runtime_error("x") {}
};

}  // namespace app_error_kind

TEST(ErrorKind, NamesTheClassOfTheError) {
  auto kind = [](auto error) { return wingui::ErrorKind(std::make_exception_ptr(error)); };
  EXPECT_EQ(kind(std::runtime_error("x")), "std::runtime_error");
  EXPECT_EQ(kind(std::out_of_range("x")), "std::out_of_range");
  EXPECT_EQ(kind(launch::LaunchError("x")), "launch::LaunchError");
  EXPECT_EQ(kind(app_error_kind::PlainError()), "app_error_kind::PlainError");
  EXPECT_EQ(wingui::ErrorKind(std::make_exception_ptr(42)), "unknown exception");
}
