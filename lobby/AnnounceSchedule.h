// When the lobby announces itself: three quick announcements as the players window opens (so
// copies find each other within seconds), then one every kIntervalMs with a jitter, so copies
// opened together do not keep announcing in step. Only the times; the caller sends.
#pragma once

#include <cstdint>

namespace lobby {

class AnnounceSchedule {
 public:
  static constexpr std::uint64_t kIntervalMs = 4000;
  static constexpr std::uint64_t kJitterMs = 400;
  // The gap between the three opening announcements.
  static constexpr std::uint64_t kOpeningGapMs = 1000;
  static constexpr unsigned kOpeningAnnouncements = 3;

  // seed picks the jitter; the same seed always gives the same intervals (a small PRNG of
  // our own, not <random>, whose distributions differ between standard libraries).
  AnnounceSchedule(std::uint64_t openedMs, std::uint64_t seed);

  // Whether an announcement is due: NextMs() has come, or the clock went back before the
  // last one (announce now instead of waiting for the clock to catch up).
  bool Due(std::uint64_t nowMs) const;

  // An announcement went at nowMs: the next is reckoned from now, so a late timer never
  // brings a burst of overdue announcements. Opening ones are kOpeningGapMs apart, the rest
  // kIntervalMs plus a jitter in [-kJitterMs, +kJitterMs].
  void Sent(std::uint64_t nowMs);

  // When the next announcement is due (at first openedMs).
  std::uint64_t NextMs() const { return nextMs_; }

 private:
  std::uint64_t state_;
  std::uint64_t lastMs_;
  std::uint64_t nextMs_;
  // Opening announcements still to follow one kOpeningGapMs after the one before.
  unsigned gapsLeft_ = kOpeningAnnouncements - 1;
};

}  // namespace lobby
