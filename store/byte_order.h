#pragma once
#include <cstdint>

// Records, tables and registry blocks are little-endian whatever the host is.
inline std::uint16_t ReadLittleEndian16(const std::uint8_t* bytes)
{
    return std::uint16_t(bytes[0] | bytes[1] << 8);
}

inline void WriteLittleEndian16(std::uint8_t* bytes, std::uint16_t value)
{
    bytes[0] = std::uint8_t(value);
    bytes[1] = std::uint8_t(value >> 8);
}

inline std::uint32_t ReadLittleEndian32(const std::uint8_t* bytes)
{
    return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16 |
           std::uint32_t(bytes[3]) << 24;
}

inline void WriteLittleEndian32(std::uint8_t* bytes, std::uint32_t value)
{
    bytes[0] = std::uint8_t(value);
    bytes[1] = std::uint8_t(value >> 8);
    bytes[2] = std::uint8_t(value >> 16);
    bytes[3] = std::uint8_t(value >> 24);
}
