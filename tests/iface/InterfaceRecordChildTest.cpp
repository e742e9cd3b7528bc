#include <algorithm>

#include <gtest/gtest.h>

#include "iface/ChunkTags.h"
#include "iface/ElementFactory.h"
#include "iface/InterfaceModel.h"
#include "iface/InterfaceObject.h"
#include "iface/InterfaceRecord.h"

using namespace tamber;

namespace {

// The payload of the top-level trailing chunk with the tag; the trailing chunks follow the
// last Card, beginning with "Guid".
MemoryBlock TrailingChunk(const MemoryBlock& record, std::string_view tag)
{
    int32_t at = record.Find(0, chunk::kGuid.data(), 4, Exact::Yes, Direction::Forward);
    while (at >= 0 && at <= record.Size() - MemoryBlock::kChunkHeaderSize) {
        std::string found;
        MemoryBlock payload;
        at += record.ReadChunk(at, found, payload);
        if (found == tag)
            return payload;
    }
    return MemoryBlock();
}

}  // namespace

TEST(InterfaceRecordChild, ChildWindowWritesTheRecordsUserEventsBackUnchanged)
{
    InterfaceModel source;
    InterfaceObject& self = source.AdoptInterface(std::make_unique<InterfaceObject>());
    source.AddCard();
    ASSERT_EQ(self.AddUserEvent(EventDef {"Won", {ParamDef {ValueType::Long, "Points"}, {}, {}, {}}}), 1);
    ASSERT_EQ(self.AddUserEvent(EventDef {"Lost", {}}), 1);
    ASSERT_EQ(self.AddUserAttribute("Score", ValueType::Long), 1);
    MemoryBlock record;
    InterfaceRecord::Write(source, record);
    const MemoryBlock events = TrailingChunk(record, chunk::kUEvn);
    ASSERT_EQ(events.Size(), 2 * EventDef::kRecordSize);

    InterfaceModel parent;
    parent.AddCard();
    auto* child = static_cast<InterfaceObject*>(
        parent.AddElement(0, CreateElement(&parent, "Interface", CardRect {0, 0, 50, 50}, 3)));
    ASSERT_NE(child, nullptr);
    ASSERT_EQ(child->AddUserEvent(EventDef {"Mine", {}}), 1);
    InterfaceModel childWindow;
    childWindow.ShowInterfaceOf(child);
    // Loading twice (a modal child's window is made afresh on every "Open") must pile up
    // neither the records nor the definitions they add.
    InterfaceRecord::Load(childWindow, nullptr, record);
    InterfaceRecord::Load(childWindow, nullptr, record);

    auto named = [](const auto& table, std::string_view name) {
        return std::count_if(table.begin(), table.end(), [&](const auto& def) { return def.name == name; });
    };
    EXPECT_EQ(named(child->EventTable(), "Won"), 1);
    EXPECT_EQ(named(child->EventTable(), "Mine"), 1);
    EXPECT_EQ(named(child->AttributeTable(), "Score"), 1);
    EXPECT_EQ(child->UserEvents().Size(), EventDef::kRecordSize);
    EXPECT_EQ(child->OwnEvents(), events);
    MemoryBlock again;
    InterfaceRecord::Write(childWindow, again);
    EXPECT_EQ(TrailingChunk(again, chunk::kUEvn), events);

    // A record without events leaves none from the one loaded before.
    InterfaceModel plain;
    plain.AdoptInterface(std::make_unique<InterfaceObject>());
    plain.AddCard();
    MemoryBlock none;
    InterfaceRecord::Write(plain, none);
    InterfaceRecord::Load(childWindow, nullptr, none);
    EXPECT_TRUE(child->OwnEvents().Empty());
    EXPECT_EQ(named(child->EventTable(), "Won"), 0);
    EXPECT_EQ(named(child->AttributeTable(), "Score"), 0);
    EXPECT_EQ(named(child->EventTable(), "Mine"), 1);
}
