#pragma once
#include <cstdint>

// An enciphered record in the program image and its length constant.
struct EmbeddedRecord {
    const std::uint8_t* data;
    std::uint32_t length;
};
