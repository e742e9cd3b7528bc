#include "iface/InterfaceRecord.h"

#include "iface/ChunkReader.h"
#include "iface/ChunkTags.h"
#include "iface/ElementFactory.h"
#include "iface/InterfaceModel.h"
#include "iface/InterfaceObject.h"
#include "iface/ScriptHost.h"

namespace tamber {

namespace {

constexpr int32_t kReservedRectSize = 16;
// The smallest stored element entry: id, reserved, two pstrings, rectangle, chunk count.
constexpr int32_t kMinEntrySize = 4 + 4 + 1 + 1 + kReservedRectSize + Element::kChunkCountSize;
constexpr int32_t kMinCardHeaderSize = 4 + 4 + 1;

void WriteEntry(const Element& element, MemoryBlock& out)
{
    ChunkWriter w(out);
    w.Int32(element.GetId());
    w.Int32(0);
    w.PString("");
    w.PString(element.GetTypeName());
    for (int i = 0; i < 4; ++i)
        w.Int32(0);
    element.WriteElementBlock(out);
}

// Reads one entry at the reader's position. The element is null when its type is unknown; its
// block is then walked all the same.
std::unique_ptr<Element> ReadEntry(InterfaceModel& model, const MemoryBlock& payload, ChunkReader& r,
    int32_t& next)
{
    int32_t id = r.Int32();
    r.Int32();
    r.PString();
    std::string typeName = r.PString();
    for (int i = 0; i < 4; ++i)
        r.Int32();
    std::unique_ptr<Element> element = CreateElement(&model, typeName, CardRect {}, id);
    Element scratch;
    Element& reader = element ? *element : scratch;
    next = r.Offset() + reader.ReadElementBlock(payload, r.Offset());
    return element;
}

void WriteGuides(const InterfaceModel& model, MemoryBlock& out)
{
    MemoryBlock guid;
    ChunkWriter w(guid);
    w.Bool(model.ShowGuides());
    for (const InterfaceModel::Guide& guide : model.Guides()) {
        w.Int(guide.kind, 1);
        w.Int32(guide.first);
        w.Int32(guide.second);
        w.Int32(guide.card);
    }
    out.WriteChunk(chunk::kGuid, guid);
}

void ReadGuides(InterfaceModel& model, const MemoryBlock& payload)
{
    ChunkReader r(payload);
    model.SetShowGuides(r.Bool());
    model.Guides().clear();
    while (r.Remaining() >= InterfaceRecord::kGuideEntrySize) {
        InterfaceModel::Guide guide;
        guide.kind = static_cast<uint8_t>(r.Int(1));
        guide.first = r.Int32();
        guide.second = r.Int32();
        guide.card = r.Int32();
        model.Guides().push_back(guide);
    }
}

// Where the top-level script chunks of a record go: a window that owns its Interface object
// gives them to the object; a window showing a child Interface keeps them apart from the
// child element's own script in its parent.
void ReadTopLevelChunk(InterfaceModel& model, std::string_view tag, const MemoryBlock& payload)
{
    InterfaceObject* object = model.Interface();
    if (!object)
        return;
    const bool own = model.OwnsInterface();
    if (tag == chunk::kScrp) {
        if (own) {
            object->Script() = payload;
            if (ScriptHost* host = ScriptHost::Installed())
                host->RebuildTokens(*object);
        } else {
            object->OwnScript() = payload;
        }
    } else if (tag == chunk::kTokn) {
        (own ? object->Tokens() : object->OwnTokens()) = payload;
    } else if (tag == chunk::kUAtt) {
        UserAttributeBlock& block = own ? object->UserAttributes() : object->SelfUserAttributes();
        block.Clear();
        block.Append(payload);
        for (const UserAttributeBlock::Record& record : block.Records())
            object->AddAttributeDefinition(record.name, record.type,
                own ? kUserAttributeFlags : kSelfRecordAttributeFlags);
    } else if (tag == chunk::kUEvn) {
        // A child keeps the records apart from its own user events, so that its window writes
        // them back unchanged.
        MemoryBlock& events = own ? object->UserEvents() : object->OwnEvents();
        events.Clear();
        for (int32_t at = 0; at + EventDef::kRecordSize <= payload.Size(); at += EventDef::kRecordSize) {
            EventDef def = EventDef::ReadRecord(payload, at);
            object->AddEventDefinition(def);
            def.AppendRecord(events);
        }
    }
}

void ReadTrailingChunks(InterfaceModel& model, const MemoryBlock& payload, int32_t at)
{
    while (at <= payload.Size() - MemoryBlock::kChunkHeaderSize) {
        std::string tag;
        MemoryBlock chunkPayload;
        at += payload.ReadChunk(at, tag, chunkPayload);
        if (tag == chunk::kGuid) {
            if (model.ReadsGuidesAndGrid())
                ReadGuides(model, chunkPayload);
        } else if (tag == chunk::kGrid) {
            if (model.ReadsGuidesAndGrid()) {
                ChunkReader r(chunkPayload);
                bool show = r.Bool();
                model.SetGrid(show, r.Int32());
            }
        } else if (tag == chunk::kEffc) {
            ChunkReader r(chunkPayload);
            int16_t effect = r.I16();
            model.SetEffect(effect, r.Int32());
        } else if (tag == chunk::kIntr) {
            if (InterfaceObject* object = model.Interface()) {
                // Only "Objp" and the class chunks of the inner block take effect.
                bool all = object->LoadAllChunks();
                object->SetLoadAllChunks(false);
                object->ReadElementBlock(chunkPayload, 0);
                object->SetLoadAllChunks(all);
            }
        } else {
            ReadTopLevelChunk(model, tag, chunkPayload);
        }
    }
}

}  // namespace

int InterfaceRecord::Load(InterfaceModel& model, const MediaDatabase* database, const MemoryBlock& payload)
{
    model.Clear();
    model.SetDatabase(database);
    if (model.OwnsInterface()) {
        InterfaceObject& object = *model.Interface();
        object.EnterSelfRole();
        object.UserAttributes().Clear();
        object.UserEvents().Clear();
    } else if (InterfaceObject* child = model.Interface()) {
        child->ForgetShownDefinitions();
    }
    model.ResetSettings();

    ChunkReader r(payload, kCardCountOffset);
    int64_t cards = static_cast<uint32_t>(r.Int32());
    int64_t entries = static_cast<uint32_t>(r.Int32());
    // Counts come from outside: nothing is created beyond what the bytes can hold.
    for (int64_t i = 0; i < entries && r.Remaining() >= kMinEntrySize; ++i) {
        int32_t next = 0;
        std::unique_ptr<Element> element = ReadEntry(model, payload, r, next);
        r.Seek(next);
        if (element)
            model.AddElement(InterfaceModel::kBackground, std::move(element));
    }
    for (int64_t card = 0; card < cards && r.Remaining() >= kMinCardHeaderSize; ++card) {
        int32_t index = model.NumCards();
        Card& added = model.AddCard();
        int64_t count = static_cast<uint32_t>(r.Int32());
        r.Int32();
        added.name = r.PString();
        for (int64_t i = 0; i < count && r.Remaining() >= kMinEntrySize; ++i) {
            int32_t next = 0;
            std::unique_ptr<Element> element = ReadEntry(model, payload, r, next);
            r.Seek(next);
            if (element)
                model.AddElement(index, std::move(element));
        }
    }
    if (model.NumCards() == 0)
        model.AddCard();

    ReadTrailingChunks(model, payload, r.Offset());

    if (InterfaceObject* object = model.Interface()) {
        model.CardSizeChanged(object->CardWidth(), object->CardHeight());
        if (!object->BackPalette().Empty())
            model.RealisePalette(object->BackPalette());
    }
    if (model.GetMode() == InterfaceModel::Mode::Running) {
        for (Card* card : {&model.Background(), model.CardAt(model.CurrentCard())}) {
            for (auto& element : card->elements) {
                AttributeValue display;
                bool floating = NamesEqual(element->GetTypeName(), "Interface")
                    && element->GetAttribute("Display", ValueType::Enum, display) == 1
                    && display.Enum() == InterfaceObject::kFloating;
                if (floating)
                    element->Hide();
                else if (element->IsVisible())
                    element->Show();
            }
        }
    }
    return 1;
}

void InterfaceRecord::Write(const InterfaceModel& model, MemoryBlock& out)
{
    ChunkWriter w(out);
    w.Int32(0);
    w.Int32(0);
    w.Int32(model.NumCards());
    w.Int32(static_cast<int32_t>(model.Background().elements.size()));
    for (const auto& element : model.Background().elements)
        WriteEntry(*element, out);
    for (int32_t index = 0; index < model.NumCards(); ++index) {
        const Card& card = *model.CardAt(index);
        w.Int32(static_cast<int32_t>(card.elements.size()));
        w.Int32(0);
        w.PString(card.name);
        for (const auto& element : card.elements)
            WriteEntry(*element, out);
    }

    WriteGuides(model, out);
    MemoryBlock grid;
    ChunkWriter(grid).Bool(model.ShowGrid());
    ChunkWriter(grid).Int32(model.GridStep());
    out.WriteChunk(chunk::kGrid, grid);
    MemoryBlock effect;
    ChunkWriter(effect).U16(static_cast<uint16_t>(model.Effect().effect));
    ChunkWriter(effect).Int32(model.Effect().parameter);
    out.WriteChunk(chunk::kEffc, effect);

    InterfaceObject* object = model.Interface();
    if (!object)
        return;
    const bool own = model.OwnsInterface();
    out.WriteChunk(chunk::kScrp, own ? object->Script() : object->OwnScript());
    out.WriteChunk(chunk::kTokn, own ? object->Tokens() : object->OwnTokens());
    out.WriteChunk(chunk::kUAtt, own ? object->UserAttributes() : object->SelfUserAttributes());
    out.WriteChunk(chunk::kUEvn, own ? object->UserEvents() : object->OwnEvents());
    MemoryBlock inner;
    object->WriteElementBlock(inner);
    out.WriteChunk(chunk::kIntr, inner);
}

void InterfaceRecord::WriteClipboard(std::span<const Element* const> elements, MemoryBlock& out)
{
    ChunkWriter w(out);
    w.Int32(static_cast<int32_t>(elements.size()));
    for (const Element* element : elements) {
        w.Int32(0);
        w.PString("");
        w.PString(element->GetTypeName());
        CardRect frame = element->GetFrame();
        w.Int32(frame.left);
        w.Int32(frame.top);
        w.Int32(frame.width);
        w.Int32(frame.height);
        element->WriteElementBlock(out);
    }
}

std::vector<std::unique_ptr<Element>> InterfaceRecord::ReadClipboard(InterfaceModel& model, const MemoryBlock& block)
{
    std::vector<std::unique_ptr<Element>> elements;
    ChunkReader r(block);
    int64_t count = static_cast<uint32_t>(r.Int32());
    constexpr int32_t kMinClipboardEntry = 4 + 1 + 1 + 16 + Element::kChunkCountSize;
    for (int64_t i = 0; i < count && r.Remaining() >= kMinClipboardEntry; ++i) {
        r.Int32();
        r.PString();
        std::string typeName = r.PString();
        CardRect frame;
        frame.left = r.Int32();
        frame.top = r.Int32();
        frame.width = r.Int32();
        frame.height = r.Int32();
        std::unique_ptr<Element> element = CreateElement(&model, typeName, frame, 0);
        Element scratch;
        Element& reader = element ? *element : scratch;
        int32_t next = r.Offset() + reader.ReadElementBlock(block, r.Offset());
        r.Seek(next);
        if (element) {
            element->SetParent(nullptr);
            elements.push_back(std::move(element));
        }
    }
    return elements;
}

}  // namespace tamber
