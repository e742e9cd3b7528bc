#pragma once

#include <memory>
#include <string>
#include <vector>

#include "iface/Element.h"

namespace tamber {

// The Background or one Card of an Interface: its elements in drawing order.
struct Card {
    std::string name = "Card";
    std::vector<std::unique_ptr<Element>> elements;
};

}  // namespace tamber
