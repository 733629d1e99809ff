// Reads a network script the way the game reads it and names what would keep the game from
// starting: the game ignores its own packets, answers each greeting only once, gives up at
// once with nobody to play with, keeps a table of at most 8 other players (its network code
// writes past that table for a 9th, which can crash it), reads at most 15 "allow" lines, and
// skips what it cannot read as an address. The program writes exactly what the player typed;
// this only warns.
//
// The game's reading: a line is a keyword (any case) and its words. "interface" and "allow"
// take an address (GameAddress.h); "broadcast" takes the number of other players, read as a
// leading whole number (0 when there is none); "mode" is "peer". Empty lines are passed over,
// and any other line is skipped.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "NetScript.h"
#include "PeerAddress.h"

namespace launch {

// The most other players the game's network code has room for: with the host, nine.
inline constexpr std::size_t kMaxOtherPlayers = 8;
// The most "allow" lines the game reads; it ignores the rest.
inline constexpr std::size_t kMaxScriptPeers = 15;

// Every problem of the script, in the order of its lines, in plain words naming the line or
// entry concerned; none for a script the game runs as meant. An entry the game cannot reach
// (PeerAddress.h) is one; 127/8 is reachable when the interface is on it too.
std::vector<std::string> CheckNetScript(const NetScript& script, const LocalNetworks& local = {});

}  // namespace launch
