// How often the lobby may send to one copy directly (answers, and announcements to copies that
// cannot hear the broadcasts). Anyone on the network can send packets that look like new
// copies (other ids, forged senders), so direct sends are limited per address and port and
// overall, in memory that stays small whatever arrives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "lobby/Ipv4.h"

namespace lobby {

class SendLimiter {
 public:
  static constexpr std::uint64_t kPerTargetMs = 2000;
  static constexpr unsigned kMaxPerSecond = 8;
  // More than the limits above ever let through in kPerTargetMs; reached, sends are refused.
  static constexpr std::size_t kMaxRecords = 256;

  // Whether a direct send to `to` may go at nowMs: none to it in the last kPerTargetMs, and
  // fewer than kMaxPerSecond in the last second. When yes, the send is counted. A send
  // recorded "after" nowMs (the caller's clock went back) counts as made just now.
  bool Allow(Endpoint to, std::uint64_t nowMs);

  // The sends remembered: those of the last kPerTargetMs. Never above kMaxRecords.
  std::size_t RecordCount() const { return sent_.size(); }

 private:
  struct Sent {
    Endpoint to;
    std::uint64_t ms;
  };
  std::vector<Sent> sent_;  // oldest first
};

}  // namespace lobby
