#include "ui/WindowDc.h"

#include "ui/Application.h"

namespace tamber::ui {

std::unique_ptr<gfx::Dc> CreateWindowDc(const DrawTarget& target)
{
    Application* app = Application::Current();
    if (!app || !target.surface.IsValid())
        return nullptr;
    auto dc = std::make_unique<gfx::Dc>(target.surface, &app->Screen().HardwarePalette());
    dc->SetViewportOrg(target.origin);
    dc->SetVisibleRegion(gfx::Region(target.clip));
    return dc;
}

} // namespace tamber::ui
