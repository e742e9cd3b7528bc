#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "db/FullTextFieldValue.h"

namespace tamber {

// What the index builder learns about one medium.
struct FullTextDocument {
    int32_t mediaId = 0;
    std::string name;  // indexed as the "Title" field and as the words of the title granule
    std::string type;  // indexed as the "Type" field
    std::string text;  // plain text; its words form the body granule (empty for media without text)
    std::vector<std::pair<std::string, FullTextFieldValue>> fields = {};  // further fields of the project
};

// The media to index, read one at a time so that a large database is never held in memory.
class FullTextDocuments {
public:
    virtual ~FullTextDocuments() = default;
    virtual int32_t Count() = 0;
    // Fills doc with the index-th medium (from 0); answers 1, or 0 to skip it.
    virtual int32_t Read(int32_t index, FullTextDocument& doc) = 0;
};

// Documents held in a vector: tests and benchmarks.
class FullTextDocumentList : public FullTextDocuments {
public:
    std::vector<FullTextDocument> documents;
    int32_t Count() override { return static_cast<int32_t>(documents.size()); }
    int32_t Read(int32_t index, FullTextDocument& doc) override
    {
        if (index < 0 || index >= Count())
            return 0;
        doc = documents[static_cast<size_t>(index)];
        return 1;
    }
};

}  // namespace tamber
