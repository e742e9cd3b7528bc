#include <gtest/gtest.h>

#include "db/MediaCatalogWriter.h"
#include "db/MediaDatabase.h"
#include "tools/VerbRun.h"

using namespace tamber;

namespace {

class IndexVerbs : public VerbTest {
protected:
    void SetUp() override
    {
        VerbTest::SetUp();
        m_path = Path("title.mmd");
        MediaDatabase db;
        ASSERT_EQ(db.Open(m_path), 1);
        MediaCatalogWriter writer(db);
        auto text = [&](const std::string& name, const std::string& body) {
            NewMedium m;
            m.name = name;
            m.type = "Text";
            m.parts.push_back({"Text", MemoryBlock(body.data(), static_cast<int32_t>(body.size()))});
            ASSERT_EQ(writer.CreateMedium(m), 1);
        };
        text("Apple Story", "An apple a day.\rApples and pears.");          // 1
        NewMedium logo;
        logo.name = "Logo";
        logo.type = "Graphic";
        logo.parts.push_back({"Data", MemoryBlock("BM apple", 8)});        // not a text: body not indexed
        ASSERT_EQ(writer.CreateMedium(logo), 1);                            // 2
        text("Orchard", "Pear trees, apple trees and a plum tree.");        // 3
    }
    std::vector<std::string> Args(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--data-dir", (m_dir / "data").string()});
        return args;
    }

    std::string m_path;
};

}  // namespace

TEST_F(IndexVerbs, SearchBeforeIndexingAnswersNotBuilt)
{
    VerbRun run = Tamberlyne(Args({"search", m_path, "apple"}));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "result -2\n");
    EXPECT_NE(run.err.find("has not been built"), std::string::npos) << run.err;
    EXPECT_EQ(Tamberlyne(Args({"field", m_path, "Orchard", "Title"})).status, 1);
}

TEST_F(IndexVerbs, IndexThenSearchRefinesAndFieldReadsValues)
{
    std::string fieldsFile = WriteFile("fields.json", R"({"Orchard": {"Date": "date:1/15/96", "Trees": 3.5}, "#1": {"Date": "date:3/1/1997"}})");
    VerbRun index = Tamberlyne(Args({"index", "--fields", fieldsFile, m_path}));
    ASSERT_EQ(index.status, 0) << index.err;
    EXPECT_EQ(index.out.rfind("indexed 3 media:", 0), 0u) << index.out;

    VerbRun search = Tamberlyne(Args({"search", m_path, "apple", "plum or logo"}));
    ASSERT_EQ(search.status, 0) << search.err;
    // "apple" is in the title and body of 1 and the body of 3; refined by "plum or logo", only 3 stays.
    EXPECT_EQ(search.out, "result 3\n1 2 0 Apple Story\n3 1 0 Orchard\nresult 1\n3 1 0 Orchard\n");

    VerbRun all = Tamberlyne(Args({"search", "--all", m_path, "apple", "logo:title", "field(Date >= \"1/1/97\")"}));
    ASSERT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(all.out, "result 3\n1 2 0 Apple Story\n3 1 0 Orchard\nresult 1\n2 1 0 Logo\nresult 1\n1 0 1 Apple Story\n");

    VerbRun bad = Tamberlyne(Args({"search", m_path, "apple but pear", "pears"}));
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out, "result -1\nresult 1\n1 1 0 Apple Story\n");
    EXPECT_NE(bad.err.find("There is a syntax error in the expression..."), std::string::npos);

    EXPECT_EQ(Tamberlyne(Args({"field", m_path, "orchard", "date"})).out, "1/15/1996\n");
    EXPECT_EQ(Tamberlyne(Args({"field", m_path, "Orchard", "Trees"})).out, "3.500000\n");
    EXPECT_EQ(Tamberlyne(Args({"field", m_path, "#2", "Type"})).out, "Graphic\n");
    EXPECT_EQ(Tamberlyne(Args({"field", m_path, "Logo", "Date"})).status, 1);
    EXPECT_EQ(Tamberlyne(Args({"field", m_path, "Nobody", "Title"})).status, 1);
    EXPECT_EQ(Tamberlyne(Args({"field", m_path, "Logo"})).status, 2);

    // Reindexing replaces the index: the fields file is not given again.
    ASSERT_EQ(Tamberlyne(Args({"index", m_path})).status, 0);
    EXPECT_EQ(Tamberlyne(Args({"field", m_path, "Orchard", "Trees"})).status, 1);
}

TEST_F(IndexVerbs, BadFieldsFilesAreReported)
{
    for (const char* text : {"[1, 2]", "{\"Nobody\": {}}", "{\"Logo\": {\"A\": [1]}}", "{\"Logo\": 3}", "{oops"}) {
        std::string fieldsFile = WriteFile("fields.json", text);
        VerbRun run = Tamberlyne(Args({"index", "--fields", fieldsFile, m_path}));
        EXPECT_EQ(run.status, 1) << text;
        EXPECT_NE(run.err.find("fields.json"), std::string::npos) << run.err;
    }
    EXPECT_EQ(Tamberlyne(Args({"index", "--fields", Path("missing.json"), m_path})).status, 1);
}
