#include "iface/ElementLinks.h"

#include "iface/ClassDefinition.h"
#include "iface/Element.h"

namespace tamber {

ElementLinks::ElementLinks(std::initializer_list<const char*> names, Exclusive exclusive)
    : m_exclusive(exclusive)
{
    for (const char* name : names)
        m_links.push_back(Link {name});
}

int ElementLinks::IndexOf(std::string_view name) const
{
    for (size_t i = 0; i < m_links.size(); ++i) {
        if (NamesEqual(m_links[i].name, name))
            return static_cast<int>(i);
    }
    return -1;
}

int32_t ElementLinks::IdOf(std::string_view name) const
{
    int index = IndexOf(name);
    return index < 0 ? 0 : m_links[index].id;
}

Element* ElementLinks::TargetOf(std::string_view name) const
{
    int index = IndexOf(name);
    return index < 0 ? nullptr : m_links[index].target;
}

void ElementLinks::SetId(int index, int32_t id)
{
    if (index < 0 || index >= Count())
        return;
    if (m_exclusive == Exclusive::Yes) {
        for (Link& link : m_links) {
            link.id = 0;
            link.target = nullptr;
        }
    }
    m_links[index].id = id;
    m_links[index].target = nullptr;
}

void ElementLinks::LoadId(int index, int32_t id)
{
    if (index < 0 || index >= Count())
        return;
    m_links[index].id = id;
    m_links[index].target = nullptr;
}

void ElementLinks::Set(int index, int32_t id, const Element& owner)
{
    if (index < 0 || index >= Count())
        return;
    SetId(index, id);
    Resolve(m_links[index], owner);
}

void ElementLinks::ResolveAll(const Element& owner)
{
    for (Link& link : m_links)
        Resolve(link, owner);
}

void ElementLinks::Forget(const Element* element)
{
    for (Link& link : m_links) {
        if (link.target == element)
            link.target = nullptr;
    }
}

std::string_view ElementLinks::TargetClass(std::string_view linkName)
{
    size_t separator = linkName.find(" : ");
    return separator == std::string_view::npos ? std::string_view() : linkName.substr(0, separator);
}

void ElementLinks::Resolve(Link& link, const Element& owner)
{
    link.target = link.id == 0 ? nullptr : owner.ResolveLink(link.id, TargetClass(link.name));
}

}  // namespace tamber
