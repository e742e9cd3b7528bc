#include "db/QueryTextMatcher.h"

#include <cmath>

#include "db/QueryTables.h"

namespace tamber {

namespace {

uint8_t Fold(char c)
{
    auto u = static_cast<uint8_t>(c);
    return (u >= 'a' && u <= 'z') ? static_cast<uint8_t>(u - 'a' + 'A') : u;
}

bool IsWord(TokenKind kind)
{
    return kind == TokenKind::Identifier || kind == TokenKind::StringLiteral || kind == TokenKind::Number;
}

}  // namespace

QueryTextMatcher::QueryTextMatcher()
{
    m_scanner.AddKeywords(query::kBaseKeywords);
    m_scanner.AddOperators(query::kBaseOperators);
    m_scanner.SetLineBreaksAreSpace(LineBreaks::AreSpace);
}

int64_t QueryTextMatcher::Occurrences(std::string_view text, std::string_view word)
{
    if (word.empty())
        return 0;
    int64_t count = 0;
    for (size_t i = 0; i + word.size() <= text.size();) {
        size_t k = 0;
        while (k < word.size() && Fold(text[i + k]) == Fold(word[k]))
            ++k;
        if (k == word.size()) {
            ++count;
            i += word.size();
        } else {
            ++i;
        }
    }
    return count;
}

int32_t QueryTextMatcher::Match(std::string_view expression, std::string_view text)
{
    m_text = text;
    m_scanner.SetSource(expression);
    bool value = false;
    if (!Expression(value, 0) || m_scanner.Next() != TokenKind::EndOfText)
        return query::kSyntaxError;
    return value ? 1 : 0;
}

bool QueryTextMatcher::Expression(bool& value, int depth)
{
    if (depth > query::kMaxNesting || !Term(value, depth))
        return false;
    for (;;) {
        int32_t connective = 0;
        query::AfterTerm next = query::ReadAfterTerm(m_scanner, connective);
        if (next != query::AfterTerm::Connective)
            return next == query::AfterTerm::End;
        bool right = false;
        if (!Term(right, depth))
            return false;
        if (connective == query::kAnd)
            value = value && right;
        else if (connective == query::kOr)
            value = value || right;
        else
            value = value && !right;
    }
}

bool QueryTextMatcher::Term(bool& value, int depth)
{
    TokenKind kind = m_scanner.Next();
    if (IsWord(kind)) {
        value = Occurrences(m_text, m_scanner.Text()) > 0;
        return true;
    }
    if (kind == TokenKind::Operator) {
        if (m_scanner.Code() != query::kOpen || !Expression(value, depth + 1))
            return false;
        return m_scanner.Next() == TokenKind::Operator && m_scanner.Code() == query::kClose;
    }
    if (kind != TokenKind::Keyword)
        return false;
    int32_t keyword = m_scanner.Code();
    if (keyword == query::kAll) {
        value = true;
        return true;
    }
    if (keyword == query::kNot) {
        if (!IsWord(m_scanner.Next()))
            return false;
        value = Occurrences(m_text, m_scanner.Text()) == 0;
        return true;
    }
    if (keyword != query::kExactly && keyword != query::kMoreThan && keyword != query::kLessThan)
        return false;
    if (m_scanner.Next() != TokenKind::Number)
        return false;
    double limit = m_scanner.Value();
    auto n = static_cast<int64_t>(std::isfinite(limit) ? std::fmin(limit, 1e15) : 1e15);
    if (!IsWord(m_scanner.Next()))
        return false;
    int64_t count = Occurrences(m_text, m_scanner.Text());
    value = keyword == query::kExactly ? count == n : (keyword == query::kMoreThan ? count > n : count < n);
    return true;
}

}  // namespace tamber
