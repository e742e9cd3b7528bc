#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "base/MemoryBlock.h"
#include "script/ScriptScanner.h"

using namespace tamber;

namespace {

const ScannerWord kOps[] = {{"(", 1}, {")", 2}, {"=", 8}, {"+", 9}, {"<", 18}, {"<=", 19}, {"!=", 22}, {";", 23}};

struct Token {
    TokenKind kind;
    std::string text;
    int32_t code;
    double value;
    int32_t start;
    int32_t end;
    bool operator==(const Token&) const = default;
};

template <typename S>
Token Read(S& s)
{
    TokenKind kind = s.Next();
    return Token {kind, s.Text(), s.Code(), s.Value(), s.TokenStart(), s.GetPosition()};
}

MemoryBlock Block(const std::string& text)
{
    return MemoryBlock(text.c_str(), static_cast<int32_t>(text.size() + 1));
}

}  // namespace

// Reading any position twice, in any order, gives what the plain scanner gives.
TEST(ScriptScanner, AgreesWithThePlainScannerAtEveryPosition)
{
    const std::string text = "Clicked ( ) {\r\tA = 0x1F + 1.2.3 <= \"s\" \r\tIf(a<>b) ; x\r\tB != .5 0x\r}\r\"open";
    MemoryBlock block = Block(text);
    ScriptScanner cached(kOps, LineBreaks::AreSpace, Escapes::Off);
    Scanner plain;
    plain.AddOperators(kOps);
    plain.SetLineBreaksAreSpace(LineBreaks::AreSpace);
    plain.SetEscapes(Escapes::Off);
    cached.SetSource(block);
    plain.SetSource(block);
    std::mt19937 random(7);
    for (int round = 0; round < 3; ++round) {
        for (int32_t i = 0; i <= block.Size() + 2; ++i) {
            int32_t at = round == 2 ? static_cast<int32_t>(random() % (block.Size() + 3)) : i;
            cached.SetPosition(at);
            plain.SetPosition(at);
            ASSERT_EQ(Read(cached), Read(plain)) << "at " << at << " round " << round;
        }
    }
    EXPECT_GT(cached.Hits(), 0u);
}

// Edits in place, growth and shrinking of the text are all noticed.
TEST(ScriptScanner, RescansWhenTheTextChanges)
{
    ScriptScanner s(kOps, LineBreaks::AreSpace, Escapes::Off);
    MemoryBlock block = Block("A = 12 + B");
    s.SetSource(block);
    s.SetPosition(4);
    EXPECT_EQ(Read(s).value, 12);

    // Same length, one digit changed.
    block.Data()[5] = '9';
    s.SetPosition(4);
    Token changed = Read(s);
    EXPECT_EQ(changed.kind, TokenKind::Number);
    EXPECT_EQ(changed.value, 19);

    // The byte after a name decides where it ends: "B" becomes "BC" when the text grows.
    s.SetPosition(8);
    EXPECT_EQ(Read(s).text, "B");
    block = Block("A = 12 + BC");
    s.SetSource(block);
    s.SetPosition(8);
    EXPECT_EQ(Read(s).text, "BC");

    // A text cut short at the token's end.
    MemoryBlock bare("A <", 3);
    s.SetSource(bare);
    s.SetPosition(1);
    EXPECT_EQ(Read(s).code, 18);
    bare = MemoryBlock("A <=", 4);
    s.SetSource(bare);
    s.SetPosition(1);
    Token pair = Read(s);
    EXPECT_EQ(pair.code, 19);
    EXPECT_EQ(pair.text, "<=");
}

// A plain view is never cached, and trimming between handlers keeps reading right.
TEST(ScriptScanner, ViewsAndTrimmingStayCorrect)
{
    ScriptScanner s(kOps, LineBreaks::AreSpace, Escapes::Off);
    std::string text = "name 42";
    s.SetSource(std::string_view(text));
    EXPECT_EQ(Read(s).text, "name");
    text[0] = 'g';
    s.SetPosition(0);
    EXPECT_EQ(Read(s).text, "game");
    EXPECT_EQ(s.CachedTokens(), 0u);

    std::vector<MemoryBlock> texts;
    for (size_t i = 0; i < ScriptScanner::kMaxTexts + 3; ++i)
        texts.push_back(Block("T" + std::to_string(i)));
    for (const MemoryBlock& b : texts) {
        s.SetSource(b);
        Read(s);
    }
    s.Trim();
    EXPECT_EQ(s.CachedTokens(), 0u);
    s.SetSource(texts.back());
    EXPECT_EQ(Read(s).text, "T" + std::to_string(ScriptScanner::kMaxTexts + 2));
}
