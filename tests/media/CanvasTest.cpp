#include "media/Canvas.h"

#include <map>
#include <new>
#include <string>

#include <gtest/gtest.h>

#include "media/CanvasBitmaps.h"
#include "media/CanvasPictureSource.h"
#include "media/CanvasStepper.h"
#include "media/HotLinkTable.h"
#include "platform/Beeper.h"
#include "platform/MessageSink.h"

namespace tamber {
namespace {

MemoryBlock Bytes(const std::string& text)
{
    return MemoryBlock(text.data(), static_cast<int32_t>(text.size()));
}

// Pictures by file name, recording what was asked.
class NamedPictures : public CanvasPictureSource {
public:
    int LoadPicture(const std::string& fileName, MemoryBlock& picture) override
    {
        asked.push_back(fileName);
        const auto it = pictures.find(fileName);
        if (it == pictures.end())
            return 0;
        picture = Bytes(it->second);
        return 1;
    }
    std::map<std::string, std::string> pictures;
    std::vector<std::string> asked;
};

std::vector<int32_t> Ids(const std::vector<CanvasObject*>& list)
{
    std::vector<int32_t> ids;
    for (const CanvasObject* o : list)
        ids.push_back(o->id);
    return ids;
}

std::string Text(const std::string& objects, const std::string& rest = "")
{
    return "CANVAS (200 100) { OBJECT { " + objects + " } " + rest + " }";
}

TEST(Canvas, FailedReadLeavesTheCanvasEmpty)
{
    Canvas canvas;
    ASSERT_EQ(canvas.Read(Text("RECT 1 { } LINE 2 { }", "COMMAND { ADD (1) }"), {}), 1);
    EXPECT_EQ(canvas.Live().size(), 2u);
    EXPECT_EQ(canvas.Width(), 200);
    EXPECT_EQ(canvas.Read("CANVAS (10 10) { OBJECT { RECT 5 { } } OBJECT { } }", {}), 0);
    EXPECT_FALSE(canvas.Error().empty());
    EXPECT_TRUE(canvas.Live().empty());
    EXPECT_TRUE(canvas.Commands().empty());
    EXPECT_EQ(canvas.Find(5), nullptr);
    EXPECT_EQ(canvas.Width(), 0);
}

TEST(Canvas, BitmapsComeFromTheStoredRecordsThenTheirFileNames)
{
    MemoryBlock stored;
    // Out of reading order, with a record for an object the canvas does not have.
    CanvasBitmaps::AppendRecord(stored, 30, Bytes("BMthirty"));
    CanvasBitmaps::AppendRecord(stored, 99, Bytes("BMnobody"));
    CanvasBitmaps::AppendRecord(stored, 10, Bytes("BMten"));
    NamedPictures files;
    files.pictures["ART.BMP"] = "BMfile";
    files.pictures["db.mmd#Logo"] = "BMmedium";
    Canvas::Sources sources;
    sources.bitmaps = &stored;
    sources.files = &files;
    Canvas canvas;
    ASSERT_EQ(canvas.Read(Text("BITMAP 10 { FileName \"ART.BMP\" } RECT 20 { } BITMAP 30 { }"
                               " BITMAP 40 { FileName \"ART.BMP\" } BITMAP 50 { FileName \"db.mmd#Logo\" }"
                               " BITMAP 60 { FileName \"MISSING.BMP\" } BITMAP 70 { }",
                              "DELETED { BITMAP 80 { FileName \"ART.BMP\" } BITMAP 90 { } }"),
                  sources),
        1);
    // The stored record wins over the file name; objects without a picture anywhere are gone.
    EXPECT_EQ(Ids(canvas.Live()), (std::vector<int32_t> { 10, 20, 30, 40, 50 }));
    EXPECT_EQ(Ids(canvas.Deleted()), (std::vector<int32_t> { 80 }));
    EXPECT_EQ(canvas.Find(10)->picture.ToString(), "BMten");
    EXPECT_EQ(canvas.Find(30)->picture.ToString(), "BMthirty");
    EXPECT_EQ(canvas.Find(40)->picture.ToString(), "BMfile");
    EXPECT_EQ(canvas.Find(50)->picture.ToString(), "BMmedium");
    EXPECT_EQ(files.asked, (std::vector<std::string> { "ART.BMP", "db.mmd#Logo", "MISSING.BMP", "ART.BMP" }));
}

TEST(Canvas, RunningOutOfMemoryTellsTheUserAndFailsTheRead)
{
    class Exhausted : public CanvasPictureSource {
    public:
        int LoadPicture(const std::string&, MemoryBlock&) override { throw std::bad_alloc(); }
    } files;
    CapturingMessageSink messages;
    Canvas::Sources sources;
    sources.files = &files;
    sources.messages = &messages;
    Canvas canvas;
    EXPECT_EQ(canvas.Read(Text("RECT 1 { } BITMAP 2 { FileName \"BIG.BMP\" }"), sources), 0);
    EXPECT_TRUE(canvas.Live().empty());
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].caption, "MEMORY ERROR");
    EXPECT_EQ(messages.messages[0].text,
        "Insufficient Memory! Please increase your available RAM, or Virtual Memory.");
}

TEST(CanvasBitmaps, TriesTheNextRecordFirstAndStopsAtADamagedOne)
{
    MemoryBlock stored;
    CanvasBitmaps::AppendRecord(stored, 1, Bytes("one"));
    CanvasBitmaps::AppendRecord(stored, 2, Bytes("two"));
    CanvasBitmaps::AppendRecord(stored, 1, Bytes("again")); // found only by position
    CanvasBitmaps bitmaps(stored);
    MemoryBlock picture;
    ASSERT_EQ(bitmaps.Find(2, picture), 1);
    EXPECT_EQ(picture.ToString(), "two");
    ASSERT_EQ(bitmaps.Find(1, picture), 1);
    EXPECT_EQ(picture.ToString(), "again");
    ASSERT_EQ(bitmaps.Find(1, picture), 1); // past the end: from the start
    EXPECT_EQ(picture.ToString(), "one");
    EXPECT_EQ(bitmaps.Find(3, picture), 0);

    // A zero length ends the search; so does a length that runs past the end.
    MemoryBlock damaged;
    CanvasBitmaps::AppendRecord(damaged, 1, Bytes("one"));
    damaged.AppendInt(2, 4);
    damaged.AppendInt(0, 4);
    CanvasBitmaps::AppendRecord(damaged, 3, Bytes("three"));
    CanvasBitmaps a(damaged);
    EXPECT_EQ(a.Find(3, picture), 0);
    MemoryBlock truncated;
    CanvasBitmaps::AppendRecord(truncated, 1, Bytes("one"));
    truncated.AppendInt(2, 4);
    truncated.AppendInt(100, 4);
    truncated.AppendString("short", Nul::Exclude);
    CanvasBitmaps b(truncated);
    EXPECT_EQ(b.Find(2, picture), 0);
    EXPECT_EQ(b.Find(1, picture), 1);
}

TEST(Canvas, BindsGroupMembersErasersAndObjectHotLinks)
{
    HotLinkTable links;
    links.Links() = { HotLink { HotLinkKind::Object, {}, 3, nullptr, 100 },
        HotLink { HotLinkKind::Object, {}, 77, nullptr, 101 },
        HotLink { HotLinkKind::Area, { 1, 2, 3, 4 }, 0, nullptr, 102 } };
    Canvas::Sources sources;
    sources.hotLinks = &links;
    Canvas canvas;
    ASSERT_EQ(canvas.Read(Text("GROUP 1 { 2 3 4 1 } RECT 2 { } ERASER 5 { Parent 2 }",
                              "DELETED { OVAL 3 { } ERASER 6 { Parent 9 } }"),
                  sources),
        1);
    const CanvasObject* group = canvas.Find(1);
    // Unknown ids and the group itself are left out.
    EXPECT_EQ(group->memberIds, (std::vector<int32_t> { 2, 3 }));
    ASSERT_EQ(group->members.size(), 2u);
    EXPECT_EQ(group->members[1], canvas.Find(3));
    EXPECT_EQ(canvas.Find(5)->parentObject, canvas.Find(2));
    EXPECT_EQ(canvas.Find(2)->erasers, (std::vector<CanvasObject*> { canvas.Find(5) }));
    EXPECT_EQ(canvas.Find(6)->parentObject, nullptr);
    EXPECT_EQ(links.Links()[0].object, canvas.Find(3));
    EXPECT_EQ(links.Links()[1].object, nullptr);
    EXPECT_EQ(links.Links()[2].object, nullptr);

    // A failed read unbinds them.
    EXPECT_EQ(canvas.Read("CANVAS (", sources), 0);
    EXPECT_EQ(links.Links()[0].object, nullptr);
}

TEST(Canvas, FindsEventGroupsWithoutRegardToCase)
{
    Canvas canvas;
    ASSERT_EQ(
        canvas.Read(Text("", "EVENTGROUP { EVENT \"Wave\" TRUE { } EVENT \"Jump\" FALSE { ADD (1) } }"), {}),
        1);
    ASSERT_NE(canvas.FindEventGroup("JUMP"), nullptr);
    EXPECT_EQ(canvas.FindEventGroup("jump")->commands.size(), 1u);
    EXPECT_TRUE(canvas.FindEventGroup("wAVE")->flag);
    EXPECT_EQ(canvas.FindEventGroup("Jum"), nullptr);
}

class CanvasCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(canvas.Read(Text("RECT 1 { (10 10 20 30) } LINE 2 { (0 0 5 8) } OVAL 3 { } GROUP 4 { 2 }",
                                  "DELETED { TEXT 5 { (50 60) } RECT 6 { Bound (0 0 4 4) } }"),
                      {}),
            1);
    }
    int Run(const std::string& command)
    {
        Canvas scratch;
        EXPECT_EQ(scratch.Read(Text("", "COMMAND { " + command + " }"), {}), 1) << command;
        return canvas.Execute(scratch.Commands().at(0));
    }
    Canvas canvas;
};

TEST_F(CanvasCommands, AddAndRemoveMoveObjectsBetweenTheLists)
{
    EXPECT_EQ(Run("ADD (5)"), 1);
    EXPECT_EQ(Ids(canvas.Live()), (std::vector<int32_t> { 5, 1, 2, 3, 4 })); // at the head
    EXPECT_EQ(Ids(canvas.Deleted()), (std::vector<int32_t> { 6 }));
    EXPECT_EQ(Run("ADD (5)"), 0); // already live
    EXPECT_EQ(Run("REMOVE (2)"), 1);
    EXPECT_EQ(Ids(canvas.Live()), (std::vector<int32_t> { 5, 1, 3, 4 }));
    EXPECT_EQ(Ids(canvas.Deleted()), (std::vector<int32_t> { 6, 2 }));
    EXPECT_EQ(Run("REMOVE (2)"), 0);
    EXPECT_EQ(Run("ADD (2)"), 1);
    EXPECT_EQ(Ids(canvas.Live()), (std::vector<int32_t> { 2, 5, 1, 3, 4 }));
}

TEST_F(CanvasCommands, OrderCommandsChangeTheDrawingOrder)
{
    EXPECT_EQ(Run("TOTOP (1 0)"), 1);
    EXPECT_EQ(Ids(canvas.Live()), (std::vector<int32_t> { 2, 3, 4, 1 }));
    EXPECT_EQ(Run("SETORDER (1 0)"), 1);
    EXPECT_EQ(Ids(canvas.Live()), (std::vector<int32_t> { 1, 2, 3, 4 }));
    EXPECT_EQ(Run("SETORDER (2 2)"), 1);
    EXPECT_EQ(Ids(canvas.Live()), (std::vector<int32_t> { 1, 3, 2, 4 }));
    EXPECT_EQ(Run("SETORDER (3 99)"), 1); // past the end: last
    EXPECT_EQ(Ids(canvas.Live()), (std::vector<int32_t> { 1, 2, 4, 3 }));
    EXPECT_EQ(Run("SETORDER (4 -3)"), 1);
    EXPECT_EQ(Ids(canvas.Live()), (std::vector<int32_t> { 4, 1, 2, 3 }));
    EXPECT_EQ(Run("TOTOP (5 0)"), 0); // deleted objects have no place
}

TEST_F(CanvasCommands, GeometryCommandsMoveAndReshape)
{
    CanvasObject& rect = *canvas.Find(1);
    EXPECT_EQ(Run("MOVE (1 (5 -3))"), 1);
    EXPECT_EQ(rect.points, (std::vector<gfx::Point> { { 15, 7 }, { 25, 27 } }));
    EXPECT_EQ(Run("MOVETO (1 (0 0))"), 1);
    EXPECT_EQ(rect.points, (std::vector<gfx::Point> { { 0, 0 }, { 10, 20 } }));
    // The bottom-right handle to (20, 10): the box becomes 0..20 x 0..10.
    EXPECT_EQ(Run("RESIZE (1 4 (20 10))"), 1);
    EXPECT_EQ(rect.points, (std::vector<gfx::Point> { { 0, 0 }, { 20, 10 } }));
    // The left handle leaves the vertical extent alone.
    EXPECT_EQ(Run("RESIZE (1 7 (10 99))"), 1);
    EXPECT_EQ(rect.points, (std::vector<gfx::Point> { { 10, 0 }, { 20, 10 } }));
    EXPECT_EQ(Run("SWAP (1)"), 1);
    EXPECT_EQ(rect.points, (std::vector<gfx::Point> { { 10, 10 }, { 20, 0 } }));
    EXPECT_EQ(Run("SWAP (3)"), 0); // no points

    // A group moves its members; a bound moves with its object.
    EXPECT_EQ(Run("MOVE (4 (1 1))"), 1);
    EXPECT_EQ(canvas.Find(2)->points, (std::vector<gfx::Point> { { 1, 1 }, { 6, 9 } }));
    EXPECT_EQ(Run("MOVE (6 (2 3))"), 1);
    EXPECT_EQ(canvas.Find(6)->bound, gfx::Rect::FromSize(2, 3, 4, 4));
}

TEST_F(CanvasCommands, GroupsAndAttributes)
{
    EXPECT_EQ(Run("ADDINGROUP (4 1)"), 1);
    EXPECT_EQ(canvas.Find(4)->memberIds, (std::vector<int32_t> { 2, 1 }));
    EXPECT_EQ(Run("ADDINGROUP (4 1)"), 0); // already a member
    EXPECT_EQ(Run("ADDINGROUP (1 2)"), 0); // not a group
    EXPECT_EQ(Run("ADDINGROUP (4 4)"), 0);

    EXPECT_EQ(Run("ATTRIBUTE (4 ForeColor 0x0000FF FillColor 0xFF0000 Transparency 170)"), 1);
    for (int32_t id : { 1, 2 }) {
        const CanvasObject& member = *canvas.Find(id);
        EXPECT_EQ(member.foreColor, 0x0000FFu);
        EXPECT_TRUE(member.filled);
        EXPECT_EQ(member.transparency, 70);
        EXPECT_EQ(member.lineWidth, 1); // not given: kept
    }
    EXPECT_EQ(canvas.Find(3)->foreColor, 0u);
}

TEST(CanvasStepper, MacrosRunAsOneStepAndAnEmptyStepBeeps)
{
    Canvas canvas;
    ASSERT_EQ(
        canvas.Read(
            Text("RECT 1 { (0 0 1 1) }",
                "COMMAND { MOVE (1 (1 0)) MACROBEGIN () MOVE (1 (1 0)) MACROBEGIN () MOVE (1 (1 0))"
                " MACROEND () MOVE (1 (1 0)) MACROEND () MOVE (1 (1 0)) MACROBEGIN () MOVE (1 (1 0)) }"),
            {}),
        1);
    CountingBeeper beeper;
    CanvasStepper stepper(canvas, canvas.Commands(), &beeper);
    auto x = [&] { return canvas.Find(1)->points[0].x; };
    EXPECT_EQ(stepper.Step(), 1);
    EXPECT_EQ(x(), 1);
    EXPECT_TRUE(stepper.RedrawNeeded());
    // The nested bracket shows as one change.
    EXPECT_EQ(stepper.Step(), 7);
    EXPECT_EQ(x(), 4);
    EXPECT_TRUE(stepper.RedrawNeeded());
    EXPECT_EQ(stepper.Step(), 1);
    EXPECT_EQ(x(), 5);
    // An unclosed bracket runs to the end and asks for no redraw.
    EXPECT_EQ(stepper.Step(), 2);
    EXPECT_EQ(x(), 6);
    EXPECT_FALSE(stepper.RedrawNeeded());
    EXPECT_EQ(stepper.Depth(), 1);
    EXPECT_TRUE(stepper.Done());
    EXPECT_EQ(beeper.Count(), 0);
    EXPECT_EQ(stepper.Step(), 0);
    EXPECT_EQ(beeper.Count(), 1);
    EXPECT_EQ(x(), 6);
}

TEST(HotLinkTable, ParsesStoresAndAnswersQueries)
{
    HotLinkTable table;
    table.Links() = { HotLink { HotLinkKind::Area, { 1, 2, 3, 4 }, 0, nullptr, 7 },
        HotLink { HotLinkKind::Object, {}, 12, nullptr, 8 },
        HotLink { HotLinkKind::Area, { -5, 6, 70, 80 }, 0, nullptr, 7 } };
    const MemoryBlock stored = table.Store();
    ASSERT_EQ(stored.Size(), 4 + 3 * 21);
    EXPECT_EQ(stored.ReadInt(4 + 21, 1), 1);
    EXPECT_EQ(stored.ReadInt(4 + 21 + 1, 4), 12);
    EXPECT_EQ(stored.ReadInt(4 + 21 + 17, 4), 8);

    HotLinkTable read;
    ASSERT_EQ(read.Parse(stored), 1);
    ASSERT_EQ(read.Count(), 3);
    HotLinkArea area;
    int32_t linkId = 0;
    int32_t objectId = 0;
    ASSERT_EQ(read.GetArea(2, area, linkId), 1);
    EXPECT_EQ(area, (HotLinkArea { -5, 6, 70, 80 }));
    EXPECT_EQ(linkId, 7);
    EXPECT_EQ(read.GetArea(1, area, linkId), 0);
    ASSERT_EQ(read.GetObject(1, objectId, linkId), 1);
    EXPECT_EQ(objectId, 12);
    EXPECT_EQ(linkId, 8);
    EXPECT_EQ(read.GetObject(0, objectId, linkId), 0);
    EXPECT_EQ(read.GetArea(3, area, linkId), 0);

    // The last area link with the id changes; object links are never areas.
    ASSERT_EQ(read.SetArea(7, HotLinkArea { 9, 9, 9, 9 }), 1);
    read.GetArea(0, area, linkId);
    EXPECT_EQ(area, (HotLinkArea { 1, 2, 3, 4 }));
    read.GetArea(2, area, linkId);
    EXPECT_EQ(area, (HotLinkArea { 9, 9, 9, 9 }));
    EXPECT_EQ(read.SetArea(8, HotLinkArea {}), 0);
}

TEST(HotLinkTable, DamagedTablesKeepTheWholeEntries)
{
    HotLinkTable table;
    MemoryBlock empty;
    empty.AppendInt(0, 4);
    EXPECT_EQ(table.Parse(empty), 1);
    EXPECT_EQ(table.Count(), 0);
    EXPECT_EQ(table.Parse(Bytes("ab")), 0);

    HotLinkTable source;
    source.Links() = { HotLink { HotLinkKind::Area, { 1, 2, 3, 4 }, 0, nullptr, 1 },
        HotLink { HotLinkKind::Area, { 5, 6, 7, 8 }, 0, nullptr, 2 } };
    MemoryBlock stored = source.Store();
    stored.WriteInt(0, 1000, 4); // claims more than it holds
    stored.Resize(stored.Size() - 1);
    ASSERT_EQ(table.Parse(stored), 1);
    EXPECT_EQ(table.Count(), 1);
    stored = source.Store();
    stored.WriteInt(4 + 21, 9, 1); // an unknown kind ends the table
    ASSERT_EQ(table.Parse(stored), 1);
    EXPECT_EQ(table.Count(), 1);
}

} // namespace
} // namespace tamber
