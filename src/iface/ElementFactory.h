#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "iface/CardGeometry.h"
#include "iface/Element.h"

namespace tamber {

class InterfaceModel;

// Creates elements from type names. The names and aliases the factory accepts are fixed here;
// the classes register their constructors: the Interface object and "3d" from this layer, the
// control and media elements and the Text element from the layers above, so this layer never
// includes them.
class ElementFactory {
public:
    using Constructor = std::unique_ptr<Element> (*)(InterfaceModel* parent);

    // The factory of the running program.
    static ElementFactory& Process();

    ElementFactory();

    // Registers the constructor of a class by its type name ("Button", "3d"); answers 1, or 0
    // when no accepted name creates that class.
    int Register(std::string_view className, Constructor constructor);
    bool IsRegistered(std::string_view className) const;

    // Creates the element the type name names (ASCII case ignored), gives it the frame, the id
    // and its "Name"; null for an unknown or unregistered name. The Database element's medium
    // becomes (the Interface's database, none).
    std::unique_ptr<Element> Create(InterfaceModel* parent, std::string_view typeName,
        const CardRect& frame, int32_t id) const;

    // The class a type name creates ("ScrollBar" for "HScroll"); empty when unknown.
    static std::string_view ClassNameFor(std::string_view typeName);
    // The icon index of a type in the authoring lists.
    static int IconIndex(std::string_view typeName);

private:
    struct Registration {
        std::string className;
        Constructor constructor;
    };
    std::vector<Registration> m_constructors;
};

// Creates an element through the program's factory.
std::unique_ptr<Element> CreateElement(InterfaceModel* parent, std::string_view typeName,
    const CardRect& frame, int32_t id);

}  // namespace tamber
