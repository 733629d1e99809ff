// The timer service with real system timers and a pumped message loop. Timing margins
// are wide on purpose: the tests assert counts and orders, never exact milliseconds.
#include "tray/SimpleTimer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "MessagePump.h"

namespace {

using tray::SharedTimerHandler;
using tray::TSimpleTimer;
using traytest::PumpFor;
using traytest::PumpUntil;

// A timer that counts its ticks.
struct CountedTimer {
  int ticks = 0;
  TSimpleTimer timer{50, [this](TSimpleTimer&) { ++ticks; }};
};

TEST(SimpleTimerHandler, OneWindowForAllTimersLivesAsLongAsTheyDo) {
  ASSERT_EQ(SharedTimerHandler(), nullptr);
  HWND first = nullptr;
  {
    TSimpleTimer a;
    ASSERT_NE(SharedTimerHandler(), nullptr);
    first = SharedTimerHandler()->HiddenWindow();
    EXPECT_TRUE(IsWindow(first));
    {
      TSimpleTimer b(10, nullptr);
      EXPECT_EQ(SharedTimerHandler()->UserCount(), 2u);
      EXPECT_EQ(SharedTimerHandler()->HiddenWindow(), first);
      EXPECT_NE(a.TimerId(), b.TimerId());
    }
    EXPECT_EQ(SharedTimerHandler()->UserCount(), 1u);
    EXPECT_TRUE(IsWindow(first));
  }
  EXPECT_EQ(SharedTimerHandler(), nullptr);
  EXPECT_FALSE(IsWindow(first));

  // A later timer brings a new handler with a working window.
  CountedTimer c;
  ASSERT_NE(SharedTimerHandler(), nullptr);
  EXPECT_TRUE(IsWindow(SharedTimerHandler()->HiddenWindow()));
  EXPECT_TRUE(c.timer.Arm());
  EXPECT_TRUE(PumpUntil([&] { return c.ticks >= 2; }, 5000));
}

// Refuses every window made on this thread while it is installed.
class RefuseWindows {
 public:
  RefuseWindows()
      : hook_(SetWindowsHookExA(WH_CBT, &Refuse, nullptr, GetCurrentThreadId())) {}
  ~RefuseWindows() { UnhookWindowsHookEx(hook_); }

 private:
  static LRESULT CALLBACK Refuse(int code, WPARAM wParam, LPARAM lParam) {
    return code == HCBT_CREATEWND ? 1 : CallNextHookEx(nullptr, code, wParam, lParam);
  }
  HHOOK hook_;
};

// A handler whose window cannot be made is not kept: the error reaches the first user, and
// the next one gets a handler with a window.
TEST(SimpleTimerHandler, AWindowThatCannotBeMadeLeavesNoHandlerBehind) {
  ASSERT_EQ(SharedTimerHandler(), nullptr);
  {
    RefuseWindows refuse;
    EXPECT_ANY_THROW(tray::AcquireTimerHandler());
  }
  EXPECT_EQ(SharedTimerHandler(), nullptr);
  CountedTimer c;
  ASSERT_NE(SharedTimerHandler(), nullptr);
  EXPECT_EQ(SharedTimerHandler()->UserCount(), 1u);
  EXPECT_TRUE(IsWindow(SharedTimerHandler()->HiddenWindow()));
  EXPECT_TRUE(c.timer.Arm());
  EXPECT_TRUE(PumpUntil([&] { return c.ticks >= 1; }, 5000));
}

TEST(SimpleTimer, StartsStoppedWithItsDefaults) {
  TSimpleTimer plain;
  EXPECT_FALSE(plain.Active());
  EXPECT_EQ(plain.Period(), 1000u);
  EXPECT_FALSE(plain.OneShot());
  EXPECT_FALSE(plain.OnElapsed());
  EXPECT_FALSE(plain.Disarm(true)) << "stopping a stopped timer reports nothing was running";
}

TEST(SimpleTimer, PeriodZeroNeverStarts) {
  int ticks = 0;
  TSimpleTimer timer(0, [&](TSimpleTimer&) { ++ticks; });
  timer.SetActive(true);
  EXPECT_FALSE(timer.Active());
  EXPECT_FALSE(timer.Arm());
  PumpFor(200);
  EXPECT_EQ(ticks, 0);
}

TEST(SimpleTimer, PeriodZeroSilencesARunningTimerUntilANewPeriod) {
  CountedTimer c;
  c.timer.SetActive(true);
  ASSERT_TRUE(PumpUntil([&] { return c.ticks >= 1; }, 5000));

  c.timer.SetPeriod(0);
  EXPECT_TRUE(c.timer.Active()) << "still meant to run";
  c.ticks = 0;
  PumpFor(300);
  EXPECT_EQ(c.ticks, 0);

  c.timer.SetPeriod(100);
  EXPECT_TRUE(c.timer.Active());
  EXPECT_TRUE(PumpUntil([&] { return c.ticks >= 2; }, 5000));
}

TEST(SimpleTimer, SamePeriodKeepsTheCountdownWhileArmAndNewPeriodRestartIt) {
  // Each of the three is poked every 40 ms, well inside its 300 ms period. Only the one
  // whose countdown is left alone can ever reach a tick.
  int kept = 0, rearmed = 0, changed = 0;
  TSimpleTimer keep(300, [&](TSimpleTimer&) { ++kept; });
  TSimpleTimer rearm(300, [&](TSimpleTimer&) { ++rearmed; });
  TSimpleTimer change(300, [&](TSimpleTimer&) { ++changed; });
  keep.Arm();
  rearm.Arm();
  change.Arm();
  for (int i = 0; i < 30; ++i) {
    PumpFor(40);
    keep.SetPeriod(300);
    rearm.Arm();
    change.SetPeriod(change.Period() == 300 ? 301 : 300);
  }
  EXPECT_GE(kept, 2);
  EXPECT_EQ(rearmed, 0);
  EXPECT_EQ(changed, 0);
  EXPECT_TRUE(rearm.Active());
  EXPECT_TRUE(change.Active());
}

TEST(SimpleTimer, RemovingTheCallbackSilencesUntilArmedAgain) {
  CountedTimer c;
  c.timer.Arm();
  ASSERT_TRUE(PumpUntil([&] { return c.ticks >= 1; }, 5000));

  c.timer.SetOnElapsed(nullptr);
  EXPECT_TRUE(c.timer.Active());
  c.timer.SetOnElapsed([&](TSimpleTimer&) { ++c.ticks; });
  c.ticks = 0;
  PumpFor(300);
  EXPECT_EQ(c.ticks, 0) << "a new callback alone does not restart the timer";

  EXPECT_TRUE(c.timer.Arm());
  EXPECT_TRUE(PumpUntil([&] { return c.ticks >= 1; }, 5000));
}

TEST(SimpleTimer, ArmedWithoutCallbackTicksHarmlessly) {
  TSimpleTimer silent(20, nullptr);
  EXPECT_TRUE(silent.Arm());
  PumpFor(150);
  EXPECT_TRUE(silent.Active());
  EXPECT_TRUE(silent.Disarm(true)) << "the system timer was running all along";
  EXPECT_FALSE(silent.Active());
}

TEST(SimpleTimer, EqualPeriodsTickIndependentlyEachWithItsOwnSender) {
  std::vector<TSimpleTimer*> senders;
  auto record = [&](TSimpleTimer& sender) { senders.push_back(&sender); };
  TSimpleTimer a(40, record);
  TSimpleTimer b(40, record);
  a.Arm();
  b.Arm();
  auto count = [&](TSimpleTimer* t) { return std::count(senders.begin(), senders.end(), t); };
  ASSERT_TRUE(PumpUntil([&] { return count(&a) >= 3 && count(&b) >= 3; }, 5000));

  b.SetActive(false);
  const auto bTicks = count(&b);
  const auto aTicks = count(&a);
  PumpUntil([&] { return count(&a) >= aTicks + 3; }, 5000);
  EXPECT_GE(count(&a), aTicks + 3);
  EXPECT_EQ(count(&b), bTicks);
}

TEST(SimpleTimer, OneShotStopsBeforeItsCallback) {
  int ticks = 0;
  bool activeInCallback = true;
  TSimpleTimer timer(20, [&](TSimpleTimer& t) {
    ++ticks;
    activeInCallback = t.Active();
  });
  timer.SetOneShot(true);
  timer.Arm();
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 1; }, 5000));
  PumpFor(200);
  EXPECT_EQ(ticks, 1);
  EXPECT_FALSE(activeInCallback);
  EXPECT_FALSE(timer.Active());
}

TEST(SimpleTimer, CallbackMayStopRearmOrDestroyItsOwnTimer) {
  // Stops itself on the first tick.
  int stops = 0;
  TSimpleTimer stopper(20, [&](TSimpleTimer& t) {
    ++stops;
    t.SetActive(false);
  });
  // Slows itself down on the first tick and stops on the third.
  std::vector<UINT> periodsSeen;
  TSimpleTimer slower(20, [&](TSimpleTimer& t) {
    periodsSeen.push_back(t.Period());
    if (periodsSeen.size() == 1) t.SetPeriod(60);
    if (periodsSeen.size() == 3) t.Disarm(true);
  });
  stopper.Arm();
  slower.Arm();
  PumpUntil([&] { return periodsSeen.size() >= 3; }, 5000);
  PumpFor(200);
  EXPECT_EQ(stops, 1);
  EXPECT_EQ(periodsSeen, (std::vector<UINT>{20, 60, 60}));

}

TEST(SimpleTimer, CallbackMayDestroyTheLastTimerAndWithItTheWindow) {
  int ticks = 0;
  std::unique_ptr<TSimpleTimer> only;
  only = std::make_unique<TSimpleTimer>(20, [&](TSimpleTimer&) {
    ++ticks;
    only.reset();
  });
  const HWND window = SharedTimerHandler()->HiddenWindow();
  only->Arm();
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 1; }, 5000));
  PumpFor(100);
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(SharedTimerHandler(), nullptr);
  EXPECT_FALSE(IsWindow(window));
}

TEST(SimpleTimer, TicksForUnknownOrDeadTimersAreIgnored) {
  int ticks = 0;
  TSimpleTimer live(1000, [&](TSimpleTimer&) { ++ticks; });
  UINT_PTR deadId = 0;
  {
    TSimpleTimer dead(1000, [&](TSimpleTimer&) { ++ticks; });
    deadId = dead.TimerId();
  }
  const HWND window = SharedTimerHandler()->HiddenWindow();
  EXPECT_EQ(SendMessageA(window, WM_TIMER, deadId, 0), 0);
  EXPECT_EQ(SendMessageA(window, WM_TIMER, 0xBADC0DE, 0), 0);
  EXPECT_EQ(ticks, 0);
  // The same path delivers a tick for the live timer, whether or not it is running.
  SendMessageA(window, WM_TIMER, live.TimerId(), 0);
  EXPECT_EQ(ticks, 1);
}

}  // namespace
