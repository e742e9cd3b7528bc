#include "text/TextElement.h"

#include "iface/AttributeAccessor.h"
#include "iface/ChunkReader.h"
#include "iface/ChunkTags.h"
#include "iface/ElementFactory.h"

namespace tamber {

namespace {

enum Link { kFirstPage, kLastPage, kNextPage, kPreviousPage, kNavigateScrollBar, kLinkCount };

}  // namespace

struct TextAccess {
    using T = TextElement;
    using V = AttributeValue;

    static void Zero(const T&, V& v) { v.SetLong(0); }

    static std::span<const AttributeAccessor<T>> Table()
    {
        static const AttributeAccessor<T> kTable[] = {
            {"BackBitmap", ValueType::Picture, GetMember<&T::m_backBitmap>, SetMember<&T::m_backBitmap>},
            {"BackBitmapXOffset", ValueType::Long, GetMember<&T::m_backBitmapX>, SetMember<&T::m_backBitmapX>},
            {"BackBitmapYOffset", ValueType::Long, GetMember<&T::m_backBitmapY>, SetMember<&T::m_backBitmapY>},
            {"BackColor", ValueType::Color, GetMember<&T::m_backColor>, SetMember<&T::m_backColor>},
            {"Border", ValueType::Boolean, GetMember<&T::m_border>, SetMember<&T::m_border>},
            {"ColumnSpacing", ValueType::Long, GetMember<&T::m_columnSpacing>, SetMember<&T::m_columnSpacing>},
            {"HotLinkCursor", ValueType::Boolean, GetMember<&T::m_hotLinkCursor>, SetMember<&T::m_hotLinkCursor>},
            {"Layer", ValueType::Long, GetMember<&T::m_layer>, SetMember<&T::m_layer>},
            {"Mode", ValueType::Enum, GetMember<&T::m_mode>, SetEnumBelow<&T::m_mode, T::kModeCount>},
            {"NumColumns", ValueType::Long, GetMember<&T::m_numColumns>, SetMember<&T::m_numColumns>},
            {"NumPages", ValueType::Long, Zero, nullptr},
            {"PageNum", ValueType::Long, GetMember<&T::m_pageNum>, SetMember<&T::m_pageNum>},
            {"ScrollBars", ValueType::Boolean, GetMember<&T::m_scrollBars>, SetMember<&T::m_scrollBars>},
            {"ScrollMax", ValueType::Long, Zero, nullptr},
            {"ScrollPage", ValueType::Long, Zero, nullptr},
            {"ScrollPosition", ValueType::Long, GetMember<&T::m_scrollPosition>, SetMember<&T::m_scrollPosition>},
            {"ScrollWidth", ValueType::Long, GetMember<&T::m_scrollWidth>, SetMember<&T::m_scrollWidth>},
            {"SelectEnd", ValueType::Long, GetMember<&T::m_selectEnd>, SetMember<&T::m_selectEnd>},
            {"Selection", ValueType::String, [](const T&, V& v) { v.SetString(""); }, nullptr},
            {"SelectStart", ValueType::Long, GetMember<&T::m_selectStart>, SetMember<&T::m_selectStart>},
            {"Transparent", ValueType::Boolean, GetMember<&T::m_transparent>, SetMember<&T::m_transparent>},
            {"ZoomFactor", ValueType::Long, GetMember<&T::m_zoomFactor>, SetMember<&T::m_zoomFactor>},
            {"Wrap", ValueType::Boolean, GetMember<&T::m_wrap>, SetMember<&T::m_wrap>},
            {"WrapStandOff", ValueType::Long, GetMember<&T::m_wrapStandOff>, SetMember<&T::m_wrapStandOff>},
        };
        return kTable;
    }
};

TextElement::TextElement(InterfaceModel* parent) : Element(parent)
{
    LoadClassDefinition(static_cast<uint16_t>(ClassId::Text));
    SetLinkNames(ElementLinks({"Button : First Page", "Button : Last Page", "Button : Next Page",
                                  "Button : Previous Page", "ScrollBar : Navigate"},
        ElementLinks::Exclusive::No));
}

int TextElement::GetAttribute(std::string_view name, ValueType type, AttributeValue& value)
{
    int result = GetThroughTable(TextAccess::Table(), *this, name, type, value);
    return result != kNotInTable ? result : Element::GetAttribute(name, type, value);
}

int TextElement::SetAttribute(std::string_view name, ValueType type, const AttributeValue& value)
{
    int result = SetThroughTable(TextAccess::Table(), *this, name, type, value);
    if (result == kNotInTable)
        return Element::SetAttribute(name, type, value);
    if (result == 1)
        MarkModified();
    return result;
}

int TextElement::WriteClassChunks(MemoryBlock& out) const
{
    MemoryBlock defn;
    ChunkWriter w(defn);
    w.Int32(m_backBitmapX);
    w.Int32(m_backBitmapY);
    w.Rgb(m_backColor);
    w.Bool(m_border);
    w.Int32(m_columnSpacing);
    w.Bool(m_hotLinkCursor);
    w.Int32(m_layer);
    w.U16(m_mode);
    w.Int32(m_numColumns);
    w.Bool(m_scrollBars);
    w.Int32(m_scrollWidth);
    w.Bool(m_transparent);
    w.Int32(m_zoomFactor);
    w.Bool(m_wrap);
    w.Int32(m_wrapStandOff);
    for (int link = 0; link < kLinkCount; ++link)
        w.Int32(Links().Id(link));
    out.WriteChunk(chunk::kDefn, defn);
    if (m_backBitmap.Empty())
        return 1;
    out.WriteChunk(chunk::kBPic, m_backBitmap);
    return 2;
}

bool TextElement::ReadClassChunk(std::string_view tag, const MemoryBlock& payload)
{
    if (tag == chunk::kDefn) {
        ChunkReader r(payload);
        m_backBitmapX = r.Int32();
        m_backBitmapY = r.Int32();
        m_backColor = r.Rgb();
        m_border = r.Bool();
        m_columnSpacing = r.Int32();
        m_hotLinkCursor = r.Bool();
        m_layer = r.Int32();
        uint16_t mode = r.U16();
        m_mode = mode < kModeCount ? mode : static_cast<uint16_t>(kHotlink);
        m_numColumns = r.Int32();
        m_scrollBars = r.Bool();
        m_scrollWidth = r.Int32();
        m_transparent = r.Bool();
        m_zoomFactor = r.Int32();
        m_wrap = r.Bool();
        m_wrapStandOff = r.Int32();
        for (int link = 0; link < kLinkCount; ++link)
            Links().LoadId(link, r.Int32());
        m_backBitmap.Clear();
        return true;
    }
    if (tag == chunk::kBPic) {
        m_backBitmap = payload;
        return true;
    }
    return false;
}

void RegisterTextElement(ElementFactory& factory)
{
    factory.Register("Text", [](InterfaceModel* parent) -> std::unique_ptr<Element> {
        return std::make_unique<TextElement>(parent);
    });
}

}  // namespace tamber
