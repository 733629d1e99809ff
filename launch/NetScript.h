// The game's network script "net.txt" and its command line. The script names this host's
// interface, peer mode, and either the allowed peers or a broadcast player count.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "LaunchSettings.h"

namespace launch {

inline constexpr std::string_view kNetScriptFileName = "net.txt";

enum class ScriptForm { AllowIps, Broadcast };

using NetScript = std::vector<std::string>;

// "interface " + interfaceAddress + ":" + port, both inserted unchanged: the script's first line.
std::string InterfaceLine(std::string_view interfaceAddress, std::string_view port);

// AllowIps: "interface a:p", "mode peer", the entries, one empty line.
// Broadcast: "interface a:p", "mode peer", "broadcast " + playersText (unused by AllowIps).
NetScript BuildNetScript(ScriptForm form, std::string_view interfaceAddress,
                         std::string_view port, const AllowedList& allowed,
                         std::string_view playersText);

// "/m /c1 /i1 -name " + nick + " -net net.txt"; the nick goes in unquoted.
std::string BuildLaunchParameters(std::string_view nick);

void WriteNetScript(const std::string& path, const NetScript& script);

}  // namespace launch
