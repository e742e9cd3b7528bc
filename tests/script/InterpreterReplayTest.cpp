// Lines inside loops are recorded on their first run and replayed afterwards; these tests hold
// the replayed runs to what reading the text gives.
#include <gtest/gtest.h>

#include "ScriptFixture.h"

using namespace tamber;
using tamber::test::ScriptFixture;

namespace {

// The handler's text around a loop body, as the fixture's Run gives it.
std::string Loop(const std::string& condition, const std::string& body)
{
    return "\tWhile ( " + condition + " )\r" + body + "\tEndWhile";
}

}  // namespace

TEST(InterpreterReplay, LoopedExpressionsAgreeWithASingleReading)
{
    const std::string kLong = "\"" + std::string(100, 'q') + "\"";
    const char* expressions[] = {
        "1 + 2 * 3 ^ 2 - -4 / 2",
        "\"ab\" + 1 + 2",
        "1 + \"2\" + 3",
        "!(A < 1) | (S1 == \"x\") & 0",
        "\"abc\" < \"ABD\"",
        "\"b\" >= \"B\"",
        "((2.5)) * ! - 0",
        "S1 + S2",
        "S1 + S2 + S1",
        "7 != 7.0",
        "5 / (A - A)",
        "\"x\" - 1",
        "\"1.5\" * 2",
        "S1 + S1 + S2",
        "S2 + S1 < S1",
        "(0 - 2) ^ 0.5 != (0 - 2) ^ 0.5",
        "(0 - 2) ^ 0.5 == (0 - 2) ^ 0.5",
        "-A * 2 >= -6 & A",
        "!(S2 == \"X\") + 1",
    };
    for (const char* expression : expressions) {
        const std::string setup = "\tA = 3\r\tS1 = " + kLong + "\r\tS2 = \"x\"\r";
        ScriptFixture once;
        once.Run(setup + "\tS = " + expression);
        ScriptFixture looped;
        looped.Run(setup + Loop("C < 3", "\t\tS = " + std::string(expression) + "\r\t\tC = C + 1\r"));
        EXPECT_EQ(looped.S(), once.S()) << expression;
        EXPECT_EQ(looped.boxes, once.boxes) << expression;
        if (once.boxes.empty()) {
            EXPECT_DOUBLE_EQ(looped.engine.DoubleGlobal(2), 3) << expression;
        }
    }
}

TEST(InterpreterReplay, ErrorsOfLaterIterationsAreReported)
{
    ScriptFixture f;
    f.Run(Loop("C < 5", "\t\tA = 6 / (3 - C)\r\t\tC = C + 1\r"));
    ASSERT_EQ(f.boxes.size(), 1u);
    EXPECT_EQ(f.boxes[0], "[Script Error] Divide by zero... -> OK");
    EXPECT_DOUBLE_EQ(f.A(), 6);  // from C = 2, the last iteration that completed
    EXPECT_DOUBLE_EQ(f.engine.DoubleGlobal(2), 3);

    ScriptFixture g;
    g.Run("\tS = \"9\"\r" + Loop("C < 5", "\t\tA = S - 1\r\t\tC = C + 1\r\t\tIf ( C == 2 )\r\t\t\tS = \"x\"\r\t\tEndIf\r"));
    ASSERT_EQ(g.boxes.size(), 1u);
    EXPECT_EQ(g.boxes[0], "[Script Error] Unable to cast one value type to another... -> OK");
    EXPECT_DOUBLE_EQ(g.A(), 8);

    // An EndIf replayed once its If has been left behind is a syntax error again.
    ScriptFixture h;
    h.Run(Loop("C < 3", "\t\tC = C + 1\r\t\tIf ( C == 1 )\r\t\tEndIf\r\t\tEndIf\r"));
    ASSERT_EQ(h.boxes.size(), 1u);
    EXPECT_EQ(h.boxes[0], "[Script Error] Syntax error... -> OK");
}

TEST(InterpreterReplay, BranchesFollowTheValuesOfEachIteration)
{
    ScriptFixture f;
    f.Run(Loop("C < 6",
        "\t\tIf ( C == 1 )\r\t\t\tS = S + \"a\"\r"
        "\t\tElseIf ( C < 4 )\r\t\t\tS = S + \"b\"\r"
        "\t\tElse\r\t\t\tS = S + \"c\"\r\t\tEndIf\r"
        "\t\tIf C == 1\r\t\t\tS = S + \"never\"\r\t\tEndIf\r"
        "\t\tD = 0\r\t\tWhile ( D < C )\r\t\t\tD = D + 1\r\t\t\tE = E + 1\r\t\tEndWhile\r"
        "\t\tC = C + 1\r"));
    EXPECT_TRUE(f.boxes.empty()) << f.boxes[0];
    EXPECT_EQ(f.S(), "babbcc");
    EXPECT_DOUBLE_EQ(f.engine.DoubleGlobal(4), 0 + 1 + 2 + 3 + 4 + 5);
}

TEST(InterpreterReplay, GlobalsWrittenByNestedHandlersAreReadAfresh)
{
    ScriptFixture f;
    f.Add(0, ClassId::Button, 2, "Clicked ( ) {\r\tB = B + 10\r\tS = S + \"n\"\r}\r");
    f.Run(Loop("B < 50", "\t\tA = A + 1\r\t\tButton 2 : Clicked( )\r\t\tS = S + \"o\"\r"));
    EXPECT_TRUE(f.boxes.empty()) << f.boxes[0];
    EXPECT_DOUBLE_EQ(f.A(), 5);
    EXPECT_EQ(f.S(), "nonononono");
}

// The running handler replaces its own script: a line whose recording read bytes that are now
// different is read again, even when the change lies on the next line (the scan looked at its
// first token to see whether the expression went on).
TEST(InterpreterReplay, AScriptChangedWhileItRunsIsReadAgain)
{
    auto script = [](const std::string& next) {
        return "Clicked ( ) {\r" + Loop("A < 21",
                   "\t\tA = A + 1\r\t\t" + next + "\r\t\tIf ( A == 2 )\r\t\t\tSource : Script = Button 3 : Script\r"
                   "\t\tEndIf\r") + "\r}\r";
    };
    ScriptFixture f;
    f.Add(0, ClassId::Button, 3, script("+ 2.0"));
    Element& running = f.Add(0, ClassId::Button, 1, script("B = 2"));
    running.RaiseEvent("Clicked");
    EXPECT_TRUE(f.boxes.empty()) << f.boxes[0];
    // 1, 2, then the line reads "A = A + 1 + 2.0": 5, 8, ... 23.
    EXPECT_DOUBLE_EQ(f.A(), 23);
    EXPECT_DOUBLE_EQ(f.engine.DoubleGlobal(1), 2);
}
