// The application object: COM for the GUI thread, the zero-size application window that
// carries the taskbar button and owns every form, the main form, the message loop with
// dialog keyboard handling, the hook list on the application window, and the error boxes.
// One per process, reached through App().
#pragma once

#include <windows.h>

#include <exception>
#include <string>
#include <vector>

#include "wingui/Component.h"
#include "wingui/WindowBinding.h"

namespace wingui {

class Form;

struct Message {
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT result;
};

class AppWindowHook {
 public:
  // Sees each message of the application window before the application does; answers
  // true when it has handled the message (m.result is then returned to the sender).
  virtual bool AppWindowMessage(Message& m) = 0;

 protected:
  ~AppWindowHook() = default;
};

class Application : public Component, public WindowOwner {
 public:
  // Initialises COM (single-threaded apartment) and the common controls, creates the
  // application window and installs the error box as the process's error handler.
  // Calling it again does nothing; after Shutdown it starts afresh.
  void Initialize();
  // Frees the forms and other owned components newest first, destroys the application
  // window and uninitialises COM when Initialize initialised it.
  void Shutdown();

  // Handle(): the application window, from Initialize to Shutdown; asking for it at any other
  // time, or after something destroyed it, is a programming error (it throws), as for any
  // window.
  void SetTitle(const std::string& title);
  const std::string& Title() const { return title_; }

  // The program's icon, a resource of its executable (0: none), for the application window,
  // the forms' window class and whatever else shows it; tell it before the first form.
  void SetIconResource(WORD id);
  WORD IconResource() const { return iconId_; }
  // The font every form and control uses unless given one of its own; tell it before the first
  // form. Without it they use the system's dialog font.
  void SetDefaultFont(const std::string& face, int pixelHeight);
  const std::string& DefaultFontFace() const { return fontFace_; }
  int DefaultFontHeight() const { return fontHeight_; }
  // The program's icon as the system keeps it for the executable (shared: never destroyed);
  // nullptr without one.
  HICON ProgramIcon() const;

  // The first form created (nullptr once it is destroyed).
  Form* MainForm() const { return mainForm_; }
  bool ShowMainForm() const { return showMainForm_; }
  void SetShowMainForm(bool value) { showMainForm_ = value; }
  bool Terminating() const { return terminating_; }

  void HookMainWindow(AppWindowHook* hook);
  void UnhookMainWindow(AppWindowHook* hook);

  // Handles every message already waiting, then returns.
  void ProcessMessages();
  // Shows the main form (when the show-at-start flag is set) and runs the message loop
  // until Terminate.
  void Run();
  void Terminate();

  // Minimises the application: its forms are hidden with it (they are owned by the
  // application window) and come back, as they were, with Restore.
  void Minimize();
  void Restore();

  // The error box: caption Title(), stop icon, OK button, closing full stop.
  void ShowException(std::exception_ptr error);

 private:
  friend class Form;
  friend Application& App();

  Application();
  ~Application() override;

  void Restored();
  void FormCreated(Form* form);
  void FormDestroyed(Form* form);
  // Dialog keyboard handling on the active form, then the usual translate and dispatch.
  void Dispatch(MSG& msg);
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void MakeApplicationWindow();

  // The window exists and CreateWindowEx has returned.
  bool made_ = false;
  std::string title_;
  WORD iconId_ = 0;
  std::string fontFace_;
  int fontHeight_ = 0;
  Form* mainForm_ = nullptr;
  bool showMainForm_ = true;
  bool terminating_ = false;
  bool initialized_ = false;
  bool comInitialized_ = false;
  std::vector<AppWindowHook*> hooks_;
};

Application& App();

// comctl32.dll's file version as major * 65536 + minor; 0 when it cannot be read.
DWORD CommonControlsVersion();

// The whole life of the program, for WinMain: initialises the application, runs the
// start-up steps, runs the message loop and shuts down; returns the exit code. An error
// that escapes `startup` shows the fatal "Application Error" box and gives exit code 1.
int RunProgram(void (*startup)());

}  // namespace wingui
