#include "ui/Menu.h"

namespace tamber::ui {

void Menu::Append(uint16_t id, std::string_view text, ItemState state)
{
    Insert(m_items.size(), id, text, state);
}

void Menu::AppendSeparator()
{
    Item item;
    item.separator = true;
    m_items.push_back(std::move(item));
}

void Menu::AppendSubmenu(std::string_view text, std::unique_ptr<Menu> submenu)
{
    Item item;
    item.text = std::string(text);
    item.submenu = std::move(submenu);
    m_items.push_back(std::move(item));
}

void Menu::Insert(size_t position, uint16_t id, std::string_view text, ItemState state)
{
    Item item;
    item.id = id;
    item.text = std::string(text);
    item.state = state;
    if (position > m_items.size())
        position = m_items.size();
    m_items.insert(m_items.begin() + static_cast<ptrdiff_t>(position), std::move(item));
}

Menu::Item* Menu::Find(uint16_t id)
{
    for (Item& item : m_items) {
        if (!item.separator && !item.submenu && item.id == id)
            return &item;
        if (item.submenu) {
            if (Item* found = item.submenu->Find(id))
                return found;
        }
    }
    return nullptr;
}

int Menu::Enable(uint16_t id, ItemState state)
{
    Item* item = Find(id);
    if (!item)
        return 0;
    item->state = state;
    return 1;
}

int Menu::Rename(uint16_t id, std::string_view text)
{
    Item* item = Find(id);
    if (!item)
        return 0;
    item->text = std::string(text);
    return 1;
}

int Menu::Check(uint16_t id, bool checked)
{
    Item* item = Find(id);
    if (!item)
        return 0;
    item->checked = checked;
    return 1;
}

int Menu::Remove(uint16_t id)
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (!m_items[i].separator && !m_items[i].submenu && m_items[i].id == id) {
            m_items.erase(m_items.begin() + static_cast<ptrdiff_t>(i));
            return 1;
        }
    }
    return 0;
}

} // namespace tamber::ui
