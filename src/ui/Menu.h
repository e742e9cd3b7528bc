#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tamber::ui {

enum class ItemState : uint8_t { Enabled = 0, Disabled = 1 };

// A list of menu items: commands with an identifier, separators and submenus. Item texts may
// carry '&' before the mnemonic letter and a tab before the shortcut text.
class Menu {
public:
    struct Item {
        uint16_t id = 0;
        std::string text;
        ItemState state = ItemState::Enabled;
        bool checked = false;
        bool separator = false;
        std::unique_ptr<Menu> submenu;
    };

    void Append(uint16_t id, std::string_view text, ItemState state = ItemState::Enabled);
    void AppendSeparator();
    void AppendSubmenu(std::string_view text, std::unique_ptr<Menu> submenu);
    // Inserts before position (appends when position is past the end).
    void Insert(size_t position, uint16_t id, std::string_view text, ItemState state = ItemState::Enabled);
    // The item with the command identifier, searched through submenus; nullptr when absent.
    Item* Find(uint16_t id);
    // Answer 1, or 0 when no item has the identifier.
    int Enable(uint16_t id, ItemState state);
    int Rename(uint16_t id, std::string_view text);
    int Check(uint16_t id, bool checked);
    int Remove(uint16_t id);
    void Clear() { m_items.clear(); }

    size_t Count() const { return m_items.size(); }
    const Item& At(size_t i) const { return m_items[i]; }
    Item& At(size_t i) { return m_items[i]; }

private:
    std::vector<Item> m_items;
};

} // namespace tamber::ui
