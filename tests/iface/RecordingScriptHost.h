#pragma once

#include <string>
#include <vector>

#include "iface/Element.h"
#include "iface/ScriptHost.h"

namespace tamber::test {

// A script host that records the events raised, with their Long parameters, while installed.
class RecordingScriptHost : public ScriptHost {
public:
    struct Raised {
        const Element* element;
        std::string name;
        std::vector<int32_t> longs;
    };

    RecordingScriptHost() { m_previous = ScriptHost::Install(this); }
    ~RecordingScriptHost() override { ScriptHost::Install(m_previous); }

    int ExecuteEvent(Element& element, const EventCall& call) override
    {
        Raised raised {&element, std::string(call.name), {}};
        for (const AttributeValue& param : call.params)
            raised.longs.push_back(param.Long());
        events.push_back(raised);
        return 1;
    }
    void EnsureEventStubs(Element&) override { ++stubRequests; }
    void RebuildTokens(Element&) override { ++tokenRebuilds; }
    int CallFunction(Element&, std::string_view, std::span<const AttributeValue>, AttributeValue&) override
    {
        return -1;
    }

    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const Raised& raised : events)
            names.push_back(raised.name);
        return names;
    }

    std::vector<Raised> events;
    int stubRequests = 0;
    int tokenRebuilds = 0;

private:
    ScriptHost* m_previous = nullptr;
};

}  // namespace tamber::test
