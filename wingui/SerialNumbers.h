// Serial numbers for identifiers that must differ among the live objects of one kind (menu
// commands, child windows, timers, tray icons): each call gives the next number of a range,
// starting again at its first after its last. A serial number rather than an address, so a
// message still queued for an object that is gone is never taken for a new one.
#pragma once

#include <cstdint>

namespace wingui {

class SerialNumbers {
 public:
  constexpr SerialNumbers(std::uintptr_t first, std::uintptr_t last)
      : first_(first), last_(last), next_(first) {}

  std::uintptr_t Next() {
    const std::uintptr_t number = next_;
    next_ = number == last_ ? first_ : number + 1;
    return number;
  }

 private:
  std::uintptr_t first_, last_, next_;
};

}  // namespace wingui
