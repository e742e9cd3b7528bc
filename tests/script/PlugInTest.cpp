#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "iface/InterfaceWindow.h"
#include "platform/DynamicLibraryFake.h"
#include "platform/DynamicLibraryPosix.h"
#include "platform/FakeSystemServices.h"
#include "platform/PosixSystemServices.h"
#include "script/PlugInManager.h"
#include "ScriptFixture.h"
#include "ui/UiTestSupport.h"

using namespace tamber;
using tamber::test::ScriptFixture;

namespace {

std::vector<std::string> Names(const MemoryBlock& block)
{
    std::vector<std::string> names;
    std::string_view all = block.View();
    while (!all.empty()) {
        size_t end = all.find('\0');
        names.emplace_back(all.substr(0, end));
        all.remove_prefix(end == std::string_view::npos ? all.size() : end + 1);
    }
    return names;
}

std::string CallText(const PlugInManager& plugIns, int32_t index, const char* name, const char* a, const char* b)
{
    std::string result = "untouched";
    return plugIns.Call(index, name, a, b, result) ? result : "(none)";
}

// Functions of fake plug-ins.
void ReportZd(char*, char* second)
{
    std::strcpy(second, "ZD");
}

void Upper(const char* first, const char*, char* result)
{
    size_t i = 0;
    for (; first[i] && i < 255; ++i)
        result[i] = static_cast<char>(first[i] >= 'a' && first[i] <= 'z' ? first[i] - 32 : first[i]);
    result[i] = '\0';
}

// Writes all 256 bytes of the result without a NUL.
void Overflow(const char*, const char*, char* result)
{
    std::memset(result, 'x', PlugInManager::kBufferSize);
}

const char kUnendedNames[] = {'A', 'b', 'c', '\0', 'D', 'e', 'f'};

}  // namespace

// The example plug-ins built with the tests: which are kept, which function wins, what is refused.
TEST(PlugInManager, LoadsTheExamplePlugInsAndCallsTheirFunctions)
{
    PosixSystemServices system;
    PosixDynamicLibraryLoader loader;
    PlugInManager plugIns(system, loader, TAMBER_TEST_PLUGINS);
    ASSERT_EQ(plugIns.Load(), 2);  // alpha ("ZD") and beta ("zd"); "Other", a text file and a folder are not
    EXPECT_NE(plugIns.Path(0).find("alpha.plg"), std::string::npos);
    EXPECT_NE(plugIns.Path(1).find("beta.plg"), std::string::npos);

    MemoryBlock names;
    EXPECT_EQ(plugIns.FunctionNames(-1, names), 2);
    EXPECT_EQ(Names(names), (std::vector<std::string> {"Reverse", "Join"}));
    MemoryBlock none;
    EXPECT_EQ(plugIns.FunctionNames(1, none), 0);  // beta offers no names but can still be called
    EXPECT_EQ(plugIns.FunctionNames(2, none), 0);
    EXPECT_EQ(none.Size(), 0);

    EXPECT_EQ(CallText(plugIns, -1, "Join", "a", "b"), "a+b");  // the first in the folder wins
    EXPECT_EQ(CallText(plugIns, 1, "Join", "a", "b"), "beta a b");
    EXPECT_EQ(CallText(plugIns, -1, "Count", "ab", "c"), "3");
    EXPECT_EQ(CallText(plugIns, -1, "Reverse", "abc", ""), "cba");
    EXPECT_EQ(CallText(plugIns, 0, "Count", "ab", "c"), "(none)");
    // Neither the entry, nor the name table, nor what the libraries import can be called.
    for (const char* name : {"PlugIn", "PlugInNames", "snprintf", "strlen", "Missing", ""})
        EXPECT_EQ(CallText(plugIns, -1, name, "a", "b"), "(none)") << name;
}

// Scripts call plug-ins as statements; the result lands in S; plug-ins live while windows are open.
TEST(PlugInManager, ScriptsCallPlugInsWhileAWindowIsOpen)
{
    PosixSystemServices system;
    PosixDynamicLibraryLoader loader;
    ScriptFixture f;
    ScriptEngine::Settings& settings = f.engine.GetSettings();
    settings.system = &system;
    settings.libraries = &loader;
    settings.plugInFolder = TAMBER_TEST_PLUGINS;
    f.engine.InterfaceWindowOpened();
    f.engine.InterfaceWindowOpened();
    ASSERT_NE(f.engine.PlugIns(), nullptr);

    f.Run("\tS = \"old\"\r\tReverse.PLG ( \"abc\" + \"d\", 12 )\r\tS1 = S\r\tCount.plg ( S1, 2.5 )");
    EXPECT_TRUE(f.boxes.empty()) << f.boxes.front();
    EXPECT_EQ(f.engine.StringGlobal(1), "dcba");
    EXPECT_EQ(f.S(), "7");

    // Exported names are matched exactly, as the platform's symbol lookup does.
    for (const char* line : {"\tMissing.plg ( \"a\", \"b\" )", "\treverse.plg ( \"a\", \"b\" )", "\tJoin.plg ( \"a\" )", "\tJoin.plg ( \"a\", \"b\", \"c\" )",
             "\tJoin.exe ( \"a\", \"b\" )", "\tA = Join.plg ( \"a\", \"b\" )"}) {
        ScriptFixture g;
        g.engine.GetSettings().system = &system;
        g.engine.GetSettings().libraries = &loader;
        g.engine.GetSettings().plugInFolder = TAMBER_TEST_PLUGINS;
        g.engine.InterfaceWindowOpened();
        g.Run(line);
        EXPECT_EQ(g.boxes.size(), 1u) << line;
    }

    f.engine.InterfaceWindowClosed();
    EXPECT_NE(f.engine.PlugIns(), nullptr);
    f.engine.InterfaceWindowClosed();
    EXPECT_EQ(f.engine.PlugIns(), nullptr);
    f.boxes.clear();
    f.Run("\tJoin.plg ( \"a\", \"b\" )");
    ASSERT_EQ(f.boxes.size(), 1u);
    EXPECT_EQ(f.boxes[0], "[Script Error] Method or function does not exist... -> OK");
}

// Plug-ins behind the fake loader: unloading, name tables without their end, results without a NUL.
TEST(PlugInManager, UnloadsRejectsAndBoundsWhatPlugInsGive)
{
    FakeSystemServices system;
    FakeDynamicLibraryLoader loader;
    for (const char* name : {"/player/a.plg", "/player/b.PLG", "/player/c.plg", "/player/d.plg"})
        system.AddFile(name);
    system.AddDirectory("/player/e.plg");
    loader.AddLibrary("/player/a.plg", {{"PlugIn", reinterpret_cast<void*>(&ReportZd)},
                                           {"PlugInNames", const_cast<char*>(kUnendedNames)},
                                           {"Upper", reinterpret_cast<void*>(&Upper)},
                                           {"Overflow", reinterpret_cast<void*>(&Overflow)}},
        {{"PlugInNames", sizeof kUnendedNames}});
    loader.AddLibrary("/player/b.PLG", {{"PlugIn", reinterpret_cast<void*>(&ReportZd)}});
    loader.AddLibrary("/player/c.plg", {{"Upper", reinterpret_cast<void*>(&Upper)}});  // no entry
    loader.AddLibrary("/player/e.plg", {{"PlugIn", reinterpret_cast<void*>(&ReportZd)}});
    // d.plg is a file the loader cannot load.

    {
        PlugInManager plugIns(system, loader, "/player");
        EXPECT_EQ(plugIns.Load(), 2);
        EXPECT_EQ(loader.Loaded(), (std::vector<std::string> {"/player/a.plg", "/player/b.PLG", "/player/c.plg"}));
        EXPECT_EQ(loader.Open(), 2);

        MemoryBlock names;
        EXPECT_EQ(plugIns.FunctionNames(0, names), 2);
        EXPECT_EQ(Names(names), (std::vector<std::string> {"Abc", "Def"}));

        EXPECT_EQ(CallText(plugIns, -1, "Upper", "mixed Case", ""), "MIXED CASE");
        EXPECT_EQ(CallText(plugIns, -1, "Overflow", "", ""), std::string(PlugInManager::kBufferSize, 'x'));

        PlugInManager strict(system, loader, "/player");
        EXPECT_EQ(strict.Load("Other"), 0);
        EXPECT_EQ(loader.Open(), 2);
    }
    EXPECT_EQ(loader.Open(), 0);

    // A plug-in result longer than a script text is cut when it lands in S.
    ScriptFixture f;
    f.engine.GetSettings().system = &system;
    f.engine.GetSettings().libraries = &loader;
    f.engine.GetSettings().plugInFolder = "/player";
    f.engine.InterfaceWindowOpened();
    f.Run("\tOverflow.plg ( \"\", \"\" )");
    EXPECT_EQ(f.S(), std::string(AttributeValue::kMaxStringLength, 'x'));
    f.engine.InterfaceWindowClosed();
}

// Interface windows load the plug-ins when the first opens and unload them when the last closes,
// so a plug-in's own state lasts exactly as long as some window is open.
TEST(PlugInManager, InterfaceWindowsBoundTheLifeOfThePlugIns)
{
    ui::test::UiHarness ui;
    PosixSystemServices system;
    PosixDynamicLibraryLoader loader;
    ScriptFixture f;
    f.engine.GetSettings().system = &system;
    f.engine.GetSettings().libraries = &loader;
    f.engine.GetSettings().plugInFolder = TAMBER_TEST_PLUGINS;
    auto tally = [&f] {
        f.Run("\tTally.plg ( \"\", \"\" )");
        return f.S();
    };

    auto first = std::make_unique<InterfaceWindow>(nullptr, 0, InterfaceWindow::OwnObject::Yes);
    ASSERT_NE(f.engine.PlugIns(), nullptr);
    EXPECT_EQ(tally(), "1");
    auto second = std::make_unique<InterfaceWindow>(nullptr, 0, InterfaceWindow::OwnObject::Yes);
    EXPECT_EQ(tally(), "2");
    first.reset();
    EXPECT_EQ(tally(), "3") << "the plug-ins stay while a window is open";
    second.reset();
    EXPECT_EQ(f.engine.PlugIns(), nullptr);
    EXPECT_EQ(f.boxes.size(), 0u);

    InterfaceWindow again(nullptr, 0, InterfaceWindow::OwnObject::Yes);
    EXPECT_EQ(tally(), "1") << "reopening loads the plug-ins afresh";
}
