#pragma once

#include "ui/TControl.h"

namespace tamber::ui {

// A line of static text (the window's caption) on the face colour; takes no focus.
class LabelControl : public TControl {
public:
    LabelControl()
    {
        SetTabStop(TabStop::No);
        m_backColor = look::kFace;
    }

protected:
    void Paint(Painter& p) override
    {
        p.FillRect(ClientRect(), m_backColor);
        p.DrawTextAligned(ClientRect(), Caption(), IsEnabled() ? m_textColor : look::kGrayText, HAlign::Left, VAlign::Center,
                          Mnemonic::Underline);
    }
};

} // namespace tamber::ui
