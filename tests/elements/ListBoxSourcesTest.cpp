#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "db/FullTextFormat.h"
#include "db/MediaCatalogWriter.h"
#include "db/MediaDatabase.h"
#include "db/RecordFile.h"
#include "elements/ListBoxElement.h"
#include "iface/InterfaceModel.h"
#include "platform/MemoryFileSystem.h"

using namespace tamber;
using namespace std::string_view_literals;

namespace {

using V = AttributeValue;
using Items = std::vector<std::string>;

MemoryBlock Bytes(std::string_view text)
{
    return MemoryBlock(text.data(), static_cast<int32_t>(text.size()));
}

// The index word list as the builder writes it: NUL-terminated words ended by an empty one.
MemoryBlock WordList(const Items& words)
{
    MemoryBlock list;
    for (const std::string& word : words)
        list.AppendString(word, Nul::Include);
    list.AppendInt(0, 1);
    return list;
}

// An Interface over an open database in memory, with one ListBox on its Card.
struct ListOverDatabase {
    ListOverDatabase() : database(fs)
    {
        EXPECT_EQ(database.Open("/titles/app.mmd"), 1);
        model.SetDatabase(&database);
        model.AddCard();
        auto element = std::make_unique<ListBoxElement>();
        element->SetId(3);
        list = static_cast<ListBoxElement*>(model.AddElement(0, std::move(element)));
    }
    int32_t AddMedium(const std::string& name, const std::string& type, std::string_view text)
    {
        MediaCatalogWriter writer(database);
        NewMedium medium;
        medium.name = name;
        medium.type = type;
        medium.parts = {{"Text", Bytes(text)}};
        uint32_t id = 0;
        EXPECT_EQ(writer.CreateMedium(medium, &id), 1);
        return static_cast<int32_t>(id);
    }
    void SetMedia(int32_t id)
    {
        MediaRef ref;
        ref.mediaId = id;
        ref.database = &database;
        ASSERT_EQ(list->SetAttribute("Media", ValueType::Media, V::OfMedia(ref)), 1);
    }
    void Call(std::string_view method, std::vector<V> params = {})
    {
        V result;
        ASSERT_EQ(list->CallMethod(method, params, result), 1) << method;
    }
    void AppendIndexes(const std::string& file) { Call("AppendIndexes", {V::OfString(file)}); }

    MemoryFileSystem fs;
    MediaDatabase database;
    InterfaceModel model;
    ListBoxElement* list = nullptr;
};

}  // namespace

TEST(ListBoxMedia, TextLinesBecomeItemsAndEmptyLinesAreSkipped)
{
    ListOverDatabase f;
    f.Call("AppendItem", {V::OfString("old")});
    const int32_t fruit = f.AddMedium("Fruit", "Text", "one\r\n\r\ntwo\r\0junk after the end"sv);
    f.SetMedia(fruit);
    EXPECT_EQ(f.list->Items(), (Items{"one", "two"}));
    EXPECT_EQ(f.list->GetMedia().mediaId, fruit);

    // Older text media ("GT"), lone line feeds and a last line without a break.
    f.SetMedia(f.AddMedium("Old", "gt", "a\nb\r\rc"));
    EXPECT_EQ(f.list->Items(), (Items{"a", "b", "c"}));

    // A medium of another type, or none, leaves the list empty.
    f.SetMedia(f.AddMedium("Logo", "Graphic", "not\rtext"));
    EXPECT_TRUE(f.list->Items().empty());
    f.SetMedia(f.AddMedium("Fruit2", "Text", "kept"));
    f.SetMedia(MediaRef::kNone);
    EXPECT_TRUE(f.list->Items().empty());
    f.SetMedia(9999);
    EXPECT_TRUE(f.list->Items().empty());
}

TEST(ListBoxIndexes, AppendsTheWordListOfTheOwnOrANamedDatabase)
{
    ListOverDatabase f;
    f.AppendIndexes("");
    EXPECT_TRUE(f.list->Items().empty()) << "no index built";

    ASSERT_EQ(f.database.Records().WriteRecord(WordList({"apple", "banana"}), fulltext::kBuildRecord,
                  fulltext::kBuildWordsId, 0),
        1);
    f.Call("AppendItem", {V::OfString("first")});
    f.AppendIndexes("");
    EXPECT_EQ(f.list->Items(), (Items{"first", "apple", "banana"}));

    // A named file on disk: absolute, then missing.
    const std::filesystem::path dir = std::filesystem::temp_directory_path()
        / ("tamber-indexes-" + std::to_string(std::random_device {}()));
    std::filesystem::create_directories(dir);
    const std::string other = (dir / "other.mmd").string();
    {
        RecordFile file;
        ASSERT_EQ(file.Open(other), 1);
        // A word cut short by the record's end is dropped.
        MemoryBlock list = WordList({"cherry"});
        list.Resize(list.Size() - 1);
        list.AppendString("dam", Nul::Exclude);
        ASSERT_EQ(file.WriteRecord(list, fulltext::kBuildRecord, fulltext::kBuildWordsId, 0), 1);
    }
    f.Call("RemoveAll");
    f.AppendIndexes(other);
    EXPECT_EQ(f.list->Items(), (Items{"cherry"}));
    f.AppendIndexes((dir / "missing.mmd").string());
    EXPECT_EQ(f.list->Items(), (Items{"cherry"}));
    EXPECT_FALSE(std::filesystem::exists(dir / "missing.mmd")) << "looking must not create the file";
    std::filesystem::remove_all(dir);
}
