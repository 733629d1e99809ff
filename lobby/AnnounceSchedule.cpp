// The announcement times, with splitmix64 for the jitter.
#include "lobby/AnnounceSchedule.h"

#include "lobby/Mix64.h"

namespace lobby {

AnnounceSchedule::AnnounceSchedule(std::uint64_t openedMs, std::uint64_t seed)
    : state_(seed), lastMs_(openedMs), nextMs_(openedMs) {}

bool AnnounceSchedule::Due(std::uint64_t nowMs) const {
  return nowMs >= nextMs_ || nowMs < lastMs_;
}

void AnnounceSchedule::Sent(std::uint64_t nowMs) {
  lastMs_ = nowMs;
  if (gapsLeft_ > 0) {
    --gapsLeft_;
    nextMs_ = nowMs + kOpeningGapMs;
    return;
  }
  // 2^64 is not a multiple of the 801 jitter values; the bias is below 1 in 10^16.
  const std::uint64_t jitter = Mix64(state_ += 0x9E3779B97F4A7C15u) % (2 * kJitterMs + 1);
  nextMs_ = nowMs + kIntervalMs - kJitterMs + jitter;
}

}  // namespace lobby
