#include "iface/ClassRegistry.h"

#include <optional>

#include "iface/ClassTableResources.h"

namespace tamber {

namespace {

// A bounded reader over a class table resource.
class TableReader {
public:
    explicit TableReader(std::span<const uint8_t> bytes) : m_bytes(bytes) { }

    bool AtEnd() const { return m_offset >= m_bytes.size(); }
    size_t Offset() const { return m_offset; }

    // A NUL-terminated name, cut to 31 characters; none when the bytes end before the NUL.
    std::optional<std::string> Name()
    {
        std::string name;
        while (m_offset < m_bytes.size()) {
            char c = static_cast<char>(m_bytes[m_offset++]);
            if (c == '\0')
                return name.substr(0, kMaxDefinitionName);
            name.push_back(c);
        }
        return std::nullopt;
    }

    std::optional<uint16_t> U16()
    {
        if (m_bytes.size() - m_offset < 2) {
            m_offset = m_bytes.size();
            return std::nullopt;
        }
        uint16_t value = static_cast<uint16_t>(m_bytes[m_offset] | (m_bytes[m_offset + 1] << 8));
        m_offset += 2;
        return value;
    }

    bool Params(std::array<ParamDef, 4>& params)
    {
        for (ParamDef& param : params) {
            auto type = U16();
            if (!type)
                return false;
            auto name = Name();
            if (!name)
                return false;
            param.type = static_cast<ValueType>(*type);
            param.name = *name;
        }
        return true;
    }

private:
    std::span<const uint8_t> m_bytes;
    size_t m_offset = 0;
};

}  // namespace

ClassRegistry& ClassRegistry::Process()
{
    static ClassRegistry registry([]() -> const Resources& {
        Resources::Program().Add(ClassTableResources());
        return Resources::Program();
    }());
    return registry;
}

int32_t ClassRegistry::Parse(std::span<const uint8_t> bytes, ClassDefinition& out)
{
    out.attributes.clear();
    out.methods.clear();
    out.events.clear();
    TableReader reader(bytes);

    while (!reader.AtEnd()) {
        auto name = reader.Name();
        if (!name || name->empty())
            break;
        AttributeDef def;
        def.name = *name;
        auto type = reader.U16();
        auto flags = reader.U16();
        if (!type || !flags)
            break;
        def.type = static_cast<ValueType>(*type);
        def.flags = *flags;
        bool complete = true;
        if (def.type == ValueType::Enum) {
            for (;;) {
                auto value = reader.Name();
                if (!value) {
                    complete = false;
                    break;
                }
                if (value->empty())
                    break;
                def.enumValues.push_back(*value);
            }
        }
        if (!complete)
            break;
        out.attributes.push_back(std::move(def));
    }

    while (!reader.AtEnd()) {
        auto name = reader.Name();
        if (!name || name->empty())
            break;
        MethodDef def;
        def.name = *name;
        if (!reader.Params(def.params))
            break;
        auto result = reader.U16();
        if (!result)
            break;
        def.result = static_cast<ValueType>(*result);
        out.methods.push_back(std::move(def));
    }

    while (!reader.AtEnd()) {
        auto name = reader.Name();
        if (!name || name->empty())
            break;
        EventDef def;
        def.name = *name;
        if (!reader.Params(def.params))
            break;
        out.events.push_back(std::move(def));
    }
    return static_cast<int32_t>(reader.Offset());
}

int ClassRegistry::Load(uint16_t classId, ClassDefinition& out)
{
    auto known = m_classes.find(classId);
    if (known == m_classes.end()) {
        std::span<const uint8_t> bytes = m_resources.Find(Resources::kRawData, classId);
        if (bytes.empty()) {
            out = ClassDefinition();
            out.classId = classId;
            out.typeName = std::string(ClassTypeName(classId));
            return 0;
        }
        ClassDefinition parsed;
        parsed.classId = classId;
        parsed.typeName = std::string(ClassTypeName(classId));
        Parse(bytes, parsed);
        known = m_classes.emplace(classId, std::move(parsed)).first;
    }
    out = known->second;
    return 1;
}

}  // namespace tamber
