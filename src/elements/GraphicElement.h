#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "iface/Element.h"

namespace tamber {

class GraphicView;

// The Graphic element: shows a Graphic medium scaled by a display mode, with a transition
// effect when the picture changes, hot links and animations. Besides its class table it
// answers the in-place editing attributes ("DrawingTool", "Mode", "FillColor", "LineColor",
// "LineWidth", "TextFont", "TextSize", "TextStyle") when asked with their own types.
//
// While shown it owns a GraphicView; before that attribute changes are only stored and every
// method does nothing and reports success. Hot links raise "OverHotLink" and "HotLinkClicked"
// with the link's id as the event's hot link, an empty name and the position in picture pixels.
class GraphicElement : public Element {
public:
    enum Display : uint16_t { kNormal = 0, kStretch = 1, kCenter = 2, kBestFit = 3 };
    static constexpr uint16_t kTransitionCount = 23;
    static constexpr int32_t kNewReserved = 16;
    static constexpr std::string_view kNewDefsMarker = "@@NewDefs@";

    static constexpr const char* kDisplayRefusal
        = "You can only change 'Display' attribute to either 'Normal' or 'Center' because 'Mode' attribute is 'Edit'!";
    static constexpr const char* kFileCaption = "FILE ERROR";
    static constexpr const char* kFileText = "Can't open the external file '%s' !";

    explicit GraphicElement(InterfaceModel* parent = nullptr);
    ~GraphicElement() override;

    int GetAttribute(std::string_view name, ValueType type, AttributeValue& value) override;
    int SetAttribute(std::string_view name, ValueType type, const AttributeValue& value) override;
    int WriteClassChunks(MemoryBlock& out) const override;
    bool ReadClassChunk(std::string_view tag, const MemoryBlock& payload) override;
    int CallMethod(std::string_view name, std::span<const AttributeValue> params, AttributeValue& result) override;

    void Create() override;
    void Show() override;
    void Hide() override;
    void Destroy() override;
    intptr_t WindowHandle() const override;
    void SetMedia(const MediaDatabase* database, int32_t mediaId) override;
    // Changes the medium revealing it once with the effect instead of "TransitionEffect" (a
    // Media value's "Trns" option).
    void SetMediaWithTransition(const MediaDatabase* database, int32_t mediaId, int32_t effect);

    // Null until the element is shown.
    GraphicView* View() const { return m_view.get(); }

private:
    friend struct GraphicAccess;
    class Events;

    // Loads the medium into the view and reveals it with the effect.
    void LoadMedium(int32_t effect);
    void Message(const std::string& caption, const std::string& text);
    bool EditMode() const { return m_mode != 0; }

    std::unique_ptr<Events> m_events;
    std::unique_ptr<GraphicView> m_view;

    uint16_t m_display = kBestFit;
    uint16_t m_transition = 0;
    int32_t m_reserved = kNewReserved;
    uint32_t m_backColor;
    bool m_border = true;
    bool m_transparent = false;
    bool m_yieldOnAnimate = false;
    bool m_optimizeSpace = true;
    int32_t m_mode = 0;
    int32_t m_drawingTool = 0;
    uint32_t m_lineColor;
    uint32_t m_fillColor;
    int32_t m_lineWidth = 1;
    std::string m_textFont = "system";
    int32_t m_textSize = 12;
    uint16_t m_textStyle = 0;
};

}  // namespace tamber
