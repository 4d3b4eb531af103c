#include "store/record_builder.h"

#include <algorithm>
#include <stdexcept>
#include <zlib.h>

#include "store/blowfish.h"
#include "store/key_block.h"
#include "store/record.h"

std::vector<std::uint8_t> DeflateRaw(const std::uint8_t* data, std::size_t size)
{
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2 failed");
    std::vector<std::uint8_t> packed(deflateBound(&stream, uLong(size)));
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = uInt(size);
    stream.next_out = packed.data();
    stream.avail_out = uInt(packed.size());
    const int status = deflate(&stream, Z_FINISH);
    packed.resize(stream.total_out);
    deflateEnd(&stream);
    if (status != Z_STREAM_END)
        throw std::runtime_error("deflate did not finish");
    return packed;
}

std::vector<std::uint8_t> AssemblePlainRecord(const std::vector<std::uint8_t>& packed,
                                              std::uint32_t unpackedLength, std::uint32_t unpackedCrc,
                                              std::uint32_t itemCount)
{
    const std::uint32_t packedLength = std::uint32_t(packed.size());
    std::vector<std::uint8_t> record(BlowfishContext::PaddedLength(recordHeaderSize + packedLength), 0);
    ResourceRecordHeader header;
    header.storedLength = std::uint32_t(record.size());
    header.unpackedLength = unpackedLength;
    header.packedLength = packedLength;
    header.unpackedCrc = unpackedCrc;
    header.packedCrc = Crc32(0, packed.data(), packedLength);
    header.itemCount = itemCount;
    WriteRecordHeader(record.data(), header);
    std::copy(packed.begin(), packed.end(), record.begin() + recordHeaderSize);
    return record;
}

std::vector<std::uint8_t> BuildPlainRecord(const std::uint8_t* data, std::size_t size, std::uint32_t itemCount)
{
    if (size > 0x7FFFFFFFu)
        throw std::length_error("record input too large");
    const std::uint32_t length = std::uint32_t(size);
    // Crc32 treats a null pointer as no data, which an empty vector may give.
    return AssemblePlainRecord(DeflateRaw(data, size), length, size ? Crc32(0, data, length) : 0, itemCount);
}

int EncipherRecord(const KeyBlock& keyBlock, std::vector<std::uint8_t>& record)
{
    BlowfishContext cipher;
    if (!keyBlock.KeyCipher(cipher))
        return 0;
    record.resize(BlowfishContext::PaddedLength(std::uint32_t(record.size())), 0);
    cipher.Encrypt(record.data(), record.data(), std::uint32_t(record.size()));
    return 1;
}
