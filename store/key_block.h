#pragma once
#include <cstdint>

class BlowfishContext;

// The record key never stands in the program image. A 968-byte block does,
// and Load() rearranges a private copy of it (two overlapping moves, then one
// XOR pass) until a window of the copy is the Blowfish key.
class KeyBlock {
public:
    KeyBlock();
    virtual ~KeyBlock();
    KeyBlock(const KeyBlock&) = delete;
    KeyBlock& operator=(const KeyBlock&) = delete;

    // 1 on success; a source of any length but the block size is refused and
    // leaves no block held.
    int Load(const std::uint8_t* source, int length);
    void MoveRange(int target, int source, int count);
    void XorRange(int start, int count, int keyPosition);
    // Wipes the block before freeing it.
    void Release();

    // Deciphers, checks and inflates one embedded record. On success returns a
    // buffer the caller frees with delete[], holding `length` (set to the
    // unpacked length) bytes plus at least one spare byte; on failure null,
    // with `length` and `*itemCount` untouched.
    std::uint8_t* DecodeRecord(const std::uint8_t* record, std::uint32_t& length, std::uint32_t* itemCount) const;

    // Keys `context` with the key window; 0 while no block is held. The record
    // packer enciphers through this, so it cannot derive a different key.
    int KeyCipher(BlowfishContext& context) const;

    const std::uint8_t* Block() const { return block; }
    int BlockSize() const { return blockSize; }

protected:
    // Fixed by the constructor; protected so tests can check the derivation.
    std::uint8_t* block;
    std::int32_t blockSize;
    std::int32_t keyWindowOffset;
    std::int32_t keyWindowLength;
    std::int32_t firstMoveSource, firstMoveTarget, firstMoveCount;
    std::int32_t secondMoveSource, secondMoveTarget, secondMoveCount;
    std::int32_t xorKeyPosition, xorStart, xorCount;
};
