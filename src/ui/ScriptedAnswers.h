#pragma once

#include <deque>
#include <ostream>
#include <string>
#include <string_view>

#include "ui/DialogAnswers.h"

namespace tamber::ui {

// Answers dialogs from queues that an automation script fills: `answer BUTTON` queues the
// button for the next message box, `choose PATH` the path for the next file dialog. A box with
// no queued answer (or one naming a button the box lacks) takes its default button, the first.
// Every answered box is written to the log as one line:
//   MessageBox [CAPTION] TEXT -> ANSWER
class ScriptedAnswers : public DialogAnswers {
public:
    explicit ScriptedAnswers(std::ostream* log = nullptr) : m_log(log) { }

    // Answers 1, or 0 when the name is not OK, Cancel, Yes or No (case ignored).
    int Answer(std::string_view button);
    void Choose(std::string path) { m_choices.push_back(std::move(path)); }
    size_t PendingAnswers() const { return m_answers.size(); }
    size_t PendingChoices() const { return m_choices.size(); }

    int AnswerMessageBox(const MessageBoxRequest& request, MessageBoxResult& answer) override;
    int AnswerFileDialog(const FileDialogRequest& request, std::string& path) override;
    int AnswerPrintDialog(const PrintRequest& request, PrintSettings& settings) override;

    static std::string FormatLine(const MessageBoxRequest& request, MessageBoxResult answer);

private:
    std::ostream* m_log;
    std::deque<MessageBoxResult> m_answers;
    std::deque<std::string> m_choices;
};

} // namespace tamber::ui
