// The interpreter against Lua 5.4 on the same loop: a While loop of 1,000,000 iterations, each
// an assignment, a comparison and a string concatenation. Prints the best time of each engine
// over a few runs and their ratio, as wall-clock time and as processor time (which a busy
// machine disturbs less). The target for the interpreter is under 0.5 s.
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
#include <ctime>
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

// Wall-clock and processor seconds of one run.
struct Timing {
    double wall = -1;
    double cpu = -1;
};

class Stopwatch {
public:
    Stopwatch() : m_wall(SteadyClock::now()), m_cpu(std::clock()) { }
    Timing Elapsed() const
    {
        return Timing {std::chrono::duration<double>(SteadyClock::now() - m_wall).count(),
            static_cast<double>(std::clock() - m_cpu) / CLOCKS_PER_SEC};
    }

private:
    SteadyClock::time_point m_wall;
    std::clock_t m_cpu;
};

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

// One run of the handler; its times, or -1 when it did not complete.
Timing RunScript(long iterations)
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

    Stopwatch watch;
    element->RaiseEvent("Clicked");
    Timing timing = watch.Elapsed();
    if (failed || engine.DoubleGlobal(0) != static_cast<double>(iterations) || engine.StringGlobal(0) != "abcx")
        return Timing {};
    return timing;
}

Timing RunLua(long iterations)
{
    std::unique_ptr<lua_State, void (*)(lua_State*)> lua(luaL_newstate(), lua_close);
    luaL_openlibs(lua.get());
    std::string text = LuaLoop(iterations);
    Stopwatch watch;
    if (luaL_dostring(lua.get(), text.c_str()) != LUA_OK) {
        std::fprintf(stderr, "lua error: %s\n", lua_tostring(lua.get(), -1));
        return Timing {};
    }
    Timing timing = watch.Elapsed();
    lua_getglobal(lua.get(), "A");
    if (lua_tointeger(lua.get(), -1) != iterations)
        return Timing {};
    return timing;
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

    Timing script {1e30, 1e30};
    Timing lua {1e30, 1e30};
    for (int r = 0; r < runs; ++r) {
        Timing s = RunScript(iterations);
        Timing l = RunLua(iterations);
        if (s.wall < 0 || l.wall < 0) {
            std::fprintf(stderr, "a loop did not complete\n");
            return 1;
        }
        script = Timing {std::min(script.wall, s.wall), std::min(script.cpu, s.cpu)};
        lua = Timing {std::min(lua.wall, l.wall), std::min(lua.cpu, l.cpu)};
    }
    std::printf("While loop, %ld iterations (assignment, comparison, concatenation), best of %d\n", iterations,
        runs);
    std::printf("                      wall s   cpu s   ns/iteration (cpu)\n");
    std::printf("  script interpreter  %6.3f  %6.3f  %8.1f\n", script.wall, script.cpu, script.cpu * 1e9 / iterations);
    std::printf("  Lua 5.4             %6.3f  %6.3f  %8.1f\n", lua.wall, lua.cpu, lua.cpu * 1e9 / iterations);
    std::printf("  ratio (script/Lua)  %6.1f  %6.1f\n", script.wall / lua.wall, script.cpu / lua.cpu);
    std::printf("  target: under 0.5 s for 1,000,000 iterations: %s\n",
        iterations == 1000000 ? (script.cpu < 0.5 ? "met (cpu time)" : "NOT met (cpu time)") : "n/a (other count)");
    return 0;
}
