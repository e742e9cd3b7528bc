#include <gtest/gtest.h>

#include <sstream>

#include "base/Scanner.h"

using namespace tamber;

namespace {

// The script operator set, the richest one the scanner serves.
constexpr ScannerWord kOperators[] = {
    {"(", 1}, {")", 2}, {",", 3}, {".", 4}, {"{", 5}, {"}", 6}, {":", 7}, {"=", 8},
    {"+", 9}, {"-", 10}, {"*", 11}, {"/", 12}, {"^", 13}, {"&", 14}, {"|", 15}, {"!", 16},
    {"==", 17}, {"<", 18}, {"<=", 19}, {">", 20}, {">=", 21}, {"!=", 22}, {";", 23},
};

Scanner MakeScanner()
{
    Scanner scanner;
    scanner.AddOperators(kOperators);
    scanner.AddKeyword("and", 1);
    return scanner;
}

// The tokens as one line: names as they are, keywords kN, operators oN, numbers text=value,
// strings in single quotes, line ends as \n.
std::string ScanAll(Scanner& scanner, std::string_view text)
{
    scanner.SetSource(text);
    std::ostringstream out;
    for (int guard = 0; guard < 1000; ++guard) {
        TokenKind kind = scanner.Next();
        if (kind == TokenKind::EndOfText)
            break;
        if (guard > 0)
            out << ' ';
        switch (kind) {
        case TokenKind::Keyword: out << 'k' << scanner.Code(); break;
        case TokenKind::Operator: out << 'o' << scanner.Code(); break;
        case TokenKind::Number: out << scanner.Text() << '=' << scanner.Value(); break;
        case TokenKind::StringLiteral: out << '\'' << scanner.Text() << '\''; break;
        case TokenKind::EndOfLine: out << "\\n"; break;
        default: out << scanner.Text(); break;
        }
    }
    return out.str();
}

}  // namespace

TEST(Scanner, SplitsTextIntoTokensAsTheGrammarSays)
{
    struct Case {
        std::string_view text;
        const char* tokens;
        Escapes escapes = Escapes::On;
        LineBreaks breaks = LineBreaks::AreTokens;
    };
    const Case cases[] = {
        {"0x1F 1. .5 0X0a 12.25 007", "0x1F=31 1.=1 .5=0.5 0X0a=10 12.25=12.25 007=7"},
        // A second "." starts a new number; "0x" without a hex digit is a name; no sign belongs to a number.
        {"1.2.3 0x 0xg -4 1e5", "1.2=1.2 .3=0.3 0x 0x g o10 4=4 1=1 e5"},
        // Two-character operators only where registered: "<>" is two.
        {"a<>b a<=b x!=y", "a o18 o20 b a o19 b x o22 y"},
        // A lone dot and unknown characters are names.
        {"Function.plg # $", "Function . plg # $"},
        // Names take high bytes; keywords ignore case but not length.
        {"caf\xE9_2 AND And andy _x", "caf\xE9_2 k1 k1 andy _x"},
        {"\"a\\\"b\" \"open", "'a\"b' 'open'"},  // an open string runs to the end of the text
        {"\"c:\\dir\\\" x", "'c:\\dir\\' x", Escapes::Off},
        {"\"tail\\", "'tail'"},
        // The LF after a CR is skipped; a comment is an operator and names, the parser skips them.
        {"; note\r\nA = 1\r", "o23 note \\n A o8 1=1 \\n"},
        {"a\r\n\rb", "a b", Escapes::On, LineBreaks::AreSpace},
        {std::string_view("a\0b", 3), "a"},  // the text ends at its terminator
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text));
        Scanner scanner = MakeScanner();
        scanner.SetEscapes(c.escapes);
        scanner.SetLineBreaksAreSpace(c.breaks);
        EXPECT_EQ(ScanAll(scanner, c.text), c.tokens);
    }

    Scanner diamond;
    diamond.AddOperator("<", 101);
    diamond.AddOperator("<>", 105);
    EXPECT_EQ(ScanAll(diamond, "a<>b"), "a o105 b");
}

TEST(Scanner, PositionRewindAndNestedStateRestore)
{
    Scanner scanner = MakeScanner();
    MemoryBlock outer;
    outer.AppendString("If ( A )", Nul::Include);
    scanner.SetSource(outer);
    scanner.SetLineBreaksAreSpace(LineBreaks::AreSpace);
    ASSERT_EQ(scanner.Next(), TokenKind::Identifier);
    EXPECT_EQ(scanner.GetPosition(), 2);
    scanner.Next();
    scanner.Rewind();
    EXPECT_EQ(scanner.GetPosition(), 3);

    Scanner::State saved = scanner.SaveState();
    MemoryBlock inner;
    inner.AppendString("Hide", Nul::Include);
    scanner.SetSource(inner);
    ASSERT_EQ(scanner.Next(), TokenKind::Identifier);
    EXPECT_EQ(scanner.Text(), "Hide");
    scanner.RestoreState(saved);
    ASSERT_EQ(scanner.Next(), TokenKind::Operator);
    EXPECT_EQ(scanner.Code(), 1);

    // The text may grow and move between uses; the scanner reads the block anew.
    outer.Delete(outer.Size() - 1, 1);
    outer.AppendString(" B", Nul::Include);
    scanner.Next();
    scanner.Next();
    ASSERT_EQ(scanner.Next(), TokenKind::Identifier);
    EXPECT_EQ(scanner.Text(), "B");

    scanner.SetPosition(1000);
    EXPECT_EQ(scanner.GetPosition(), outer.Size() - 1);
    EXPECT_EQ(scanner.Next(), TokenKind::EndOfText);
    scanner.SetPosition(-5);
    EXPECT_EQ(scanner.GetPosition(), 0);
}

TEST(Scanner, TablesArePackedAndRejectWhatDoesNotFit)
{
    Scanner scanner;
    EXPECT_EQ(scanner.AddOperator("(", 0), 1);
    EXPECT_EQ(scanner.AddOperator("<<=", 1), 0);
    EXPECT_EQ(scanner.AddKeyword("", 1), 0);
    EXPECT_EQ(scanner.AddKeyword("all", 7), 1);
    const MemoryBlock& ops = scanner.OperatorTable();
    ASSERT_EQ(ops.Size(), 1 + 2 + 4);
    EXPECT_EQ(ops.ReadInt(0, 1), 2);
    EXPECT_EQ(ops.ReadCString(1), "(");
    EXPECT_EQ(ops.ReadInt(3, 4), 0);
    EXPECT_EQ(scanner.KeywordTable().ReadInt(5, 4), 7);
}

TEST(Scanner, EveryByteValueTerminates)
{
    // No byte sequence may stall the scanner: each token advances or ends the text.
    std::string text;
    for (int c = 1; c < 256; ++c) {
        text.push_back(static_cast<char>(c));
        text.push_back(static_cast<char>(255 - c + 1));
    }
    Scanner scanner = MakeScanner();
    scanner.SetSource(text);
    int tokens = 0;
    int32_t last = -1;
    while (scanner.Next() != TokenKind::EndOfText) {
        ASSERT_GT(scanner.GetPosition(), last);
        last = scanner.GetPosition();
        ASSERT_LT(++tokens, 1000);
    }
    EXPECT_EQ(scanner.GetPosition(), static_cast<int32_t>(text.size()));
}
