// When the lobby announces: three at opening a second apart, then every 4 s give or take
// 0.4 s, the same times for the same seed, no burst after a late timer, and a bounded count
// in the first minute.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "lobby/AnnounceSchedule.h"

using lobby::AnnounceSchedule;

namespace {

// The announcement times of the first `window` ms, for a timer that fires every `tickMs`.
std::vector<std::uint64_t> SentTimes(std::uint64_t seed, std::uint64_t window,
                                     std::uint64_t tickMs = 1) {
  constexpr std::uint64_t kOpened = 123456;
  AnnounceSchedule schedule(kOpened, seed);
  std::vector<std::uint64_t> times;
  for (std::uint64_t now = kOpened; now < kOpened + window; now += tickMs) {
    if (!schedule.Due(now)) continue;
    schedule.Sent(now);
    times.push_back(now - kOpened);
  }
  return times;
}

TEST(AnnounceSchedule, ThreeAtOpeningThenEveryFourSecondsWithJitter) {
  const std::vector<std::uint64_t> times = SentTimes(1, 3600000);
  ASSERT_GT(times.size(), 800u);
  EXPECT_EQ(times[0], 0u);
  EXPECT_EQ(times[1], 1000u);
  EXPECT_EQ(times[2], 2000u);
  std::uint64_t shortest = UINT64_MAX, longest = 0;
  for (std::size_t i = 3; i < times.size(); ++i) {
    shortest = std::min(shortest, times[i] - times[i - 1]);
    longest = std::max(longest, times[i] - times[i - 1]);
  }
  EXPECT_GE(shortest, 3600u);
  EXPECT_LE(longest, 4400u);
  // Over 800 draws the jitter reaches near both ends.
  EXPECT_LT(shortest, 3620u);
  EXPECT_GT(longest, 4380u);
}

TEST(AnnounceSchedule, TheSeedAloneDecidesTheTimes) {
  EXPECT_EQ(SentTimes(7, 600000), SentTimes(7, 600000));
  EXPECT_NE(SentTimes(7, 600000), SentTimes(8, 600000));
}

TEST(AnnounceSchedule, ALateTimerBringsNoBurst) {
  AnnounceSchedule schedule(0, 1);
  schedule.Sent(0);
  EXPECT_FALSE(schedule.Due(999));
  EXPECT_TRUE(schedule.Due(1000));
  schedule.Sent(9000);  // the timer was 8 s late
  EXPECT_EQ(schedule.NextMs(), 10000u);
  EXPECT_FALSE(schedule.Due(9999));
}

TEST(AnnounceSchedule, FifteenToTwentyInTheFirstMinute) {
  for (std::uint64_t seed = 0; seed < 100; ++seed) {
    for (std::uint64_t tick : {1, 100, 250}) {
      const std::size_t count = SentTimes(seed, 60000, tick).size();
      EXPECT_GE(count, 15u) << "seed " << seed << ", tick " << tick;
      EXPECT_LE(count, 20u) << "seed " << seed << ", tick " << tick;
    }
  }
}

TEST(AnnounceSchedule, AClockGoingBackMakesItDueAtOnce) {
  AnnounceSchedule schedule(50000, 1);
  schedule.Sent(50000);
  EXPECT_TRUE(schedule.Due(49999));
  schedule.Sent(100);
  EXPECT_EQ(schedule.NextMs(), 1100u);
  EXPECT_FALSE(schedule.Due(1099));
}

}  // namespace
