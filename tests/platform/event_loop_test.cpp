// The loop, delay and the loop-driven timers on the headless platform's virtual clock, where
// every time can be checked exactly.
#include "platform/event_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "platform/headless_platform.h"

namespace fruvana {
namespace {

class LoopTest : public testing::Test {
  protected:
    HeadlessPlatform platform{HeadlessOptions{.startMs = 1000}};
    EventLoop loop{platform};
    std::vector<std::pair<std::uint64_t, InputEvent>> seen;

    void SetUp() override {
        loop.onInput = [this](const InputEvent& e) { seen.emplace_back(loop.nowMs(), e); };
    }
};

TEST_F(LoopTest, DelayWaitsExactlyAndSleepsInsteadOfSpinning) {
    loop.delay(5000);
    EXPECT_EQ(loop.nowMs(), 6000u);
    EXPECT_EQ(platform.totalWaitedMs(), 5000u);
    loop.delay(0);  // still handles what is pending, and takes no time
    EXPECT_EQ(loop.nowMs(), 6000u);
}

TEST_F(LoopTest, HandlersRunNestedInsideADelay) {
    std::vector<std::string> trace;
    platform.script(1100, InputEvent::mouseDown(10, 20));
    platform.script(1200, InputEvent::typed(U'c'));
    platform.script(1300, InputEvent::enter());
    loop.onInput = [&](const InputEvent& e) {
        if (e.kind == InputKind::MouseDown) {
            trace.push_back("press at " + std::to_string(loop.nowMs()));
            loop.delay(500);  // the handler waits too; the next input arrives inside it
            trace.push_back("press done at " + std::to_string(loop.nowMs()));
        } else {
            trace.push_back("key at " + std::to_string(loop.nowMs()));
        }
    };
    loop.delay(1000);
    EXPECT_EQ(trace, (std::vector<std::string>{"press at 1100", "key at 1200", "key at 1300",
                                               "press done at 1600"}));
    // The outer wait ends on its own deadline, even though the nested one ran past nothing.
    EXPECT_EQ(loop.nowMs(), 2000u);
}

TEST_F(LoopTest, PumpHandlesWhatIsPendingOnceAndPaints) {
    int paints = 0;
    loop.onPaint = [&] { ++paints; };
    platform.script(1000, InputEvent::wheelStep(1));
    platform.script(1000, InputEvent::wheelStep(-1));
    platform.script(1001, InputEvent::closeRequest());
    loop.pumpPending();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].second, InputEvent::wheelStep(1));
    EXPECT_EQ(seen[1].second, InputEvent::wheelStep(-1));
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(loop.nowMs(), 1000u);
    EXPECT_EQ(platform.pendingScript(), 1u);
}

TEST_F(LoopTest, PostedTasksRunOnTheLoop) {
    std::vector<int> order;
    loop.post([&] {
        order.push_back(1);
        loop.post([&] { order.push_back(3); });  // waits for the next pump
    });
    loop.post([&] { order.push_back(2); });
    loop.pumpPending();
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    loop.pumpPending();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST_F(LoopTest, RunEndsOnQuit) {
    loop.onInput = [&](const InputEvent& e) {
        if (e.kind == InputKind::CloseRequest) loop.quit();
    };
    platform.script(4000, InputEvent::closeRequest());
    loop.run();
    EXPECT_EQ(loop.nowMs(), 4000u);
}

TEST_F(LoopTest, UiTimersTickOnTheirIntervalsOnlyWhileEnabled) {
    UiTimer autoplayTimer(loop, 4000);
    UiTimer introTimer(loop, 3500);
    EXPECT_FALSE(autoplayTimer.enabled());
    EXPECT_FALSE(introTimer.enabled());
    std::vector<std::string> ticks;
    autoplayTimer.onTimer = [&](UiTimer&) { ticks.push_back("1@" + std::to_string(loop.nowMs())); };
    introTimer.onTimer = [&](UiTimer& self) {
        ticks.push_back("2@" + std::to_string(loop.nowMs()));
        self.setEnabled(false);  // the intro timer runs once
    };
    loop.delay(10000);
    EXPECT_TRUE(ticks.empty());
    autoplayTimer.setEnabled(true);  // at 11000
    introTimer.setEnabled(true);
    loop.delay(9000);
    EXPECT_EQ(ticks, (std::vector<std::string>{"2@14500", "1@15000", "1@19000"}));
    ticks.clear();
    autoplayTimer.setInterval(1000);  // a change restarts the wait from now (20000)
    loop.delay(1500);
    EXPECT_EQ(ticks, (std::vector<std::string>{"1@21000"}));
    ticks.clear();
    autoplayTimer.setInterval(0);
    loop.delay(5000);
    EXPECT_TRUE(ticks.empty());
    EXPECT_TRUE(autoplayTimer.enabled());
}

TEST_F(LoopTest, UiTimerMayDestroyItselfInItsHandler) {
    auto timer = std::make_unique<UiTimer>(loop, 100);
    UiTimer other(loop, 100);
    int otherTicks = 0;
    other.onTimer = [&](UiTimer&) { ++otherTicks; };
    other.setEnabled(true);
    timer->onTimer = [&](UiTimer&) { timer.reset(); };
    timer->setEnabled(true);
    loop.delay(350);
    EXPECT_FALSE(timer);
    EXPECT_EQ(otherTicks, 3);
}

// The frame timer's rules, exactly, on the virtual clock.
class LoopFrameTimerTest : public LoopTest {
  protected:
    LoopFrameTimer timer{loop};
    std::vector<std::uint64_t> ticks;
    void SetUp() override {
        LoopTest::SetUp();
        timer.setInterval(30);
        timer.onTimer = [this](FrameTimer&) { ticks.push_back(loop.nowMs()); };
    }
};

TEST_F(LoopFrameTimerTest, FirstTickOneIntervalAfterEnablingThenAfterEachHandlerReturns) {
    EXPECT_FALSE(timer.enabled());
    loop.delay(100);
    EXPECT_TRUE(ticks.empty());
    timer.onTimer = [this](FrameTimer&) {
        ticks.push_back(loop.nowMs());
        loop.delay(10);  // a slow tick stretches the period; ticks never overlap or catch up
    };
    timer.setEnabled(true);  // at 1100
    timer.setEnabled(true);  // nothing: no restart
    loop.delay(125);
    EXPECT_EQ(ticks, (std::vector<std::uint64_t>{1130, 1170, 1210}));
}

TEST_F(LoopFrameTimerTest, HandlerThatDisablesGetsNoFurtherTickUntilReenabled) {
    timer.onTimer = [this](FrameTimer& self) {
        ticks.push_back(loop.nowMs());
        if (ticks.size() == 2) self.setEnabled(false);
    };
    timer.setEnabled(true);
    loop.delay(200);
    EXPECT_EQ(ticks, (std::vector<std::uint64_t>{1030, 1060}));
    timer.setEnabled(true);  // at 1200
    loop.delay(31);
    EXPECT_EQ(ticks.back(), 1230u);
}

TEST_F(LoopFrameTimerTest, IntervalChangeRestartsTheWait) {
    timer.setEnabled(true);
    loop.delay(40);         // tick at 1030, next due at 1060
    timer.setInterval(30);  // same value: nothing
    loop.delay(10);
    timer.setInterval(50);  // at 1050: the 1060 tick is dropped
    loop.delay(60);
    EXPECT_EQ(ticks, (std::vector<std::uint64_t>{1030, 1100}));
}

TEST_F(LoopFrameTimerTest, ZeroIntervalRunsOnlyWhenAllowed) {
    timer.setInterval(0);
    timer.setEnabled(true);
    loop.delay(100);
    EXPECT_TRUE(timer.enabled());
    EXPECT_TRUE(ticks.empty());
    timer.setEnabled(false);
    timer.setAllowZero(true);
    timer.setEnabled(true);
    loop.delay(10);
    EXPECT_GE(ticks.size(), 5u);
}

TEST_F(LoopFrameTimerTest, ThrowingHandlerKeepsTickingAndSaysSoAtEachTick) {
    timer.onTimer = [this](FrameTimer&) {
        ticks.push_back(loop.nowMs());
        throw std::runtime_error("tick failed");
    };
    timer.setEnabled(true);
    testing::internal::CaptureStderr();
    loop.delay(100);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(ticks, (std::vector<std::uint64_t>{1030, 1060, 1090}));
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 3) << said;
    EXPECT_NE(said.find("tick failed\n"), std::string::npos) << said;
}

// Whatever a UI timer's handler throws costs that tick only, and each loss says so in a line.
TEST_F(LoopTest, AUiTimerWhoseHandlerThrowsAnythingLosesOnlyThatTick) {
    UiTimer timer(loop, 100);
    int ticks = 0;
    timer.onTimer = [&](UiTimer&) {
        ++ticks;
        throw 7;
    };
    timer.setEnabled(true);
    testing::internal::CaptureStderr();
    loop.delay(250);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(said.rfind("Fruvana: ", 0), 0u) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << said;
}

TEST_F(LoopTest, LoopFrameTimerMayBeDestroyedInsideItsHandler) {
    auto owned = std::make_unique<LoopFrameTimer>(loop);
    int ticks = 0;
    owned->setInterval(30);
    owned->onTimer = [&](FrameTimer& self) {
        ++ticks;
        self.setEnabled(false);
        owned.reset();
    };
    owned->setEnabled(true);
    loop.delay(200);
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(owned);
}

TEST(HeadlessPlatform, RecordsWhatItWasAskedToShowAndOpen) {
    HeadlessPlatform platform(HeadlessOptions{.screen = {40, 30, 24}});
    EXPECT_FALSE(platform.windowOpen());
    ASSERT_TRUE(platform.openWindow("Fruvana"));
    EXPECT_EQ(platform.backBuffer().width(), 40);
    EXPECT_EQ(platform.backBuffer().height(), 30);
    platform.backBuffer().fill({200, 100, 50});
    const Rect parts[] = {{0, 0, 10, 10}, {35, 25, 100, 100}, {-50, -50, 10, 10}};
    platform.present(parts);
    EXPECT_EQ(platform.frame().pixel(5, 5), (Rgb{200, 100, 50}));
    EXPECT_EQ(platform.frame().pixel(39, 29), (Rgb{200, 100, 50}));
    EXPECT_EQ(platform.frame().pixel(20, 20), (Rgb{0, 0, 0}));  // never presented
    ASSERT_EQ(platform.presents().size(), 1u);
    EXPECT_EQ(platform.presents()[0], (std::vector<Rect>{{0, 0, 10, 10}, {35, 25, 5, 5}}));
    EXPECT_TRUE(platform.openUrl("file:///tmp/help.htm"));
    EXPECT_EQ(platform.openedUrls(), std::vector<std::string>{"file:///tmp/help.htm"});
}

}  // namespace
}  // namespace fruvana
