#include <gtest/gtest.h>

#include "base/Resources.h"

using namespace tamber;

namespace {

const uint8_t kFirst[] = {1, 2, 3};
const uint8_t kSecond[] = {9};
const ResourceData kTable[] = {
    {Resources::kRawData, 100, kFirst, sizeof kFirst},
    {Resources::kRawData, 101, kSecond, sizeof kSecond},
};
const uint8_t kShadow[] = {7, 7};
const ResourceData kLater[] = {
    {Resources::kRawData, 100, kShadow, sizeof kShadow},
    {2, 100, kShadow, sizeof kShadow},
};

}  // namespace

TEST(Resources, FindsByTypeAndIdAndTheFirstTableWins)
{
    Resources resources;
    resources.Add(kTable);
    resources.Add(kLater);
    resources.Add(kTable);  // ignored: already present
    auto first = resources.Find(Resources::kRawData, 100);
    ASSERT_EQ(first.size(), 3u);
    EXPECT_EQ(first[2], 3);
    EXPECT_EQ(resources.Find(2, 100).size(), 2u);
    EXPECT_TRUE(resources.Find(2, 101).empty());

    MemoryBlock block;
    EXPECT_EQ(resources.Load(Resources::kRawData, 101, block), 1);
    EXPECT_EQ(block.Size(), 1);
    EXPECT_EQ(block.ReadInt(0, 1), 9);
    EXPECT_EQ(resources.Load(Resources::kRawData, 555, block), -1);
    EXPECT_EQ(block.Size(), 1);  // untouched
}
