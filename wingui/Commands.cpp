// The one-command-at-a-time rule: a flag set while a command runs, cleared however it ends,
// and a refusal for any command started while it is set.
#include "wingui/Commands.h"

#include "wingui/ExceptionBoundary.h"

namespace wingui {
namespace {

bool g_running = false;

// Clears the flag on every way out, an error box included.
struct RunningScope {
  RunningScope() { g_running = true; }
  ~RunningScope() { g_running = false; }
};

}  // namespace

bool CommandRunning() { return g_running; }

bool RunCommand(const std::function<void()>& handler) {
  if (g_running) return false;
  RunningScope running;
  if (handler) CallGuarded(handler);
  return true;
}

}  // namespace wingui
