// Search expressions from fuzz bytes, parsed and evaluated against a small fixed index and by
// the single-text matcher. The engine keeps its previous results between inputs, so refinement
// is exercised too.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "db/FullTextIndexBuilder.h"
#include "db/FullTextMemoryStore.h"
#include "db/QueryEngine.h"
#include "db/QueryTextMatcher.h"

namespace {

struct Fixture {
    tamber::FullTextMemoryStore store;
    tamber::FullTextIndex index{store};
    tamber::QueryEngine engine{index};
    tamber::QueryTextMatcher matcher;

    Fixture()
    {
        using tamber::FullTextFieldValue;
        tamber::FullTextDocumentList docs;
        docs.documents.push_back({3, "Apple Story", "Text", "An apple a day. Apples and pears, apple pie.",
            {{"Date", FullTextFieldValue::Date(1, 15, 1996)}, {"Price", FullTextFieldValue::Number(3.5)}}});
        docs.documents.push_back({7, "Orchard", "Text", "Pear trees and apple trees; a plum tree.",
            {{"Date", FullTextFieldValue::Date(3, 1, 1997)}, {"Kind", FullTextFieldValue::String("song")}}});
        docs.documents.push_back({9, "Logo", "Graphic", "", {{"Price", FullTextFieldValue::Number(-2)}}});
        tamber::FullTextIndexBuilder builder;
        builder.Build(docs, store);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Fixture fixture;
    std::string_view expression(reinterpret_cast<const char*>(data), size);
    if (size > 0 && data[0] == '!')
        fixture.engine.ForgetPreviousResults();
    int32_t result = fixture.engine.RunQuery(expression);
    if (result < -1 || result != (result >= 0 ? fixture.engine.PreviousPostings().ReadInt(0, 4) : result))
        __builtin_trap();
    fixture.matcher.Match(expression, "An apple a day. Apples and pears, apple pie.");
    return 0;
}
