#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "iface/AttributeValue.h"

namespace tamber {

class Element;

// An event on its way to an element's script.
struct EventCall {
    std::string_view name;
    int32_t hotLink = -1;  // index of the hot link that raised it, -1 for none
    std::span<const AttributeValue> params;
};

// What the script engine does for elements: event handlers, the handler index, the default
// script text and the built-in functions. The script layer installs its host once at start-up;
// until then events run no handler and unknown methods answer 0.
class ScriptHost {
public:
    virtual ~ScriptHost() = default;

    // Runs the element's handler for the event; 1 when a handler ran.
    virtual int ExecuteEvent(Element& element, const EventCall& call) = 0;
    // Gives the script text a handler stub for every event of the element.
    virtual void EnsureEventStubs(Element& element) = 0;
    // Rebuilds the handler index from the script text.
    virtual void RebuildTokens(Element& element) = 0;
    // A built-in function called as a method of the element; -1 when there is none.
    virtual int CallFunction(Element& element, std::string_view name,
        std::span<const AttributeValue> params, AttributeValue& result) = 0;
    // Interface windows report their opening and closing, so that what lives as long as any
    // window is open (the plug-ins) comes and goes with them.
    virtual void InterfaceWindowOpened() { }
    virtual void InterfaceWindowClosed() { }

    // Whether a script error message is on screen (the Interface timer skips its ticks then).
    virtual bool InError() const { return false; }
    // The Interface timer was started at this tick (the base of the script's tick count).
    virtual void SetTimerBase(uint32_t tick) { }

    static ScriptHost* Installed();
    // Installs host (null removes it); answers the previous one.
    static ScriptHost* Install(ScriptHost* host);
};

}  // namespace tamber
