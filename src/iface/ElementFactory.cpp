#include "iface/ElementFactory.h"

#include "iface/ClassDefinition.h"
#include "iface/InterfaceModel.h"
#include "iface/InterfaceObject.h"
#include "iface/ThreeDElement.h"

namespace tamber {

namespace {

enum class NameGiven { AsGiven, ClassName };

struct TypeAlias {
    const char* typeName;   // accepted, ASCII case ignored
    const char* className;  // the class created
    NameGiven name;
};

const TypeAlias kAliases[] = {
    {"Interface", "Interface", NameGiven::AsGiven},
    {"Button", "Button", NameGiven::AsGiven},
    {"EditBox", "EditBox", NameGiven::AsGiven},
    {"ListBox", "ListBox", NameGiven::AsGiven},
    {"ComboBox", "ComboBox", NameGiven::AsGiven},
    {"ScrollBar", "ScrollBar", NameGiven::ClassName},
    {"HScroll", "ScrollBar", NameGiven::ClassName},
    {"VScroll", "ScrollBar", NameGiven::ClassName},
    {"Text", "Text", NameGiven::ClassName},
    {"GT", "Text", NameGiven::ClassName},
    {"Graphic", "Graphic", NameGiven::ClassName},
    {"BMP", "Graphic", NameGiven::ClassName},
    {"Audio", "Audio", NameGiven::ClassName},
    {"WAV", "Audio", NameGiven::ClassName},
    {"Video", "Video", NameGiven::ClassName},
    {"AVI", "Video", NameGiven::ClassName},
    {"3D", "3d", NameGiven::AsGiven},
    {"Picture", "Picture", NameGiven::ClassName},
    {"PictureElement", "Picture", NameGiven::ClassName},
    {"String", "String", NameGiven::ClassName},
    {"TextElement", "String", NameGiven::ClassName},
    {"Line", "Line", NameGiven::AsGiven},
    {"Rectangle", "Rectangle", NameGiven::AsGiven},
    {"Database", "Database", NameGiven::AsGiven},
};

struct Icon {
    const char* className;
    int index;
};

const Icon kIcons[] = {
    {"Text", 0}, {"Graphic", 32}, {"Audio", 64}, {"Video", 96}, {"3d", 128}, {"Interface", 192},
};
constexpr int kOtherIcon = 160;

const TypeAlias* FindAlias(std::string_view typeName)
{
    for (const TypeAlias& alias : kAliases) {
        if (NamesEqual(alias.typeName, typeName))
            return &alias;
    }
    return nullptr;
}

}  // namespace

ElementFactory& ElementFactory::Process()
{
    static ElementFactory factory;
    return factory;
}

ElementFactory::ElementFactory()
{
    Register("Interface", [](InterfaceModel* parent) -> std::unique_ptr<Element> {
        return std::make_unique<InterfaceObject>(parent);
    });
    Register("3d", [](InterfaceModel* parent) -> std::unique_ptr<Element> {
        return std::make_unique<ThreeDElement>(parent);
    });
}

int ElementFactory::Register(std::string_view className, Constructor constructor)
{
    bool accepted = false;
    for (const TypeAlias& alias : kAliases)
        accepted = accepted || NamesEqual(alias.className, className);
    if (!accepted || !constructor)
        return 0;
    for (Registration& registration : m_constructors) {
        if (NamesEqual(registration.className, className)) {
            registration.constructor = constructor;
            return 1;
        }
    }
    m_constructors.push_back(Registration {std::string(className), constructor});
    return 1;
}

bool ElementFactory::IsRegistered(std::string_view className) const
{
    for (const Registration& registration : m_constructors) {
        if (NamesEqual(registration.className, className))
            return true;
    }
    return false;
}

std::string_view ElementFactory::ClassNameFor(std::string_view typeName)
{
    const TypeAlias* alias = FindAlias(typeName);
    return alias ? alias->className : std::string_view();
}

int ElementFactory::IconIndex(std::string_view typeName)
{
    std::string_view className = ClassNameFor(typeName);
    for (const Icon& icon : kIcons) {
        if (NamesEqual(icon.className, className))
            return icon.index;
    }
    return kOtherIcon;
}

std::unique_ptr<Element> ElementFactory::Create(InterfaceModel* parent, std::string_view typeName,
    const CardRect& frame, int32_t id) const
{
    const TypeAlias* alias = FindAlias(typeName);
    if (!alias)
        return nullptr;
    for (const Registration& registration : m_constructors) {
        if (!NamesEqual(registration.className, alias->className))
            continue;
        std::unique_ptr<Element> element = registration.constructor(parent);
        if (!element)
            return nullptr;
        element->SetId(id);
        element->SetFrame(frame);
        element->SetName(alias->name == NameGiven::AsGiven ? typeName : std::string_view(alias->className));
        if (NamesEqual(alias->className, "Database"))
            element->SetMedia(parent ? parent->Database() : nullptr, MediaRef::kNone);
        return element;
    }
    return nullptr;
}

std::unique_ptr<Element> CreateElement(InterfaceModel* parent, std::string_view typeName,
    const CardRect& frame, int32_t id)
{
    return ElementFactory::Process().Create(parent, typeName, frame, id);
}

}  // namespace tamber
