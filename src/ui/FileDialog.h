#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/ComboBoxControl.h"
#include "ui/ControlDialog.h"
#include "ui/DialogAnswers.h"
#include "ui/EditControl.h"
#include "ui/ListBoxControl.h"

namespace tamber::ui {

// Shows the open-file dialog; answers the chosen file's full path, or an empty text when the
// user cancels. Dialog answers installed in the application answer instead (headless runs).
std::string ShowOpenFileDialog(TWindow* owner, const FileDialogRequest& request);

// Whether a file name matches one of the patterns of a filter ("*.bmp;*.dib"; * and ?; case
// ignored).
bool MatchesFilter(std::string_view name, std::string_view patterns);

// The open-file dialog: the name field, the files of the current folder that match the filter,
// the folders (with ".." to go up), the filter list, OK and Cancel. Double-clicking a folder
// opens it; double-clicking a file chooses it; a name with a wildcard becomes the filter.
class FileDialog : public ControlDialog {
public:
    static constexpr uint16_t kNameId = 100;
    static constexpr uint16_t kFilesId = 101;
    static constexpr uint16_t kFoldersId = 102;
    static constexpr uint16_t kFilterId = 103;

    explicit FileDialog(FileDialogRequest request);
    const std::string& Folder() const { return m_folder; }
    const std::string& Chosen() const { return m_chosen; }
    void SetFolder(const std::string& folder);
    ListBoxControl& Files() { return *m_files; }
    ListBoxControl& Folders() { return *m_folders; }
    EditControl& Name() { return *m_name; }
    ComboBoxControl& Filter() { return *m_filter; }

protected:
    void Created() override;
    void Paint(Painter& p) override;
    void Command(uint16_t id, uint16_t code, TWindow* from) override;
    void ButtonPressed(uint16_t id) override;

private:
    void Refresh();
    std::string CurrentPattern() const;
    void Accept();

    FileDialogRequest m_request;
    std::string m_folder;
    std::string m_pattern;
    std::string m_chosen;
    std::unique_ptr<EditControl> m_name;
    std::unique_ptr<ListBoxControl> m_files;
    std::unique_ptr<ListBoxControl> m_folders;
    std::unique_ptr<ComboBoxControl> m_filter;
};

} // namespace tamber::ui
