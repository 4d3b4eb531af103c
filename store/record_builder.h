#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

class KeyBlock;

// Build-time side of the record format: what the packer writes and what tests
// use to make records, sound or deliberately damaged.

// Raw deflate (no zlib wrapper) at zlib's best level.
std::vector<std::uint8_t> DeflateRaw(const std::uint8_t* data, std::size_t size);

// Header, packed stream and zero padding up to a multiple of 8, not yet
// enciphered.
std::vector<std::uint8_t> AssemblePlainRecord(const std::vector<std::uint8_t>& packed,
                                              std::uint32_t unpackedLength, std::uint32_t unpackedCrc,
                                              std::uint32_t itemCount);
std::vector<std::uint8_t> BuildPlainRecord(const std::uint8_t* data, std::size_t size, std::uint32_t itemCount);

// Enciphers a plain record in place under the key `keyBlock` derives; 0 when
// it holds no block.
int EncipherRecord(const KeyBlock& keyBlock, std::vector<std::uint8_t>& record);
