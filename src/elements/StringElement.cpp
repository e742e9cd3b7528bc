#include "elements/StringElement.h"

#include "elements/ElementColors.h"
#include "iface/ChunkTags.h"
#include "platform/gfx/Image.h"
#include "ui/Application.h"

namespace tamber {

std::span<const AttributeAccessor<StringElement>> StringElement::Accessors()
{
    using S = StringElement;

    static const AttributeAccessor<S> kTable[] = {
        { "ShadowColor", ValueType::Color, GetMember<&S::m_shadowColor>, SetMember<&S::m_shadowColor> },
        { "ShadowXOffset", ValueType::Long, GetMember<&S::m_shadowX>, SetMember<&S::m_shadowX> },
        { "ShadowYOffset", ValueType::Long, GetMember<&S::m_shadowY>, SetMember<&S::m_shadowY> },
        { "Text", ValueType::String, GetMember<&S::m_text>, SetMember<&S::m_text> },
        { "TextAlign", ValueType::Enum, GetMember<&S::m_align>, SetEnumBelow<&S::m_align, 3> },
        { "TextColor", ValueType::Color, GetMember<&S::m_textColor>, SetMember<&S::m_textColor> },
        { "TextFont", ValueType::Font, GetFontFace<&S::m_font>, SetFontFace<&S::m_font> },
        { "TextSize", ValueType::Long, GetFontSize<&S::m_font>, SetFontSize<&S::m_font> },
        { "TextStyle", ValueType::Enum, GetFontStyle<&S::m_font>, SetFontStyle<&S::m_font> },
    };
    return kTable;
}

namespace {

std::shared_ptr<gfx::GlyphFace> OpenFace(const ElementFont& font)
{
    ui::Application* app = ui::Application::Current();
    return app ? app->OpenFont(font.Request()) : nullptr;
}

uint32_t LayoutFormat(uint16_t align)
{
    static constexpr uint32_t kAlignFormats[]
        = { gfx::DrawTextFormat::kLeft, gfx::DrawTextFormat::kCenter, gfx::DrawTextFormat::kRight };
    uint32_t alignFormat
        = align < std::size(kAlignFormats) ? kAlignFormats[align] : gfx::DrawTextFormat::kLeft;
    // Labels show an ampersand as it is: there is no mnemonic to underline.
    return alignFormat | gfx::DrawTextFormat::kWordBreak | gfx::DrawTextFormat::kNoPrefix;
}

} // namespace

StringElement::StringElement(InterfaceModel* parent)
    : PassiveElement(parent, ClassId::String)
    , m_textColor(colors::kBlack)
    , m_shadowColor(colors::kLightGrey)
{
}

void StringElement::Paint(gfx::Dc& dc, int32_t width, int32_t height) const
{
    std::shared_ptr<gfx::GlyphFace> face = OpenFace(m_font);
    if (!face)
        return;
    dc.SaveDc();
    dc.SelectFont(face);
    dc.SetBkMode(gfx::BkMode::Transparent);
    const uint32_t format = LayoutFormat(m_align);
    if (m_shadowX != 0 || m_shadowY != 0) {
        gfx::Rect shadow = gfx::Rect::FromSize(m_shadowX, m_shadowY, width, height);
        dc.SetTextColor(m_shadowColor);
        dc.DrawText(m_text, shadow, format);
    }
    gfx::Rect frame = gfx::Rect::FromSize(0, 0, width, height);
    dc.SetTextColor(m_textColor);
    dc.DrawText(m_text, frame, format);
    dc.RestoreDc(-1);
}

void StringElement::ApplyDefaultSize()
{
    CardRect frame = GetFrame();
    if (frame.width > 0 && frame.height > 0)
        return;
    std::shared_ptr<gfx::GlyphFace> face = OpenFace(m_font);
    if (!face)
        return;
    gfx::Image scratch(1, 1, gfx::PixelFormat::Rgb32);
    gfx::Dc dc(scratch.View(), nullptr);
    dc.SelectFont(face);
    int32_t width = std::min(dc.GetTextExtent(m_text).width, kMaxDefaultWidth);
    gfx::Rect layout = gfx::Rect::FromSize(0, 0, width, 0);
    int32_t height = dc.DrawText(m_text, layout, LayoutFormat(m_align) | gfx::DrawTextFormat::kCalcRect);
    width = std::max(width, 1);
    height = std::max(height, 1);
    SetFrame(CardRect { frame.left - width / 2, frame.top - height / 2, width, height });
}

int StringElement::WriteClassChunks(MemoryBlock& out) const
{
    MemoryBlock defn;
    ChunkWriter w(defn);
    w.PString(m_text);
    m_font.Write(w);
    w.Rgb(m_textColor);
    w.Int32(m_shadowX);
    w.Int32(m_shadowY);
    w.Rgb(m_shadowColor);
    w.U16(m_align);
    out.WriteChunk(chunk::kDefn, defn);
    return 1;
}

bool StringElement::ReadClassChunk(std::string_view tag, const MemoryBlock& payload)
{
    if (tag != chunk::kDefn)
        return false;
    ChunkReader r(payload);
    m_text = r.PString().substr(0, AttributeValue::kMaxStringLength);
    m_font.Read(r);
    m_textColor = r.Rgb();
    m_shadowX = r.Int32();
    m_shadowY = r.Int32();
    m_shadowColor = r.Rgb();
    m_align = r.U16();
    return true;
}

} // namespace tamber
