#include "elements/DatabaseElement.h"

#include "elements/ElementColors.h"
#include "iface/ChunkTags.h"

namespace tamber {

namespace {

std::string HitText(int32_t mediaId)
{
    return "#" + std::to_string(mediaId);
}

}  // namespace

struct DatabaseAccess {
    using D = DatabaseElement;
    using V = AttributeValue;

    static std::span<const AttributeAccessor<D>> Table()
    {
        static const AttributeAccessor<D> kTable[] = {
            {"Border", ValueType::Boolean, GetMember<&D::m_border>, SetMember<&D::m_border>},
            {"DatabaseFile", ValueType::String, GetMember<&D::m_databaseFile>,
                [](D& d, const V& v) {
                    d.m_databaseFile = v.String();
                    d.ClearHits();
                    return 1;
                }},
            {"DisplayNumHits", ValueType::Boolean, GetMember<&D::m_displayNumHits>, SetMember<&D::m_displayNumHits>},
            {"GridHeight", ValueType::Long, GetMember<&D::m_gridHeight>, SetAtLeastOne<&D::m_gridHeight>},
            {"GridWidth", ValueType::Long, GetMember<&D::m_gridWidth>, SetAtLeastOne<&D::m_gridWidth>},
            {"NumHits", ValueType::Long, [](const D& d, V& v) { v.SetLong(static_cast<int32_t>(d.m_hits.size())); },
                nullptr},
            {"SelectedHit", ValueType::String, [](const D& d, V& v) { v.SetString(d.SelectedHitText()); }, nullptr},
            {"SelectedNum", ValueType::Long, [](const D& d, V& v) { v.SetLong(d.m_selected + 1); }, nullptr},
            {"Style", ValueType::Enum, GetMember<&D::m_style>, SetEnumBelow<&D::m_style, 2>},
            {"TextColor", ValueType::Color, GetMember<&D::m_textColor>, SetMember<&D::m_textColor>},
            {"TextFont", ValueType::Font, GetFontFace<&D::m_font>, SetFontFace<&D::m_font>},
            {"TextSize", ValueType::Long, GetFontSize<&D::m_font>, SetFontSize<&D::m_font>},
            {"TextStyle", ValueType::Enum, GetFontStyle<&D::m_font>, SetFontStyle<&D::m_font>},
        };
        return kTable;
    }
};

DatabaseElement::DatabaseElement(InterfaceModel* parent) : Element(parent), m_textColor(colors::kBlack)
{
    LoadClassDefinition(static_cast<uint16_t>(ClassId::Database));
}

int DatabaseElement::GetAttribute(std::string_view name, ValueType type, AttributeValue& value)
{
    int result = GetThroughTable(DatabaseAccess::Table(), *this, name, type, value);
    return result != kNotInTable ? result : Element::GetAttribute(name, type, value);
}

int DatabaseElement::SetAttribute(std::string_view name, ValueType type, const AttributeValue& value)
{
    int result = SetThroughTable(DatabaseAccess::Table(), *this, name, type, value);
    if (result == kNotInTable)
        return Element::SetAttribute(name, type, value);
    if (result == 1)
        MarkModified();
    return result;
}

std::string DatabaseElement::SelectedHitText() const
{
    if (m_selected < 0 || m_selected >= static_cast<int32_t>(m_hits.size()))
        return {};
    return HitText(m_hits[m_selected].mediaId);
}

void DatabaseElement::AddRankedHits(const std::vector<Hit>& engineHits)
{
    for (const Hit& hit : engineHits) {
        auto at = m_hits.begin();
        while (at != m_hits.end() && at->count >= hit.count)
            ++at;
        m_hits.insert(at, hit);
    }
}

void DatabaseElement::ClearHits()
{
    m_hits.clear();
    m_selected = -1;
}

int DatabaseElement::CallMethod(std::string_view name, std::span<const AttributeValue> params,
    AttributeValue& result)
{
    int32_t number = params.empty() ? 0 : params[0].Long();
    bool inRange = number >= 1 && number <= static_cast<int32_t>(m_hits.size());
    if (NamesEqual(name, "Clear")) {
        ClearHits();
    } else if (NamesEqual(name, "GetHit")) {
        result.SetString(inRange ? HitText(m_hits[number - 1].mediaId) : std::string());
    } else if (NamesEqual(name, "GetHitCount")) {
        result.SetLong(inRange ? m_hits[number - 1].count : 0);
    } else {
        // FIXME: "GetHitName", "Search" and the link searches need the catalogue and the query
        // engine of the element's database; they are answered when the element is wired to them.
        return Element::CallMethod(name, params, result);
    }
    return 1;
}

int DatabaseElement::WriteClassChunks(MemoryBlock& out) const
{
    MemoryBlock defn;
    ChunkWriter w(defn);
    w.U16(m_style);
    w.Bool(m_border);
    w.PString(m_databaseFile);
    w.Bool(m_displayNumHits);
    w.Int32(m_gridWidth);
    w.Int32(m_gridHeight);
    m_font.Write(w);
    w.Rgb(m_textColor);
    out.WriteChunk(chunk::kDefn, defn);
    return 1;
}

bool DatabaseElement::ReadClassChunk(std::string_view tag, const MemoryBlock& payload)
{
    if (tag != chunk::kDefn)
        return false;
    ChunkReader r(payload);
    m_style = r.U16() == kGridList ? kGridList : kVerticalList;
    m_border = r.Bool();
    m_databaseFile = r.PString().substr(0, AttributeValue::kMaxStringLength);
    m_displayNumHits = r.Bool();
    int32_t width = r.Int32();
    int32_t height = r.Int32();
    m_gridWidth = width < 1 ? 1 : width;
    m_gridHeight = height < 1 ? 1 : height;
    m_font.Read(r);
    if (m_font.size < 1)
        m_font.size = 1;
    m_textColor = r.Rgb();
    return true;
}

}  // namespace tamber
