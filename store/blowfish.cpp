#include "store/blowfish.h"

#include <cstring>

#include "store/blowfish_tables.h"
#include "store/byte_order.h"

BlowfishContext::BlowfishContext() : p(new std::uint32_t[18]), s(new std::uint32_t[1024]) {}

BlowfishContext::~BlowfishContext()
{
    // The arrays are derived from the key: leave nothing of it behind.
    std::memset(p, 0, 18 * sizeof(std::uint32_t));
    std::memset(s, 0, 1024 * sizeof(std::uint32_t));
    delete[] p;
    delete[] s;
}

std::uint32_t BlowfishContext::F(std::uint32_t x) const
{
    std::uint32_t a = x >> 24, b = (x >> 16) & 0xFF, c = (x >> 8) & 0xFF, d = x & 0xFF;
    return ((s[a] + s[256 + b]) ^ s[512 + c]) + s[768 + d];
}

void BlowfishContext::EncryptBlock(std::uint32_t& left, std::uint32_t& right) const
{
    std::uint32_t l = left, r = right;
    for (int i = 0; i < 16; ++i) {
        l ^= p[i];
        r ^= F(l);
        std::uint32_t t = l; l = r; r = t;
    }
    std::uint32_t t = l; l = r; r = t;
    r ^= p[16];
    l ^= p[17];
    left = l;
    right = r;
}

void BlowfishContext::DecryptBlock(std::uint32_t& left, std::uint32_t& right) const
{
    std::uint32_t l = left, r = right;
    for (int i = 17; i >= 2; --i) {
        l ^= p[i];
        r ^= F(l);
        std::uint32_t t = l; l = r; r = t;
    }
    std::uint32_t t = l; l = r; r = t;
    r ^= p[1];
    l ^= p[0];
    left = l;
    right = r;
}

void BlowfishContext::SetKey(const std::uint8_t* key, int keyLength)
{
    std::memcpy(p, blowfishInitialP, sizeof blowfishInitialP);
    std::memcpy(s, blowfishInitialS, sizeof blowfishInitialS);

    int j = 0;
    for (int i = 0; i < 18; ++i) {
        std::uint32_t word = 0;
        for (int k = 0; k < 4; ++k)
            word = (word << 8) | key[(j + k) % keyLength];
        p[i] ^= word;
        j = (j + 4) % keyLength;
    }

    std::uint32_t l = 0, r = 0;
    for (int i = 0; i < 18; i += 2) {
        EncryptBlock(l, r);
        p[i] = l;
        p[i + 1] = r;
    }
    for (int k = 0; k < 1024; k += 2) {
        EncryptBlock(l, r);
        s[k] = l;
        s[k + 1] = r;
    }
}

std::uint32_t BlowfishContext::PaddedLength(std::uint32_t n)
{
    return (n + 7u) & ~7u;
}

void BlowfishContext::Decrypt(const std::uint8_t* source, std::uint8_t* target, std::uint32_t length) const
{
    ProcessBlocks(source, target, length, &BlowfishContext::DecryptBlock);
}

void BlowfishContext::Encrypt(const std::uint8_t* source, std::uint8_t* target, std::uint32_t length) const
{
    ProcessBlocks(source, target, length, &BlowfishContext::EncryptBlock);
}

void BlowfishContext::ProcessBlocks(const std::uint8_t* source, std::uint8_t* target, std::uint32_t length,
                                    BlockOperation operation) const
{
    std::uint32_t blocks = length / 8 + (length % 8 != 0);
    for (std::uint32_t i = 0; i < blocks; ++i) {
        std::uint8_t* block = target + 8 * i;
        if (source != target)
            std::memcpy(block, source + 8 * i, 8);
        std::uint32_t l = ReadLittleEndian32(block), r = ReadLittleEndian32(block + 4);
        (this->*operation)(l, r);
        WriteLittleEndian32(block, l);
        WriteLittleEndian32(block + 4, r);
    }
}
