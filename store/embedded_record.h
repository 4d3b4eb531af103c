#pragma once
#include <cstdint>

// An enciphered record in the program image and its length constant.
struct EmbeddedRecord {
    const std::uint8_t* data;
    std::uint32_t length;
};

// Declares a record the packer emitted: the array and its length constant.
#define DECLARE_RECORD(symbol)            \
    extern const std::uint8_t symbol[];  \
    extern const std::uint32_t symbol##Length
