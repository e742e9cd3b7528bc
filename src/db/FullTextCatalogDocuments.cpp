#include "db/FullTextCatalogDocuments.h"
#include "base/AsciiCase.h"

#include <algorithm>
#include <cstring>

namespace tamber {

namespace {

constexpr const char* kTextPartTag = "Text";
// Types whose "Text" part holds a text's characters: the current one and the older one.
constexpr const char* kTextTypes[] = {"Text", "GT"};


}  // namespace

FullTextCatalogDocuments::FullTextCatalogDocuments(MediaDatabase& database, FullTextProjectFields fields)
    : m_db(database)
    , m_fields(std::move(fields))
{
    int32_t count = m_db.EntryCount();
    for (int32_t i = 0; i < count; ++i) {
        uint32_t id = 0;
        if (m_db.NthEntry(i, &id))
            m_ids.push_back(id);
    }
    // Postings are stored in ascending media id; reading the media in that order keeps them so.
    std::sort(m_ids.begin(), m_ids.end());
}

int32_t FullTextCatalogDocuments::IndexableText(MediaDatabase& database, const EntryInfo& info, std::string& text)
{
    text.clear();
    if (std::none_of(std::begin(kTextTypes), std::end(kTextTypes), [&](const char* t) { return EqualFolded(info.type, t); }))
        return 0;
    MemoryBlock part;
    if (!database.ReadEntryPartByTag(info, kTextPartTag, part))
        return 0;
    // The part holds the characters up to a NUL; the record may run on past it (slack or stale
    // bytes of a longer earlier text), which are not part of the document.
    const char* chars = reinterpret_cast<const char*>(part.Data());
    size_t size = static_cast<size_t>(part.Size());
    const void* nul = size ? std::memchr(chars, '\0', size) : nullptr;
    text.assign(chars, nul ? static_cast<size_t>(static_cast<const char*>(nul) - chars) : size);
    return 1;
}

int32_t FullTextCatalogDocuments::Read(int32_t index, FullTextDocument& doc)
{
    if (index < 0 || index >= Count())
        return 0;
    EntryInfo info;
    if (!m_db.FindEntryById(m_ids[static_cast<size_t>(index)], &info))
        return 0;
    doc.mediaId = static_cast<int32_t>(info.id);
    doc.name = info.name;
    doc.type = info.type;
    IndexableText(m_db, info, doc.text);
    auto it = m_fields.find(info.id);
    if (it != m_fields.end())
        doc.fields = it->second;
    else
        doc.fields.clear();
    return 1;
}

}  // namespace tamber
