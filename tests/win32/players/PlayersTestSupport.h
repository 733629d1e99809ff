// What the players tests share: a lobby port of the run's own, and a player's own side.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "players/LobbySession.h"

namespace players_test {

// A lobby port of this test run's own (each test program its own range), so that runs on the
// same network never meet.
inline std::uint16_t TestPort(unsigned base) {
  return static_cast<std::uint16_t>(base + GetCurrentProcessId() % 20000);
}

// A player with an empty allowed list, heard with this nick, port and mode.
inline players::LocalPlayer Local(std::string nick, std::string port, lobby::PlayerMode mode) {
  players::LocalPlayer me;
  me.nick = std::move(nick);
  me.port = std::move(port);
  me.mode = mode;
  return me;
}

}  // namespace players_test
