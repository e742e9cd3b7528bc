#include <gtest/gtest.h>

#include "db/FullTextCatalogDocuments.h"
#include "db/FullTextIndexBuilder.h"
#include "db/FullTextMemoryStore.h"
#include "db/MediaCatalogWriter.h"
#include "db/QueryEngine.h"
#include "platform/FakeSystemServices.h"
#include "platform/MemoryFileSystem.h"

using namespace tamber;

namespace {

MemoryBlock Bytes(const std::string& text)
{
    return MemoryBlock(text.data(), static_cast<int32_t>(text.size()));
}

uint32_t AddMedium(MediaCatalogWriter& writer, const std::string& name, const std::string& type, const std::string& text)
{
    NewMedium m;
    m.name = name;
    m.type = type;
    m.parts = {{"Text", Bytes(text)}};
    uint32_t id = 0;
    EXPECT_EQ(writer.CreateMedium(m, &id), 1);
    return id;
}

}  // namespace

TEST(FullTextCatalogDocuments, TextEndsAtTheFirstNulOfTheTextPart)
{
    MemoryFileSystem fs;
    FakeSystemServices system;
    MediaDatabase db(fs, &system);
    ASSERT_EQ(db.Open("/t/app.mmd"), 1);
    MediaCatalogWriter writer(db);
    // A text saved over a longer one: the record keeps the old tail behind the NUL.
    uint32_t shortened = AddMedium(writer, "Fruit", "Text", std::string("Apple pear\r\0stale plum\0", 23));
    uint32_t older = AddMedium(writer, "Old", "GT", "Quince");  // no NUL at all: the whole part
    uint32_t empty = AddMedium(writer, "Blank", "text", std::string("\0plum", 5));
    uint32_t graphic = AddMedium(writer, "Logo", "Graphic", "plum");

    FullTextCatalogDocuments documents(db);
    ASSERT_EQ(documents.Count(), 4);
    std::map<uint32_t, std::string> texts;
    FullTextDocument doc;
    for (int32_t i = 0; i < documents.Count(); ++i) {
        ASSERT_EQ(documents.Read(i, doc), 1);
        texts[static_cast<uint32_t>(doc.mediaId)] = doc.text;
    }
    EXPECT_EQ(texts[shortened], "Apple pear\r");
    EXPECT_EQ(texts[older], "Quince");
    EXPECT_EQ(texts[empty], "");
    EXPECT_EQ(texts[graphic], "") << "only text media contribute their characters";
    EXPECT_EQ(documents.Read(4, doc), 0);

    FullTextMemoryStore store;
    FullTextIndexBuilder builder;
    ASSERT_EQ(builder.Build(documents, store), 1);
    FullTextIndex index(store);
    QueryEngine engine(index);
    EXPECT_EQ(engine.RunQuery("pear"), 1);
    engine.ForgetPreviousResults();
    EXPECT_EQ(engine.RunQuery("stale or plum"), 0) << "bytes after the NUL are not indexed";
    engine.ForgetPreviousResults();
    EXPECT_EQ(engine.RunQuery("quince"), 1);
}
