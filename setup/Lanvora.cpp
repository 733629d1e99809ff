// Process start: the application object (COM, title), the main window, the help window,
// then the message loop until the main window closes.
#include <windows.h>

#include "help/HelpForm.h"
#include "setup/MainForm.h"
#include "setup/ProgramLook.h"
#include "wingui/Application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return wingui::RunProgram([] {
    setup::TellTheFramework();
    wingui::App().SetTitle(setup::TForm1::kMakerName);
    auto* mainWindow = new setup::TForm1(&wingui::App());
    mainWindow->SetHelpWindow(new help::TForm2(&wingui::App()));
  });
}
