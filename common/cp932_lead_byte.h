#pragma once
// Code page 932 (the Japanese ANSI code page) stores a character in one or two bytes.
namespace quorlane {

// The first byte of a double-byte character (its second byte may look like ASCII: 0x5C, 'A').
inline bool isCp932LeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

}  // namespace quorlane
