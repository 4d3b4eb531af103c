#include "store/key_block.h"

#include <new>

#include "store/blowfish.h"

// The derivation parameters are chosen so that each of the three steps lands
// in the first 72 bytes of the key window, the only bytes the Blowfish key
// schedule reads: the first move fills 200-289, the second (overlapping, so
// copied backwards) carries part of that into 270-333, and the XOR pass runs
// over 236-285 with its key byte at 255 inside its own range.
KeyBlock::KeyBlock()
    : block(nullptr),
      blockSize(968),
      keyWindowOffset(240),
      keyWindowLength(495),
      firstMoveSource(610), firstMoveTarget(200), firstMoveCount(90),
      secondMoveSource(230), secondMoveTarget(270), secondMoveCount(64),
      xorKeyPosition(255), xorStart(236), xorCount(50)
{
}

KeyBlock::~KeyBlock()
{
    Release();
}

int KeyBlock::Load(const std::uint8_t* source, int length)
{
    Release();
    if (source == nullptr || length == 0 || length != blockSize)
        return 0;
    block = new (std::nothrow) std::uint8_t[blockSize];
    if (block == nullptr)
        return 0;
    for (int i = 0; i < blockSize; ++i)
        block[i] = source[i];
    MoveRange(firstMoveTarget, firstMoveSource, firstMoveCount);
    MoveRange(secondMoveTarget, secondMoveSource, secondMoveCount);
    XorRange(xorStart, xorCount, xorKeyPosition);
    return 1;
}

void KeyBlock::MoveRange(int target, int source, int count)
{
    if (block == nullptr || target < 0 || source < 0 || target >= blockSize || source >= blockSize)
        return;
    if (target < source) {
        if (count > blockSize - source)
            count = blockSize - source;
        for (int i = 0; i < count; ++i)
            block[target + i] = block[source + i];
    } else {
        if (count > blockSize - target)
            count = blockSize - target;
        for (int i = count - 1; i >= 0; --i)
            block[target + i] = block[source + i];
    }
}

void KeyBlock::XorRange(int start, int count, int keyPosition)
{
    if (block == nullptr || start < 0 || keyPosition < 0 || start >= blockSize || keyPosition >= blockSize)
        return;
    const std::uint8_t value = block[keyPosition];
    if (count > blockSize - start)
        count = blockSize - start;
    for (int i = 0; i < count; ++i)
        block[start + i] ^= value;
}

void KeyBlock::Release()
{
    if (block == nullptr)
        return;
    // volatile keeps the wipe from being dropped as a dead store before delete
    volatile std::uint8_t* wipe = block;
    for (int i = 0; i < blockSize; ++i)
        wipe[i] = 0;
    delete[] block;
    block = nullptr;
}

int KeyBlock::KeyCipher(BlowfishContext& context) const
{
    if (block == nullptr)
        return 0;
    context.SetKey(block + keyWindowOffset, keyWindowLength);
    return 1;
}
