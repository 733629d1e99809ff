// GoogleTest's thread start signal, for the Win32-thread compiler. GoogleTest builds its
// Notification on std::mutex and std::condition_variable, which that compiler's library does
// not have; this is the same class on a manual-reset event. Only GoogleTest's own thread
// helpers use it.
#pragma once

// Included ahead of every test source: Winsock's header must come before windows.h.
#include <winsock2.h>
#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
 public:
  Notification() : event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  ~Notification() { CloseHandle(event_); }
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { SetEvent(event_); }
  void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

 private:
  HANDLE event_;
};

}  // namespace testing::internal
