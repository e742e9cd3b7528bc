#include "script/ScriptScanner.h"

#include <algorithm>

namespace tamber {

ScriptScanner::ScriptScanner(std::span<const ScannerWord> operators, LineBreaks lineBreaks, Escapes escapes)
{
    m_scanner.AddOperators(operators);
    m_scanner.SetLineBreaksAreSpace(lineBreaks);
    m_scanner.SetEscapes(escapes);
    m_text = &m_scanner.Text();
}

void ScriptScanner::SetSource(const MemoryBlock& text)
{
    m_scanner.SetSource(text);
    m_state = m_scanner.SaveState();
}

void ScriptScanner::SetSource(std::string_view text)
{
    m_scanner.SetSource(text);
    m_state = m_scanner.SaveState();
}

void ScriptScanner::ScanUncached()
{
    m_scanner.RestoreState(m_state);
    m_kind = m_scanner.Next();
    m_state = m_scanner.SaveState();
    m_text = &m_scanner.Text();
    m_code = m_scanner.Code();
    m_value = m_scanner.Value();
    if (m_state.position >= m_reach)
        m_reach = m_state.position + 1;
}

ScriptScanner::TextCache* ScriptScanner::CacheFor(const MemoryBlock* block)
{
    if (block == m_lastBlock)
        return m_lastCache;
    auto found = m_texts.find(block);
    if (found == m_texts.end()) {
        if (m_texts.size() >= kMaxTexts)
            return nullptr;
        found = m_texts.emplace(block, TextCache {}).first;
    }
    m_lastBlock = block;
    m_lastCache = &found->second;
    return m_lastCache;
}

TokenKind ScriptScanner::NextSlow()
{
    if (!m_state.block) {
        ScanUncached();
        return m_kind;
    }
    int32_t position = std::max(m_state.position, 0);
    std::string_view src = m_state.block->View();
    TextCache* cache = CacheFor(m_state.block);
    if (cache && static_cast<size_t>(position) < cache->slots.size() && cache->slots[position]) {
        const Entry& entry = *cache->slots[position];
        if (Matches(entry, src, position)) {
            Take(entry);
            return m_kind;
        }
    }

    ScanUncached();
    if (!cache || m_entries.size() >= kMaxEntries || static_cast<size_t>(position) >= src.size())
        return m_kind;
    auto owned = std::make_unique<Entry>();
    Entry& entry = *owned;
    entry.end = m_state.position;
    entry.tokenStart = m_state.tokenStart;
    entry.kind = m_kind;
    entry.code = m_code;
    entry.value = m_value;
    entry.text = *m_text;
    // The scan looked at the byte after the token too (where a name or number stops).
    size_t through = static_cast<size_t>(entry.end) + 1;
    entry.throughEnd = through > src.size();
    size_t from = std::min(static_cast<size_t>(position), src.size());
    entry.bytes.assign(src.substr(from, std::min(through, src.size()) - from));
    if (cache->slots.size() <= static_cast<size_t>(position))
        cache->slots.resize(std::max(src.size(), static_cast<size_t>(position) + 1), nullptr);
    cache->slots[position] = &entry;
    m_text = &entry.text;
    m_entries.push_back(std::move(owned));
    return m_kind;
}

void ScriptScanner::Trim()
{
    if (m_entries.size() < kMaxEntries && m_texts.size() < kMaxTexts)
        return;
    m_text = &m_scanner.Text();
    m_scanner.RestoreState(m_state);
    m_entries.clear();
    m_texts.clear();
    m_lastBlock = nullptr;
    m_lastCache = nullptr;
}

}  // namespace tamber
