// Runs random text as the "Clicked" handler of a Button on a running Interface: no input may
// crash the interpreter, hang it (the break key ends every handler after a bounded number of
// statements) or leak.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "iface/InterfaceModel.h"
#include "iface/InterfaceObject.h"
#include "platform/clock/VirtualClock.h"
#include "script/ScriptEngine.h"

namespace {

using namespace tamber;

class FuzzElement : public Element {
public:
    FuzzElement() { LoadClassDefinition(static_cast<uint16_t>(ClassId::Button)); }
};

// Pressed after a fixed number of statements, so endless loops end.
struct StatementBudget : BreakKey {
    int left = 5000;
    bool IsDown() override { return --left < 0; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static ScriptEngine engine;
    static VirtualClock clock;
    static bool ready = false;
    if (!ready) {
        engine.Install();
        engine.GetSettings().clock = &clock;
        engine.GetSettings().messageBox = [](const ui::MessageBoxRequest&) { return ui::MessageBoxResult::Ok; };
        engine.GetSettings().fileDialog = [](const ui::FileDialogRequest&) { return std::string(); };
        ready = true;
    }
    StatementBudget budget;
    engine.GetSettings().breakKey = &budget;
    engine.ResetGlobals();

    InterfaceModel model;
    model.AddCard();
    model.AddCard();
    model.AdoptInterface(std::make_unique<InterfaceObject>());
    model.SetMode(InterfaceModel::Mode::Running);
    for (int32_t id = 1; id <= 3; ++id) {
        auto element = std::make_unique<FuzzElement>();
        element->SetId(id);
        std::string script = "Clicked ( ) {\r";
        if (id == 1)
            script.append(reinterpret_cast<const char*>(data), size);
        else
            script += "\tA = A + 1\r\tButton 1 : Clicked( )\r";
        script += "\r}\r";
        element->Script() = MemoryBlock(script.data(), static_cast<int32_t>(script.size() + 1));
        model.AddElement(0, std::move(element));
    }
    model.FindElement(0, 1)->RaiseEvent("Clicked");
    engine.GetSettings().breakKey = nullptr;
    return 0;
}
