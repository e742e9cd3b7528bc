#include <gtest/gtest.h>

#include <vector>

#include "base/Scanner.h"

using namespace tamber;

namespace {

struct Token {
    TokenKind kind;
    std::string text;
    double value;
    int32_t code;
};

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
    return scanner;
}

std::vector<Token> ScanAll(Scanner& scanner, std::string_view text)
{
    scanner.SetSource(text);
    std::vector<Token> tokens;
    for (int guard = 0; guard < 1000; ++guard) {
        TokenKind kind = scanner.Next();
        if (kind == TokenKind::EndOfText)
            break;
        tokens.push_back({kind, scanner.Text(), scanner.Value(), scanner.Code()});
    }
    return tokens;
}

std::vector<Token> ScanAll(std::string_view text)
{
    Scanner scanner = MakeScanner();
    return ScanAll(scanner, text);
}

}  // namespace

TEST(Scanner, NumbersDecimalFractionAndHex)
{
    auto t = ScanAll("0x1F 1. .5 0X0a 12.25 007");
    ASSERT_EQ(t.size(), 6u);
    for (const auto& token : t)
        EXPECT_EQ(token.kind, TokenKind::Number) << token.text;
    EXPECT_DOUBLE_EQ(t[0].value, 31);
    EXPECT_EQ(t[0].text, "0x1F");
    EXPECT_DOUBLE_EQ(t[1].value, 1.0);
    EXPECT_DOUBLE_EQ(t[2].value, 0.5);
    EXPECT_DOUBLE_EQ(t[3].value, 10);
    EXPECT_DOUBLE_EQ(t[4].value, 12.25);
    EXPECT_DOUBLE_EQ(t[5].value, 7);
}

TEST(Scanner, NumberEdgesSplitWhereTheGrammarSays)
{
    // A second "." starts a new number; "0x" without a hex digit is a name; no sign belongs to a number.
    auto t = ScanAll("1.2.3 0x 0xg -4 1e5");
    ASSERT_EQ(t.size(), 9u);
    EXPECT_DOUBLE_EQ(t[0].value, 1.2);
    EXPECT_EQ(t[1].kind, TokenKind::Number);
    EXPECT_DOUBLE_EQ(t[1].value, 0.3);
    EXPECT_EQ(t[2].kind, TokenKind::Identifier);
    EXPECT_EQ(t[2].text, "0x");
    EXPECT_EQ(t[3].text, "0x");
    EXPECT_EQ(t[4].kind, TokenKind::Identifier);
    EXPECT_EQ(t[4].text, "g");
    EXPECT_EQ(t[5].kind, TokenKind::Operator);
    EXPECT_EQ(t[5].code, 10);
    EXPECT_DOUBLE_EQ(t[6].value, 4);
    EXPECT_DOUBLE_EQ(t[7].value, 1);
    EXPECT_EQ(t[8].kind, TokenKind::Identifier);
    EXPECT_EQ(t[8].text, "e5");
}

TEST(Scanner, TwoCharacterOperatorsOnlyWhenRegistered)
{
    auto t = ScanAll("a<>b a<=b x!=y");
    ASSERT_EQ(t.size(), 10u);
    EXPECT_EQ(t[0].text, "a");
    EXPECT_EQ(t[1].code, 18);
    EXPECT_EQ(t[2].code, 20);
    EXPECT_EQ(t[3].text, "b");
    EXPECT_EQ(t[5].kind, TokenKind::Operator);
    EXPECT_EQ(t[5].code, 19);
    EXPECT_EQ(t[5].text, "<=");
    EXPECT_EQ(t[8].code, 22);

    // With "<>" registered the same text is one operator.
    Scanner scanner;
    scanner.AddOperator("<", 101);
    scanner.AddOperator("<>", 105);
    auto u = ScanAll(scanner, "a<>b");
    ASSERT_EQ(u.size(), 3u);
    EXPECT_EQ(u[1].code, 105);
}

TEST(Scanner, LoneDotAndUnknownCharactersAreIdentifiers)
{
    auto t = ScanAll("Function.plg # $");
    ASSERT_EQ(t.size(), 5u);
    EXPECT_EQ(t[0].text, "Function");
    EXPECT_EQ(t[1].kind, TokenKind::Identifier);
    EXPECT_EQ(t[1].text, ".");
    EXPECT_EQ(t[2].text, "plg");
    EXPECT_EQ(t[3].kind, TokenKind::Identifier);
    EXPECT_EQ(t[4].kind, TokenKind::Identifier);
}

TEST(Scanner, NamesTakeHighBytesAndKeywordsIgnoreCase)
{
    Scanner scanner = MakeScanner();
    scanner.AddKeyword("and", 1);
    auto t = ScanAll(scanner, "caf\xE9_2 AND And andy _x");
    ASSERT_EQ(t.size(), 5u);
    EXPECT_EQ(t[0].kind, TokenKind::Identifier);
    EXPECT_EQ(t[0].text, "caf\xE9_2");
    EXPECT_EQ(t[1].kind, TokenKind::Keyword);
    EXPECT_EQ(t[1].code, 1);
    EXPECT_EQ(t[2].kind, TokenKind::Keyword);
    EXPECT_EQ(t[3].kind, TokenKind::Identifier);
    EXPECT_EQ(t[4].text, "_x");
}

TEST(Scanner, StringsWithAndWithoutEscapes)
{
    Scanner scanner = MakeScanner();
    auto t = ScanAll(scanner, "\"a\\\"b\" \"open");
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].kind, TokenKind::StringLiteral);
    EXPECT_EQ(t[0].text, "a\"b");
    EXPECT_EQ(t[1].text, "open");  // runs to the end of the text

    scanner.SetEscapes(Escapes::Off);
    auto u = ScanAll(scanner, "\"c:\\dir\\\" x");
    ASSERT_EQ(u.size(), 2u);
    EXPECT_EQ(u[0].text, "c:\\dir\\");
    EXPECT_EQ(u[1].text, "x");

    scanner.SetEscapes(Escapes::On);
    auto v = ScanAll(scanner, "\"tail\\");
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0].text, "tail");
}

TEST(Scanner, LineBreaksAndCommentLines)
{
    Scanner scanner = MakeScanner();
    auto t = ScanAll(scanner, "; note\r\nA = 1\r");
    ASSERT_EQ(t.size(), 7u);
    EXPECT_EQ(t[0].code, 23);
    EXPECT_EQ(t[2].kind, TokenKind::EndOfLine);
    EXPECT_EQ(t[3].text, "A");  // the LF after the CR is skipped
    EXPECT_EQ(t[6].kind, TokenKind::EndOfLine);

    scanner.SetLineBreaksAreSpace(LineBreaks::AreSpace);
    auto u = ScanAll(scanner, "a\r\n\rb");
    ASSERT_EQ(u.size(), 2u);
    EXPECT_EQ(u[1].text, "b");
}

TEST(Scanner, TextEndsAtItsTerminator)
{
    auto t = ScanAll(std::string_view("a\0b", 3));
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].text, "a");
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
