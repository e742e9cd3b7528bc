// Crash safety: a writer that dies after any number of its file writes leaves a database that
// opens, and in which every record whose write or delete had completed reads back exactly.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>

#include "db/PayloadCodec.h"
#include "db/RecordFile.h"
#include "db/RecordFileTestSupport.h"
#include "platform/FaultInjectionFileSystem.h"

namespace tamber {
namespace {

using namespace test;

using Key = std::pair<std::string, uint32_t>;
using Model = std::map<Key, std::string>;

struct Step {
    enum Kind { Write, Delete, Begin, End } kind;
    Key key;
    int32_t size = 0;
    int32_t encoding = 0;
    int32_t slack = 0;
};

MemoryBlock Payload(const Key& key, int32_t size, int step)
{
    return Filled(size, static_cast<uint8_t>(key.second * 31 + step * 7));
}

std::vector<Step> Steps()
{
    auto write = [](const char* name, uint32_t id, int32_t size, int32_t encoding = 0, int32_t slack = 0) {
        return Step{Step::Write, {name, id}, size, encoding, slack};
    };
    auto erase = [](const char* name, uint32_t id) { return Step{Step::Delete, {name, id}, 0, 0, 0}; };
    return {
        write("MMData", 1, 300),            // append
        write("MMData", 2, 40, 0, 16),      // append with slack
        write("MMEntry", 1, 1500, kMethodLzw),
        write("MMData", 3, 120),
        write("MMData", 1, 60),             // rewrite much smaller: split in place
        write("MMData", 2, 50),             // rewrite within the slack, in place
        write("MMData", 3, 400),            // grow: free the slot, append
        write("MMData", 4, 200),            // best fit into the free space left behind
        erase("MMData", 2),
        erase("MMData", 3),                 // the last record: the file shrinks
        {Step::Begin, {}},
        write("MMFoldr", 7, 90),
        write("MMData", 1, 250),
        erase("MMEntry", 1),
        write("MMData", 5, 33, kMethodLzw),
        write("MMFoldr", 7, 10),
        {Step::End, {}},
        write("MMData", 6, 1000),
        erase("MMData", 4),
    };
}

// Runs the steps on a file; answers the model after each completed step and the step that was
// running when the file system crashed (-1 when none).
struct StepsRun {
    std::vector<Model> after;
    int crashedStep = -1;
};

StepsRun RunSteps(FileSystem& fs, FaultInjectionFileSystem* faults, Model model)
{
    StepsRun run;
    RecordFile file(fs);
    EXPECT_EQ(file.Open("/db"), 1);
    auto steps = Steps();
    for (size_t i = 0; i < steps.size(); ++i) {
        const Step& step = steps[i];
        bool crashedBefore = faults && faults->Crashed();
        switch (step.kind) {
        case Step::Write:
            file.SetSlack(step.slack);
            EXPECT_EQ(file.WriteRecord(Payload(step.key, step.size, int(i)), step.key.first, step.key.second, step.encoding), 1);
            model[step.key] = Payload(step.key, step.size, int(i)).ToString();
            break;
        case Step::Delete:
            EXPECT_EQ(file.DeleteRecord(step.key.first, step.key.second), 1);
            model.erase(step.key);
            break;
        case Step::Begin:
            EXPECT_EQ(file.BeginBatch(), 1);
            break;
        case Step::End:
            EXPECT_EQ(file.EndBatch(), 1);
            break;
        }
        if (faults && !crashedBefore && faults->Crashed())
            run.crashedStep = static_cast<int>(i);
        run.after.push_back(model);
    }
    return run;
}

Model Seed(MemoryFileSystem& fs)
{
    RecordFile file(fs);
    EXPECT_EQ(file.Open("/db"), 1);
    Model model;
    for (uint32_t id = 10; id < 14; ++id) {
        Key key{"MMStart", id};
        file.WriteRecord(Payload(key, 80, 0), key.first, key.second, 0);
        model[key] = Payload(key, 80, 0).ToString();
    }
    return model;
}

TEST(RecordFileCrash, EveryCompletedChangeSurvivesACrashAtAnyWrite)
{
    int64_t totalWrites = 0;
    {
        MemoryFileSystem memory;
        Model seed = Seed(memory);
        FaultInjectionFileSystem counting(memory);
        StepsRun run = RunSteps(counting, &counting, seed);
        totalWrites = counting.WriteCount();
        // Without a crash the file ends as the model says.
        RecordFile file(memory);
        ASSERT_EQ(file.Open("/db"), 1);
        EXPECT_EQ(file.LoadedDirectoryState(), DirectoryState::Valid);
        for (const auto& [key, bytes] : run.after.back())
            EXPECT_EQ(Read(file, key.first, key.second), bytes);
    }
    ASSERT_GT(totalWrites, 40);

    auto steps = Steps();
    for (int64_t k = 1; k <= totalWrites; ++k) {
        MemoryFileSystem memory;
        Model seed = Seed(memory);
        FaultInjectionFileSystem faults(memory);
        faults.SetFaultAt(k);
        StepsRun run = RunSteps(faults, &faults, seed);
        ASSERT_GE(run.crashedStep, 0) << k;
        const Model& done = run.crashedStep == 0 ? seed : run.after[run.crashedStep - 1];
        std::optional<Key> underWrite;
        if (steps[run.crashedStep].kind == Step::Write || steps[run.crashedStep].kind == Step::Delete)
            underWrite = steps[run.crashedStep].key;

        RecordFile file(memory);
        ASSERT_EQ(file.Open("/db"), 1) << "crash at write " << k;
        auto entries = file.Entries();
        EXPECT_EQ(file.Info().recordCount, static_cast<int32_t>(entries.size())) << k;
        for (const auto& [key, bytes] : done) {
            if (underWrite && key == *underWrite)
                continue;
            EXPECT_EQ(Read(file, key.first, key.second), bytes)
                << key.first << " " << key.second << ", crash at write " << k << " in step " << run.crashedStep;
        }
        // No record appears that was neither there nor being written.
        for (const auto& entry : entries) {
            if (entry.used < 0)
                continue;
            Key key{entry.name, entry.id};
            EXPECT_TRUE(done.count(key) || (underWrite && key == *underWrite))
                << entry.name << " " << entry.id << " used " << entry.used << " cap " << entry.capacity << " at " << entry.offset << ", crash at write " << k << " step " << run.crashedStep;
        }
        // The recovered file takes new records.
        ASSERT_EQ(file.WriteRecord(Bytes("after"), "MMNotes", 1, 0), 1) << k;
        RecordFile again(memory);
        ASSERT_EQ(again.Open("/db"), 1);
        EXPECT_EQ(Read(again, "MMNotes", 1), "after") << k;
        EXPECT_EQ(again.LoadedDirectoryState(), DirectoryState::Valid) << k;
    }
}

}  // namespace
}  // namespace tamber
