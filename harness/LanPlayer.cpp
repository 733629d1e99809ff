// One player of a LAN test, run in that player's own Wine session (tools/lan-test): starts
// lanvora.exe in a folder, types a nick and a port, opens "Find players" and waits until the
// expected players are listed, then (when asked) adds them all and presses "Save && Play",
// and writes down what happened, one "name=value" line each:
//   lan_player exe=<lanvora.exe> folder=<folder> nick=<nick> port=<port>
//              expect=<nick,nick,...> result=<file> [mode=broadcast] [play=1]
//              [idle-ms=<ms>] [wait-for=<folder>*<count>] [mark=<folder>]
//              [barrier=<folder>[*<count>]]
//              [open-ms=<ms>] [closed-ms=<ms>]
// idle-ms: the program runs that long before the window is opened. wait-for: the window is
// opened once that folder holds that many entries; mark: the player leaves "<nick>.listed"
// there once it lists the others. barrier: a folder shared by all players (and how many there
// are, when not this one and those it expects); the window closes only once every player is
// done with it. open-ms keeps the window open that long from
// the click, closed-ms keeps the program running that long after the window closed.
// The UDP datagrams this player's machine sent are counted in each phase (the namespace's
// own counters, read through Wine's drive Z:).
// Result lines: listed-ms (or "timeout"), rows (nick|address|port|mode;...), with open-ms
// listed-at-end (1 when all were still listed) and status (the window's status line), with
// play=1 interface, warning (a box that asked before the start, answered No) and started
// (starts of the game); sent-before-open, sent-open, sent-closing, sent-closed.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "harness/Driver.h"
#include "harness/LanvoraSession.h"
#include "harness/Scratch.h"

namespace {

using harness::LanvoraSession;

constexpr char kPlayersTitle[] = "Players on this network";
constexpr DWORD kListTimeoutMs = 30000;

std::map<std::string, std::string> Arguments(int argc, char** argv) {
  std::map<std::string, std::string> arguments;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const size_t equals = argument.find('=');
    if (equals != std::string::npos) arguments[argument.substr(0, equals)] = argument.substr(equals + 1);
  }
  return arguments;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream in(text);
  for (std::string part; std::getline(in, part, separator);) {
    if (!part.empty()) parts.push_back(part);
  }
  return parts;
}

// UDP datagrams sent by this machine so far: "OutDatagrams" of the "Udp:" lines.
long long UdpDatagramsSent() {
  std::ifstream snmp("Z:\\proc\\net\\snmp");
  std::string header, values;
  while (std::getline(snmp, header)) {
    if (header.rfind("Udp:", 0) != 0 || !std::getline(snmp, values)) continue;
    const std::vector<std::string> names = Split(header, ' ');
    const std::vector<std::string> numbers = Split(values, ' ');
    for (size_t i = 0; i < names.size() && i < numbers.size(); ++i) {
      if (names[i] == "OutDatagrams") return std::stoll(numbers[i]);
    }
  }
  return -1;
}

bool ListsAll(const std::vector<std::vector<std::string>>& rows,
              const std::vector<std::string>& nicks) {
  for (const std::string& nick : nicks) {
    bool found = false;
    for (const auto& row : rows) found = found || (!row.empty() && row[0] == nick);
    if (!found) return false;
  }
  return true;
}

void SleepUntil(DWORD start, DWORD ms) {
  while (GetTickCount() - start < ms) Sleep(20);
}

int Run(std::map<std::string, std::string> a) {
  std::ofstream result(a["result"], std::ios::trunc);
  // The stand-in game in the folder records its start here.
  const std::string log = harness::Join(a["folder"], "standin.log");
  SetEnvironmentVariableA("LANVORA_STANDIN_LOG", log.c_str());
  LanvoraSession app(a["exe"], a["folder"]);
  app.Type(app.NickField(), a["nick"]);
  app.Type(app.PortField(), a["port"]);
  if (a["mode"] == "broadcast") app.SwitchToBroadcast();

  // The program runs with the window never opened yet.
  const long long started = UdpDatagramsSent();
  if (a.count("idle-ms")) Sleep(static_cast<DWORD>(std::stoul(a["idle-ms"])));
  // A newcomer opens the window once the others are listing each other.
  if (a.count("wait-for")) {
    const std::vector<std::string> waitFor = Split(a["wait-for"], '*');
    const std::size_t count = static_cast<std::size_t>(std::stoul(waitFor.at(1)));
    harness::WaitUntil([&] { return harness::FolderEntries(waitFor.at(0)).size() >= count; },
                       kListTimeoutMs);
  }
  const long long beforeOpen = UdpDatagramsSent();
  const DWORD opened = GetTickCount();
  harness::Click(app.Button("&Find players"));
  HWND players = harness::WaitForWindow(app.Program().Id(), "", kPlayersTitle);
  HWND list = harness::ChildrenOfClass(players, "SysListView32").at(0);
  const std::vector<std::string> expected = Split(a["expect"], ',');
  std::vector<std::vector<std::string>> rows;
  const bool listed = harness::WaitUntil(
      [&] {
        rows = harness::ListViewRows(list, 4);
        return ListsAll(rows, expected);
      },
      kListTimeoutMs);
  result << "listed-ms=" << (listed ? std::to_string(GetTickCount() - opened) : "timeout") << "\n";
  std::string shown;
  for (const auto& row : rows) {
    for (size_t i = 0; i < row.size(); ++i) shown += (i ? "|" : "") + row[i];
    shown += ";";
  }
  result << "rows=" << shown << "\n";
  if (listed && a.count("mark")) harness::WriteBytes(harness::Join(a["mark"], a["nick"] + ".listed"), "");

  if (a.count("open-ms")) {
    SleepUntil(opened, static_cast<DWORD>(std::stoul(a["open-ms"])));
    // Still listed at the end, or forgotten on the way.
    result << "listed-at-end=" << (ListsAll(harness::ListViewRows(list, 4), expected) ? 1 : 0)
           << "\n";
    std::string status = harness::Text(harness::ChildrenOfClass(players, "Static").at(0));
    for (char& c : status) c = c == '\r' || c == '\n' ? ' ' : c;
    result << "status=" << status << "\n";
  }
  const long long afterOpen = UdpDatagramsSent();

  if (a["play"] == "1") {
    harness::Click(harness::ChildByCaption(players, "Button", "Add a&ll"));
    // Where the players were heard on another adapter than the Interface field says, the
    // window offers the right one.
    for (HWND button : harness::ChildrenOfClass(players, "Button")) {
      if (harness::Visible(button) && harness::Text(button).rfind("&Use ", 0) == 0) {
        harness::Click(button);
      }
    }
  }
  // The window stays open until every player has added the others: a goodbye would take
  // this player off the lists of those still about to add.
  if (a.count("barrier")) {
    // "<folder>" or "<folder>*<players in all>": by default this player and those it expects.
    const std::vector<std::string> barrier = Split(a["barrier"], '*');
    const std::size_t players =
        barrier.size() > 1 ? static_cast<std::size_t>(std::stoul(barrier[1])) : expected.size() + 1;
    harness::WriteBytes(harness::Join(barrier.at(0), a["nick"] + ".added"), "");
    harness::WaitUntil([&] { return harness::FolderEntries(barrier.at(0)).size() >= players; },
                       kListTimeoutMs);
  }
  const long long beforeClose = UdpDatagramsSent();
  harness::Click(harness::ChildByCaption(players, "Button", "&Close"));
  harness::WaitUntil([&] { return !harness::Visible(players); });
  const long long afterClose = UdpDatagramsSent();

  if (a["play"] == "1") {
    result << "interface=" << harness::Text(app.InterfaceField()) << "\n";
    harness::PostClick(app.Button("Save && Play"));
    // A warning would mean a set-up the game cannot run: it is written down and answered No.
    std::string warning;
    harness::WaitUntil(
        [&] {
          for (HWND box : harness::TopLevelWindows(app.Program().Id(), "#32770", harness::kAppTitle)) {
            if (harness::Visible(box)) {
              warning = harness::MessageBoxText(box);
              harness::CloseDialog(box, IDNO);
              return true;
            }
          }
          return !harness::ReadStandinLog(log).empty();
        },
        10000);
    result << "warning=" << warning << "\n";
    result << "started=" << harness::ReadStandinLog(log).size() << "\n";
  }

  const long long beforeClosed = UdpDatagramsSent();
  const DWORD closed = GetTickCount();
  if (a.count("closed-ms")) SleepUntil(closed, static_cast<DWORD>(std::stoul(a["closed-ms"])));
  const long long afterClosed = UdpDatagramsSent();
  result << "sent-before-open=" << (beforeOpen - started) << "\n";
  result << "sent-open=" << (afterOpen - beforeOpen) << "\n";
  result << "sent-closing=" << (afterClose - beforeClose) << "\n";
  result << "sent-closed=" << (afterClosed - beforeClosed) << "\n";
  return listed ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(Arguments(argc, argv));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "lan_player: %s\n", e.what());
    return 2;
  }
}
