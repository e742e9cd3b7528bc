#pragma once

#include <cstdint>

namespace tamber {

// The 16-bit access word of an attribute. The low nibble applies when the object acts as an
// element (every class, and an Interface placed on another Interface); the next nibble holds
// the same four bits for an Interface acting as the top-level Interface (its self role).
using AttributeFlags = uint16_t;

inline constexpr AttributeFlags AF_DESIGN = 0x0001;       // edited in the object dialog
inline constexpr AttributeFlags AF_RUNTIME = 0x0002;      // available while running
inline constexpr AttributeFlags AF_READ = 0x0004;         // offered for reading in scripts
inline constexpr AttributeFlags AF_WRITE = 0x0008;        // scripts may assign it
inline constexpr AttributeFlags AF_USER = 0x0100;         // user-defined, removable
inline constexpr AttributeFlags AF_RECONSTRUCT = 0x0200;  // "Reconstruct" after a change
inline constexpr AttributeFlags AF_PALETTE = 0x0400;      // a Picture that carries the palette

inline constexpr AttributeFlags kElementNibble = 0x000F;
inline constexpr AttributeFlags kSelfRoleNibble = 0x00F0;
inline constexpr AttributeFlags kFullAccess = 0x000F;
// Flags of an attribute added by the user, and of one read from a child Interface's own
// record (not removable).
inline constexpr AttributeFlags kUserAttributeFlags = AF_USER | kFullAccess;
inline constexpr AttributeFlags kSelfRecordAttributeFlags = kFullAccess;

}  // namespace tamber
