#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "ui/EditControl.h"
#include "ui/ListBoxControl.h"
#include "ui/TControl.h"

namespace tamber::ui {

enum class ComboKind : uint8_t { DropDownList = 0, Editable = 1 };

// A field with a button that drops a list below it (above when there is no room). The field is
// an edit control when the combo is editable, else it shows the selected item. Notifications:
// kDropDown when the list opens, kCloseUp when it closes, kSelectionChanged when the user picks
// another item (in the list, or with Up and Down on the closed box), kEditChanged when the user
// edits the field.
class ComboBoxControl : public TControl {
public:
    static constexpr int32_t kButtonWidth = 16;
    static constexpr int32_t kMaxDropRows = 8;
    enum class Commit : uint8_t { No = 0, Yes = 1 };

    explicit ComboBoxControl(ComboKind kind = ComboKind::DropDownList);
    ~ComboBoxControl() override;

    ComboKind Kind() const { return m_kind; }
    int32_t AddString(std::string_view text) { return m_list.AddString(text); }
    int32_t InsertString(int32_t index, std::string_view text) { return m_list.InsertString(index, text); }
    int DeleteString(int32_t index);
    void ResetContent();
    int32_t Count() const { return m_list.Count(); }
    std::string GetText(int32_t index) const { return m_list.GetText(index); }
    int32_t CurSel() const { return m_list.CurSel(); }
    // Selects without notifying; the field shows the item.
    int SetCurSel(int32_t index);
    // The field's text.
    std::string Text() const;
    void SetText(std::string_view text);

    void ShowDropDown(bool show);
    bool IsDroppedDown() const { return m_list.IsCreated() && m_list.IsShown(); }
    ListBoxControl& List() { return m_list; }
    EditControl* Edit() { return m_edit.get(); }

    // From the drop-down list: the user moved to (Commit::No) or picked (Commit::Yes) an item.
    void ListChanged(int32_t index, Commit commit);

protected:
    void Created() override;
    void Destroyed() override;
    void Paint(Painter& p) override;
    void ButtonDown(gfx::Point p, uint32_t flags) override;
    void DoubleClick(gfx::Point p, uint32_t flags) override { ButtonDown(p, flags); }
    bool KeyDown(uint32_t key) override;
    void Char(uint8_t ch) override;
    void Command(uint16_t id, uint16_t code, TWindow* from) override;
    void FocusGained() override;
    void FocusLost() override;
    void SizeRestored(int32_t width, int32_t height) override;

private:
    // Gives the combo box the keys its edit field does not use.
    struct EditKeys : MessageHook {
        ComboBoxControl* combo = nullptr;
        bool Filter(TWindow& window, uint32_t code, uintptr_t wParam, intptr_t lParam, intptr_t& result) override;
    };

    gfx::Rect ButtonRect() const;
    void SelectByUser(int32_t index);
    // The box, its field and its list count as one for the owner: kSetFocus when the focus
    // comes to any of them from outside, kKillFocus when it leaves all of them.
    void FocusEntered();
    void FocusLeft();

    ComboKind m_kind;
    ListBoxControl m_list;
    std::unique_ptr<EditControl> m_edit;
    std::string m_shownText;
    int32_t m_selectionAtDrop = -1;
    bool m_settingText = false;
    bool m_focusWithin = false;
    EditKeys m_editKeys;
};

} // namespace tamber::ui
