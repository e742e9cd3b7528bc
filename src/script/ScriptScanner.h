#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/Scanner.h"

namespace tamber {

// The scanner the interpreter reads scripts with: the shared Scanner plus a cache of the tokens
// already scanned in each script text. Handlers are run straight from their text and loops read
// the same lines again and again; the cache answers a repeated read at the same offset without
// scanning. It cannot change what is read: every entry keeps the bytes its scan looked at (the
// blanks before the token, the token and the byte after it), and a hit is taken only when the
// text still holds exactly those bytes, so an edited, grown or replaced script is scanned again.
// The interface is the Scanner's own.
class ScriptScanner {
public:
    using State = Scanner::State;

    // Entries beyond this are not kept; the cache is emptied by Trim() between handlers.
    static constexpr size_t kMaxEntries = 1 << 18;
    static constexpr size_t kMaxTexts = 512;

    ScriptScanner(std::span<const ScannerWord> operators, LineBreaks lineBreaks, Escapes escapes);

    void SetSource(const MemoryBlock& text);
    void SetSource(std::string_view text);
    // A position past the end is clamped to the terminator, a negative one to 0 (as Scanner does).
    void SetPosition(int32_t offset)
    {
        std::string_view src = m_state.block ? m_state.block->View() : m_state.view;
        auto length = static_cast<int32_t>(src.size());
        int32_t last = (length > 0 && src[length - 1] == '\0') ? length - 1 : length;
        offset = offset > last ? last : (offset < 0 ? 0 : offset);
        m_state.position = offset;
        m_state.tokenStart = offset;
    }
    int32_t GetPosition() const { return m_state.position; }
    State SaveState() const { return m_state; }
    void RestoreState(const State& state) { m_state = state; }

    TokenKind Next()
    {
        ++m_scans;
        if (m_state.block && m_state.block == m_lastBlock && m_state.position >= 0
            && static_cast<size_t>(m_state.position) < m_lastCache->slots.size()) {
            const Entry* entry = m_lastCache->slots[m_state.position];
            if (entry && Matches(*entry, m_state.block->View(), m_state.position)) {
                Take(*entry);
                return m_kind;
            }
        }
        return NextSlow();
    }
    // One past the furthest byte any Next() since ResetReach has looked at: a scan reads the
    // blanks, the token and the byte after it.
    void ResetReach(int32_t reach) { m_reach = reach; }
    int32_t Reach() const { return m_reach; }
    void Rewind() { m_state.position = m_state.tokenStart; }

    TokenKind Kind() const { return m_kind; }
    const std::string& Text() const { return *m_text; }
    int32_t Code() const { return m_code; }
    double Value() const { return m_value; }
    int32_t TokenStart() const { return m_state.tokenStart; }

    // Whether n bytes at a and b are equal. Tokens and lines are short: words are compared
    // inline rather than through the library.
    static bool SameBytes(const char* a, const char* b, size_t n)
    {
        for (; n >= sizeof(uint64_t); n -= sizeof(uint64_t), a += sizeof(uint64_t), b += sizeof(uint64_t)) {
            uint64_t x;
            uint64_t y;
            std::memcpy(&x, a, sizeof x);
            std::memcpy(&y, b, sizeof y);
            if (x != y)
                return false;
        }
        for (size_t i = 0; i < n; ++i) {
            if (a[i] != b[i])
                return false;
        }
        return true;
    }

    // Empties the cache when it has grown past its bounds; call only when no handler runs, since
    // the text of the current token may live in the cache.
    void Trim();
    size_t CachedTokens() const { return m_entries.size(); }
    uint64_t Hits() const { return m_hits; }
    // Counts calls of Next(): equal counts mean no token was read in between.
    uint64_t Scans() const { return m_scans; }

private:
    struct Entry {
        int32_t end = 0;         // the position after the token
        int32_t tokenStart = 0;
        TokenKind kind = TokenKind::EndOfText;
        int32_t code = -1;
        double value = 0;
        bool throughEnd = false;  // the scan read past the end of the text (its implicit NUL)
        std::string bytes;        // the text from the position through the byte after the token
        std::string text;
    };
    struct TextCache {
        std::vector<const Entry*> slots;  // the entry by starting position, or null
    };

    // The text still holds the bytes the entry's scan read.
    static bool Matches(const Entry& entry, std::string_view src, int32_t position)
    {
        size_t n = entry.bytes.size();
        size_t from = static_cast<size_t>(position);
        if (from + n > src.size() || (entry.throughEnd && from + n != src.size()))
            return false;
        return SameBytes(src.data() + from, entry.bytes.data(), n);
    }
    void Take(const Entry& entry)
    {
        m_state.tokenStart = entry.tokenStart;
        m_state.position = entry.end;
        if (entry.end >= m_reach)
            m_reach = entry.end + 1;
        m_kind = entry.kind;
        m_code = entry.code;
        m_value = entry.value;
        m_text = &entry.text;
        ++m_hits;
    }
    TokenKind NextSlow();
    void ScanUncached();
    TextCache* CacheFor(const MemoryBlock* block);

    Scanner m_scanner;
    State m_state;
    TokenKind m_kind = TokenKind::EndOfText;
    const std::string* m_text;
    int32_t m_code = -1;
    double m_value = 0;

    std::vector<std::unique_ptr<Entry>> m_entries;  // owned apart, so Text() stays valid as it grows
    std::unordered_map<const MemoryBlock*, TextCache> m_texts;
    const MemoryBlock* m_lastBlock = nullptr;
    TextCache* m_lastCache = nullptr;
    uint64_t m_hits = 0;
    uint64_t m_scans = 0;
    int32_t m_reach = 0;
};

}  // namespace tamber
