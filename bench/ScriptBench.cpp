// The interpreter against Lua 5.4 on the same loop: a While loop of 1,000,000 iterations, each
// an assignment, a comparison and a string concatenation. Prints the best time of each engine
// over a few runs and their ratio. The target for the interpreter is under 0.5 s.
//
//   bench_ScriptBench [--iterations N] [--runs R]
#include <lua5.4/lauxlib.h>
#include <lua5.4/lua.h>
#include <lua5.4/lualib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "iface/Element.h"
#include "iface/InterfaceModel.h"
#include "iface/InterfaceObject.h"
#include "platform/clock/VirtualClock.h"
#include "script/ScriptEngine.h"

using namespace tamber;
using SteadyClock = std::chrono::steady_clock;

namespace {

class BenchElement : public Element {
public:
    BenchElement() { LoadClassDefinition(static_cast<uint16_t>(ClassId::Button)); }
};

double Seconds(SteadyClock::time_point start)
{
    return std::chrono::duration<double>(SteadyClock::now() - start).count();
}

std::string ScriptLoop(long iterations)
{
    return "Clicked ( ) {\r"
           "\tA = 0\r"
           "\tS1 = \"abc\"\r"
           "\tWhile ( A < " + std::to_string(iterations) + " )\r"
           "\t\tA = A + 1\r"
           "\t\tS = S1 + \"x\"\r"
           "\tEndWhile\r"
           "}\r";
}

std::string LuaLoop(long iterations)
{
    return "A = 0\n"
           "S1 = \"abc\"\n"
           "while A < " + std::to_string(iterations) + " do\n"
           "  A = A + 1\n"
           "  S = S1 .. \"x\"\n"
           "end\n";
}

// One run of the handler; answers its time in seconds, or -1 when it did not complete.
double RunScript(long iterations)
{
    VirtualClock clock;
    InterfaceModel model;
    model.AddCard();
    model.AdoptInterface(std::make_unique<InterfaceObject>());
    model.SetMode(InterfaceModel::Mode::Running);
    ScriptEngine engine;
    engine.Install();
    bool failed = false;
    engine.GetSettings().clock = &clock;
    engine.GetSettings().messageBox = [&failed](const ui::MessageBoxRequest& request) {
        std::fprintf(stderr, "script error: %s\n", request.text.c_str());
        failed = true;
        return ui::MessageBoxResult::Ok;
    };
    auto button = std::make_unique<BenchElement>();
    button->SetId(1);
    std::string text = ScriptLoop(iterations);
    button->Script() = MemoryBlock(text.c_str(), static_cast<int32_t>(text.size() + 1));
    Element* element = model.AddElement(0, std::move(button));

    SteadyClock::time_point start = SteadyClock::now();
    element->RaiseEvent("Clicked");
    double seconds = Seconds(start);
    if (failed || engine.DoubleGlobal(0) != static_cast<double>(iterations) || engine.StringGlobal(0) != "abcx")
        return -1;
    return seconds;
}

double RunLua(long iterations)
{
    std::unique_ptr<lua_State, void (*)(lua_State*)> lua(luaL_newstate(), lua_close);
    luaL_openlibs(lua.get());
    std::string text = LuaLoop(iterations);
    SteadyClock::time_point start = SteadyClock::now();
    if (luaL_dostring(lua.get(), text.c_str()) != LUA_OK) {
        std::fprintf(stderr, "lua error: %s\n", lua_tostring(lua.get(), -1));
        return -1;
    }
    double seconds = Seconds(start);
    lua_getglobal(lua.get(), "A");
    if (lua_tointeger(lua.get(), -1) != iterations)
        return -1;
    return seconds;
}

}  // namespace

int main(int argc, char** argv)
{
    long iterations = 1000000;
    int runs = 3;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--iterations") == 0)
            iterations = std::max(1L, std::atol(argv[i + 1]));
        else if (std::strcmp(argv[i], "--runs") == 0)
            runs = std::max(1, std::atoi(argv[i + 1]));
    }

    double script = 1e30;
    double lua = 1e30;
    for (int r = 0; r < runs; ++r) {
        double s = RunScript(iterations);
        double l = RunLua(iterations);
        if (s < 0 || l < 0) {
            std::fprintf(stderr, "a loop did not complete\n");
            return 1;
        }
        script = std::min(script, s);
        lua = std::min(lua, l);
    }
    std::printf("While loop, %ld iterations (assignment, comparison, concatenation), best of %d\n", iterations,
        runs);
    std::printf("  script interpreter  %8.3f s  %8.1f ns/iteration\n", script, script * 1e9 / iterations);
    std::printf("  Lua 5.4             %8.3f s  %8.1f ns/iteration\n", lua, lua * 1e9 / iterations);
    std::printf("  ratio (script/Lua)  %8.1f\n", script / lua);
    std::printf("  target: under 0.5 s for 1,000,000 iterations: %s\n",
        iterations == 1000000 ? (script < 0.5 ? "met" : "NOT met") : "n/a (other count)");
    return 0;
}
