#pragma once
// Little-endian integers in byte buffers, as BMP files and Windows resources hold them,
// whatever the order of the machine reading them.
#include <cstdint>

namespace quorlane {

inline uint16_t readLittle16(const uint8_t* at) {
    return static_cast<uint16_t>(at[0] | at[1] << 8);
}

inline uint32_t readLittle32(const uint8_t* at) {
    return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 |
           static_cast<uint32_t>(at[2]) << 16 | static_cast<uint32_t>(at[3]) << 24;
}

// Writes the value and moves past it.
inline void putLittle16(char*& at, uint16_t value) {
    *at++ = static_cast<char>(value & 0xff);
    *at++ = static_cast<char>(value >> 8);
}

inline void putLittle32(char*& at, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) *at++ = static_cast<char>((value >> shift) & 0xff);
}

}  // namespace quorlane
