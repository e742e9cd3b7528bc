#include <gtest/gtest.h>

#include "iface/InterfaceTimer.h"
#include "iface/InterfaceWindowFixture.h"

using namespace tamber;
using namespace tamber::test;

namespace {

struct TimerFixture : InterfaceFixture {
    explicit TimerFixture(bool cycles, int32_t interval = 250)
    {
        window = Open(Record(1, [&](InterfaceObject& self) {
            SetLong(self, "TimerInterval", interval);
            self.SetAttribute("TimerCycles", ValueType::Boolean, AttributeValue::OfBoolean(cycles));
        }));
        host.events.clear();
    }
    std::vector<RecordingScriptHost::Raised> Ticks() const
    {
        std::vector<RecordingScriptHost::Raised> ticks;
        for (const auto& raised : EventsOf(window->Interface())) {
            if (raised.name == "Timer")
                ticks.push_back(raised);
        }
        return ticks;
    }
    std::unique_ptr<InterfaceWindow> window;
};

}  // namespace

TEST(InterfaceTimer, OneShotTimerFiresOnceWithItsIntervalAndId)
{
    TimerFixture f(false);
    Invoke(*f.window->Interface(), "TimerStart", {AttributeValue::OfLong(7)});
    f.ui.app.RunFor(2000);
    auto ticks = f.Ticks();
    ASSERT_EQ(ticks.size(), 1u);
    EXPECT_EQ(ticks[0].longs, (std::vector<int32_t> {250, 7}));
    EXPECT_FALSE(f.window->TimerRunning());
}

TEST(InterfaceTimer, CyclingTimerRepeatsUntilStoppedAndIgnoresASecondStart)
{
    TimerFixture f(true);
    Invoke(*f.window->Interface(), "TimerStart", {AttributeValue::OfLong(2)});
    // A second start while running changes neither the id nor the start tick.
    f.ui.app.RunFor(100);
    Invoke(*f.window->Interface(), "TimerStart", {AttributeValue::OfLong(9)});
    f.ui.app.RunFor(900);
    auto ticks = f.Ticks();
    ASSERT_EQ(ticks.size(), 4u);
    for (size_t i = 0; i < ticks.size(); ++i)
        EXPECT_EQ(ticks[i].longs, (std::vector<int32_t> {250 * static_cast<int32_t>(i + 1), 2}));
    Invoke(*f.window->Interface(), "TimerStop");
    f.ui.app.RunFor(1000);
    EXPECT_EQ(f.Ticks().size(), 4u);
}

TEST(InterfaceTimer, NewIntervalRestartsARunningTimer)
{
    TimerFixture f(true, 1000);
    Invoke(*f.window->Interface(), "TimerStart", {AttributeValue::OfLong(1)});
    f.ui.app.RunFor(600);
    SetLong(*f.window->Interface(), "TimerInterval", 100);
    f.ui.app.RunFor(100);
    auto ticks = f.Ticks();
    ASSERT_EQ(ticks.size(), 1u);
    // Ticks count from TimerStart, not from the restart.
    EXPECT_EQ(ticks[0].longs[0], 700);
}

TEST(InterfaceTimer, StartTickAndIdAreSharedByAllInterfaces)
{
    TimerFixture f(true, 500);
    auto second = f.Open(InterfaceFixture::Record(1, [](InterfaceObject& self) { SetLong(self, "TimerInterval", 300); }));
    Invoke(*f.window->Interface(), "TimerStart", {AttributeValue::OfLong(1)});
    f.ui.app.RunFor(200);
    Invoke(*second->Interface(), "TimerStart", {AttributeValue::OfLong(2)});
    EXPECT_EQ(InterfaceTimer::TimerId(), 2);
    f.ui.app.RunFor(300);
    auto ticks = f.Ticks();
    ASSERT_EQ(ticks.size(), 1u);
    // The first Interface's tick at 500 ms reports the second start (at 200 ms).
    EXPECT_EQ(ticks[0].longs, (std::vector<int32_t> {300, 2}));
}

TEST(InterfaceTimer, NoWindowNoTimer)
{
    RecordingScriptHost host;
    InterfaceObject loose;
    Invoke(loose, "TimerStart", {AttributeValue::OfLong(3)});
    Invoke(loose, "TimerStop");
    EXPECT_TRUE(host.events.empty());
}

namespace {

// A host that can pretend a script error message is on screen and notes the timer base.
class ErrorShowingHost : public RecordingScriptHost {
public:
    bool InError() const override { return showing; }
    void SetTimerBase(uint32_t tick) override { base = tick; }
    bool showing = false;
    uint32_t base = 0;
};

}  // namespace

TEST(InterfaceTimer, ATickDuringAScriptErrorStopsTheTimerSilently)
{
    ui::test::UiHarness ui;
    ErrorShowingHost host;
    auto window = InterfaceWindow::OpenTopLevel(nullptr,
        InterfaceFixture::Record(1, [](InterfaceObject& self) {
            SetLong(self, "TimerInterval", 100);
            self.SetAttribute("TimerCycles", ValueType::Boolean, AttributeValue::OfBoolean(true));
        }),
        {});
    ASSERT_NE(window, nullptr);
    ui.app.RunFor(50);
    Invoke(*window->Interface(), "TimerStart", {AttributeValue::OfLong(1)});
    EXPECT_EQ(host.base, ui.clock.TickCount());
    ui.app.RunFor(100);
    host.showing = true;
    ui.app.RunFor(500);
    EXPECT_FALSE(window->TimerRunning());
    int ticks = 0;
    for (const auto& raised : host.events)
        ticks += raised.name == "Timer";
    EXPECT_EQ(ticks, 1);
}
