#include <gtest/gtest.h>

#include <sstream>

#include "script/BuiltinFunctions.h"
#include "script/HandlerIndex.h"
#include "script/ScriptCast.h"
#include "ScriptFixture.h"

using namespace tamber;
using tamber::test::ScriptFixture;

namespace {

const std::string kSyntax = "[Script Error] Syntax error... -> OK";

}  // namespace

TEST(Interpreter, AssignsGlobalsWithCastsAndConcatenation)
{
    ScriptFixture f;
    f.Run("\tA = 5 / 0.5\r\tS = \"x\" + 1\r\tB = 1 + \"2\"\r\tS1 = 2.50\r\tS2 = 3.0\r\tC = 2 ^ 3 * 2 - -1");
    EXPECT_TRUE(f.boxes.empty());
    EXPECT_DOUBLE_EQ(f.A(), 10);
    EXPECT_EQ(f.S(), "x1");
    EXPECT_DOUBLE_EQ(f.engine.DoubleGlobal(1), 3);
    EXPECT_EQ(f.engine.StringGlobal(1), "2.5");
    EXPECT_EQ(f.engine.StringGlobal(2), "3");
    EXPECT_DOUBLE_EQ(f.engine.DoubleGlobal(2), 17);
}

TEST(Interpreter, ReportsErrorsUnderScriptError)
{
    struct Case {
        const char* lines;
        const char* message;
    };
    const Case cases[] = {
        {"\tA = 5 / 0", "Divide by zero..."},
        {"\tA = \"x\"", "Unable to cast one value type to another..."},
        {"\tEndIf", "Syntax error..."},
        {"\tIf ( 1 == 1 )\r\tA = 1", "Missing EndIf or EndWhile following conditional structure..."},
        {"\tButton 99 : Hide( )", "Object does not exist..."},
        {"\tSource : Move( 1 )", "Wrong number of parameters to method..."},
        {"\tSource : Type = \"x\"", "Attribute can not be written to..."},
        {"\tSource : Nothing = 1", "Attribute does not exist..."},
        {"\tSource : Nothing( )", "Method or event does not exist..."},
        {"\tA = Left( \"abc\" )", "Wrong number of parameters to method..."},
        {"\tA = Source : Nothing( )", "Method or function does not exist..."},
        {"\tNoSuch.plg ( \"a\", \"b\" )", "Method or function does not exist..."},
        {"\t# odd", "Syntax error..."},
    };
    for (const Case& c : cases) {
        ScriptFixture f;
        f.Run(c.lines);
        ASSERT_EQ(f.boxes.size(), 1u) << c.lines;
        EXPECT_EQ(f.boxes[0], std::string("[Script Error] ") + c.message + " -> OK") << c.lines;
    }
}

TEST(Interpreter, ConditionalsSkipByNesting)
{
    ScriptFixture f;
    f.Run("\tA = 2\r"
          "\tIf ( A == 1 )\r\t\tB = 1\r\t\tIf ( 1 )\r\t\tB = 9\r\t\tEndIf\r"
          "\tElseIf ( A == 2 )\r\t\tB = 2\r"
          "\tElse\r\t\tB = 3\r"
          "\tEndIf\r"
          "\tif ( a == 2 )\r\t\tC = 4\r\tendif\r"
          "\tIf A == 2\r\t\tD = 5\r\tElse\r\t\tD = 6\r\tEndIf");
    EXPECT_TRUE(f.boxes.empty()) << f.boxes[0];
    EXPECT_DOUBLE_EQ(f.engine.DoubleGlobal(1), 2);
    EXPECT_DOUBLE_EQ(f.engine.DoubleGlobal(2), 4);
    EXPECT_DOUBLE_EQ(f.engine.DoubleGlobal(3), 6);  // a condition without "(" is false
}

TEST(Interpreter, LoopsNestThirtyTwoDeepButNotThirtyThree)
{
    auto nested = [](int depth) {
        std::string lines = "\tA = 0\r";
        for (int i = 0; i < depth; ++i)
            lines += "\tWhile ( A < 1 )\r";
        lines += "\tA = A + 1\r";
        for (int i = 0; i < depth; ++i)
            lines += "\tEndWhile\r";
        return lines;
    };
    ScriptFixture f;
    f.Run(nested(32));
    EXPECT_TRUE(f.boxes.empty());
    EXPECT_DOUBLE_EQ(f.A(), 1);
    ScriptFixture g;
    g.Run(nested(33));
    ASSERT_EQ(g.boxes.size(), 1u);
    EXPECT_EQ(g.boxes[0], kSyntax);

    ScriptFixture h;
    h.Run("\tA = 0\r\tB = 0\r\tWhile ( A < 10 )\r\t\tA = A + 1\r\t\tS = S + \"ab\"\r\tEndWhile\r\tWhile ( 0 )\r\t\tB = 1\r\tEndWhile");
    EXPECT_DOUBLE_EQ(h.A(), 10);
    EXPECT_EQ(h.S(), "abababababababababab");
    EXPECT_DOUBLE_EQ(h.engine.DoubleGlobal(1), 0);
}

TEST(Interpreter, ObjectReferencesInAllForms)
{
    ScriptFixture f;
    Element& target = f.Add(0, ClassId::Button, 3, "", "Target");
    Element& other = f.Add(1, ClassId::Button, 3, "", "Other");
    f.Run("\tButton3 : Hide( )");
    EXPECT_FALSE(target.IsVisible());
    f.Run("\tButton 3 : Show( ) and more words\r\t; Button 3 : Hide( )");
    EXPECT_TRUE(target.IsVisible());
    f.Run("\tCard2 Button 3 : Hide( )");
    EXPECT_FALSE(other.IsVisible());
    f.Run("\tCard 2 Button 3 : Show( )\r\tButton \"target\" : Move( 7, 8 )\r\tA = 3\r\tButton A : RectWidth = 40");
    EXPECT_TRUE(other.IsVisible());
    EXPECT_EQ(target.GetFrame().left, 7);
    EXPECT_EQ(target.GetFrame().width, 40);
    // "Card 0" is Card -1: the Background.
    Element& banner = f.Add(-1, ClassId::Button, 3, "", "Banner");
    f.Run("\tCard 0 Button 3 : Hide( )\r\tCard0 Button \"Banner\" : Move( 5, 6 )");
    EXPECT_FALSE(banner.IsVisible());
    EXPECT_EQ(banner.GetFrame().left, 5);
    EXPECT_TRUE(target.IsVisible());
    f.Run("\tS = Button 3 : Name + \"/\" + Source : Type\r\tParent : CurrentCard = 2");
    EXPECT_EQ(f.S(), "Target/Button");
    EXPECT_EQ(f.model.CurrentCard(), 1);
    EXPECT_TRUE(f.boxes.empty()) << f.boxes[0];
}

TEST(Interpreter, RaisedEventsRunNestedHandlersAndTraceThem)
{
    ScriptFixture f;
    f.Add(0, ClassId::Button, 2, "MouseDown ( ) {\r\tA = X + Y\r\tS = \"inner\"\r}\r");
    f.Run("\tButton 2 : MouseDown( 3, 4 )\r\tS1 = S + \"!\"\r\tSource : Hide( )");
    EXPECT_DOUBLE_EQ(f.A(), 7);
    EXPECT_EQ(f.engine.StringGlobal(1), "inner!");
    ASSERT_GE(f.trace.size(), 3u);
    EXPECT_EQ(f.trace[0], "Button 1 : Clicked( )");
    EXPECT_EQ(f.trace[1], "Button 2 : MouseDown( X = 3, Y = 4 )");
    EXPECT_EQ(f.trace[2], "Button 1 : Hidden( )");
    EXPECT_EQ(f.trace.back(), "Method Called ->> Hide");
}

TEST(Interpreter, RecursionThroughRaisedEventsEnds)
{
    ScriptFixture f;
    f.Run("\tA = A + 1\r\tSource : Clicked( )");
    EXPECT_GT(f.A(), 10);
    EXPECT_TRUE(f.boxes.empty());
}

TEST(Interpreter, FirstOfTwoHandlersRunsAndUnknownEventsAreReported)
{
    ScriptFixture f;
    Element& e = f.Add(0, ClassId::Button, 5, "Clicked ( ) {\r\tA = 1\r}\r\rClicked ( ) {\r\tA = 2\r}\r");
    e.RaiseEvent("Clicked");
    EXPECT_DOUBLE_EQ(f.A(), 1);
    e.RaiseEvent("NoSuchEvent");
    ASSERT_EQ(f.boxes.size(), 1u);
    EXPECT_EQ(f.boxes[0], "[ExecuteEvent] Event \"NoSuchEvent\" not registered... -> OK");
    f.model.SetMode(InterfaceModel::Mode::Authoring);
    f.engine.SetDoubleGlobal(0, 0);
    e.RaiseEvent("Clicked");
    EXPECT_DOUBLE_EQ(f.A(), 0);
}

TEST(Interpreter, BreakKeyStopsARunawayLoopSilently)
{
    struct CountingBreak : BreakKey {
        int calls = 0;
        bool IsDown() override { return ++calls > 1000; }
    } key;
    ScriptFixture f;
    f.engine.GetSettings().breakKey = &key;
    f.Run("\tWhile ( 1 )\r\tA = A + 1\r\tEndWhile");
    EXPECT_GT(f.A(), 300);
    EXPECT_TRUE(f.boxes.empty());
}

TEST(Interpreter, TimeoutStopsAHandlerAndSaysSo)
{
    struct SteppingClock : VirtualClock {
        uint32_t TickCount() const override { return m_tick += 10; }
        mutable uint32_t m_tick = 0;
    } watchdog;
    std::ostringstream errors;
    ScriptFixture f;
    f.engine.GetSettings().watchdogClock = &watchdog;
    f.engine.GetSettings().timeoutSeconds = 1;
    f.engine.GetSettings().errors = &errors;
    f.Run("\tWhile ( 1 )\r\tEndWhile");
    EXPECT_NE(errors.str().find("ran longer than 1 seconds"), std::string::npos);
    EXPECT_TRUE(f.boxes.empty());
}

TEST(Interpreter, BuiltinFunctionsInExpressions)
{
    ScriptFixture f;
    f.clock.SetTime(LocalTime {2026, 3, 5, 4, 0, 5, 9, 0});
    f.Run("\tS = Mid( \"abcdef\", 2, 3 ) + Left( \"abc\", 10 ) + Mid( \"abc\", 9, 1 )\r"
          "\tS1 = Word( \"one   two\", 2 ) + \"|\" + Word( \" lead\", 1 ) + \"|\" + GetTime( 0, 0 )\r"
          "\tA = Round( 2.5 ) + Round( -2.5 ) * 10 + Round( 2.4999 ) * 100 + Truncate( -2.7 ) * 1000\r"
          "\tB = ACos( 1.5 ) + Sin( 90, 0 )\r\tC = Random( 1 ) + Random( 0 )\r"
          "\tS2 = GetDate( 0, 0 ) + \"|\" + GetDate( 1, 1 )");
    EXPECT_TRUE(f.boxes.empty()) << f.boxes[0];
    EXPECT_EQ(f.S(), "cdeabcabc");
    EXPECT_EQ(f.engine.StringGlobal(1), "two||12:05 AM");
    EXPECT_DOUBLE_EQ(f.A(), 3 - 30 + 200 - 2000);
    EXPECT_NEAR(f.engine.DoubleGlobal(1), 1, 1e-9);
    EXPECT_DOUBLE_EQ(f.engine.DoubleGlobal(2), 0);
    EXPECT_EQ(f.engine.StringGlobal(2), "March 5, 2026|03/05/126");
    f.clock.SetTime(LocalTime {2026, 3, 5, 4, 12, 30, 0, 0});
    f.Run("\tS = GetTime( 1, 0 ) + \" \" + GetTime( 0, 1 )");
    EXPECT_EQ(f.S(), "12:30:00 PM 12:30");
}

TEST(Interpreter, MessageBoxOffersTheButtonsOfItsType)
{
    ScriptFixture f;
    f.answers = {ui::MessageBoxResult::No};
    f.Run("\tS = MessageBox( \"Go?\", \"Ask\", 1, 0 )\r\tS1 = MessageBox( \"Hi\", \"Note\", 0, 1 )\r"
          "\tS2 = MessageBox( \"x\", \"y\", 7, 0 )");
    ASSERT_EQ(f.boxes.size(), 2u);
    EXPECT_EQ(f.boxes[0], "[Ask] Go? -> No");
    EXPECT_EQ(f.boxes[1], "[Note] Hi -> OK");
    EXPECT_EQ(f.S(), "No");
    EXPECT_EQ(f.engine.StringGlobal(2), "");
}

TEST(Interpreter, ConcatenationIsCutAt127)
{
    ScriptFixture f;
    f.Run("\tS = \"" + std::string(100, 'a') + "\" + \"" + std::string(100, 'b') + "\"");
    EXPECT_EQ(f.S(), std::string(100, 'a') + std::string(27, 'b'));
}

TEST(ScriptCast, ConvertsByTheTable)
{
    ScriptValue color {ValueType::Color, AttributeValue::OfColor(0x00030201)};
    ASSERT_EQ(CastValue(color, ValueType::String), 1);
    EXPECT_EQ(color.value.String(), "1, 2, 3");
    ScriptValue text {ValueType::String, AttributeValue::OfString("  x")};
    ASSERT_EQ(CastValue(text, ValueType::Double), 1);
    EXPECT_EQ(text.value.Double(), 0);
    ScriptValue bad {ValueType::String, AttributeValue::OfString("x")};
    EXPECT_EQ(CastValue(bad, ValueType::Long), 0);
    std::vector<std::string> names = {"Up", "Down"};
    ScriptValue big {ValueType::Double, AttributeValue::OfDouble(7.9)};
    ASSERT_EQ(CastValue(big, ValueType::Enum, &names), 1);
    EXPECT_EQ(big.value.Enum(), 1);
    ScriptValue negative {ValueType::Double, AttributeValue::OfDouble(-2.9)};
    ASSERT_EQ(CastValue(negative, ValueType::Long), 1);
    EXPECT_EQ(negative.value.Long(), -2);
    EXPECT_FALSE(CanCast(ValueType::Long, ValueType::Font));
    EXPECT_TRUE(CanCast(ValueType::Media, ValueType::String));
    EXPECT_FALSE(CanCast(ValueType::Palette, ValueType::Picture));
    EXPECT_EQ(FormatScriptNumber(-0.25), "-0.25");
    EXPECT_EQ(FormatScriptNumber(100), "100");
}

TEST(HandlerIndex, StubsNormalisedHeadersAndIndex)
{
    ScriptFixture f;
    Element& e = f.Add(0, ClassId::Button, 9, "MouseDown(X, Y) {\r\tA = X\r}\r");
    HandlerIndex::EnsureEventStubs(e);
    std::string text = e.Script().ToString();
    EXPECT_EQ(text.rfind("MouseDown ( ) {\r\tA = X\r}\r", 0), 0u);
    EXPECT_NE(text.find("Clicked ( ) {\r}\r\r"), std::string::npos);
    EXPECT_NE(text.find("Sized ( ) {\r}\r\r"), std::string::npos);
    std::string first;
    EXPECT_EQ(HandlerIndex::EntryOffset(e.Tokens(), 0, &first), 0);
    EXPECT_EQ(first, "MouseDown");
    std::string name;
    int32_t offset = HandlerIndex::EntryOffset(e.Tokens(), 1, &name);
    EXPECT_EQ(HandlerIndex::FindHeader(e.Script(), name), offset);
    HandlerIndex::AddStatements(e, "Clicked", "\tA = {5}");
    EXPECT_NE(e.Script().ToString().find("Clicked ( ) {\r\tA =  5 \r}"), std::string::npos);
    e.RaiseEvent("Clicked");
    EXPECT_DOUBLE_EQ(f.A(), 5);
}
