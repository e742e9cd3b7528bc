#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/MemoryBlock.h"

namespace tamber {

// One named jump target of a medium: its id, its name (may be empty) and its action data.
struct JumpTarget {
    int32_t id = 0;
    std::string name;
    MemoryBlock data;
};

// A medium's jump table ("MMEJump" with the medium's id). Parsing keeps the targets before the
// first one that runs past the record.
class JumpTable {
public:
    int32_t Parse(const MemoryBlock& block);
    MemoryBlock Serialize() const;

    int32_t Count() const { return static_cast<int32_t>(m_targets.size()); }
    const std::vector<JumpTarget>& Targets() const { return m_targets; }
    std::vector<JumpTarget>& Targets() { return m_targets; }
    const JumpTarget* Nth(int32_t index) const;
    const JumpTarget* FindId(int32_t id) const;

    // The media ids named by "MObj" chunks in a target's actions, in order.
    static std::vector<uint32_t> LinkedMedia(const MemoryBlock& data);
    // Builds target data of one action holding one "MObj" chunk that leads to the medium.
    static MemoryBlock LinkTo(uint32_t mediaId);

private:
    std::vector<JumpTarget> m_targets;
};

}  // namespace tamber
