#pragma once

#include <string>
#include <vector>

#include "elements/ListElementBase.h"
#include "ui/ListBoxControl.h"

namespace tamber {

// The ListBox element: a list of items, single or multiple selection, optionally paired with
// an EditBox for word lookup ("EditBox : Word Select"). Its items may also come from a Text
// medium (one item per non-empty line) or from the word list of a database's full-text index.
class ListBoxElement : public ListElementOver<ui::ListBoxControl> {
public:
    explicit ListBoxElement(InterfaceModel* parent = nullptr);
    ~ListBoxElement() override;

    int CallMethod(std::string_view name, std::span<const AttributeValue> params,
        AttributeValue& result) override;
    int WriteClassChunks(MemoryBlock& out) const override;
    bool ReadClassChunk(std::string_view tag, const MemoryBlock& payload) override;
    void SetMedia(const MediaDatabase* database, int32_t mediaId) override;

    bool MultiSelect() const { return Kind(); }

    // The non-empty lines of a text: breaks are a carriage return (with the line feed that may
    // follow it) or a lone line feed; the text ends at its first NUL.
    static std::vector<std::string> SplitLines(std::string_view text);

protected:
    std::unique_ptr<ui::TControl> MakeControl(bool border) override;
    void ControlCreated() override;
    bool ClassNotice(uint16_t code) override;

private:
    // Replaces the items by the lines of the element's Text medium, when it has one.
    void LoadMedium();
    // Appends the words of the full-text index of the named database file, or of the
    // Interface's own database when the name is empty.
    void AppendIndexes(const std::string& databaseFile);
    void UserSelectionChanged();
};

}  // namespace tamber
