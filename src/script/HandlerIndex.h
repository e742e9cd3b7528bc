#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/MemoryBlock.h"

namespace tamber {

class Element;

// The stored forms around an element's script text. The text is 8-bit characters ending in one
// NUL; lines end with CR. A handler is a header line "Name ( ) {", statement lines and a line
// starting with "}". The handler index ("Tokn") is a list of entries {u8 length + 1, event name,
// NUL, u32 offset of the header line}; it is derived from the text and rebuilt when it changes.
class HandlerIndex {
public:
    static constexpr int32_t kLengthSize = 1;
    static constexpr int32_t kOffsetSize = 4;
    static constexpr const char* kHeaderFormat = " ( ) {";
    static constexpr const char* kDefaultBody = " ( ) {\r}\r\r";

    // Rebuilds the index of script into tokens.
    static void Rebuild(const MemoryBlock& script, MemoryBlock& tokens);
    // Entries of an index: the offset of the n-th entry's header, -1 past the end.
    static int32_t EntryOffset(const MemoryBlock& tokens, int32_t n, std::string* name = nullptr);

    // The offset of the header "Name ( ) {" in the text (exact, case-sensitive), or -1.
    static int32_t FindHeader(const MemoryBlock& script, std::string_view eventName);

    // Rewrites every header line "Name (anything) {" outside a handler to "Name ( ) {".
    static void NormaliseHeaders(MemoryBlock& script);
    // Makes the default text: an empty text becomes a NUL, headers are normalised and every
    // event of the element without a handler gets a stub; the index is rebuilt.
    static void EnsureEventStubs(Element& element);
    // Adds statements at the end of an event's handler (creating the handler when missing);
    // braces in the statements become blanks.
    static void AddStatements(Element& element, std::string_view eventName, std::string_view statements);
};

}  // namespace tamber
