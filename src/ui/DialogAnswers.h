#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tamber::ui {

enum class MessageBoxIcon : uint8_t { Information = 0, Question = 1, Warning = 2, Error = 3 };
enum class MessageBoxButtons : uint8_t { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageBoxResult : uint8_t { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

struct MessageBoxRequest {
    std::string text;
    std::string caption;
    MessageBoxIcon icon = MessageBoxIcon::Information;
    MessageBoxButtons buttons = MessageBoxButtons::Ok;
};

struct FileFilter {
    std::string description; // "Bitmaps"
    std::string pattern;     // "*.bmp;*.dib"
};

struct FileDialogRequest {
    std::string caption;
    std::vector<FileFilter> filters; // empty: "All Files" with "*.*"
    std::string initialName;         // shown in the name field
    std::string folder;              // where the dialog starts; empty: the current folder
};

struct PrintRequest {
    int32_t minPage = 1;
    int32_t maxPage = 9999;
};

struct PrintSettings {
    bool allPages = true;
    int32_t fromPage = 1;
    int32_t toPage = 1;
    int32_t copies = 1;
    bool collate = true;
};

// Answers the dialogs when nobody is there to (headless runs). Each call answers 1 with the
// answer filled in, or 0 to let the dialog be shown to the user.
class DialogAnswers {
public:
    virtual ~DialogAnswers() = default;
    virtual int AnswerMessageBox(const MessageBoxRequest& request, MessageBoxResult& answer) = 0;
    // An empty path cancels the dialog.
    virtual int AnswerFileDialog(const FileDialogRequest& request, std::string& path) = 0;
    virtual int AnswerPrintDialog(const PrintRequest& request, PrintSettings& settings) = 0;
};

} // namespace tamber::ui
