// Catalogue lookups on a catalogue of many media: by id through the id-to-position table, by
// name (a walk that decodes entries), and opening a database whose catalogue is that large.
#include <benchmark/benchmark.h>

#include "db/MediaCatalog.h"
#include "db/MediaCatalogWriter.h"
#include "db/MediaDatabase.h"
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
BENCHMARK(BM_OpenDatabase)->Arg(5000);

}  // namespace

BENCHMARK_MAIN();
