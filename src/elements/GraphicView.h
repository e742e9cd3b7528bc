#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "elements/GraphicAnimation.h"
#include "elements/GraphicHotLinks.h"
#include "elements/GraphicLayout.h"
#include "platform/gfx/Dc.h"
#include "ui/TWindow.h"

namespace tamber {

class DibImage;
class GraphicMedium;
class ScreenContext;

// The child window of a Graphic element: draws the medium's picture (with its canvas) by the
// display mode over the background colour, scrolls it, plays its animations and turns mouse
// input into hot-link notifications.
class GraphicView : public ui::TWindow {
public:
    static constexpr uint32_t kAnimationTimer = 109;
    static constexpr uint32_t kAnimationPeriodMs = 1;

    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void OverHotLink(int32_t linkId) = 0;
        virtual void HotLinkClicked(int32_t linkId, gfx::Point picture) = 0;
        virtual void AnimationEnded() = 0;
    };

    GraphicView(ScreenContext& screen, Listener& listener);
    ~GraphicView() override;

    void SetDisplay(uint16_t display, bool editMode);
    // 0x00BBGGRR.
    void SetBackColor(uint32_t color);
    void SetYieldOnAnimate(bool yield) { m_yield = yield; }
    // Kept for the view; the composed picture is always held whole.
    void SetOptimizeSpace(bool optimize) { m_optimizeSpace = optimize; }
    bool OptimizeSpace() const { return m_optimizeSpace; }

    // Shows the medium (null: a white picture without canvas or links), revealed with the
    // transition effect.
    void SetMedium(std::unique_ptr<GraphicMedium> medium, int32_t effect);
    GraphicMedium* Medium() const { return m_medium.get(); }
    int32_t PictureWidth() const;
    int32_t PictureHeight() const;

    const GraphicLayout& Layout() const { return m_layout; }
    // Answers whether the picture moved (it is then redrawn).
    bool ScrollTo(int32_t x, int32_t y);

    // Starts the animation: on the timer when yielding, else played to its end before this
    // returns (Escape stops it early; mouse input for the view is handled between steps).
    // Answers false when it did not start.
    bool Animate(std::string_view name);
    // Plays the named animation's first `frame` steps at once. Answers true when the group
    // exists and had that many steps.
    bool StepAnimation(std::string_view name, int32_t frame);
    void StopAnimation();
    bool Animating() const { return m_animation.Running(); }

    // Mouse input in client coordinates (also reached through the window's handlers).
    void PointerAt(gfx::Point client);
    void ClickAt(gfx::Point client);

protected:
    void Paint(ui::Painter& painter) override;
    void MouseMove(gfx::Point p, uint32_t flags) override;
    void ButtonDown(gfx::Point p, uint32_t flags) override;
    void MouseLeave() override;
    void Timer(uint32_t id) override;
    void SizeRestored(int32_t width, int32_t height) override;
    void Created() override;

private:
    std::optional<int32_t> LinkAt(gfx::Point client) const;
    // Rebuilds the composed picture after the medium or its canvas changed.
    void Compose();
    void Relayout();
    // Draws the background and the picture now, revealing the picture with the effect.
    void Draw(int32_t effect);
    // Draws the client area into the frame image; with showSteps each step of the reveal is
    // shown on the window as it is made.
    void Render(int32_t effect, bool showSteps);
    void CopyFrame(gfx::Dc& dc);
    // Puts the frame on the window and presents it.
    void ShowFrame();
    // One animation step; answers true when the animation ended.
    bool AnimationStep();
    void FinishAnimation();

    ScreenContext& m_screen;
    Listener& m_listener;
    std::unique_ptr<GraphicMedium> m_medium;
    std::unique_ptr<DibImage> m_image;
    // The client area as last drawn.
    std::unique_ptr<DibImage> m_frame;
    GraphicLayout m_layout;
    GraphicHotLinks m_tracker;
    GraphicAnimation m_animation;
    uint16_t m_display = GraphicLayout::kBestFit;
    bool m_editMode = false;
    uint32_t m_backColor = 0x00FFFFFF;
    bool m_yield = false;
    bool m_optimizeSpace = true;
};

}  // namespace tamber
