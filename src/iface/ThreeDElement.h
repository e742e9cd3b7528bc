#pragma once

#include "iface/Element.h"

namespace tamber {

// The "3d" element: a medium reference with no display of its own. Its only class attribute,
// "Media", is kept in the element's common data.
class ThreeDElement : public Element {
public:
    explicit ThreeDElement(InterfaceModel* parent = nullptr);
};

}  // namespace tamber
