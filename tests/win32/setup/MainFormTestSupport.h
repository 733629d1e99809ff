// Shared pieces of the main-window tests: a scratch current directory, fake address
// discovery, a recorder for start requests, and building the window the way start-up does.
#pragma once

// winsock2.h must come before windows.h.
#include <winsock2.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "launch/Launch.h"
#include "launch/Platform.h"
#include "setup/LocalAddresses.h"
#include "setup/MainForm.h"
#include "tray/TrayPlatform.h"
#include "wingui/Sockets.h"
#include "tests/win32/wingui/TestSupport.h"

namespace setup_test {

// A fresh folder made the current directory for one test, removed (with what the test left
// in it) afterwards; the previous current directory comes back.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name) {
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    previous_ = previous;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + "lanvora-" + name + "-" + std::to_string(GetCurrentProcessId());
    Remove(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
    SetCurrentDirectoryA(path_.c_str());
  }
  ~ScratchFolder() {
    SetCurrentDirectoryA(previous_.c_str());
    Remove(path_);
  }
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

  static void Remove(const std::string& path) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        std::string child = path + "\\" + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          Remove(child);
        } else {
          DeleteFileA(child.c_str());
        }
      } while (FindNextFileA(find, &data));
      FindClose(find);
    }
    RemoveDirectoryA(path.c_str());
  }

 private:
  std::string previous_;
  std::string path_;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Discovery answers with a fixed address list (several adapters, resolver order).
class FakeDiscovery {
 public:
  explicit FakeDiscovery(std::vector<std::string> addresses) {
    Addresses() = std::move(addresses);
    Lookups() = 0;
    scope_->Startup = &Startup;
    scope_->GetHostName = &HostName;
    scope_->GetHostByName = &HostByName;
    scope_->Cleanup = &Cleanup;
  }
  FakeDiscovery(const FakeDiscovery&) = delete;
  FakeDiscovery& operator=(const FakeDiscovery&) = delete;

  static int& Lookups() {
    static int lookups = 0;
    return lookups;
  }
  static std::vector<std::string>& Addresses() {
    static std::vector<std::string> addresses;
    return addresses;
  }

 private:
  static int __stdcall Startup(unsigned short, WSAData*) { return 0; }
  static int __stdcall HostName(char* name, int length) {
    lstrcpynA(name, "lanhost", length);
    return 0;
  }
  static hostent* __stdcall HostByName(const char*) {
    ++Lookups();
    static hostent entry;
    static std::vector<in_addr> storage;
    static std::vector<char*> list;
    if (Addresses().empty()) return nullptr;
    storage.clear();
    for (const std::string& text : Addresses()) {
      in_addr a{};
      a.s_addr = inet_addr(text.c_str());
      storage.push_back(a);
    }
    list.clear();
    for (in_addr& a : storage) list.push_back(reinterpret_cast<char*>(&a));
    list.push_back(nullptr);
    entry.h_addrtype = AF_INET;
    entry.h_length = 4;
    entry.h_addr_list = list.data();
    return &entry;
  }
  static int __stdcall Cleanup() { return 0; }

  launch::SeamScope<wingui::SocketCalls> scope_{wingui::SocketSeam()};
};

// Records start requests instead of starting anything.
class StartRecorder {
 public:
  StartRecorder() {
    Requests().clear();
    scope_->OpenWithShell = &Record;
  }
  StartRecorder(const StartRecorder&) = delete;
  StartRecorder& operator=(const StartRecorder&) = delete;

  static std::vector<launch::LaunchRequest>& Requests() {
    static std::vector<launch::LaunchRequest> requests;
    return requests;
  }

 private:
  static void Record(const launch::LaunchRequest& request) { Requests().push_back(request); }
  launch::SeamScope<launch::LaunchCalls> scope_{launch::LaunchSeam()};
};

// The shell's notification area is left alone: the main window's tray icon talks to a
// recorder that accepts every request and keeps the last image it was handed.
class QuietTray {
 public:
  QuietTray() {
    LastImage() = nullptr;
    scope_->ShellNotifyIcon = &Accept;
  }
  QuietTray(const QuietTray&) = delete;
  QuietTray& operator=(const QuietTray&) = delete;

  // The image of the last request that carried one (the component's own copy).
  static HICON& LastImage() {
    static HICON image = nullptr;
    return image;
  }

 private:
  static BOOL WINAPI Accept(DWORD, tray::NotifyIconRecord* record) {
    if (record->hIcon) LastImage() = record->hIcon;
    return TRUE;
  }
  launch::SeamScope<tray::TrayCalls> scope_{tray::TraySeam()};
};

// The main window as start-up builds it, owned by the application and freed by the test.
inline std::unique_ptr<setup::TForm1> MakeMainWindow() {
  wingui::App().SetTitle("Pelmar 2005");
  return std::unique_ptr<setup::TForm1>(new setup::TForm1(&wingui::App()));
}

inline std::string WindowText(HWND hwnd) {
  const int length = GetWindowTextLengthA(hwnd);
  std::string text(length + 1, '\0');
  GetWindowTextA(hwnd, text.data(), length + 1);
  text.resize(length);
  return text;
}

}  // namespace setup_test
