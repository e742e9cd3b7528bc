#include "iface/ClassDefinition.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace tamber {

namespace {

char Upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

void AppendNameField(MemoryBlock& out, std::string_view name)
{
    char field[EventDef::kNameField] = {};
    size_t n = std::min<size_t>(name.size(), EventDef::kNameField - 1);
    if (n > 0)
        std::memcpy(field, name.data(), n);
    out.Append(field, EventDef::kNameField);
}

std::string ReadNameField(const MemoryBlock& block, int32_t offset)
{
    char field[EventDef::kNameField] = {};
    block.Read(offset, field, EventDef::kNameField - 1);
    return std::string(field);
}

template<class Def>
const Def* FindByName(const std::vector<Def>& table, std::string_view name)
{
    for (const Def& def : table) {
        if (NamesEqual(def.name, name))
            return &def;
    }
    return nullptr;
}

}  // namespace

bool NamesEqual(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (Upper(a[i]) != Upper(b[i]))
            return false;
    }
    return true;
}

void EventDef::AppendRecord(MemoryBlock& out) const
{
    AppendNameField(out, name);
    for (const ParamDef& param : params) {
        out.AppendInt(static_cast<uint16_t>(param.type), 2);
        AppendNameField(out, param.name);
    }
}

EventDef EventDef::ReadRecord(const MemoryBlock& block, int32_t offset)
{
    EventDef def;
    def.name = ReadNameField(block, offset);
    int32_t at = offset + kNameField;
    for (ParamDef& param : def.params) {
        param.type = static_cast<ValueType>(static_cast<uint16_t>(block.ReadInt(at, 2)));
        param.name = ReadNameField(block, at + 2);
        at += kParamSize;
    }
    return def;
}

void ClassDefinition::ApplySelfRole()
{
    for (AttributeDef& def : attributes) {
        AttributeFlags self = (def.flags & kSelfRoleNibble) >> 4;
        def.flags = self != 0 ? static_cast<AttributeFlags>((def.flags & ~kElementNibble) | self) : 0;
    }
}

const AttributeDef* FindAttribute(const std::vector<AttributeDef>& table, std::string_view name)
{
    for (const AttributeDef& def : table) {
        if (def.Visible() && NamesEqual(def.name, name))
            return &def;
    }
    return nullptr;
}

AttributeDef* FindAttribute(std::vector<AttributeDef>& table, std::string_view name)
{
    return const_cast<AttributeDef*>(FindAttribute(std::as_const(table), name));
}

const MethodDef* FindMethod(const std::vector<MethodDef>& table, std::string_view name)
{
    return FindByName(table, name);
}

const EventDef* FindEvent(const std::vector<EventDef>& table, std::string_view name)
{
    return FindByName(table, name);
}

}  // namespace tamber
