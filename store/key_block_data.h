#pragma once
#include <cstdint>

extern const std::uint8_t keyBlockData[968];
extern const std::uint32_t keyBlockDataLength;
