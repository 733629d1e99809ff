// How often the lobby may send a direct answer. Every copy heard for the first time gets one,
// and anyone on the network can send packets that look new (other ids, forged senders), so
// answers are limited per sender and overall, in memory that stays small whatever arrives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lobby {

class AnswerLimiter {
 public:
  static constexpr std::uint64_t kPerSenderMs = 2000;
  static constexpr unsigned kMaxPerSecond = 8;
  // More than the limits above ever let through in kPerSenderMs; reached, answers are refused.
  static constexpr std::size_t kMaxRecords = 256;

  // Whether an answer to address may go at nowMs: none to it in the last kPerSenderMs, and
  // fewer than kMaxPerSecond in the last second. When yes, the answer is counted as sent. An
  // answer recorded "after" nowMs (the caller's clock went back) counts as sent just now.
  bool Allow(std::uint32_t address, std::uint64_t nowMs);

  // The answers remembered: those of the last kPerSenderMs. Never above kMaxRecords.
  std::size_t RecordCount() const { return sent_.size(); }

 private:
  struct Sent {
    std::uint32_t address;
    std::uint64_t ms;
  };
  std::vector<Sent> sent_;  // oldest first
};

}  // namespace lobby
