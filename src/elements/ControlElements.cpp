#include "elements/ControlElements.h"

#include "elements/AudioElement.h"
#include "elements/ButtonElement.h"
#include "elements/ComboBoxElement.h"
#include "elements/DatabaseElement.h"
#include "elements/EditBoxElement.h"
#include "elements/GraphicElement.h"
#include "elements/LineElement.h"
#include "elements/ListBoxElement.h"
#include "elements/PictureElement.h"
#include "elements/RectangleElement.h"
#include "elements/ScrollBarElement.h"
#include "elements/StringElement.h"
#include "elements/VideoElement.h"
#include "iface/ElementFactory.h"

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

}  // namespace

void RegisterControlElements(ElementFactory& factory)
{
    for (const ClassConstructor& entry : kClasses)
        factory.Register(entry.className, entry.constructor);
}

}  // namespace tamber
