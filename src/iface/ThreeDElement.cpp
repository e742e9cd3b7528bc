#include "iface/ThreeDElement.h"

namespace tamber {

ThreeDElement::ThreeDElement(InterfaceModel* parent) : Element(parent)
{
    LoadClassDefinition(static_cast<uint16_t>(ClassId::ThreeD));
}

}  // namespace tamber
