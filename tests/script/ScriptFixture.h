#pragma once

#include <memory>
#include <string>
#include <vector>

#include "iface/Element.h"
#include "iface/InterfaceModel.h"
#include "iface/InterfaceObject.h"
#include "platform/clock/VirtualClock.h"
#include "script/ScriptEngine.h"
#include "ui/MessageBox.h"

namespace tamber::test {

// An element of any class, for running scripts: its class tables come from the registry.
class ScriptTestElement : public Element {
public:
    explicit ScriptTestElement(ClassId id) { LoadClassDefinition(static_cast<uint16_t>(id)); }
};

// An Interface in memory with two Cards, running, and an engine whose message boxes and trace
// lines are recorded.
struct ScriptFixture : TraceSink {
    ScriptFixture()
    {
        model.AddCard();
        model.AddCard();
        self = &model.AdoptInterface(std::make_unique<InterfaceObject>());
        model.SetMode(InterfaceModel::Mode::Running);
        engine.Install();
        ScriptEngine::Settings& settings = engine.GetSettings();
        settings.clock = &clock;
        settings.trace = this;
        settings.messageBox = [this](const ui::MessageBoxRequest& request) {
            ui::MessageBoxResult answer = answers.empty() ? ui::ButtonsOf(request.buttons).front() : answers.front();
            if (!answers.empty())
                answers.erase(answers.begin());
            boxes.push_back("[" + request.caption + "] " + request.text + " -> " + ui::ButtonName(answer));
            return answer;
        };
    }

    void TraceLine(std::string_view line) override { trace.emplace_back(line); }

    // Adds an element of the class with the id and the script (lines joined by CR).
    Element& Add(int32_t card, ClassId id, int32_t elementId, const std::string& script, const char* name = "")
    {
        auto element = std::make_unique<ScriptTestElement>(id);
        element->SetId(elementId);
        element->SetName(name);
        std::string text = script;
        element->Script() = MemoryBlock(text.c_str(), static_cast<int32_t>(text.size() + 1));
        return *model.AddElement(card, std::move(element));
    }

    // A Button on Card 1 whose "Clicked" handler holds the lines; runs it.
    Element& Run(const std::string& lines)
    {
        Element& button = Add(0, ClassId::Button, 1, "Clicked ( ) {\r" + lines + "\r}\r");
        button.RaiseEvent("Clicked");
        return button;
    }

    double A() const { return engine.DoubleGlobal(0); }
    std::string S() const { return engine.StringGlobal(0); }

    VirtualClock clock;
    InterfaceModel model;
    InterfaceObject* self = nullptr;
    ScriptEngine engine;
    std::vector<std::string> boxes;
    std::vector<std::string> trace;
    std::vector<ui::MessageBoxResult> answers;
};

}  // namespace tamber::test
