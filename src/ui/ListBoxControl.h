#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/ScrollBarControl.h"
#include "ui/TControl.h"

namespace tamber::ui {

enum class SelectionMode : uint8_t { Single = 0, Multiple = 1 };

class ComboBoxControl;

// A list of text items with single or multiple selection, a vertical scroll bar when the items
// do not fit, keyboard movement (arrows, pages, Home, End, Space in a multiple list, letters to
// jump) and double clicks. Selection changes made by the user notify kSelectionChanged; a double
// click notifies kDoubleClicked. Changes made through the calls below notify nothing.
class ListBoxControl : public TControl {
public:
    static constexpr int32_t kScrollWidth = 16;

    explicit ListBoxControl(SelectionMode mode = SelectionMode::Single);
    ~ListBoxControl() override;

    SelectionMode Mode() const { return m_mode; }
    void SetMode(SelectionMode mode);

    int32_t Count() const { return static_cast<int32_t>(m_items.size()); }
    // Answer the new item's index.
    int32_t AddString(std::string_view text);
    // Before index; an index below 0 or past the end appends.
    int32_t InsertString(int32_t index, std::string_view text);
    // Before the first item that sorts after the text, ASCII case ignored.
    int32_t InsertSorted(std::string_view text);
    int DeleteString(int32_t index);
    void ResetContent();
    // The item's text; empty out of range.
    std::string GetText(int32_t index) const;
    // The first item from start + 1 on (wrapping) that begins with the text, case ignored; -1 for none.
    int32_t FindPrefix(std::string_view text, int32_t start = -1) const;

    // Single selection: the selected item or -1. Multiple selection: the caret item when selected.
    int32_t CurSel() const;
    // -1 clears. Answers 1, or 0 for an index out of range.
    int SetCurSel(int32_t index);
    bool IsSelected(int32_t index) const;
    int SetSelected(int32_t index, bool selected);
    std::vector<int32_t> SelectedItems() const;
    int32_t Caret() const { return m_caret; }

    int32_t TopIndex() const { return m_top; }
    void SetTopIndex(int32_t index);
    int32_t ItemHeight() const;
    int32_t VisibleRows() const;
    // The item at a client point, -1 below the last item.
    int32_t ItemAt(gfx::Point p) const;
    bool ScrollBarShown() const;

    // Drop-down use by a combo box: the list follows the pointer and closes on release.
    void AttachCombo(ComboBoxControl* combo) { m_combo = combo; }
    bool IsComboPopup() const override { return m_combo != nullptr; }

protected:
    void Paint(Painter& p) override;
    void ButtonDown(gfx::Point p, uint32_t flags) override;
    void MouseMove(gfx::Point p, uint32_t flags) override;
    void ButtonUp(gfx::Point p, uint32_t flags) override;
    void DoubleClick(gfx::Point p, uint32_t flags) override;
    bool KeyDown(uint32_t key) override;
    void Char(uint8_t ch) override;
    void Scrolled(ScrollBarKind bar, int32_t code, int32_t pos, TWindow* from) override;
    void Created() override { UpdateScrollBar(); }
    void SizeRestored(int32_t width, int32_t height) override { UpdateScrollBar(); }
    void Moved(gfx::Point) override { }

private:
    friend class ComboBoxControl;
    void UpdateScrollBar();
    void EnsureVisible(int32_t index);
    void SelectByUser(int32_t index, bool toggle);
    void MoveCaret(int32_t index);

    SelectionMode m_mode;
    std::vector<std::string> m_items;
    std::vector<bool> m_selected;
    int32_t m_single = -1;
    int32_t m_caret = 0;
    int32_t m_top = 0;
    bool m_dragging = false;
    std::unique_ptr<ScrollBarControl> m_scroll;
    ComboBoxControl* m_combo = nullptr;
};

} // namespace tamber::ui
