#pragma once
#include <cstdint>

// Deciphered layout of a resource record: a 24-byte little-endian header,
// the raw-deflate stream, then padding up to a multiple of 8.
struct ResourceRecordHeader {
    std::uint32_t storedLength;
    std::uint32_t unpackedLength;
    std::uint32_t packedLength;
    std::uint32_t unpackedCrc;
    std::uint32_t packedCrc;
    std::uint32_t itemCount;
};

constexpr std::uint32_t recordHeaderSize = 24;

ResourceRecordHeader ReadRecordHeader(const std::uint8_t* bytes);
void WriteRecordHeader(std::uint8_t* bytes, const ResourceRecordHeader& header);

// The CRC-32 of zlib and PNG; 0 for a null pointer.
std::uint32_t Crc32(std::uint32_t seed, const std::uint8_t* data, std::uint32_t length);

// One raw-deflate call into exactly `capacity` bytes. Returns the byte count
// produced, or -1 unless the stream's final block ends within `packedLength`.
std::int64_t InflateRaw(const std::uint8_t* packed, std::uint32_t packedLength, std::uint8_t* output,
                        std::uint32_t capacity);
