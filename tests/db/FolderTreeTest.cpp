#include <gtest/gtest.h>

#include "db/FolderTree.h"

using namespace tamber;

TEST(FolderTree, EditsRoundTripThroughTheStoredForm)
{
    FolderTree tree = FolderTree::Fresh();
    int32_t art = tree.AddFolder(0, "Art");
    int32_t maps = tree.AddFolder(art, "Maps");
    int32_t sound = tree.AddFolder(0, "Sound");
    ASSERT_GT(art, 0);
    ASSERT_GT(maps, art);
    EXPECT_EQ(tree.AddFolder(77, "Nowhere"), -1);
    EXPECT_EQ(tree.FileMedia(maps, 12), 1);
    EXPECT_EQ(tree.FileMedia(maps, 12), 0) << "filed once only";
    EXPECT_EQ(tree.FileMedia(sound, 12), 1);
    EXPECT_EQ(tree.RenameFolder(sound, "Audio"), 1);

    FolderTree back;
    ASSERT_EQ(back.Parse(tree.Serialize()), 1);
    EXPECT_EQ(back.Parent(maps), art);
    EXPECT_EQ(back.Parent(art), 0);
    EXPECT_EQ(back.Parent(0), -1);
    EXPECT_EQ(back.Find(sound)->name, "Audio");
    EXPECT_EQ(back.FoldersOf(12), (std::vector<int32_t> { maps, sound }));

    EXPECT_EQ(back.RemoveFolder(0), 0) << "the root stays";
    ASSERT_EQ(back.RemoveFolder(art), 1);
    EXPECT_EQ(back.Find(maps), nullptr) << "the subtree goes with it";
    EXPECT_EQ(back.Find(0)->subfolders, (std::vector<int32_t> { sound }));
    EXPECT_EQ(back.UnfileEverywhere(12), 1);
    EXPECT_EQ(back.UnfileMedia(sound, 12), 0);
}

TEST(FolderTree, DamagedTreesKeepTheFoldersBeforeTheDamage)
{
    FolderTree tree = FolderTree::Fresh();
    tree.FileMedia(0, 5);
    int32_t a = tree.AddFolder(0, "A");
    tree.FileMedia(a, 6);
    MemoryBlock good = tree.Serialize();

    MemoryBlock lyingCount = good;
    int32_t secondFolder = lyingCount.Find(0, "A\0", 2, Exact::Yes, Direction::Forward) - 4;
    lyingCount.WriteInt(secondFolder + 6, 0x40000000, 4);  // subfolder count of "A"
    FolderTree parsed;
    EXPECT_EQ(parsed.Parse(lyingCount), 0);
    ASSERT_EQ(parsed.Folders().size(), 1u);
    EXPECT_EQ(parsed.Folders()[0].media, (std::vector<uint32_t> { 5 }));

    MemoryBlock noNul(0);
    noNul.AppendInt(0, 4);
    noNul.AppendString("Project", Nul::Exclude);
    EXPECT_EQ(parsed.Parse(noNul), 0);
    EXPECT_TRUE(parsed.Folders().empty());

    // A damaged tree in which a folder lists itself: removal ends.
    FolderTree cyclic = FolderTree::Fresh();
    int32_t b = cyclic.AddFolder(0, "B");
    MemoryBlock bytes = cyclic.Serialize();
    int32_t bAt = bytes.Find(0, "B\0", 2, Exact::Yes, Direction::Forward);
    bytes.WriteInt(bAt + 2, 1, 4);
    bytes.InsertInt(bAt + 6, b, 4);
    ASSERT_EQ(cyclic.Parse(bytes), 1);
    EXPECT_EQ(cyclic.RemoveFolder(b), 1);
    EXPECT_EQ(cyclic.Folders().size(), 1u);
}
