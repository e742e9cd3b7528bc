#include "media/Canvas.h"

#include <algorithm>
#include <new>

#include "base/AsciiCase.h"
#include "media/CanvasBitmaps.h"
#include "media/CanvasPictureSource.h"
#include "media/CanvasReader.h"
#include "media/HotLinkTable.h"
#include "platform/MessageSink.h"

namespace tamber {

namespace {

void Erase(std::vector<CanvasObject*>& list, const CanvasObject* object)
{
    list.erase(std::remove(list.begin(), list.end(), object), list.end());
}

} // namespace

void Canvas::Clear()
{
    m_width = 0;
    m_height = 0;
    m_live.clear();
    m_deleted.clear();
    m_objects.clear();
    m_commands.clear();
    m_eventGroups.clear();
}

int Canvas::Read(std::string_view text, const Sources& sources)
{
    Clear();
    m_error.clear();
    try {
        CanvasContent content;
        CanvasReader reader;
        if (!reader.Read(text, content)) {
            m_error = reader.Error();
            if (sources.hotLinks != nullptr)
                Bind(sources.hotLinks);
            return 0;
        }
        m_width = content.width;
        m_height = content.height;
        m_objects = std::move(content.objects);
        m_live = std::move(content.live);
        m_deleted = std::move(content.deleted);
        m_commands = std::move(content.commands);
        m_eventGroups = std::move(content.eventGroups);
        AttachPictures(sources);
        Bind(sources.hotLinks);
        return 1;
    } catch (const std::bad_alloc&) {
        Clear();
        m_error = "out of memory";
        if (sources.messages != nullptr)
            sources.messages->ShowMessage(MessageKind::Error, kMemoryCaption, kMemoryText);
        if (sources.hotLinks != nullptr)
            Bind(sources.hotLinks);
        return 0;
    }
}

void Canvas::AttachPictures(const Sources& sources)
{
    const MemoryBlock none;
    CanvasBitmaps stored(sources.bitmaps != nullptr ? *sources.bitmaps : none);
    std::vector<CanvasObject*> unresolved;
    for (const auto& object : m_objects) {
        if (object->type != CanvasObjectType::Bitmap)
            continue;
        if (stored.Find(object->id, object->picture))
            continue;
        if (!object->fileName.empty() && sources.files != nullptr
            && sources.files->LoadPicture(object->fileName, object->picture))
            continue;
        unresolved.push_back(object.get());
    }
    for (CanvasObject* object : unresolved)
        Drop(object);
}

void Canvas::Drop(CanvasObject* object)
{
    Erase(m_live, object);
    Erase(m_deleted, object);
    m_objects.erase(std::remove_if(m_objects.begin(), m_objects.end(),
                        [object](const std::unique_ptr<CanvasObject>& o) { return o.get() == object; }),
        m_objects.end());
}

void Canvas::Bind(HotLinkTable* hotLinks)
{
    for (const auto& object : m_objects) {
        object->members.clear();
        object->erasers.clear();
        object->parentObject = nullptr;
    }
    for (const auto& object : m_objects) {
        if (object->type == CanvasObjectType::Group) {
            std::vector<int32_t> kept;
            for (int32_t id : object->memberIds) {
                CanvasObject* member = Find(id);
                if (member == nullptr || member == object.get())
                    continue;
                kept.push_back(id);
                object->members.push_back(member);
            }
            object->memberIds = std::move(kept);
        }
        if (object->type == CanvasObjectType::Eraser) {
            CanvasObject* parent = Find(object->parent);
            if (parent != nullptr && parent != object.get()) {
                object->parentObject = parent;
                parent->erasers.push_back(object.get());
            }
        }
    }
    if (hotLinks == nullptr)
        return;
    for (HotLink& link : hotLinks->Links())
        link.object = link.kind == HotLinkKind::Object ? Find(link.objectId) : nullptr;
}

CanvasObject* Canvas::Find(int32_t id) const
{
    for (const auto& object : m_objects) {
        if (object->id == id)
            return object.get();
    }
    return nullptr;
}

const CanvasEventGroup* Canvas::FindEventGroup(std::string_view name) const
{
    for (const CanvasEventGroup& group : m_eventGroups) {
        if (EqualFolded(group.name, name))
            return &group;
    }
    return nullptr;
}

int Canvas::Execute(const CanvasCommand& command)
{
    if (command.type == CanvasCommandType::MacroBegin || command.type == CanvasCommandType::MacroEnd)
        return 1;
    CanvasObject* object = Find(command.id);
    if (object == nullptr)
        return 0;
    const auto inLive = std::find(m_live.begin(), m_live.end(), object);
    switch (command.type) {
    case CanvasCommandType::Add: {
        const auto at = std::find(m_deleted.begin(), m_deleted.end(), object);
        if (at == m_deleted.end())
            return 0;
        m_deleted.erase(at);
        m_live.insert(m_live.begin(), object);
        return 1;
    }
    case CanvasCommandType::Remove:
        if (inLive == m_live.end())
            return 0;
        m_live.erase(inLive);
        m_deleted.push_back(object);
        return 1;
    case CanvasCommandType::Move:
        object->Offset(command.point.x, command.point.y);
        return 1;
    case CanvasCommandType::MoveTo: {
        const gfx::Rect box = object->Box();
        object->Offset(ClampCoordinate(int64_t { command.point.x } - box.left),
            ClampCoordinate(int64_t { command.point.y } - box.top));
        return 1;
    }
    case CanvasCommandType::Resize:
        object->Resize(command.second, command.point);
        return 1;
    case CanvasCommandType::ToTop:
        if (inLive == m_live.end())
            return 0;
        m_live.erase(inLive);
        m_live.push_back(object);
        return 1;
    case CanvasCommandType::Swap:
        if (object->points.size() < 2)
            return 0;
        std::swap(object->points[0].y, object->points[1].y);
        return 1;
    case CanvasCommandType::AddInGroup: {
        CanvasObject* member = Find(command.second);
        if (object->type != CanvasObjectType::Group || member == nullptr || member == object
            || std::find(object->members.begin(), object->members.end(), member) != object->members.end())
            return 0;
        object->memberIds.push_back(member->id);
        object->members.push_back(member);
        return 1;
    }
    case CanvasCommandType::Attribute:
        object->Apply(command.attributes);
        return 1;
    case CanvasCommandType::SetOrder: {
        if (inLive == m_live.end())
            return 0;
        m_live.erase(inLive);
        const auto place = std::clamp<int64_t>(command.second, 0, static_cast<int64_t>(m_live.size()));
        m_live.insert(m_live.begin() + place, object);
        return 1;
    }
    case CanvasCommandType::MacroBegin:
    case CanvasCommandType::MacroEnd:
        break;
    }
    return 1;
}

} // namespace tamber
