// One player of a LAN test, run in that player's own Wine session (tools/lan-test): starts
// lanvora.exe in a folder, types a nick and a port, opens "Find players" and waits until the
// expected players are listed, then (when asked) adds them all and presses "Save && Play",
// and writes down what happened, one "name=value" line each:
//   lan_player exe=<lanvora.exe> folder=<folder> nick=<nick> port=<port>
//              expect=<nick[@address],...> result=<file> [interface=<address>]
//              [mode=broadcast] [play=1]
//              [idle-ms=<ms>] [wait-for=<folder>*<count>] [mark=<folder>]
//              [barrier=<folder>[*<count>]] [opened=<folder>]
//              [reopen-ms=<ms>] [reopen-when=<file>]
//              [vanish=<folder>] [watch=<folder>*<nick>] [players=<count>]
//              [group=1] [ready=<folder>*<count>] [ready-delay-ms=<ms>] [start-wait-ms=<ms>]
//              [open-ms=<ms>] [closed-ms=<ms>]
// expect: the nicks to wait for, each with the address its row must show when one is given.
// interface: typed into the Interface field. opened: "<nick>.opened" is left in that folder as
// the window opens. reopen-ms: once the others are listed (and reopen-when's file exists), the
// window is closed and opened again that much later, and they must be listed again. vanish:
// once the others are listed and a file "vanish" is in that folder, the program is ended
// without a goodbye and "<nick>.gone" is left there. watch: the player waits for that mark of
// the player named, then clicks "Add all" and times the click, and times until the vanished
// player is forgotten. players: typed into the Number Of Players field (with mode=broadcast).
// group: once the others are listed, the window's "Group check:" line is written down when it
// has not changed for a while. ready: once this player and all others (count in all) have left
// "<nick>.listed" marks in that folder, it waits ready-delay-ms and ticks Ready, then waits
// start-wait-ms (6 s) for the game to start (answering No to a box that asks first).
// idle-ms: the program runs that long before the window is opened. wait-for: the window is
// opened once that folder holds that many entries; mark: the player leaves "<nick>.listed"
// there once it lists the others. barrier: a folder shared by all players (and how many there
// are, when not this one and those it expects); the window closes only once every player is
// done with it and, with play=1, has seen the group check pass. open-ms keeps the window open that long from
// the click, closed-ms keeps the program running that long after the window closed.
// The UDP datagrams this player's machine sent are counted in each phase (the namespace's
// own counters, read through Wine's drive Z:).
// Result lines: listed-ms (or "timeout"), rows (nick|address|port|mode|state;...), with reopen-ms
// relisted-ms, with watch click-ms and forgotten-ms (or "timeout"), with group the line "group",
// with ready clicked-tick, started-tick (the tick the game was seen started, or "none"),
// started and warning, with open-ms listed-at-end
// (1 when all were still listed), rows-at-end and status (the window's status line), with
// play=1 group-before-play (the group check's line once it passed, or "timeout: " and the
// line), interface, warning (a box that asked before the start, answered No) and started
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
// Nick, address, port, mode and state.
constexpr int kPlayerColumns = 5;

// The players window's "Group check:" line; empty when it has none.
std::string GroupLine(HWND players) {
  for (HWND label : harness::ChildrenOfClass(players, "Static")) {
    std::string text = harness::Text(label);
    if (text.rfind("Group check:", 0) == 0) return text;
  }
  return "";
}

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

// "nick" or "nick@address".
struct Expected {
  std::string nick;
  std::string address;  // empty: any
};

std::vector<Expected> ExpectedPlayers(const std::string& text) {
  std::vector<Expected> expected;
  for (const std::string& part : Split(text, ',')) {
    const std::size_t at = part.find('@');
    expected.push_back(at == std::string::npos ? Expected{part, ""}
                                               : Expected{part.substr(0, at), part.substr(at + 1)});
  }
  return expected;
}

bool Lists(const std::vector<std::vector<std::string>>& rows, const Expected& player) {
  for (const auto& row : rows) {
    if (row.size() > 1 && row[0] == player.nick &&
        (player.address.empty() || row[1] == player.address)) {
      return true;
    }
  }
  return false;
}

bool ListsAll(const std::vector<std::vector<std::string>>& rows,
              const std::vector<Expected>& expected) {
  for (const Expected& player : expected) {
    if (!Lists(rows, player)) return false;
  }
  return true;
}

std::string Shown(const std::vector<std::vector<std::string>>& rows) {
  std::string shown;
  for (const auto& row : rows) {
    for (size_t i = 0; i < row.size(); ++i) shown += (i ? "|" : "") + row[i];
    shown += ";";
  }
  return shown;
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
  if (a.count("interface")) app.Type(app.InterfaceField(), a["interface"]);
  if (a["mode"] == "broadcast") app.SwitchToBroadcast();
  if (a.count("players")) app.Type(app.PlayersField(), a["players"]);

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
  if (a.count("opened")) harness::WriteBytes(harness::Join(a["opened"], a["nick"] + ".opened"), "");
  const std::vector<Expected> expected = ExpectedPlayers(a["expect"]);
  std::vector<std::vector<std::string>> rows;
  const bool listed = harness::WaitUntil(
      [&] {
        rows = harness::ListViewRows(list, kPlayerColumns);
        return ListsAll(rows, expected);
      },
      kListTimeoutMs);
  result << "listed-ms=" << (listed ? std::to_string(GetTickCount() - opened) : "timeout") << "\n";
  result << "rows=" << Shown(rows) << "\n";
  if (listed && a.count("mark")) harness::WriteBytes(harness::Join(a["mark"], a["nick"] + ".listed"), "");

  if (a.count("vanish")) {
    harness::WaitUntil([&] { return harness::FileExists(harness::Join(a["vanish"], "vanish")); },
                       kListTimeoutMs);
    result.flush();
    app.Program().Kill();
    harness::WriteBytes(harness::Join(a["vanish"], a["nick"] + ".gone"), "");
    return listed ? 0 : 1;
  }
  if (a.count("watch")) {
    // The other player leaves without a goodbye: a click must take effect at once all the
    // same, and the player must be forgotten in time.
    const std::vector<std::string> watch = Split(a["watch"], '*');
    const std::string mark = harness::Join(watch.at(0), watch.at(1) + ".gone");
    harness::WaitUntil([&] { return harness::FileExists(mark); }, kListTimeoutMs);
    const DWORD gone = GetTickCount();
    HWND status = harness::ChildrenOfClass(players, "Static").at(0);
    const std::string before = harness::Text(status);
    const DWORD clicked = GetTickCount();
    harness::PostClick(harness::ChildByCaption(players, "Button", "Add a&ll"));
    const bool took = harness::WaitUntil([&] { return harness::Text(status) != before; }, 5000);
    result << "click-ms=" << (took ? std::to_string(GetTickCount() - clicked) : "timeout") << "\n";
    const bool forgotten = harness::WaitUntil(
        [&] { return !Lists(harness::ListViewRows(list, kPlayerColumns), {watch.at(1), ""}); },
        kListTimeoutMs);
    result << "forgotten-ms=" << (forgotten ? std::to_string(GetTickCount() - gone) : "timeout")
           << "\n";
  }
  if (a.count("reopen-ms")) {
    if (a.count("reopen-when")) {
      harness::WaitUntil([&] { return harness::FileExists(a["reopen-when"]); }, kListTimeoutMs);
    }
    harness::Click(harness::ChildByCaption(players, "Button", "&Close"));
    Sleep(static_cast<DWORD>(std::stoul(a["reopen-ms"])));
    const DWORD reopened = GetTickCount();
    harness::Click(app.Button("&Find players"));
    players = harness::WaitForWindow(app.Program().Id(), "", kPlayersTitle);
    list = harness::ChildrenOfClass(players, "SysListView32").at(0);
    const bool relisted = harness::WaitUntil(
        [&] { return ListsAll(harness::ListViewRows(list, kPlayerColumns), expected); },
        kListTimeoutMs);
    result << "relisted-ms=" << (relisted ? std::to_string(GetTickCount() - reopened) : "timeout")
           << "\n";
  }

  if (a.count("group")) {
    // The others' set-ups come with their next announcements: the line settles within seconds.
    std::string text = GroupLine(players);
    DWORD steady = GetTickCount();
    harness::WaitUntil(
        [&] {
          const std::string now = GroupLine(players);
          if (now != text) {
            text = now;
            steady = GetTickCount();
          }
          return GetTickCount() - steady >= 2500;
        },
        20000);
    result << "group=" << text << "\n";
  }
  if (a.count("ready")) {
    const std::vector<std::string> ready = Split(a["ready"], '*');
    harness::WaitUntil(
        [&] {
          return harness::FolderEntries(ready.at(0)).size() >= std::stoul(ready.at(1));
        },
        kListTimeoutMs);
    if (a.count("ready-delay-ms")) Sleep(static_cast<DWORD>(std::stoul(a["ready-delay-ms"])));
    const DWORD clicked = GetTickCount();
    harness::PostClick(harness::ChildByCaption(players, "Button", "&Ready"));
    result << "clicked-tick=" << clicked << "\n";
    DWORD startedAt = 0;
    std::string warning;
    harness::WaitUntil(
        [&] {
          for (HWND box : harness::TopLevelWindows(app.Program().Id(), "#32770", harness::kAppTitle)) {
            if (harness::Visible(box) && warning.empty()) {
              warning = harness::MessageBoxText(box);
              harness::CloseDialog(box, IDNO);
            }
          }
          if (!startedAt && !harness::ReadStandinLog(log).empty()) startedAt = GetTickCount();
          return false;
        },
        a.count("start-wait-ms") ? static_cast<DWORD>(std::stoul(a["start-wait-ms"])) : 6000);
    result << "started-tick=" << (startedAt ? std::to_string(startedAt) : "none") << "\n";
    result << "started=" << harness::ReadStandinLog(log).size() << "\n";
    result << "warning=" << warning << "\n";
  }
  if (a.count("open-ms")) {
    SleepUntil(opened, static_cast<DWORD>(std::stoul(a["open-ms"])));
    // Still listed at the end, or forgotten on the way.
    const std::vector<std::vector<std::string>> atEnd = harness::ListViewRows(list, kPlayerColumns);
    result << "listed-at-end=" << (ListsAll(atEnd, expected) ? 1 : 0) << "\n";
    result << "rows-at-end=" << Shown(atEnd) << "\n";
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
    const std::size_t everyone =
        barrier.size() > 1 ? static_cast<std::size_t>(std::stoul(barrier[1])) : expected.size() + 1;
    harness::WriteBytes(harness::Join(barrier.at(0), a["nick"] + ".added"), "");
    harness::WaitUntil([&] { return harness::FolderEntries(barrier.at(0)).size() >= everyone; },
                       kListTimeoutMs);
    if (a["play"] == "1") {
      // The others' new lists come with their next announcements. A player starts once the
      // window says the group will get ready, and nobody closes (a goodbye) before all have
      // seen it: Save && Play warns with what the window knew when it closed.
      const bool checked = harness::WaitUntil(
          [&] { return GroupLine(players) == "Group check: everyone will get ready"; },
          kListTimeoutMs);
      result << "group-before-play=" << (checked ? "" : "timeout: ") << GroupLine(players) << "\n";
      harness::WriteBytes(harness::Join(barrier.at(0), a["nick"] + ".checked"), "");
      harness::WaitUntil(
          [&] { return harness::FolderEntries(barrier.at(0)).size() >= 2 * everyone; },
          kListTimeoutMs);
    }
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
