#pragma once

#include <cstdint>
#include <string>

namespace tamber {

class ScreenContext;

enum class Sticky : uint8_t { No = 0, Yes = 1 };

// A small error-reporting base: an error code (0 = none) and a sticky flag. Once sticky, the
// code stays until the object is gone. Subclasses name their own codes' messages and caption.
class ErrorBase {
public:
    virtual ~ErrorBase() = default;

    int32_t ErrorCode() const { return m_code; }
    bool IsSticky() const { return m_sticky; }
    // Stores the code unless the error is sticky already; asking for stickiness makes it sticky.
    void SetError(int32_t code, Sticky sticky = Sticky::No);
    // Forgets the code unless it is sticky.
    void ClearError();
    // The message shown for the current code: the class's text with the class's caption, or
    // "Error number N." with the caption "Error" for codes the class does not know.
    void ErrorMessage(std::string& text, std::string& caption) const;
    // Shows the message in a message box.
    void ReportError(ScreenContext& context) const;

protected:
    virtual const char* ErrorText(int32_t code) const { return nullptr; }
    virtual const char* ErrorCaption() const { return "Error"; }

private:
    int32_t m_code = 0;
    bool m_sticky = false;
};

}  // namespace tamber
