#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace tamber {

class Element;

// The link attributes of an element. A link attribute is named by a class, " : " and an
// action ("Audio : Play"); it holds the id of an element of that class on the same Card and
// the element it resolves to. Id 0 means no link.
class ElementLinks {
public:
    // An exclusive set holds at most one link: setting one clears all the others.
    enum class Exclusive { No, Yes };

    ElementLinks() = default;
    ElementLinks(std::initializer_list<const char*> names, Exclusive exclusive);

    int Count() const { return static_cast<int>(m_links.size()); }
    // The index of the named link (ASCII case ignored), or -1.
    int IndexOf(std::string_view name) const;
    std::string_view Name(int index) const { return m_links[index].name; }
    int32_t Id(int index) const { return m_links[index].id; }
    Element* Target(int index) const { return m_links[index].target; }
    int32_t IdOf(std::string_view name) const;
    Element* TargetOf(std::string_view name) const;

    // Stores the id without resolving it (an exclusive set clears the others first).
    void SetId(int index, int32_t id);
    // Stores the id as read from a stored element: nothing else is cleared.
    void LoadId(int index, int32_t id);
    // Stores the id and resolves it against the owner's Card.
    void Set(int index, int32_t id, const Element& owner);
    // Resolves every non-zero id against the owner's Card.
    void ResolveAll(const Element& owner);
    // Drops references to an element that is going away.
    void Forget(const Element* element);

    // "Audio" for "Audio : Play".
    static std::string_view TargetClass(std::string_view linkName);

private:
    struct Link {
        const char* name;
        int32_t id = 0;
        Element* target = nullptr;
    };
    void Resolve(Link& link, const Element& owner);

    std::vector<Link> m_links;
    Exclusive m_exclusive = Exclusive::No;
};

}  // namespace tamber
