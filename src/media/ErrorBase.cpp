#include "media/ErrorBase.h"

#include "media/ScreenContext.h"

namespace tamber {

void ErrorBase::SetError(int32_t code, Sticky sticky) {
    if (!m_sticky) {
        m_code = code;
    }
    if (sticky == Sticky::Yes) {
        m_sticky = true;
    }
}

void ErrorBase::ClearError() {
    if (!m_sticky) {
        m_code = 0;
    }
}

void ErrorBase::ErrorMessage(std::string& text, std::string& caption) const {
    if (const char* known = ErrorText(m_code); known != nullptr) {
        text = known;
        caption = ErrorCaption();
        return;
    }
    text = "Error number " + std::to_string(m_code) + ".";
    caption = "Error";
}

void ErrorBase::ReportError(ScreenContext& context) const {
    std::string text;
    std::string caption;
    ErrorMessage(text, caption);
    context.ShowMessage(text, caption, MessageButtons::Ok);
}

}  // namespace tamber
