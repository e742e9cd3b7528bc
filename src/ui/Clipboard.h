#pragma once

#include <string>

namespace tamber::ui {

// The text clipboard the edit controls use. The default keeps the text in memory; the program
// may hand the application one that reaches the system's clipboard.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void SetText(const std::string& text) { m_text = text; }
    virtual std::string GetText() const { return m_text; }

private:
    std::string m_text;
};

} // namespace tamber::ui
