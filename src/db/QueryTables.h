#pragma once

#include <cstdint>

#include "base/Scanner.h"

// The words and operators of search expressions. The base grammar registers the first group
// of each table; the index search adds the second.
namespace tamber::query {

enum Keyword : int32_t {
    kAll = 0,
    kAnd = 1,
    kBut = 2,
    kExactly = 3,
    kLessThan = 4,
    kMoreThan = 5,
    kNot = 6,
    kOr = 7,
    kField = 100,
    kGranule = 101,
    kProximity = 102,
};

enum Operator : int32_t {
    kOpen = 0,
    kClose = 1,
    kColon = 2,
    kComma = 3,
    kEqual = 100,
    kLess = 101,
    kLessEqual = 102,
    kGreater = 103,
    kGreaterEqual = 104,
    kNotEqual = 105,
};
// Codes of the comparison operators a field term accepts.
inline constexpr int32_t kFirstComparison = 100;
inline constexpr int32_t kLastComparison = 199;

inline constexpr ScannerWord kBaseKeywords[] = {
    {"all", kAll}, {"and", kAnd}, {"but", kBut}, {"exactly", kExactly},
    {"lessthan", kLessThan}, {"morethan", kMoreThan}, {"not", kNot}, {"or", kOr},
};
inline constexpr ScannerWord kIndexKeywords[] = {
    {"field", kField}, {"granule", kGranule}, {"proximity", kProximity},
};
inline constexpr ScannerWord kBaseOperators[] = {
    {"(", kOpen}, {")", kClose}, {":", kColon}, {",", kComma},
};
inline constexpr ScannerWord kIndexOperators[] = {
    {"=", kEqual}, {"<", kLess}, {"<=", kLessEqual}, {">", kGreater}, {">=", kGreaterEqual}, {"<>", kNotEqual},
};

// Answers of a search besides a count of postings.
inline constexpr int32_t kSyntaxError = -1;
inline constexpr int32_t kNotBuilt = -2;

// Nesting deeper than this is refused as a syntax error rather than risking the stack.
inline constexpr int kMaxNesting = 64;

// What the user is shown for the two failures.
inline constexpr const char* kCaption = "Search";
inline constexpr const char* kSyntaxErrorMessage = "There is a syntax error in the expression...";
inline constexpr const char* kNotBuiltMessage =
    "The query engine has not been built yet for this database. Use the Build function in Tamberlyne to "
    "build it...";

enum class AfterTerm { End, Connective, Invalid };

// Reads what follows a term: the end of the expression (the end of the text or a ")", left
// unread for the caller), or a connective "and", "or" or "but not", whose keyword code it stores.
inline AfterTerm ReadAfterTerm(Scanner& scanner, int32_t& connective)
{
    TokenKind kind = scanner.Next();
    if (kind == TokenKind::EndOfText || (kind == TokenKind::Operator && scanner.Code() == kClose)) {
        scanner.Rewind();
        return AfterTerm::End;
    }
    if (kind != TokenKind::Keyword)
        return AfterTerm::Invalid;
    connective = scanner.Code();
    if (connective == kBut) {
        if (scanner.Next() != TokenKind::Keyword || scanner.Code() != kNot)
            return AfterTerm::Invalid;
    } else if (connective != kAnd && connective != kOr) {
        return AfterTerm::Invalid;
    }
    return AfterTerm::Connective;
}

}  // namespace tamber::query
