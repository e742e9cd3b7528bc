#include "iface/Element.h"

#include "iface/AttributeAccessor.h"
#include "iface/ChunkReader.h"
#include "iface/ChunkTags.h"
#include "iface/ClassRegistry.h"
#include "iface/InterfaceModel.h"
#include "iface/ScriptHost.h"

namespace tamber {

namespace {

AttributeDef Common(const char* name, ValueType type, AttributeFlags flags)
{
    return AttributeDef {name, type, flags, {}};
}

ParamDef Param(ValueType type, const char* name)
{
    return ParamDef {type, name};
}

MethodDef Method(const char* name, ParamDef first = {}, ParamDef second = {})
{
    return MethodDef {name, {first, second, ParamDef {}, ParamDef {}}, ValueType::Void};
}

EventDef Event(const char* name, ParamDef first = {}, ParamDef second = {})
{
    return EventDef {name, {first, second, ParamDef {}, ParamDef {}}};
}

// Whether a declared attribute that holds no value (no link, no user attribute) still answers
// success: the types whose values live elsewhere or are not kept at all.
int AcceptedWithoutValue(ValueType type)
{
    switch (type) {
    case ValueType::Id:
    case ValueType::Enum:
    case ValueType::Special:
    case ValueType::Script:
    case ValueType::Media:
        return 1;
    default:
        return 0;
    }
}

int32_t LongParam(std::span<const AttributeValue> params, size_t index)
{
    return index < params.size() ? params[index].Long() : 0;
}

}  // namespace

// Accessors of the common attributes, kept out of the header.
struct ElementAccess {
    static std::span<const AttributeAccessor<Element>> Table();
};

std::span<const AttributeAccessor<Element>> ElementAccess::Table()
{
    using E = Element;
    using V = AttributeValue;
    static const AttributeAccessor<Element> kTable[] = {
        {"ID", ValueType::Long, GetMember<&E::m_id>,
            [](E& e, const V& v) {
                e.m_id = v.Long() < 1 ? 1 : v.Long();
                e.MarkModified();
                return 1;
            }},
        {"MouseEvents", ValueType::Boolean, GetMember<&E::m_mouseEvents>, SetMember<&E::m_mouseEvents>},
        {"Name", ValueType::String, GetMember<&E::m_name>,
            [](E& e, const V& v) {
                e.SetName(v.String());
                return 1;
            }},
        {"Type", ValueType::String, GetMember<&E::m_typeName>, nullptr},
        {"RectLeft", ValueType::Long, [](const E& e, V& v) { v.SetLong(e.m_frame.left); },
            [](E& e, const V& v) {
                if (v.Long() != e.m_frame.left)
                    e.MoveTo(v.Long(), e.m_frame.top, false);
                return 1;
            }},
        {"RectTop", ValueType::Long, [](const E& e, V& v) { v.SetLong(e.m_frame.top); },
            [](E& e, const V& v) {
                if (v.Long() != e.m_frame.top)
                    e.MoveTo(e.m_frame.left, v.Long(), false);
                return 1;
            }},
        {"RectWidth", ValueType::Long, [](const E& e, V& v) { v.SetLong(e.m_frame.width); },
            [](E& e, const V& v) {
                if (v.Long() != e.m_frame.width)
                    e.SizeTo(v.Long(), e.m_frame.height);
                return 1;
            }},
        {"RectHeight", ValueType::Long, [](const E& e, V& v) { v.SetLong(e.m_frame.height); },
            [](E& e, const V& v) {
                if (v.Long() != e.m_frame.height)
                    e.SizeTo(e.m_frame.width, v.Long());
                return 1;
            }},
        {"AttachLeft", ValueType::Boolean, [](const E& e, V& v) { v.SetBoolean(e.m_attach[0]); },
            [](E& e, const V& v) { return e.m_attach[0] = v.Boolean(), 1; }},
        {"AttachTop", ValueType::Boolean, [](const E& e, V& v) { v.SetBoolean(e.m_attach[1]); },
            [](E& e, const V& v) { return e.m_attach[1] = v.Boolean(), 1; }},
        {"AttachRight", ValueType::Boolean, [](const E& e, V& v) { v.SetBoolean(e.m_attach[2]); },
            [](E& e, const V& v) { return e.m_attach[2] = v.Boolean(), 1; }},
        {"AttachBottom", ValueType::Boolean, [](const E& e, V& v) { v.SetBoolean(e.m_attach[3]); },
            [](E& e, const V& v) { return e.m_attach[3] = v.Boolean(), 1; }},
        {"Visible", ValueType::Boolean, GetMember<&E::m_visible>,
            [](E& e, const V& v) { return e.SetVisible(v.Boolean()), 1; }},
        {"Enabled", ValueType::Boolean, GetMember<&E::m_enabled>,
            [](E& e, const V& v) { return e.SetEnabled(v.Boolean()), 1; }},
        {"hWnd", ValueType::Long,
            [](const E& e, V& v) { v.SetLong(static_cast<int32_t>(e.WindowHandle())); }, nullptr},
        {"Script", ValueType::Script,
            [](const E& e, V& v) {
                if (ScriptHost* host = ScriptHost::Installed())
                    host->EnsureEventStubs(const_cast<E&>(e));
                v.SetBlock(e.m_script);
            },
            [](E& e, const V& v) {
                e.m_script = v.Block();
                if (ScriptHost* host = ScriptHost::Installed())
                    host->RebuildTokens(e);
                e.MarkModified();
                return 1;
            }},
        {"SpawnPopups", ValueType::Boolean, GetMember<&E::m_spawnPopups>, SetMember<&E::m_spawnPopups>},
    };
    return kTable;
}

Element::Element(InterfaceModel* parent, int32_t ownerData) : m_parent(parent), m_ownerData(ownerData) { }

Element::~Element() = default;

int Element::LoadClassDefinition(uint16_t classId)
{
    int result = ClassRegistry::Process().Load(classId, m_definition);
    if (!m_definition.typeName.empty())
        m_typeName = m_definition.typeName;
    return result;
}

const std::vector<AttributeDef>& Element::CommonAttributes()
{
    static const std::vector<AttributeDef> kTable = {
        Common("AttachBottom", ValueType::Boolean, kFullAccess),
        Common("AttachLeft", ValueType::Boolean, kFullAccess),
        Common("AttachRight", ValueType::Boolean, kFullAccess),
        Common("AttachTop", ValueType::Boolean, kFullAccess),
        Common("Enabled", ValueType::Boolean, kFullAccess),
        Common("hWnd", ValueType::Long, AF_RUNTIME | AF_READ),
        Common("ID", ValueType::Long, kFullAccess),
        Common("MouseEvents", ValueType::Boolean, kFullAccess),
        Common("Name", ValueType::String, kFullAccess),
        Common("RectLeft", ValueType::Long, kFullAccess),
        Common("RectHeight", ValueType::Long, kFullAccess),
        Common("RectTop", ValueType::Long, kFullAccess),
        Common("RectWidth", ValueType::Long, kFullAccess),
        Common("SpawnPopups", ValueType::Boolean, kFullAccess),
        Common("Script", ValueType::Script, kFullAccess),
        Common("Type", ValueType::String, AF_DESIGN | AF_RUNTIME | AF_READ),
        Common("Visible", ValueType::Boolean, kFullAccess),
    };
    return kTable;
}

const std::vector<MethodDef>& Element::CommonMethods()
{
    static const std::vector<MethodDef> kTable = {
        Method("Focus"),
        Method("Hide"),
        Method("Move", Param(ValueType::Long, "X"), Param(ValueType::Long, "Y")),
        Method("Reconstruct"),
        Method("Redraw"),
        Method("Show"),
        Method("Size", Param(ValueType::Long, "Width"), Param(ValueType::Long, "Height")),
        Method("Update"),
    };
    return kTable;
}

const std::vector<EventDef>& Element::CommonEvents()
{
    const ParamDef x = Param(ValueType::Long, "X");
    const ParamDef y = Param(ValueType::Long, "Y");
    static const std::vector<EventDef> kTable = {
        Event("Disabled"),
        Event("Enabled"),
        Event("Hidden"),
        Event("MouseDoubleClick", x, y),
        Event("MouseDown", x, y),
        Event("MouseEnter", x, y),
        Event("MouseLeave", x, y),
        Event("MouseUp", x, y),
        Event("MouseWithin", x, y),
        Event("Moved", x, y),
        Event("Shown"),
        Event("Sized", Param(ValueType::Long, "Width"), Param(ValueType::Long, "Height")),
    };
    return kTable;
}

const std::vector<AttributeDef>& Element::CommonAttributeTable() const
{
    static const std::vector<AttributeDef> kNone;
    return IsSelfRole() ? kNone : CommonAttributes();
}

int Element::GetAttribute(std::string_view name, ValueType type, AttributeValue& value)
{
    int result = GetCommonAttribute(name, type, value);
    if (result != kNotInTable)
        return result;
    return GetLinkOrTableAttribute(name, type, value);
}

int Element::SetAttribute(std::string_view name, ValueType type, const AttributeValue& value)
{
    int result = SetCommonAttribute(name, type, value);
    if (result != kNotInTable)
        return result;
    return SetLinkOrTableAttribute(name, type, value);
}

// The common names are answered while they are visible in the common table or, for an
// Interface in its self role, in the class table ("MouseEvents", "Script", "hWnd").
static bool CommonNameVisible(const Element& element, std::string_view name)
{
    return FindAttribute(element.CommonAttributeTable(), name)
        || (element.IsSelfRole() && FindAttribute(element.AttributeTable(), name));
}

int Element::GetCommonAttribute(std::string_view name, ValueType type, AttributeValue& value)
{
    if (!CommonNameVisible(*this, name))
        return kNotInTable;
    return GetThroughTable(ElementAccess::Table(), *this, name, type, value);
}

int Element::SetCommonAttribute(std::string_view name, ValueType type, const AttributeValue& value)
{
    if (!CommonNameVisible(*this, name))
        return kNotInTable;
    return SetThroughTable(ElementAccess::Table(), *this, name, type, value);
}

int Element::GetLinkOrTableAttribute(std::string_view name, ValueType type, AttributeValue& value)
{
    const AttributeDef* def = FindAttribute(m_definition.attributes, name);
    if (!def)
        return 0;
    bool pictureAsBoolean = def->type == ValueType::Picture && type == ValueType::Boolean;
    if (def->type != type && !pictureAsBoolean)
        return 0;
    int link = m_links.IndexOf(name);
    if (link >= 0 && def->type == ValueType::Id) {
        value.SetLong(m_links.Id(link));
        return 1;
    }
    if (def->type == ValueType::Media && m_userAttributes.Find(name).offset < 0) {
        value.SetMedia(m_media);
        return 1;
    }
    for (const UserAttributeBlock* block : {&m_userAttributes, &m_selfUserAttributes}) {
        UserAttributeBlock::Record record = block->Find(name);
        if (record.offset < 0)
            continue;
        if (pictureAsBoolean) {
            value.SetBoolean(record.valueSize > 0);
            return 1;
        }
        return block->ReadValue(name, value);
    }
    return AcceptedWithoutValue(def->type);
}

int Element::SetLinkOrTableAttribute(std::string_view name, ValueType type, const AttributeValue& value)
{
    const AttributeDef* def = FindAttribute(m_definition.attributes, name);
    if (!def || def->type != type)
        return 0;
    int link = m_links.IndexOf(name);
    if (link >= 0 && def->type == ValueType::Id) {
        m_links.Set(link, value.Long(), *this);
        MarkModified();
        return 1;
    }
    if (def->type == ValueType::Media && m_userAttributes.Find(name).offset < 0) {
        MediaRef media = value.Media();
        SetMedia(media.database ? media.database : Database(), media.mediaId);
        MarkModified();
        return 1;
    }
    for (UserAttributeBlock* block : {&m_userAttributes, &m_selfUserAttributes}) {
        if (block->Find(name).offset >= 0) {
            int result = block->WriteValue(name, value);
            if (result)
                MarkModified();
            return result;
        }
    }
    return AcceptedWithoutValue(def->type);
}

int Element::CallMethod(std::string_view name, std::span<const AttributeValue> params, AttributeValue& result)
{
    if (FindMethod(CommonMethods(), name))
        return CallCommonMethod(name, params);
    if (ScriptHost* host = ScriptHost::Installed())
        return host->CallFunction(*this, name, params, result) == 1 ? 1 : 0;
    return 0;
}

int Element::CallCommonMethod(std::string_view name, std::span<const AttributeValue> params)
{
    bool onCurrentCard = m_parent && m_parent->CardOf(*this) == m_parent->CurrentCard();
    if (NamesEqual(name, "Update")) {
        if (onCurrentCard && m_visible)
            m_parent->UpdateElement(*this);
    } else if (NamesEqual(name, "Reconstruct")) {
        if (onCurrentCard) {
            Destroy();
            Create();
            Show();
            m_parent->Redraw();
        }
    } else if (NamesEqual(name, "Redraw")) {
        if (m_parent)
            m_parent->InvalidateElement(*this);
    } else if (NamesEqual(name, "Focus")) {
        if (m_parent)
            m_parent->FocusElement(*this);
    } else if (NamesEqual(name, "Hide")) {
        SetAttribute("Visible", ValueType::Boolean, AttributeValue::OfBoolean(false));
    } else if (NamesEqual(name, "Show")) {
        SetAttribute("Visible", ValueType::Boolean, AttributeValue::OfBoolean(true));
    } else if (NamesEqual(name, "Move")) {
        MoveTo(LongParam(params, 0), LongParam(params, 1), true);
    } else if (NamesEqual(name, "Size")) {
        SizeTo(LongParam(params, 0), LongParam(params, 1));
    } else {
        return 0;
    }
    return 1;
}

int Element::ExecuteEvent(std::string_view name, int32_t hotLink, std::span<const AttributeValue> params,
    bool* handled)
{
    int ran = 0;
    if (ScriptHost* host = ScriptHost::Installed())
        ran = host->ExecuteEvent(*this, EventCall {name, hotLink, params}) == 1 ? 1 : 0;
    if (handled)
        *handled = ran == 1;
    return ran;
}

int Element::RaiseEvent(std::string_view name, std::span<const AttributeValue> params)
{
    return ExecuteEvent(name, -1, params);
}

void Element::MoveTo(int32_t left, int32_t top, bool force)
{
    if (!force && left == m_frame.left && top == m_frame.top)
        return;
    CardRect old = m_frame;
    if (m_parent)
        m_parent->ElementFrameChanging(*this);
    m_frame.left = left;
    m_frame.top = top;
    if (m_parent)
        m_parent->ElementFrameChanged(*this, old);
    MarkModified();
    const AttributeValue args[] = {AttributeValue::OfLong(left), AttributeValue::OfLong(top)};
    RaiseEvent("Moved", args);
}

void Element::SizeTo(int32_t width, int32_t height)
{
    CardRect old = m_frame;
    if (m_parent)
        m_parent->ElementFrameChanging(*this);
    if (width > 0)
        m_frame.width = width;
    if (height > 0)
        m_frame.height = height;
    if (m_parent)
        m_parent->ElementFrameChanged(*this, old);
    MarkModified();
    const AttributeValue args[] = {AttributeValue::OfLong(m_frame.width), AttributeValue::OfLong(m_frame.height)};
    RaiseEvent("Sized", args);
}

void Element::SetVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    if (visible)
        Show();
    else
        Hide();
    RaiseEvent(visible ? "Shown" : "Hidden");
    if (m_parent)
        m_parent->ElementStateChanged(*this);
}

void Element::SetEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    RaiseEvent(enabled ? "Enabled" : "Disabled");
    if (m_parent)
        m_parent->ElementStateChanged(*this);
}

void Element::SetName(std::string_view name)
{
    m_name = std::string(name.substr(0, kMaxNameLength));
    MarkModified();
}

void Element::SetMedia(const MediaDatabase* database, int32_t mediaId)
{
    m_media.database = database;
    m_media.mediaId = mediaId;
}

const MediaDatabase* Element::Database() const
{
    return m_parent ? m_parent->Database() : nullptr;
}

Element* Element::ResolveLink(int32_t id, std::string_view typeName) const
{
    if (!m_parent)
        return nullptr;
    return m_parent->FindElement(m_parent->CardOf(*this), id, typeName);
}

void Element::MarkModified()
{
    if (m_parent)
        m_parent->SetModified(true);
}

int Element::AddUserAttribute(std::string_view name, ValueType type)
{
    if (name.empty() || FindAttribute(m_definition.attributes, name)
        || FindAttribute(CommonAttributes(), name))
        return 0;
    m_userAttributes.AppendRecord(name, type);
    AddAttributeDefinition(name, type, kUserAttributeFlags);
    MarkModified();
    return 1;
}

void Element::AddAttributeDefinition(std::string_view name, ValueType type, AttributeFlags flags)
{
    m_definition.attributes.push_back(
        AttributeDef {std::string(name.substr(0, kMaxDefinitionName)), type, flags, {}});
}

int Element::RemoveUserAttribute(std::string_view name)
{
    auto& table = m_definition.attributes;
    for (auto it = table.begin(); it != table.end(); ++it) {
        if (!it->Visible() || !NamesEqual(it->name, name))
            continue;
        if (!(it->flags & AF_USER))
            return 0;
        table.erase(it);
        m_userAttributes.RemoveRecord(name);
        MarkModified();
        return 1;
    }
    return 0;
}

int Element::AddUserEvent(const EventDef& definition)
{
    if (definition.name.empty() || FindEvent(m_definition.events, definition.name)
        || FindEvent(CommonEvents(), definition.name))
        return 0;
    AddEventDefinition(definition);
    definition.AppendRecord(m_userEvents);
    MarkModified();
    return 1;
}

void Element::AddEventDefinition(const EventDef& definition)
{
    m_definition.events.push_back(definition);
}

int Element::RemoveUserEvent(std::string_view name)
{
    for (int32_t at = 0; at + EventDef::kRecordSize <= m_userEvents.Size(); at += EventDef::kRecordSize) {
        if (!NamesEqual(EventDef::ReadRecord(m_userEvents, at).name, name))
            continue;
        m_userEvents.Delete(at, EventDef::kRecordSize);
        auto& table = m_definition.events;
        for (auto it = table.begin(); it != table.end(); ++it) {
            if (NamesEqual(it->name, name)) {
                table.erase(it);
                break;
            }
        }
        MarkModified();
        return 1;
    }
    return 0;
}

int32_t Element::WriteElementBlock(MemoryBlock& out) const
{
    const int32_t start = out.Size();
    out.AppendInt(0, kChunkCountSize);
    if (IsSelfRole()) {
        MemoryBlock objp;
        objp.AppendInt(m_mouseEvents ? 1 : 0, 1);
        out.WriteChunk(chunk::kObjp, objp);
    } else {
        MemoryBlock objt;
        WriteCommonData(objt);
        out.WriteChunk(chunk::kObjt, objt);
    }
    out.WriteChunk(chunk::kScrp, m_script);
    out.WriteChunk(chunk::kTokn, m_tokens);
    out.WriteChunk(chunk::kTgts, m_targets);
    out.WriteChunk(chunk::kUAtt, m_userAttributes);
    out.WriteChunk(chunk::kUEvn, m_userEvents);
    MemoryBlock classChunks;
    int count = WriteClassChunks(classChunks);
    out.Append(classChunks);
    out.WriteInt(start, 6 + count, kChunkCountSize);
    return out.Size() - start;
}

int32_t Element::ReadElementBlock(const MemoryBlock& block, int32_t offset)
{
    int32_t count = block.ReadInt(offset, kChunkCountSize) & 0xFFFF;
    int32_t at = offset + kChunkCountSize;
    for (int32_t i = 0; i < count; ++i) {
        if (at > block.Size() - MemoryBlock::kChunkHeaderSize)
            break;
        std::string tag;
        MemoryBlock payload;
        at += block.ReadChunk(at, tag, payload);
        if (tag == chunk::kObjt) {
            ReadCommonData(payload);
        } else if (tag == chunk::kObjp) {
            m_mouseEvents = payload.ReadInt(0, 1) != 0;
        } else if (tag == chunk::kScrp || tag == chunk::kTokn || tag == chunk::kTgts || tag == chunk::kUAtt
            || tag == chunk::kUEvn) {
            if (m_loadAllChunks)
                ReadStandardChunk(tag, payload);
        } else {
            ReadClassChunk(tag, payload);
        }
    }
    if (at > block.Size())
        at = block.Size();
    return at - offset;
}

void Element::ReadStandardChunk(std::string_view tag, const MemoryBlock& payload)
{
    if (tag == chunk::kScrp) {
        m_script = payload;
    } else if (tag == chunk::kTokn) {
        m_tokens = payload;
    } else if (tag == chunk::kTgts) {
        m_targets = payload;
    } else if (tag == chunk::kUAtt) {
        m_userAttributes.Clear();
        m_userAttributes.Append(payload);
        for (const UserAttributeBlock::Record& record : m_userAttributes.Records())
            AddAttributeDefinition(record.name, record.type, kUserAttributeFlags);
    } else {
        m_userEvents.Clear();
        for (int32_t at = 0; at + EventDef::kRecordSize <= payload.Size(); at += EventDef::kRecordSize) {
            EventDef def = EventDef::ReadRecord(payload, at);
            AddEventDefinition(def);
            def.AppendRecord(m_userEvents);
        }
    }
}

void Element::WriteCommonData(MemoryBlock& out) const
{
    ChunkWriter w(out);
    w.Int32(m_id);
    w.PString(m_name);
    w.Int32(m_frame.left);
    w.Int32(m_frame.top);
    w.Int32(m_frame.width);
    w.Int32(m_frame.height);
    for (bool attached : m_attach)
        w.Bool(attached);
    w.Bool(m_spawnPopups);
    w.Bool(m_visible);
    w.Bool(m_enabled);
    w.Int32(m_media.database == Database() ? m_media.mediaId : MediaRef::kNone);
    w.Int32(m_anchor.x);
    w.Int32(m_anchor.y);
    w.Bool(m_mouseEvents);
}

void Element::ReadCommonData(const MemoryBlock& payload)
{
    ChunkReader r(payload);
    m_id = r.Int32();
    m_name = r.PString().substr(0, kMaxNameLength);
    m_frame.left = r.Int32();
    m_frame.top = r.Int32();
    m_frame.width = r.Int32();
    m_frame.height = r.Int32();
    for (bool& attached : m_attach)
        attached = r.Bool();
    m_spawnPopups = r.Bool();
    m_visible = r.Bool();
    m_enabled = r.Bool();
    m_media.mediaId = r.Int32();
    m_media.database = Database();
    m_anchor.x = r.Int32();
    m_anchor.y = r.Int32();
    m_mouseEvents = r.Bool();
}

}  // namespace tamber
