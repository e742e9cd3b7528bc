#include "ui/FileDialog.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "ui/Application.h"
#include "ui/MessageBox.h"

namespace tamber::ui {

namespace {

char Upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

bool Wildcard(std::string_view name, std::string_view pattern)
{
    // Iterative matching with one back-tracking point for the last '*'.
    size_t n = 0, p = 0, star = std::string_view::npos, mark = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || Upper(pattern[p]) == Upper(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    // "*.*" also takes names without a dot, as the classic dialogs do.
    return p == pattern.size() || pattern.substr(p) == ".*";
}

bool LessNoCase(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) { return Upper(x) < Upper(y); });
}

bool HasWildcard(std::string_view s)
{
    return s.find_first_of("*?") != std::string_view::npos;
}

} // namespace

bool MatchesFilter(std::string_view name, std::string_view patterns)
{
    size_t start = 0;
    while (start <= patterns.size()) {
        size_t end = patterns.find(';', start);
        std::string_view one
            = patterns.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        while (!one.empty() && one.front() == ' ')
            one.remove_prefix(1);
        while (!one.empty() && one.back() == ' ')
            one.remove_suffix(1);
        if (!one.empty() && Wildcard(name, one))
            return true;
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return false;
}

std::string ShowOpenFileDialog(TWindow* owner, const FileDialogRequest& request)
{
    Application* app = Application::Current();
    if (!app)
        return {};
    if (DialogAnswers* answers = app->Answers()) {
        std::string path;
        if (answers->AnswerFileDialog(request, path))
            return path;
    }
    FileDialog dialog(request);
    if (!dialog.Open(owner))
        return {};
    return dialog.Execute() == dialog::kOk ? dialog.Chosen() : std::string();
}

FileDialog::FileDialog(FileDialogRequest request)
    : ControlDialog(request.caption.empty() ? "Open" : request.caption, 430, 320)
    , m_request(std::move(request))
{
    if (m_request.filters.empty())
        m_request.filters.push_back(FileFilter { "All Files", "*.*" });
    m_pattern = m_request.filters.front().pattern;
    std::error_code error;
    m_folder = m_request.folder.empty() ? std::filesystem::current_path(error).string() : m_request.folder;
}

void FileDialog::Created()
{
    AddLabel("File &name:", gfx::Rect::FromSize(10, 6, 180, 16));
    m_name = std::make_unique<EditControl>();
    m_name->SetId(kNameId);
    m_name->Create(this, "", gfx::Rect::FromSize(10, 24, 180, 22), Visibility::Shown);
    m_files = std::make_unique<ListBoxControl>();
    m_files->SetId(kFilesId);
    m_files->Create(this, "", gfx::Rect::FromSize(10, 50, 180, 170), Visibility::Shown);
    AddLabel("&Folders:", gfx::Rect::FromSize(200, 6, 130, 16));
    m_folders = std::make_unique<ListBoxControl>();
    m_folders->SetId(kFoldersId);
    m_folders->Create(this, "", gfx::Rect::FromSize(200, 50, 130, 170), Visibility::Shown);
    AddLabel("List files of &type:", gfx::Rect::FromSize(10, 226, 180, 16));
    m_filter = std::make_unique<ComboBoxControl>();
    m_filter->SetId(kFilterId);
    m_filter->Create(this, "", gfx::Rect::FromSize(10, 244, 180, 22), Visibility::Shown);
    for (const FileFilter& f : m_request.filters)
        m_filter->AddString(f.description + " (" + f.pattern + ")");
    m_filter->SetCurSel(0);
    AddOkCancel(340, 24);
    m_name->SetText(m_request.initialName.empty() ? m_pattern : m_request.initialName);
    m_name->SetSelection(0, static_cast<int32_t>(m_name->Text().size()));
    Refresh();
    m_name->SetFocus();
}

void FileDialog::Paint(Painter& p)
{
    // The current folder, shortened from the left to fit above the folder list.
    std::string shown = m_folder;
    while (shown.size() > 4 && p.TextWidth(shown) > 210)
        shown = "..." + shown.substr(4);
    p.DrawText(200, 26, shown, look::kText);
}

std::string FileDialog::CurrentPattern() const
{
    return m_pattern;
}

void FileDialog::SetFolder(const std::string& folder)
{
    std::error_code error;
    std::filesystem::path path = std::filesystem::weakly_canonical(std::filesystem::path(folder), error);
    if (error || !std::filesystem::is_directory(path, error))
        return;
    m_folder = path.string();
    Refresh();
    Invalidate();
}

void FileDialog::Refresh()
{
    if (!m_files || !m_folders)
        return;
    m_files->ResetContent();
    m_folders->ResetContent();
    std::vector<std::string> files, folders;
    std::error_code error;
    std::filesystem::directory_iterator it(
        m_folder, std::filesystem::directory_options::skip_permission_denied, error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        std::string name = it->path().filename().string();
        if (name.empty() || name[0] == '.')
            continue;
        std::error_code kindError;
        if (it->is_directory(kindError))
            folders.push_back(name);
        else if (MatchesFilter(name, m_pattern))
            files.push_back(name);
    }
    std::sort(files.begin(), files.end(), LessNoCase);
    std::sort(folders.begin(), folders.end(), LessNoCase);
    if (std::filesystem::path(m_folder).has_parent_path()
        && std::filesystem::path(m_folder) != std::filesystem::path(m_folder).root_path())
        m_folders->AddString("..");
    for (const std::string& f : folders)
        m_folders->AddString("[" + f + "]");
    for (const std::string& f : files)
        m_files->AddString(f);
}

void FileDialog::Accept()
{
    std::string name = m_name->Text();
    if (name.empty())
        return;
    if (HasWildcard(name)) {
        m_pattern = name;
        Refresh();
        return;
    }
    std::filesystem::path path(name);
    if (path.is_relative())
        path = std::filesystem::path(m_folder) / path;
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        SetFolder(path.string());
        m_name->SetText(m_pattern);
        return;
    }
    if (!std::filesystem::exists(path, error)) {
        ShowMessageBox(this,
            path.filename().string() + "\nFile not found.\nPlease verify the correct file name was given.",
            Caption(), MessageBoxIcon::Warning, MessageBoxButtons::Ok);
        return;
    }
    m_chosen = path.lexically_normal().string();
    EndDialog(dialog::kOk);
}

void FileDialog::ButtonPressed(uint16_t id)
{
    if (id == dialog::kOk) {
        Accept();
        return;
    }
    TDialog::ButtonPressed(id);
}

void FileDialog::Command(uint16_t id, uint16_t code, TWindow* from)
{
    if (code == notify::kEscapeKey && from) {
        Close();
        return;
    }
    if (from == m_files.get()) {
        if (code == notify::kSelectionChanged) {
            m_name->SetText(m_files->GetText(m_files->CurSel()));
        } else if (code == notify::kDoubleClicked) {
            m_name->SetText(m_files->GetText(m_files->CurSel()));
            Accept();
        } else if (code == notify::kEnterKey) {
            Accept();
        }
        return;
    }
    if (from == m_folders.get()) {
        if (code == notify::kDoubleClicked || code == notify::kEnterKey) {
            std::string entry = m_folders->GetText(m_folders->CurSel());
            if (entry == "..")
                SetFolder((std::filesystem::path(m_folder).parent_path()).string());
            else if (entry.size() > 2)
                SetFolder((std::filesystem::path(m_folder) / entry.substr(1, entry.size() - 2)).string());
        }
        return;
    }
    if (from == m_filter.get()) {
        if (code == notify::kSelectionChanged) {
            int32_t index = m_filter->CurSel();
            if (index >= 0 && index < static_cast<int32_t>(m_request.filters.size())) {
                m_pattern = m_request.filters[static_cast<size_t>(index)].pattern;
                m_name->SetText(m_pattern);
                Refresh();
            }
        }
        return;
    }
    if (from == m_name.get()) {
        if (code == notify::kEnterKey)
            Accept();
        else if (code == notify::kEscapeKey)
            Close();
        return;
    }
    TDialog::Command(id, code, from);
}

} // namespace tamber::ui
