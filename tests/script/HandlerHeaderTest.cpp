#include "script/HandlerHeader.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ScriptFixture.h"
#include "script/HandlerIndex.h"

namespace tamber::test {

namespace {

std::string ReadScript(Element& element)
{
    AttributeValue value;
    EXPECT_EQ(element.GetAttribute("Script", ValueType::Script, value), 1);
    return value.Block().ToString();
}

std::vector<std::string> Problems(ScriptFixture& f, const std::string& script, ClassId id = ClassId::Button)
{
    static int32_t nextId = 100;
    return HandlerHeader::Check(f.Add(0, id, nextId++, script));
}

}  // namespace

TEST(ScriptAttribute, ReadingAddsTheStubsOnceAndLeavesTheAuthorsLinesAlone)
{
    const std::string texts[] = {
        "",
        "Clicked ( ) {\r\tA = 1\r}",
        "; note (c) 1996\r",
        "Clicked ( ) {\r\tA = Left( S, 1 )\r}\r; end (x)\r",
        "Clicked ( ) {\r\n\tA = 1\r\n}\r\n",
        "Clicked ( ) {\r\tA = Left( S, 1 )\r",
    };
    int32_t id = 1;
    for (const std::string& text : texts) {
        ScriptFixture f;
        Element& e = f.Add(0, ClassId::Button, id++, text);
        std::string first = ReadScript(e);
        EXPECT_EQ(ReadScript(e), first) << text;
        EXPECT_EQ(ReadScript(e), first) << text;
        EXPECT_EQ(first.rfind(text, 0), 0u) << "the author's text comes first, unchanged: " << text;
        EXPECT_NE(first.find("\rSized ( ) {\r}\r\r"), std::string::npos) << text;
        size_t clicked = 0;
        for (size_t at = first.find("Clicked ( ) {"); at != std::string::npos;
             at = first.find("Clicked ( ) {", at + 1))
            clicked += at == 0 || first[at - 1] == '\r' || first[at - 1] == '}';
        EXPECT_EQ(clicked, 1u) << "one Clicked handler: " << text;
    }
}

TEST(ScriptAttribute, HeadersWithParametersBecomePlainAndBindTheEventsParameters)
{
    ScriptFixture f;
    Element& e = f.Add(
        0, ClassId::Button, 1, "MouseUp ( X, Y ) {\r\tA = X * 10 + Y\r}\rMouseDown(X,Y)\r{\r\tB = X\r}\r");
    std::string text = ReadScript(e);
    EXPECT_EQ(text.rfind("MouseUp ( ) {\r\tA = X * 10 + Y\r}\rMouseDown ( ) {\r\tB = X\r}\r", 0), 0u) << text;
    const AttributeValue params[] = { AttributeValue::OfLong(3), AttributeValue::OfLong(4) };
    EXPECT_EQ(e.RaiseEvent("MouseUp", params), 1);
    EXPECT_DOUBLE_EQ(f.A(), 34);
    EXPECT_EQ(e.RaiseEvent("MouseDown", params), 1);
    EXPECT_DOUBLE_EQ(f.engine.DoubleGlobal(1), 3);
    EXPECT_TRUE(f.boxes.empty());
}

TEST(HandlerIndex, AHeaderIsFoundOnlyAsAWholeName)
{
    ScriptFixture f;
    Element& e = f.Add(0, ClassId::Button, 1, "DoubleClicked ( ) {\r\tA = 2\r}\r");
    EXPECT_EQ(e.RaiseEvent("Clicked"), 0);
    EXPECT_DOUBLE_EQ(f.A(), 0);
    EXPECT_EQ(e.RaiseEvent("DoubleClicked"), 1);
    EXPECT_DOUBLE_EQ(f.A(), 2);
}

TEST(HandlerHeader, ScanFindsHeadersOutsideHandlersOnly)
{
    MemoryBlock script;
    script.AppendString("; (c)\rClicked ( ) {\r\tIf ( A )\r\tEndIf\r}Sized ( W, H ) {\r}\r", Nul::Include);
    std::vector<std::string> problems;
    std::vector<HandlerHeader> headers = HandlerHeader::Scan(script, &problems);
    ASSERT_EQ(headers.size(), 2u);
    EXPECT_EQ(headers[0].name, "Clicked");
    EXPECT_EQ(headers[0].line, 2);
    EXPECT_TRUE(headers[0].plain);
    EXPECT_EQ(headers[1].name, "Sized");
    EXPECT_EQ(headers[1].line, 5);
    EXPECT_FALSE(headers[1].plain);
    EXPECT_TRUE(headers[1].wellFormed);
    EXPECT_EQ(headers[1].params, (std::vector<std::string> { "W", "H" }));
    EXPECT_TRUE(problems.empty());
}

TEST(HandlerHeader, CheckReportsHandlersThatNeverRun)
{
    ScriptFixture f;
    EXPECT_TRUE(Problems(f, "Clicked ( ) {\r}\rMouseUp ( x, y ) {\r}\rMouseDown ( ) {\r}\r").empty());
    EXPECT_TRUE(Problems(f, "Timer ( Ticks, TimerID ) {\r}\r", ClassId::Interface).empty());

    struct Case {
        std::string script;
        std::string problem;
    };
    const Case cases[] = {
        { "mouseup ( ) {\r}\r",
            "line 1: the handler \"mouseup\" never runs: event names are matched exactly, write "
            "\"MouseUp\"" },
        { "\rOpened ( ) {\r}\r", "line 2: \"Opened\" is not an event of Button; its handler never runs" },
        { "MouseUp ( PX, PY ) {\r}\r",
            "line 1: the handler \"MouseUp\" names parameters the event does not pass; "
            "its parameters are (X, Y)" },
        { "MouseUp ( X, ) {\r}\r", "line 1: not a handler header; write it as \"Event ( ) {\"" },
        { "Clicked {\r}\r", "line 1: not a handler header; write it as \"Event ( ) {\"" },
        { "Clicked ( ) {\r}\rClicked ( ) {\r}\r",
            "line 3: a second handler for \"Clicked\" never runs; the first one "
            "in the text does" },
        { "A = 1\rClicked ( ) {\r}\r", "line 1: \"A = 1\" stands outside any handler and never runs" },
        { "Clicked ( ) {\r\tA = 1\rShown ( ) {\r}\r",
            "line 3: the handler \"Clicked\" has no \"}\" before this header" },
        { "Clicked ( ) {\r}\r}\r", "line 3: a \"}\" outside any handler" },
        { "Clicked ( ) {\r\tA = 1\r", "line 1: the handler \"Clicked\" has no closing \"}\"" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(Problems(f, c.script), std::vector<std::string> { c.problem }) << c.script;
}

}  // namespace tamber::test
