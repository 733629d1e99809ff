// Building and writing the network script and the game's parameters.
#include "NetScript.h"

#include "TextLines.h"
#include "WholeFile.h"

namespace launch {

std::string InterfaceLine(std::string_view interfaceAddress, std::string_view port) {
  std::string line = "interface ";
  line.append(interfaceAddress).append(":").append(port);
  return line;
}

NetScript BuildNetScript(ScriptForm form, std::string_view interfaceAddress,
                         std::string_view port, const AllowedList& allowed,
                         std::string_view playersText) {
  NetScript script{InterfaceLine(interfaceAddress, port)};
  script.emplace_back("mode peer");
  if (form == ScriptForm::AllowIps) {
    script.insert(script.end(), allowed.begin(), allowed.end());
    // One empty line closes the list of peers.
    script.emplace_back();
  } else {
    script.push_back("broadcast " + std::string(playersText));
  }
  return script;
}

std::string BuildLaunchParameters(std::string_view nick) {
  std::string parameters = "/m /c1 /i1 -name ";
  parameters.append(nick).append(" -net ").append(kNetScriptFileName);
  return parameters;
}

void WriteNetScript(const std::string& path, const NetScript& script) {
  WriteLinesFile(path, script);
}

}  // namespace launch
