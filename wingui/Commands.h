// Commands run one at a time. A command (a click on a button, a radio button, a label or a
// menu item) may open a message box, a file dialog or a menu, each running a message loop of
// its own while the tray icon and the other windows stay live. A second command started from
// there would run inside the first: two launches at once, the first game reading the script
// the second one wrote, or the program closed under a command that is still on the stack. So
// while one command runs, every other is refused, and menus show their command items
// disabled. Timers and other background work go on as usual.
#pragma once

#include <functional>

namespace wingui {

// True while a command runs (its boxes and dialogs included).
bool CommandRunning();

// Runs the handler as a command, its errors going to the error box before the command ends;
// does nothing while another command runs. Answers whether it ran.
bool RunCommand(const std::function<void()>& handler);

}  // namespace wingui
