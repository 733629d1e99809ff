// Starting the game: the request handed to the shell, and the three launch commands that
// write the script and the program's files and then start the game. Each command stops at
// the first failure (a LaunchError), so the game is started only when every file was written.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "LaunchSettings.h"
#include "PeerAddress.h"

namespace launch {

inline constexpr std::string_view kOpenVerb = "open";
// SW_SHOW: activate the game's window in its current size and position.
inline constexpr int kShowCommand = 5;

struct LaunchRequest {
  std::string verb;
  std::string file;
  std::string parameters;
  std::string workingDirectory;  // empty: the program's current directory
  int showCommand = kShowCommand;
  std::uintptr_t ownerWindow = 0;  // the main window's HWND

  bool operator==(const LaunchRequest&) const = default;
};

// Hands the request to the shell (through the platform seam) and returns at once.
void StartGame(const LaunchRequest& request);

// Asks the shell to open a document or web page with the program the user has for it (a
// page in the web browser), owned by ownerWindow; returns at once, the outcome unexamined.
void OpenDocument(const std::string& target, std::uintptr_t ownerWindow);

// What a command reads from the main window at the moment it runs.
struct LaunchInputs {
  LaunchSettings settings;
  AllowedList allowed;
  std::string playersText;
  std::string launchPath;
  std::uintptr_t ownerWindow = 0;
  // This computer's networks, for the check of the entries before a start.
  LocalNetworks networks;
};

// Asked before a launch command writes anything, when the script it is about to write has
// problems for the game (CheckNetScript): answers whether to go on all the same. Without it a
// command always goes on.
using GoOnDespite = std::function<bool(const std::vector<std::string>& problems)>;

// Each command answers false when it did not go on: then nothing was written and nothing
// started.

// "Save && Play" in "Allow IP's" mode: "net.txt", "ips.txt" and "settings.txt" in the
// current directory.
bool SaveAndPlayAllowList(const LaunchInputs& inputs, const GoOnDespite& goOn = {});

// "Save && Play" in "Broadcast on LAN" mode: the script in FolderOf(launchPath), the two
// files in programFolder.
bool SaveAndPlayBroadcast(const LaunchInputs& inputs, const std::string& programFolder,
                          const GoOnDespite& goOn = {});

// The tray's "Save && Play": always the broadcast form, the script in the folder of the
// executable field's text, the two files in programFolder.
bool SaveAndPlayBroadcastBesideExeField(const LaunchInputs& inputs,
                                        const std::string& programFolder,
                                        const GoOnDespite& goOn = {});

}  // namespace launch
