#pragma once

#include <memory>
#include <vector>

#include "ui/ButtonControl.h"
#include "ui/ControlDialog.h"
#include "ui/DialogAnswers.h"
#include "ui/EditControl.h"

namespace tamber::ui {

// Shows the print dialog with the settings as they start; answers 1 with the user's settings,
// or 0 when the user cancels. Dialog answers installed in the application answer instead.
int ShowPrintDialog(TWindow* owner, const PrintRequest& request, PrintSettings& settings);

// The print dialog: the page range (all pages, or from and to), the number of copies with a
// spin button, and whether copies are collated.
class PrintDialog : public ControlDialog {
public:
    static constexpr uint16_t kAllId = 100;
    static constexpr uint16_t kPagesId = 101;
    static constexpr uint16_t kFromId = 102;
    static constexpr uint16_t kToId = 103;
    static constexpr uint16_t kCopiesId = 104;
    static constexpr uint16_t kCollateId = 105;
    static constexpr int32_t kMaxCopies = 999;

    PrintDialog(const PrintRequest& request, const PrintSettings& settings);
    // The settings as the controls hold them now (numbers kept within the page range).
    PrintSettings Settings() const;

    ButtonControl& AllPages() { return *m_all; }
    ButtonControl& SomePages() { return *m_pages; }
    EditControl& From() { return *m_from; }
    EditControl& To() { return *m_to; }
    EditControl& Copies() { return *m_copies; }
    ButtonControl& Collate() { return *m_collate; }

protected:
    void Created() override;
    void Paint(Painter& p) override;
    void Command(uint16_t id, uint16_t code, TWindow* from) override;
    void ButtonPressed(uint16_t id) override;

private:
    PrintRequest m_request;
    PrintSettings m_initial;
    PrintSettings m_result;
    std::unique_ptr<ButtonControl> m_all;
    std::unique_ptr<ButtonControl> m_pages;
    std::unique_ptr<EditControl> m_from;
    std::unique_ptr<EditControl> m_to;
    std::unique_ptr<EditControl> m_copies;
    std::unique_ptr<ButtonControl> m_collate;
};

} // namespace tamber::ui
