// Window framework: painting a window of 50 standard controls, headless (target: under 2 ms).
#include <benchmark/benchmark.h>

#include <memory>

#include "platform/clock/VirtualClock.h"
#include "platform/display/HeadlessDisplay.h"
#include "platform/fonts/FreeTypeFontSource.h"
#include "ui/Application.h"
#include "ui/ButtonControl.h"
#include "ui/ComboBoxControl.h"
#include "ui/EditControl.h"
#include "ui/ListBoxControl.h"
#include "ui/ScrollBarControl.h"
#include "ui/TFramedWindow.h"

namespace {

using namespace tamber;
using namespace tamber::ui;

// Ten rows of five controls: push button, check box, edit box, list box, scroll bar / combo box.
void AddFiftyControls(TFramedWindow& window)
{
    for (int row = 0; row < 10; ++row) {
        int32_t y = 8 + row * 42;
        auto push = std::make_unique<ButtonControl>();
        push->Create(&window, "Button " + std::to_string(row), gfx::Rect::FromSize(8, y, 90, 24), Visibility::Shown);
        window.Adopt(std::move(push));
        auto check = std::make_unique<ButtonControl>(row % 2 ? ButtonKind::Check3d : ButtonKind::Radio);
        check->Create(&window, "Option", gfx::Rect::FromSize(106, y, 100, 20), Visibility::Shown);
        check->SetCheck(row % 3 == 0);
        window.Adopt(std::move(check));
        auto edit = std::make_unique<EditControl>();
        edit->Create(&window, "", gfx::Rect::FromSize(214, y, 120, 22), Visibility::Shown);
        edit->SetText("Some text " + std::to_string(row));
        window.Adopt(std::move(edit));
        auto list = std::make_unique<ListBoxControl>();
        list->Create(&window, "", gfx::Rect::FromSize(342, y, 120, 38), Visibility::Shown);
        for (int i = 0; i < 5; ++i)
            list->AddString("Item " + std::to_string(i));
        window.Adopt(std::move(list));
        if (row % 2) {
            auto combo = std::make_unique<ComboBoxControl>();
            combo->Create(&window, "", gfx::Rect::FromSize(470, y, 120, 22), Visibility::Shown);
            combo->AddString("Choice");
            combo->SetCurSel(0);
            window.Adopt(std::move(combo));
        } else {
            auto bar = std::make_unique<ScrollBarControl>(Orientation::Horizontal);
            bar->Create(&window, "", gfx::Rect::FromSize(470, y, 120, 16), Visibility::Shown);
            bar->SetPos(40);
            window.Adopt(std::move(bar));
        }
    }
}

struct Fixture {
    HeadlessDisplay display { 1024, 768, ScreenDepth::Direct24 };
    VirtualClock clock;
    FreeTypeFontSource fonts;
    Application app { display, clock, &fonts };
};

void BM_RepaintFiftyControls(benchmark::State& state)
{
    Fixture f;
    TFramedWindow window(5);
    window.CreateFramed(nullptr, "Fifty", gfx::Rect::FromSize(10, 10, 610, 460), Placement::AsGiven, Visibility::Shown);
    AddFiftyControls(window);
    f.app.ProcessPending();
    for (auto _ : state) {
        window.Invalidate();
        window.InvalidateFrame();
        f.app.PaintAll();
        f.app.Present();
    }
    state.counters["controls"] = 50;
}
BENCHMARK(BM_RepaintFiftyControls)->Unit(benchmark::kMillisecond);

void BM_CreateAndPaintFiftyControls(benchmark::State& state)
{
    Fixture f;
    for (auto _ : state) {
        TFramedWindow window(5);
        window.CreateFramed(nullptr, "Fifty", gfx::Rect::FromSize(10, 10, 610, 460), Placement::AsGiven, Visibility::Shown);
        AddFiftyControls(window);
        f.app.PaintAll();
        f.app.Present();
        window.Destroy();
    }
}
BENCHMARK(BM_CreateAndPaintFiftyControls)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
