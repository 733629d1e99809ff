// The send limits, over a short list of the sends of the last two seconds: the overall limit
// keeps that list to a few entries, so a linear look is cheaper than any index.
#include "lobby/SendLimiter.h"

#include <algorithm>

namespace lobby {

bool SendLimiter::Allow(Endpoint to, std::uint64_t nowMs) {
  for (Sent& sent : sent_) sent.ms = std::min(sent.ms, nowMs);
  std::erase_if(sent_, [nowMs](const Sent& sent) { return nowMs - sent.ms >= kPerTargetMs; });

  unsigned inLastSecond = 0;
  for (const Sent& sent : sent_) {
    if (sent.to == to) return false;
    if (nowMs - sent.ms < 1000) ++inLastSecond;
  }
  if (inLastSecond >= kMaxPerSecond || sent_.size() >= kMaxRecords) return false;
  sent_.push_back({to, nowMs});
  return true;
}

}  // namespace lobby
