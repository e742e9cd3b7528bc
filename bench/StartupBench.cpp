// Start-up of the player, headless: from the command line's word to the first presented frame
// for a database whose start Interface has 20 Cards of 30 elements (targets: 100 ms), and one
// card change drawn and presented (target: 5 ms).
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <sstream>

#include "db/MediaCatalogWriter.h"
#include "db/MediaDatabase.h"
#include "elements/ControlElements.h"
#include "iface/ElementFactory.h"
#include "iface/InterfaceModel.h"
#include "iface/InterfaceObject.h"
#include "iface/InterfaceRecord.h"
#include "media/ScreenContext.h"
#include "platform/PosixSystemServices.h"
#include "platform/clock/VirtualClock.h"
#include "platform/display/HeadlessDisplay.h"
#include "platform/fonts/FreeTypeFontSource.h"
#include "shell/InterfaceStartWindow.h"
#include "shell/Player.h"
#include "shell/TamberMain.h"
#include "ui/ScriptedAnswers.h"
#include "ui/TWindow.h"

namespace {

using namespace tamber;

constexpr int32_t kCards = 20;
constexpr int32_t kElementsPerCard = 30;
constexpr const char* kTypes[] = {"String", "Rectangle", "Line", "Button", "Picture", "ListBox"};

// The database, written once into a temporary folder.
struct StartupDatabase {
    StartupDatabase()
    {
        RegisterControlElements(ElementFactory::Process());
        folder = std::filesystem::temp_directory_path() / ("tamber-startup-bench-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        std::filesystem::create_directories(folder);
        path = (folder / "startup.db").string();
        std::filesystem::remove(path);

        InterfaceModel model;
        InterfaceObject& self = model.AdoptInterface(std::make_unique<InterfaceObject>());
        self.SetAttribute("CardWidth", ValueType::Long, AttributeValue::OfLong(640));
        self.SetAttribute("CardHeight", ValueType::Long, AttributeValue::OfLong(480));
        int32_t id = 1;
        for (int32_t card = 0; card < kCards; ++card) {
            model.AddCard();
            for (int32_t i = 0; i < kElementsPerCard; ++i, ++id) {
                CardRect frame{20 + (i % 6) * 100, 20 + (i / 6) * 90, 90, 60};
                auto element = CreateElement(&model, kTypes[i % std::size(kTypes)], frame, id);
                if (i % std::size(kTypes) == 0)
                    element->SetAttribute("Text", ValueType::String, AttributeValue::OfString("Card text"));
                model.AddElement(card, std::move(element));
            }
        }
        MemoryBlock record;
        InterfaceRecord::Write(model, record);

        MediaDatabase db;
        db.Open(path);
        shell::StartRecord start;
        start.frameStyle = 2;
        start.caption = "Startup";
        start.startName = "Main";
        MemoryBlock startBytes;
        start.Write(startBytes);
        db.Records().WriteRecord(startBytes, shell::StartRecord::kRecordName, shell::StartRecord::kRecordId, 0);
        MediaCatalogWriter writer(db);
        NewMedium medium;
        medium.name = "Main";
        medium.type = "Interface";
        medium.parts.push_back(NewPart{"Intr", record});
        writer.CreateMedium(medium);
    }
    ~StartupDatabase() { std::filesystem::remove_all(folder); }

    std::filesystem::path folder;
    std::string path;
};

StartupDatabase& Database()
{
    static StartupDatabase database;
    return database;
}

// One headless player over the database.
struct HeadlessPlayer {
    HeadlessPlayer()
        : display(1024, 768, ScreenDepth::Direct24), app(display, clock, &Fonts()), screen(display),
          answers(&log), system((Database().folder / "data").string()),
          player(app, FileSystem::Native(), system, shell::DefaultStartWindows(&screen))
    {
        app.SetDialogAnswers(&answers);
    }
    static FreeTypeFontSource& Fonts()
    {
        static FreeTypeFontSource fonts;
        return fonts;
    }
    // Start-up up to the first frame on the screen.
    bool StartAndPresent()
    {
        if (!player.Start({Database().path}, ""))
            return false;
        player.Window()->Window().Show();
        app.ProcessPending();
        return display.PresentCount() > 0;
    }

    HeadlessDisplay display;
    VirtualClock clock;
    ui::Application app;
    ScreenContext screen;
    std::ostringstream log;
    ui::ScriptedAnswers answers;
    PosixSystemServices system;
    shell::Player player;
};

void BM_StartupToFirstFrame(benchmark::State& state)
{
    Database();
    for (auto _ : state) {
        state.PauseTiming();
        auto run = std::make_unique<HeadlessPlayer>();
        state.ResumeTiming();
        if (!run->StartAndPresent()) {
            state.SkipWithError("start-up failed");
            break;
        }
        state.PauseTiming();
        run.reset();
        state.ResumeTiming();
    }
    state.counters["elements"] = kCards * kElementsPerCard;
}
BENCHMARK(BM_StartupToFirstFrame)->Unit(benchmark::kMillisecond);

// One card change of the running start Interface, drawn and presented.
void BM_CardChange(benchmark::State& state)
{
    Database();
    HeadlessPlayer run;
    if (!run.StartAndPresent()) {
        state.SkipWithError("start-up failed");
        return;
    }
    auto& window = static_cast<shell::InterfaceStartWindow*>(run.player.Window())->Interface();
    int32_t card = 0;
    for (auto _ : state) {
        card = (card + 1) % kCards;
        window.ShowCard(card);
        run.app.ProcessPending();
    }
    if (window.CurrentCard() != card)
        state.SkipWithError("the card did not change");
}
BENCHMARK(BM_CardChange)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
