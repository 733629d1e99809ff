// The timer component: ticks while enabled, stops when disabled or freed, and an error in
// a tick goes to the error box while the timer keeps running.
#include "wingui/Timer.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "TestSupport.h"

namespace {

using namespace wingui;
using wingui_test::BoxRecorder;
using wingui_test::PumpFor;
using wingui_test::PumpUntil;

TEST(Timer, TicksWhileEnabledAndNotAfter) {
  BoxRecorder boxes;
  Component owner(nullptr);
  auto* timer = new Timer(&owner);
  EXPECT_EQ(timer->Interval(), 1000u);
  EXPECT_TRUE(timer->Enabled());
  int ticks = 0;
  timer->OnTimer = [&] { ++ticks; };
  timer->SetInterval(20);
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }));

  timer->SetEnabled(false);
  const int stopped = ticks;
  PumpFor(150);
  EXPECT_EQ(ticks, stopped);

  timer->SetEnabled(true);
  EXPECT_TRUE(PumpUntil([&] { return ticks > stopped; }));
  timer->SetInterval(0);
  const int zero = ticks;
  PumpFor(150);
  EXPECT_EQ(ticks, zero) << "an interval of 0 stops the timer";
}

TEST(Timer, ErrorInATickIsShownAndTicksGoOn) {
  BoxRecorder boxes;
  Component owner(nullptr);
  auto* timer = new Timer(&owner);
  int ticks = 0;
  timer->OnTimer = [&] {
    if (++ticks == 1) throw std::runtime_error("tick failed");
  };
  timer->SetInterval(20);
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }));
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text, "tick failed.");
}

}  // namespace
