// Full-text indexing and search against SQLite FTS5 on the same corpus: 10,000 text media of 200
// words each from a Zipf-like vocabulary of 50,000 words. Prints the indexing rate and, for each
// kind of query, the time per query of both engines and their ratio.
//
//   bench_FullTextBench [--media N] [--seconds S]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <random>
#include <sqlite3.h>
#include <string>
#include <vector>

#include "db/FullTextIndexBuilder.h"
#include "db/FullTextMemoryStore.h"
#include "db/FullTextRecordStore.h"
#include "db/QueryEngine.h"
#include "db/RecordFile.h"

using namespace tamber;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kWordsPerMedium = 200;
constexpr int kVocabulary = 50000;

// Pronounceable, distinct words: the rank written in a base of syllables.
std::string MakeWord(int rank)
{
    static const char* kSyllables[]
        = { "ka", "lo", "mi", "ne", "ru", "sa", "ti", "vo", "be", "da", "fu", "go", "hi", "ja", "pe", "zu" };
    std::string word;
    int n = rank + 1;
    while (n > 0) {
        word += kSyllables[n % 16];
        n /= 16;
    }
    return word;
}

struct Corpus {
    std::vector<std::string> vocabulary;
    std::vector<FullTextDocument> media;
    int64_t textBytes = 0;
};

Corpus MakeCorpus(int mediaCount)
{
    Corpus corpus;
    for (int i = 0; i < kVocabulary; ++i)
        corpus.vocabulary.push_back(MakeWord(i));
    std::vector<double> cdf(kVocabulary);
    double sum = 0;
    for (int i = 0; i < kVocabulary; ++i)
        cdf[i] = (sum += 1.0 / (i + 1));
    std::mt19937_64 random(1996);
    std::uniform_real_distribution<double> unit(0, sum);
    auto pick = [&]() {
        return static_cast<int>(std::lower_bound(cdf.begin(), cdf.end(), unit(random)) - cdf.begin());
    };
    for (int m = 0; m < mediaCount; ++m) {
        FullTextDocument doc;
        doc.mediaId = m + 1;
        doc.name = "Story " + std::to_string(m + 1);
        doc.type = "Text";
        for (int w = 0; w < kWordsPerMedium; ++w) {
            doc.text += corpus.vocabulary[pick()];
            doc.text += (w % 17 == 16) ? ". " : " ";
        }
        doc.fields.push_back({ "Date", FullTextFieldValue::Date(1 + m % 12, 1 + m % 28, 1990 + m % 10) });
        corpus.textBytes += static_cast<int64_t>(doc.text.size() + doc.name.size());
        corpus.media.push_back(std::move(doc));
    }
    return corpus;
}

double Seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// Processor time of this process: steadier than wall time on a shared machine.
double CpuSeconds()
{
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

struct PerQuery {
    double wall = 0; // microseconds per query
    double cpu = 0; // processor microseconds per query
};

// Runs body over the queries repeatedly for about `seconds` of processor time; answers the time
// per query. Processor time stays meaningful when other processes share the machine.
PerQuery TimePerQuery(size_t queries, double seconds, const std::function<void(size_t)>& body)
{
    size_t runs = 0;
    auto start = Clock::now();
    double cpuStart = CpuSeconds();
    do {
        for (size_t q = 0; q < queries; ++q)
            body(q);
        runs += queries;
    } while (CpuSeconds() - cpuStart < seconds);
    double n = static_cast<double>(runs);
    return { Seconds(Clock::now() - start) * 1e6 / n, (CpuSeconds() - cpuStart) * 1e6 / n };
}

void Check(int rc, sqlite3* db, const char* what)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "sqlite: %s: %s\n", what, sqlite3_errmsg(db));
        std::exit(1);
    }
}

struct Fts {
    sqlite3* db = nullptr;

    // Answers the number of rows the statement yields.
    int64_t Count(const std::string& sql, const std::string& argument = {})
    {
        sqlite3_stmt* statement = nullptr;
        Check(sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr), db, "prepare");
        if (!argument.empty())
            sqlite3_bind_text(statement, 1, argument.c_str(), -1, SQLITE_TRANSIENT);
        int64_t rows = 0;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            sqlite3_column_int64(statement, 0);
            ++rows;
        }
        sqlite3_finalize(statement);
        return rows;
    }
};

struct QueryKind {
    const char* name;
    std::vector<std::string> ours;
    std::vector<std::string> theirs; // FTS5 MATCH argument, or a whole statement for fields
    bool theirsIsStatement = false;
};

} // namespace

int main(int argc, char** argv)
{
    int mediaCount = 10000;
    double seconds = 0.5;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string option = argv[i];
        if (option == "--media")
            mediaCount = std::max(1, std::atoi(argv[i + 1]));
        else if (option == "--seconds")
            seconds = std::max(0.01, std::atof(argv[i + 1]));
    }
    std::printf(
        "corpus: %d media x %d words, vocabulary %d (Zipf)\n", mediaCount, kWordsPerMedium, kVocabulary);
    Corpus corpus = MakeCorpus(mediaCount);
    double megabytes = static_cast<double>(corpus.textBytes) / 1e6;

    std::filesystem::path dir = std::filesystem::temp_directory_path()
        / ("tamber-fulltext-bench-" + std::to_string(::time(nullptr)));
    std::filesystem::create_directories(dir);

    FullTextDocumentList documents;
    documents.documents = corpus.media;

    // Indexing into memory (the builder alone) and into a database file.
    FullTextIndexBuilder builder;
    FullTextMemoryStore memory;
    auto start = Clock::now();
    double cpuStart = CpuSeconds();
    builder.Build(documents, memory);
    double memorySeconds = Seconds(Clock::now() - start);
    double memoryCpu = CpuSeconds() - cpuStart;
    RecordFile file;
    std::string path = (dir / "bench.mmd").string();
    file.Open(path);
    FullTextRecordStore store(file);
    start = Clock::now();
    cpuStart = CpuSeconds();
    builder.Build(documents, store);
    double fileSeconds = Seconds(Clock::now() - start);
    double fileCpu = CpuSeconds() - cpuStart;
    const auto& stats = builder.LastStats();
    std::printf("tamber index: %.1f MB of text, %lld words, %d distinct, %d leaves, %.1f MB of records\n",
        megabytes, static_cast<long long>(stats.occurrences), stats.words, stats.leaves,
        static_cast<double>(stats.indexBytes) / 1e6);
    std::printf("  into memory:        %7.3f s  %6.1f MB/s   (processor %.3f s, %.1f MB/s)\n", memorySeconds,
        megabytes / memorySeconds, memoryCpu, megabytes / memoryCpu);
    std::printf("  into a record file: %7.3f s  %6.1f MB/s   (processor %.3f s, %.1f MB/s)\n", fileSeconds,
        megabytes / fileSeconds, fileCpu, megabytes / fileCpu);

    Fts fts;
    std::string ftsPath = (dir / "bench.sqlite").string();
    Check(sqlite3_open(ftsPath.c_str(), &fts.db), fts.db, "open");
    Check(sqlite3_exec(fts.db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;", nullptr, nullptr, nullptr),
        fts.db, "pragma");
    Check(sqlite3_exec(fts.db,
              "CREATE VIRTUAL TABLE docs USING fts5(title, body);"
              "CREATE TABLE meta(id INTEGER PRIMARY KEY, date INTEGER);",
              nullptr, nullptr, nullptr),
        fts.db, "create");
    start = Clock::now();
    cpuStart = CpuSeconds();
    Check(sqlite3_exec(fts.db, "BEGIN", nullptr, nullptr, nullptr), fts.db, "begin");
    sqlite3_stmt* insert = nullptr;
    sqlite3_stmt* insertMeta = nullptr;
    sqlite3_prepare_v2(fts.db, "INSERT INTO docs(rowid, title, body) VALUES(?, ?, ?)", -1, &insert, nullptr);
    sqlite3_prepare_v2(fts.db, "INSERT INTO meta(id, date) VALUES(?, ?)", -1, &insertMeta, nullptr);
    for (const auto& doc : corpus.media) {
        sqlite3_bind_int(insert, 1, doc.mediaId);
        sqlite3_bind_text(insert, 2, doc.name.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 3, doc.text.c_str(), -1, SQLITE_STATIC);
        Check(sqlite3_step(insert), fts.db, "insert");
        sqlite3_reset(insert);
        const FullTextFieldValue& date = doc.fields[0].second;
        sqlite3_bind_int(insertMeta, 1, doc.mediaId);
        sqlite3_bind_int(insertMeta, 2, date.year * 10000 + date.month * 100 + date.day);
        Check(sqlite3_step(insertMeta), fts.db, "insert");
        sqlite3_reset(insertMeta);
    }
    sqlite3_finalize(insert);
    sqlite3_finalize(insertMeta);
    Check(sqlite3_exec(fts.db, "COMMIT", nullptr, nullptr, nullptr), fts.db, "commit");
    double ftsSeconds = Seconds(Clock::now() - start);
    double ftsCpu = CpuSeconds() - cpuStart;
    std::printf("FTS5 load:            %7.3f s  %6.1f MB/s   (processor %.3f s, %.1f MB/s)\n\n", ftsSeconds,
        megabytes / ftsSeconds, ftsCpu, megabytes / ftsCpu);

    // Words from common to rare, so each kind of query sees short and long posting lists.
    const int kRanks[] = { 3, 10, 30, 100, 300, 1000, 3000, 10000, 30000 };
    QueryKind kinds[4] = { { "single word", {}, {} }, { "two-word and", {}, {} },
        { "field (date >=)", {}, {}, true }, { "proximity (5)", {}, {} } };
    for (size_t i = 0; i < std::size(kRanks); ++i) {
        const std::string& a = corpus.vocabulary[kRanks[i]];
        const std::string& b = corpus.vocabulary[kRanks[(i + 3) % std::size(kRanks)] + 1];
        kinds[0].ours.push_back(a);
        kinds[0].theirs.push_back(a);
        kinds[1].ours.push_back(a + " and " + b);
        kinds[1].theirs.push_back(a + " AND " + b);
        kinds[3].ours.push_back("proximity(0, 5, " + a + ", " + b + ")");
        kinds[3].theirs.push_back("NEAR(" + a + " " + b + ", 4)");
    }
    for (int year : { 91, 95, 98 }) {
        kinds[2].ours.push_back("field(Date >= \"6/1/" + std::to_string(year) + "\")");
        kinds[2].theirs.push_back(
            "SELECT id FROM meta WHERE date >= " + std::to_string((1900 + year) * 10000 + 601));
    }

    FullTextIndex fileIndex(store);
    QueryEngine fileEngine(fileIndex);
    FullTextIndex memoryIndex(memory);
    QueryEngine memoryEngine(memoryIndex);
    std::printf("%-18s %14s %14s %12s %8s %8s\n", "query (us/query)", "tamber (file)", "tamber (mem)", "FTS5",
        "ratio", "hits");
    std::printf("%-18s %14s %14s %12s\n", "", "cpu / wall", "cpu / wall", "cpu / wall");
    for (const QueryKind& kind : kinds) {
        int64_t ourHits = 0, theirHits = 0;
        for (size_t q = 0; q < kind.ours.size(); ++q) {
            fileEngine.ForgetPreviousResults();
            fileEngine.RunQuery(kind.ours[q]);
            ourHits += fileEngine.HitCount();
            theirHits += kind.theirsIsStatement
                ? fts.Count(kind.theirs[q])
                : fts.Count("SELECT rowid FROM docs WHERE docs MATCH ?", kind.theirs[q]);
        }
        PerQuery onFile = TimePerQuery(kind.ours.size(), seconds, [&](size_t q) {
            fileEngine.ForgetPreviousResults();
            fileEngine.RunQuery(kind.ours[q]);
        });
        PerQuery inMemory = TimePerQuery(kind.ours.size(), seconds, [&](size_t q) {
            memoryEngine.ForgetPreviousResults();
            memoryEngine.RunQuery(kind.ours[q]);
        });
        PerQuery theirs = TimePerQuery(kind.theirs.size(), seconds, [&](size_t q) {
            if (kind.theirsIsStatement)
                fts.Count(kind.theirs[q]);
            else
                fts.Count("SELECT rowid FROM docs WHERE docs MATCH ?", kind.theirs[q]);
        });
        std::printf("%-18s %6.1f /%6.1f %6.1f /%6.1f %5.1f /%5.1f %7.2fx %s\n", kind.name, onFile.cpu,
            onFile.wall, inMemory.cpu, inMemory.wall, theirs.cpu, theirs.wall, theirs.cpu / onFile.cpu,
            ourHits == theirHits
                ? "same"
                : ("tamber " + std::to_string(ourHits) + " / FTS5 " + std::to_string(theirHits)).c_str());
    }
    std::printf(
        "\nratio = FTS5 processor time / tamber (file) processor time; above 1 means tamber is faster.\n");
    sqlite3_close(fts.db);
    std::filesystem::remove_all(dir);
    return 0;
}
