// One run of the real lanvora.exe in a scenario folder, and its main window's controls found
// the way a user finds them: buttons by caption, fields by their place in the window.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "harness/Driver.h"

namespace harness {

inline constexpr char kMainTitle[] = "Lanvora - Pelmar 2005";
inline constexpr char kAppTitle[] = "Pelmar 2005";

class LanvoraSession {
 public:
  // Starts `programExe` with `currentDirectory` as its working directory and waits for the
  // main window; `defaultPosition` as for Launch.
  LanvoraSession(const std::string& programExe, const std::string& currentDirectory,
                 const POINT* defaultPosition = nullptr);
  // Closes the program as its close box would, so its notification icon goes with it; ends
  // it when it does not go (a scenario that failed with a box still open).
  ~LanvoraSession();

  const Process& Program() const { return process_; }
  Process& Program() { return process_; }
  HWND Window() const { return window_; }

  // The fields, by their place in the window's client area.
  HWND GameExeField() const { return Field(88, 32); }
  HWND NickField() const { return Field(88, 56); }
  HWND InterfaceField() const { return Field(88, 80); }
  HWND PortField() const { return Field(88, 104); }
  HWND AddressToAddField() const { return Field(24, 204); }
  HWND PlayersField() const { return Field(24, 205); }
  HWND AllowedList() const { return ChildAt(window_, "ListBox", 24, 228); }

  HWND Button(const std::string& caption) const {
    return ChildByCaption(window_, "Button", caption);
  }

  // Shortcuts for the common steps of a scenario.
  void Type(HWND field, const std::string& text) const { SetText(field, text); }
  void AddAddress(const std::string& address) const;
  void SwitchToBroadcast() const { Click(Button("Broadcast on LAN")); }
  void SwitchToAllowList() const { Click(Button("Allow IP's")); }

 private:
  HWND Field(int left, int top) const { return ChildAt(window_, "Edit", left, top); }

  Process process_;
  HWND window_ = nullptr;
};

// The addresses the host's resolver gives for its own name (Windows Sockets 1.1), in its
// order, found independently of the program.
std::vector<std::string> LocalAddresses();
// The first of them; empty when there is none.
std::string FirstLocalAddress();

// The text the program's error box gives for an OS error: the system's own message with its
// trailing line break, control characters, blanks and full stops removed, then a closing full
// stop when the text ends in a character that sorts after it.
std::string SystemErrorText(unsigned long errorCode);

}  // namespace harness
