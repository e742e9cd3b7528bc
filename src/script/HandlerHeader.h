#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/MemoryBlock.h"

namespace tamber {

class Element;

// One handler header of a script text as its author wrote it: a line outside every handler
// that holds "Name ( ... ) {". Only the plain form "Name ( ) {" is found when an event runs;
// making the default text rewrites the others to it. Parameters written between the
// parentheses only document the event's own: a handler reads the values under the names of
// the event's parameter slots.
struct HandlerHeader {
    int32_t start = 0;  // offset of the name
    int32_t end = 0;  // offset just past the "{"
    int32_t line = 0;  // 1-based line of the name
    std::string name;
    std::vector<std::string> params;
    bool plain = false;  // exactly "Name ( ) {"
    bool wellFormed = false;  // a name, "(", names separated by ",", ")", then "{"

    // The headers of a text in order, each with the lines up to its closing "}" skipped. Text
    // between handlers that is neither blank nor a ";" comment, and a handler without its
    // closing "}", are reported through the optional problem list as "line N: ..." texts.
    static std::vector<HandlerHeader> Scan(
        const MemoryBlock& script, std::vector<std::string>* problems = nullptr);

    // Checks that every handler of the element's script runs: a header written in a form the
    // engine never finds, for a name that is not one of the element's events (written with
    // another case counts), with parameter names other than the event's, or repeating an
    // earlier handler's event. Answers the problems, empty when there are none.
    static std::vector<std::string> Check(const Element& element);
};

}  // namespace tamber
