// The launch commands: script, allowed list, settings, then the game, in that order.
#include "Launch.h"

#include "NetScript.h"
#include "Paths.h"
#include "Platform.h"
#include "ScriptCheck.h"
#include "SettingsFiles.h"

namespace launch {

namespace {

bool RunLaunch(const LaunchInputs& inputs, ScriptForm form, const std::string& scriptPath,
               const std::string& settingsFolder, const GoOnDespite& goOn) {
  const LaunchSettings& settings = inputs.settings;
  const std::string parameters = BuildLaunchParameters(settings.nick);
  const NetScript script = BuildNetScript(form, settings.interfaceAddress, settings.port,
                                          inputs.allowed, inputs.playersText);
  if (goOn) {
    const std::vector<std::string> problems = CheckNetScript(script, inputs.networks);
    if (!problems.empty() && !goOn(problems)) return false;
  }
  WriteNetScript(scriptPath, script);
  SaveAll(settingsFolder, settings, inputs.allowed);
  // The game is told "-net net.txt" relative to its working directory, which is ours.
  StartGame(LaunchRequest{std::string(kOpenVerb), inputs.launchPath, parameters, {},
                          kShowCommand, inputs.ownerWindow});
  return true;
}

std::string ScriptIn(const std::string& folder) {
  return folder + std::string(kNetScriptFileName);
}

}  // namespace

void StartGame(const LaunchRequest& request) { LaunchSeam().InUse.OpenWithShell(request); }

void OpenDocument(const std::string& target, std::uintptr_t ownerWindow) {
  LaunchSeam().InUse.OpenWithShell(
      LaunchRequest{std::string(kOpenVerb), target, {}, {}, kShowCommand, ownerWindow});
}

bool SaveAndPlayAllowList(const LaunchInputs& inputs, const GoOnDespite& goOn) {
  return RunLaunch(inputs, ScriptForm::AllowIps, ScriptIn({}), {}, goOn);
}

bool SaveAndPlayBroadcast(const LaunchInputs& inputs, const std::string& programFolder,
                          const GoOnDespite& goOn) {
  return RunLaunch(inputs, ScriptForm::Broadcast, ScriptIn(FolderOf(inputs.launchPath)),
                   programFolder, goOn);
}

bool SaveAndPlayBroadcastBesideExeField(const LaunchInputs& inputs,
                                        const std::string& programFolder,
                                        const GoOnDespite& goOn) {
  return RunLaunch(inputs, ScriptForm::Broadcast, ScriptIn(FolderOf(inputs.settings.gameExe)),
                   programFolder, goOn);
}

}  // namespace launch
