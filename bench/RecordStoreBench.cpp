// Lookups and rewrites of the record store on a real file: RecordExists over 100,000 records
// (each call also checks the file's stamp, as every operation does), and rewrites of records in
// place, one directory write each, in a batch, and on a small database. Prints one table.
//
//   bench_RecordStoreBench [--records N] [--seconds S]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include "db/RecordFile.h"
#include "platform/MemoryFileSystem.h"

using namespace tamber;

namespace {

using Clock = std::chrono::steady_clock;

struct Rate {
    double perSecond;
    long long count;
};

// Runs step(i) until `seconds` have passed (checking the clock every 256 steps).
Rate Measure(double seconds, const std::function<void(long long)>& step)
{
    auto start = Clock::now();
    long long i = 0;
    double elapsed = 0;
    do {
        for (int k = 0; k < 256; ++k)
            step(i++);
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    } while (elapsed < seconds);
    return {double(i) / elapsed, i};
}

Rate MeasureSlow(double seconds, const std::function<void(long long)>& step)
{
    auto start = Clock::now();
    long long i = 0;
    double elapsed = 0;
    do {
        step(i++);
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    } while (elapsed < seconds);
    return {double(i) / elapsed, i};
}

uint32_t Mix(long long i)
{
    uint64_t x = uint64_t(i) * 0x9E3779B97F4A7C15ull;
    return uint32_t(x >> 32);
}

double Build(RecordFile& file, int records)
{
    auto start = Clock::now();
    file.SetSlack(16);
    file.BeginBatch();
    MemoryBlock payload(48);
    for (int i = 0; i < records; ++i) {
        payload.WriteInt(0, i, 4);
        file.WriteRecord(payload, i % 2 ? "MMData" : "MMEntry", uint32_t(i), 0);
    }
    file.EndBatch();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void Row(const char* what, Rate rate, const char* unit)
{
    std::printf("  %-58s %12.0f %s  (%lld in the run)\n", what, rate.perSecond, unit, rate.count);
}

}  // namespace

int main(int argc, char** argv)
{
    int records = 100000;
    double seconds = 2.0;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--records"))
            records = std::max(100, std::atoi(argv[i + 1]));
        else if (!std::strcmp(argv[i], "--seconds"))
            seconds = std::max(0.1, std::atof(argv[i + 1]));
    }
    auto dir = std::filesystem::temp_directory_path() / "tamber-record-bench";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "bench.mmdb").string();

    RecordFile file;
    if (!file.Open(path)) {
        std::fprintf(stderr, "bench_RecordStoreBench: %s: cannot create\n", path.c_str());
        return 1;
    }
    double built = Build(file, records);
    std::printf("Record store, %d records of 48 bytes in %s (%.1f MB)\n", records, path.c_str(),
                double(std::filesystem::file_size(path)) / 1e6);
    std::printf("  %-58s %12.0f records/s  (%.2f s)\n", "build in one batch", records / built, built);

    long long found = 0;
    Rate hits = Measure(seconds, [&](long long i) {
        uint32_t id = Mix(i) % uint32_t(records);
        found += file.RecordExists(id % 2 ? "MMData" : "MMEntry", id);
    });
    Row("RecordExists, present records, random order", hits, "lookups/s");
    Rate misses = Measure(seconds, [&](long long i) {
        found += file.RecordExists("MMData", uint32_t(records) + Mix(i) % 1000);
    });
    Row("RecordExists, absent records", misses, "lookups/s");
    Rate recent = Measure(seconds, [&](long long i) {
        uint32_t id = uint32_t(i % 16) * 2 + 1;
        found += file.RecordExists("mmdata", id);
    });
    Row("RecordExists, 16 records used again and again", recent, "lookups/s");

    MemoryBlock payload(48);
    Rate rewrites = MeasureSlow(seconds, [&](long long i) {
        uint32_t id = Mix(i) % uint32_t(records);
        payload.WriteInt(0, int32_t(i), 4);
        file.WriteRecord(payload, id % 2 ? "MMData" : "MMEntry", id, 0);
    });
    Row("rewrites in place, each with its directory write", rewrites, "rewrites/s");
    file.BeginBatch();
    Rate batched = Measure(seconds, [&](long long i) {
        uint32_t id = Mix(i) % uint32_t(records);
        payload.WriteInt(0, int32_t(i), 4);
        file.WriteRecord(payload, id % 2 ? "MMData" : "MMEntry", id, 0);
    });
    file.EndBatch();
    Row("rewrites in place inside one batch", batched, "rewrites/s");

    const std::string smallPath = (dir / "small.mmdb").string();
    RecordFile small;
    small.Open(smallPath);
    Build(small, 1000);
    Rate smallRewrites = MeasureSlow(seconds, [&](long long i) {
        uint32_t id = Mix(i) % 1000u;
        payload.WriteInt(0, int32_t(i), 4);
        small.WriteRecord(payload, id % 2 ? "MMData" : "MMEntry", id, 0);
    });
    Row("rewrites in place, 1,000-record database", smallRewrites, "rewrites/s");
    Rate growing = MeasureSlow(seconds, [&](long long i) {
        uint32_t id = Mix(i) % 1000u;
        MemoryBlock block(16 + int32_t(Mix(i + 7) % 200));
        small.WriteRecord(block, id % 2 ? "MMData" : "MMEntry", id, 0);
    });
    Row("rewrites of changing size (split, merge, reuse), 1,000 records", growing, "rewrites/s");

    std::printf("  (lookups that found their record: %lld)\n", found);
    std::filesystem::remove_all(dir);
    return 0;
}
