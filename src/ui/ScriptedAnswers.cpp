#include "ui/ScriptedAnswers.h"

#include <algorithm>

#include "ui/MessageBox.h"

namespace tamber::ui {

int ScriptedAnswers::Answer(std::string_view button)
{
    MessageBoxResult result;
    if (!ParseButtonName(button, result))
        return 0;
    m_answers.push_back(result);
    return 1;
}

std::string ScriptedAnswers::FormatLine(const MessageBoxRequest& request, MessageBoxResult answer)
{
    std::string text;
    for (size_t i = 0; i < request.text.size(); ++i) {
        char c = request.text[i];
        if (c == '\r' && i + 1 < request.text.size() && request.text[i + 1] == '\n')
            continue;
        text.push_back(c == '\n' || c == '\r' ? ' ' : c);
    }
    return "MessageBox [" + request.caption + "] " + text + " -> " + ButtonName(answer);
}

int ScriptedAnswers::AnswerMessageBox(const MessageBoxRequest& request, MessageBoxResult& answer)
{
    std::vector<MessageBoxResult> buttons = ButtonsOf(request.buttons);
    answer = buttons.front();
    if (!m_answers.empty()) {
        MessageBoxResult wanted = m_answers.front();
        m_answers.pop_front();
        if (std::find(buttons.begin(), buttons.end(), wanted) != buttons.end())
            answer = wanted;
    }
    if (m_log)
        *m_log << FormatLine(request, answer) << '\n';
    return 1;
}

int ScriptedAnswers::AnswerFileDialog(const FileDialogRequest&, std::string& path)
{
    path.clear();
    if (!m_choices.empty()) {
        path = m_choices.front();
        m_choices.pop_front();
    }
    return 1;
}

int ScriptedAnswers::AnswerPrintDialog(const PrintRequest&, PrintSettings&)
{
    return 1;
}

} // namespace tamber::ui
