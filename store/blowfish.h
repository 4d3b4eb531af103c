#pragma once
#include <cstdint>

// Sixteen-round Blowfish with the standard key schedule. Blocks are read as
// two little-endian 32-bit halves (left from bytes 0-3, right from 4-7), which
// is not the big-endian reading of the published description: every record
// the program carries depends on this byte order.
class BlowfishContext {
public:
    BlowfishContext();
    ~BlowfishContext();
    BlowfishContext(const BlowfishContext&) = delete;
    BlowfishContext& operator=(const BlowfishContext&) = delete;

    // keyLength must be at least 1; only the first 72 bytes have any effect.
    void SetKey(const std::uint8_t* key, int keyLength);

    void EncryptBlock(std::uint32_t& left, std::uint32_t& right) const;
    void DecryptBlock(std::uint32_t& left, std::uint32_t& right) const;

    static std::uint32_t PaddedLength(std::uint32_t n);

    // ECB over the whole 8-byte blocks that cover `length` bytes; both buffers
    // must span PaddedLength(length). source == target works in place.
    void Decrypt(const std::uint8_t* source, std::uint8_t* target, std::uint32_t length) const;
    void Encrypt(const std::uint8_t* source, std::uint8_t* target, std::uint32_t length) const;

private:
    using BlockOperation = void (BlowfishContext::*)(std::uint32_t&, std::uint32_t&) const;
    void ProcessBlocks(const std::uint8_t* source, std::uint8_t* target, std::uint32_t length,
                       BlockOperation operation) const;
    std::uint32_t F(std::uint32_t x) const;

    std::uint32_t* p;  // 18 words
    std::uint32_t* s;  // S0..S3, 256 words each
};
