// Catalogue lookups on a catalogue of many media: by id through the id-to-position table, by
// name (a walk that decodes entries), opening a database whose catalogue is that large, and
// opening one in the old layout of one "MMEntry" record per medium, which rewrites it.
#include <benchmark/benchmark.h>

#include "db/MediaCatalog.h"
#include "db/MediaCatalogWriter.h"
#include "db/MediaDatabase.h"
#include "db/RecordFile.h"
#include "platform/MemoryFileSystem.h"

using namespace tamber;

namespace {

MediaCatalog MakeCatalog(int32_t count)
{
    MediaCatalog catalog;
    for (int32_t i = 1; i <= count; ++i) {
        MediaEntry e;
        e.id = static_cast<uint32_t>(i);
        e.name = "Medium number " + std::to_string(i);
        e.type = i % 2 ? "Graphic" : "Text";
        e.parts = { { "Data", static_cast<uint32_t>(2 * i) }, { "Hots", static_cast<uint32_t>(2 * i + 1) } };
        catalog.Add(e);
    }
    return catalog;
}

void BM_FindById(benchmark::State& state)
{
    MediaCatalog catalog = MakeCatalog(static_cast<int32_t>(state.range(0)));
    MediaEntry e;
    uint32_t id = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(catalog.Find(id, e));
        id = id % static_cast<uint32_t>(state.range(0)) + 7;
    }
}
BENCHMARK(BM_FindById)->Arg(100)->Arg(5000);

void BM_FindByNameLast(benchmark::State& state)
{
    int32_t count = static_cast<int32_t>(state.range(0));
    MediaCatalog catalog = MakeCatalog(count);
    MediaEntry e;
    std::string name = "MEDIUM NUMBER " + std::to_string(count);
    for (auto _ : state)
        benchmark::DoNotOptimize(catalog.FindByName(name, "graphic", e) + catalog.FindByName(name, "", e));
}
BENCHMARK(BM_FindByNameLast)->Arg(100)->Arg(5000);

void BM_OpenDatabase(benchmark::State& state)
{
    MemoryFileSystem fs;
    {
        MediaDatabase db(fs);
        db.Open("/bench.mmd", "");
        MediaCatalogWriter writer(db);
        writer.Begin();
        for (int64_t i = 0; i < state.range(0); ++i) {
            NewMedium m;
            m.name = "M" + std::to_string(i);
            m.type = "Text";
            writer.CreateMedium(m);
        }
        writer.Commit();
    }
    for (auto _ : state) {
        MediaDatabase db(fs);
        benchmark::DoNotOptimize(db.Open("/bench.mmd", "") + db.EntryCount());
    }
}
BENCHMARK(BM_OpenDatabase)->Arg(5000)->Arg(10000);

// The file bytes of a database holding one catalogue entry per "MMEntry" record.
std::vector<uint8_t> OldLayoutDatabase(MemoryFileSystem& fs, const std::string& path, int32_t count)
{
    RecordFile file(fs);
    file.Open(path, "");
    file.BeginBatch();
    for (int32_t i = 0; i < count; ++i) {
        MediaEntry e;
        e.id = static_cast<uint32_t>(i + 1);
        e.name = "M" + std::to_string(i);
        e.type = "Text";
        MemoryBlock b(0);
        e.AppendTo(b);
        file.WriteRecord(b, "MMEntry", e.id, 0);
    }
    file.EndBatch();
    file.Close();
    return fs.Contents(path);
}

void BM_OpenUpgradingEntryRecords(benchmark::State& state)
{
    MemoryFileSystem fs;
    const std::string path = "/old.mmd";
    std::vector<uint8_t> old = OldLayoutDatabase(fs, path, static_cast<int32_t>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        fs.SetContents(path, old);
        state.ResumeTiming();
        MediaDatabase db(fs);
        benchmark::DoNotOptimize(db.Open(path, "") + db.EntryCount());
        if (db.EntryCount() != state.range(0) || db.Records().CountRecords("MMEntry") != 1)
            state.SkipWithError("the upgrade lost entries");
    }
}
BENCHMARK(BM_OpenUpgradingEntryRecords)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
