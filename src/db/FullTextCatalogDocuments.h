#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "db/FullTextDocuments.h"
#include "db/MediaDatabase.h"

namespace tamber {

// Further field values per medium, as a project gives them.
using FullTextProjectFields = std::map<uint32_t, std::vector<std::pair<std::string, FullTextFieldValue>>>;

// The media of a database as documents for the index builder, in ascending media id: every
// medium gives its name, type and project fields; a text medium also gives its text.
class FullTextCatalogDocuments : public FullTextDocuments {
public:
    FullTextCatalogDocuments(MediaDatabase& database, FullTextProjectFields fields = {});

    int32_t Count() override { return static_cast<int32_t>(m_ids.size()); }
    int32_t Read(int32_t index, FullTextDocument& doc) override;

    // The plain text a medium contributes to the index: the characters of a text medium's "Text"
    // part up to its terminating NUL (or the part's end); empty for other media. Answers 1 when the medium has text, 0 otherwise.
    static int32_t IndexableText(MediaDatabase& database, const EntryInfo& info, std::string& text);

private:
    MediaDatabase& m_db;
    FullTextProjectFields m_fields;
    std::vector<uint32_t> m_ids;
};

}  // namespace tamber
