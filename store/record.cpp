#include "store/record.h"

#include <memory>
#include <new>
#include <zlib.h>

#include "store/blowfish.h"
#include "store/byte_order.h"
#include "store/key_block.h"

namespace {

// Deflate never inflates more than 1032 bytes per packed byte (a 258-byte
// match in two bits), so a header claiming more is corrupt; refusing it early
// keeps a damaged record from asking for gigabytes.
constexpr std::uint64_t maxInflateRatio = 1032;

// The output buffer carries one or two spare bytes past the content, so a
// text record can be read as if terminated.
std::size_t OutputBufferSize(std::uint32_t unpackedLength)
{
    std::uint64_t size = (std::uint64_t(unpackedLength) / 2 + 1) * 2;
    return size > 0xFFFFFFFFu ? std::size_t(-1) : std::size_t(size);
}

}  // namespace

ResourceRecordHeader ReadRecordHeader(const std::uint8_t* bytes)
{
    ResourceRecordHeader header;
    header.storedLength = ReadLittleEndian32(bytes);
    header.unpackedLength = ReadLittleEndian32(bytes + 4);
    header.packedLength = ReadLittleEndian32(bytes + 8);
    header.unpackedCrc = ReadLittleEndian32(bytes + 12);
    header.packedCrc = ReadLittleEndian32(bytes + 16);
    header.itemCount = ReadLittleEndian32(bytes + 20);
    return header;
}

void WriteRecordHeader(std::uint8_t* bytes, const ResourceRecordHeader& header)
{
    WriteLittleEndian32(bytes, header.storedLength);
    WriteLittleEndian32(bytes + 4, header.unpackedLength);
    WriteLittleEndian32(bytes + 8, header.packedLength);
    WriteLittleEndian32(bytes + 12, header.unpackedCrc);
    WriteLittleEndian32(bytes + 16, header.packedCrc);
    WriteLittleEndian32(bytes + 20, header.itemCount);
}

std::uint32_t Crc32(std::uint32_t seed, const std::uint8_t* data, std::uint32_t length)
{
    if (data == nullptr)
        return 0;
    return std::uint32_t(crc32(seed, data, length));
}

std::int64_t InflateRaw(const std::uint8_t* packed, std::uint32_t packedLength, std::uint8_t* output,
                        std::uint32_t capacity)
{
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return -1;
    stream.next_in = const_cast<Bytef*>(packed);
    stream.avail_in = packedLength;
    stream.next_out = output;
    stream.avail_out = capacity;
    const int status = inflate(&stream, Z_FINISH);
    const std::int64_t produced = std::int64_t(stream.total_out);
    inflateEnd(&stream);
    return status == Z_STREAM_END ? produced : -1;
}

std::uint8_t* KeyBlock::DecodeRecord(const std::uint8_t* record, std::uint32_t& length,
                                     std::uint32_t* itemCount) const
{
    if (block == nullptr || record == nullptr)
        return nullptr;

    BlowfishContext cipher;
    KeyCipher(cipher);

    const std::uint32_t padded = BlowfishContext::PaddedLength(length);
    // A record shorter than its header cannot be valid, and reading the header
    // from it would run past the buffer.
    if (padded == 0 || length < recordHeaderSize)
        return nullptr;

    std::unique_ptr<std::uint8_t[]> work(new std::uint8_t[padded]);
    cipher.Decrypt(record, work.get(), length);

    const ResourceRecordHeader header = ReadRecordHeader(work.get());
    if (header.storedLength != length)
        return nullptr;
    if (header.packedLength > length - recordHeaderSize)
        return nullptr;

    const std::uint8_t* packed = work.get() + recordHeaderSize;
    if (Crc32(0, packed, header.packedLength) != header.packedCrc)
        return nullptr;
    if (header.unpackedLength > std::uint64_t(header.packedLength) * maxInflateRatio)
        return nullptr;

    std::unique_ptr<std::uint8_t[]> output(new std::uint8_t[OutputBufferSize(header.unpackedLength)]);
    if (InflateRaw(packed, header.packedLength, output.get(), header.unpackedLength) !=
        std::int64_t(header.unpackedLength))
        return nullptr;
    if (Crc32(0, output.get(), header.unpackedLength) != header.unpackedCrc)
        return nullptr;

    if (itemCount != nullptr)
        *itemCount = header.itemCount;
    length = header.unpackedLength;
    return output.release();
}
