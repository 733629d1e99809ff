// The file-open dialog, driven from a timer inside its own modal loop: the file-name box
// starts with the file confirmed last, a confirmed choice becomes FileName and moves the
// current directory to the file's folder, a cancel changes nothing.
#include "wingui/Dialogs.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "TestSupport.h"

namespace {

using namespace wingui;

struct Script {
  std::string typeName;  // put into the file-name box; empty: leave it
  WPARAM button = IDOK;
  std::string seenName;  // what the box held when the dialog came up
  bool done = false;
} g_script;

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM found) {
  char name[16] = {};
  GetClassNameA(hwnd, name, sizeof name);
  if (std::string(name) == "#32770" && IsWindowVisible(hwnd)) {
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindNameEdit(HWND hwnd, LPARAM found) {
  char name[16] = {};
  GetClassNameA(hwnd, name, sizeof name);
  if (std::string(name) == "Edit" && GetDlgCtrlID(hwnd) == 0x47C) {
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
  }
  return TRUE;
}

// Explorer style: the file-name box (id 0x47C) is an edit inside combo boxes of that id.
HWND FileNameBox(HWND dialog) {
  HWND edit = nullptr;
  EnumChildWindows(dialog, &FindNameEdit, reinterpret_cast<LPARAM>(&edit));
  return edit;
}

void CALLBACK DriveDialog(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&dialog));
  HWND box = dialog ? FileNameBox(dialog) : nullptr;
  if (!box || g_script.done) return;
  g_script.done = true;
  KillTimer(nullptr, id);
  char text[MAX_PATH] = {};
  GetWindowTextA(box, text, MAX_PATH);
  g_script.seenName = text;
  if (!g_script.typeName.empty()) SetWindowTextA(box, g_script.typeName.c_str());
  PostMessageA(dialog, WM_COMMAND, g_script.button, 0);
}

bool RunScripted(OpenDialog& dialog, const std::string& typeName, WPARAM button) {
  g_script = Script{typeName, button, "", false};
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, &DriveDialog);
  const bool confirmed = dialog.Execute();
  KillTimer(nullptr, timer);
  return confirmed;
}

std::string CurrentDirectory() {
  char dir[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, dir);
  return dir;
}

TEST(OpenDialog, ConfirmedFileBecomesFileNameAndItsFolderTheCurrentDirectory) {
  wingui_test::BoxRecorder boxes;
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "wingui_dialog_test";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string game = folder + "\\duke3d_w32.exe";
  std::ofstream(game) << "stand-in";
  const std::string before = CurrentDirectory();

  Component owner(nullptr);
  auto* dialog = new OpenDialog(&owner);
  EXPECT_EQ(dialog->FileName(), "");
  ASSERT_TRUE(RunScripted(*dialog, game, IDOK));
  EXPECT_EQ(g_script.seenName, "");
  EXPECT_EQ(dialog->FileName(), game);
  EXPECT_EQ(CurrentDirectory(), folder);

  // The next run starts in the folder of the file confirmed last, with its name in the
  // box; cancelling keeps everything, the current directory included.
  SetCurrentDirectoryA(before.c_str());
  EXPECT_FALSE(RunScripted(*dialog, "", IDCANCEL));
  EXPECT_EQ(g_script.seenName, "duke3d_w32.exe");
  EXPECT_EQ(dialog->FileName(), game);
  EXPECT_EQ(CurrentDirectory(), before);

  DeleteFileA(game.c_str());
  RemoveDirectoryA(folder.c_str());
}

}  // namespace
