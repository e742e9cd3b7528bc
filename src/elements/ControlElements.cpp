#include "elements/ControlElements.h"

#include <vector>

#include "elements/AudioElement.h"
#include "elements/ButtonElement.h"
#include "elements/ComboBoxElement.h"
#include "elements/DatabaseElement.h"
#include "elements/EditBoxElement.h"
#include "elements/ElementFont.h"
#include "elements/GraphicElement.h"
#include "elements/LineElement.h"
#include "elements/ListBoxElement.h"
#include "elements/PictureElement.h"
#include "elements/RectangleElement.h"
#include "elements/ScrollBarElement.h"
#include "elements/StringElement.h"
#include "elements/VideoElement.h"
#include "iface/ElementFactory.h"
#include "iface/InterfaceModel.h"
#include "platform/gfx/Dib.h"
#include "ui/TWindow.h"

namespace tamber {

namespace {

template<class E>
std::unique_ptr<Element> Construct(InterfaceModel* parent)
{
    return std::make_unique<E>(parent);
}

struct ClassConstructor {
    const char* className;
    ElementFactory::Constructor constructor;
};

const ClassConstructor kClasses[] = {
    {"Button", Construct<ButtonElement>},
    {"EditBox", Construct<EditBoxElement>},
    {"ListBox", Construct<ListBoxElement>},
    {"ComboBox", Construct<ComboBoxElement>},
    {"ScrollBar", Construct<ScrollBarElement>},
    {"Picture", Construct<PictureElement>},
    {"String", Construct<StringElement>},
    {"Line", Construct<LineElement>},
    {"Rectangle", Construct<RectangleElement>},
    {"Database", Construct<DatabaseElement>},
    {"Graphic", Construct<GraphicElement>},
    {"Audio", Construct<AudioElement>},
    {"Video", Construct<VideoElement>},
};

int g_noticeDepth = 0;

std::vector<std::unique_ptr<ui::TWindow>>& Retired()
{
    static std::vector<std::unique_ptr<ui::TWindow>> retired;
    return retired;
}

}  // namespace

void RegisterControlElements(ElementFactory& factory)
{
    for (const ClassConstructor& entry : kClasses)
        factory.Register(entry.className, entry.constructor);
}

gfx::FontRequest ControlFont(const ElementFont& font)
{
    constexpr int32_t kPixelsPerInch = 96;
    constexpr int32_t kPointsPerInch = 72;
    constexpr uint16_t kBold = 1, kItalic = 2, kUnderline = 4, kStrikeOut = 8;
    constexpr int32_t kNormalWeight = 400, kBoldWeight = 700;
    gfx::FontRequest request;
    request.faceName = font.face;
    // A negative height asks for the character height, as a point size does.
    request.height = -((font.size * kPixelsPerInch + kPointsPerInch / 2) / kPointsPerInch);
    request.weight = (font.style & kBold) ? kBoldWeight : kNormalWeight;
    request.italic = (font.style & kItalic) ? gfx::Italic::Yes : gfx::Italic::No;
    request.underline = (font.style & kUnderline) ? gfx::Underline::Yes : gfx::Underline::No;
    request.strikeOut = (font.style & kStrikeOut) ? gfx::StrikeOut::Yes : gfx::StrikeOut::No;
    return request;
}

std::shared_ptr<const gfx::Image> PictureToImage(const MemoryBlock& picture)
{
    gfx::DibInfo info;
    const uint8_t* bits = nullptr;
    size_t bitsSize = 0;
    if (picture.Empty()
        || gfx::DibInfo::ParsePacked(picture.Data(), static_cast<size_t>(picture.Size()), info, bits, bitsSize) == 0)
        return nullptr;
    gfx::Image decoded;
    if (info.Decode(bits, bitsSize, decoded) == 0)
        return nullptr;
    if (decoded.Format() == gfx::PixelFormat::Rgb32)
        return std::make_shared<const gfx::Image>(std::move(decoded));
    // Indexed pictures go through their colour table; an index past the table reads as black.
    auto image = std::make_shared<gfx::Image>(decoded.Width(), decoded.Height(), gfx::PixelFormat::Rgb32);
    for (int32_t y = 0; y < decoded.Height(); ++y) {
        for (int32_t x = 0; x < decoded.Width(); ++x) {
            uint32_t index = decoded.Get(x, y);
            image->Set(x, y, index < info.colors.size() ? info.colors[index] : 0);
        }
    }
    return image;
}

ControlNotice::ControlNotice()
{
    // A control retired during an earlier notice has left the stack by now.
    if (g_noticeDepth++ == 0)
        Retired().clear();
}

ControlNotice::~ControlNotice()
{
    --g_noticeDepth;
}

bool ControlNotice::Active()
{
    return g_noticeDepth > 0;
}

void RetireControl(std::unique_ptr<ui::TWindow> control)
{
    if (!control)
        return;
    control->Destroy();
    if (ControlNotice::Active())
        Retired().push_back(std::move(control));
}

}  // namespace tamber
