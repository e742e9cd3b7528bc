#include "elements/PictureElement.h"

#include <cstdlib>

#include "elements/ElementHost.h"
#include "iface/AttributeAccessor.h"
#include "iface/ChunkTags.h"
#include "iface/InterfaceModel.h"
#include "media/DibImage.h"
#include "media/ScreenContext.h"
#include "platform/gfx/RasterOp.h"
#include "ui/Application.h"

namespace tamber {

// The converted image and the file image it came from, which saving hands back unchanged.
struct PictureElement::Display {
    explicit Display(ScreenContext& screen)
        : image(screen)
    {
    }
    DibImage image;
    MemoryBlock source;
};

std::span<const AttributeAccessor<PictureElement>> PictureElement::Accessors()
{
    using P = PictureElement;
    using V = AttributeValue;

    static const AttributeAccessor<P> kTable[] = {
        { "Bitmap", ValueType::Picture, [](const P& p, V& v) { v.SetBlock(p.FullImage()); },
            [](P& p, const V& v) {
                p.SetImage(v.Block());
                return 1;
            } },
        { "BitmapWidth", ValueType::Long, [](const P& p, V& v) { v.SetLong(p.BitmapWidth()); }, nullptr },
        { "BitmapHeight", ValueType::Long, [](const P& p, V& v) { v.SetLong(p.BitmapHeight()); }, nullptr },
    };
    return kTable;
}

PictureElement::PictureElement(InterfaceModel* parent)
    : PassiveElement(parent, ClassId::Picture)
{
}

PictureElement::~PictureElement()
{
    // The view paints through this element: it goes first.
    Destroy();
}

bool PictureElement::HoldsPlaceholder() const
{
    return m_display && m_bitmap.Size() == kPlaceholderSize;
}

MemoryBlock PictureElement::FullImage() const
{
    return HoldsPlaceholder() ? m_display->source : m_bitmap;
}

int32_t PictureElement::BitmapWidth() const
{
    if (m_display)
        return m_display->image.Width();
    return m_bitmap.Size() >= kBmpWidthOffset + 4 ? m_bitmap.ReadInt(kBmpWidthOffset, 4) : 0;
}

int32_t PictureElement::BitmapHeight() const
{
    if (m_display)
        return m_display->image.Height();
    return m_bitmap.Size() >= kBmpHeightOffset + 4 ? m_bitmap.ReadInt(kBmpHeightOffset, 4) : 0;
}

void PictureElement::SetImage(const MemoryBlock& image)
{
    m_display.reset();
    m_bitmap = image;
    if (View().Handle() != 0) {
        if (ScreenContext* screen = Screen())
            Convert(*screen);
        View().Invalidate();
    }
}

int PictureElement::Convert(ScreenContext& screen)
{
    if (m_display)
        return 1;
    if (m_bitmap.Size() <= kPlaceholderSize)
        return 0;
    auto display = std::make_unique<Display>(screen);
    if (!display->image.SetFromPackedDib(m_bitmap, ImagePalette::No, OfferConversion::No)
        || !display->image.Bitmap())
        return 0;
    display->source = std::move(m_bitmap);
    m_display = std::move(display);
    m_bitmap = MemoryBlock();
    m_bitmap.AppendString("BM", Nul::Exclude);
    return 1;
}

ScreenContext* PictureElement::Screen()
{
    if (Parent() && Parent()->Screen())
        return Parent()->Screen();
    if (!m_ownScreen) {
        ui::Application* app = ui::Application::Current();
        if (!app)
            return nullptr;
        m_ownScreen = std::make_unique<ScreenContext>(app->Screen());
    }
    return m_ownScreen.get();
}

void PictureElement::Paint(gfx::Dc& dc, int32_t width, int32_t height) const
{
    if (!m_display || !m_display->image.Bitmap())
        return;
    std::unique_ptr<gfx::Dc> memory = gfx::Dc::CreateCompatible(dc);
    if (!memory || !memory->SelectBitmap(m_display->image.Bitmap()))
        return;
    const gfx::DeviceBitmap& bitmap = *m_display->image.Bitmap();
    dc.BitBlt(0, 0, std::min(width, bitmap.Width()), std::min(height, bitmap.Height()), memory.get(), 0, 0,
        gfx::Rop3::kSrcCopy);
}

void PictureElement::ApplyDefaultSize()
{
    CardRect frame = GetFrame();
    if (frame.width > 0 && frame.height > 0)
        return;
    int32_t width = std::abs(BitmapWidth());
    int32_t height = std::abs(BitmapHeight());
    if (width <= 0 || height <= 0)
        return;
    SetFrame(CardRect { frame.left - width / 2, frame.top - height / 2, width, height });
}

void PictureElement::Create()
{
    ApplyDefaultSize();
    if (!HostWindowOf(*this))
        return;
    if (ScreenContext* screen = Screen())
        Convert(*screen);
}

int PictureElement::WriteClassChunks(MemoryBlock& out) const
{
    out.WriteChunk(chunk::kPict, FullImage());
    return 1;
}

bool PictureElement::ReadClassChunk(std::string_view tag, const MemoryBlock& payload)
{
    if (tag != chunk::kPict)
        return false;
    SetImage(payload);
    return true;
}

} // namespace tamber
