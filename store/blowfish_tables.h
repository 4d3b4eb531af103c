#pragma once
#include <cstdint>

// Blowfish's initial state: the hexadecimal digits of pi after the point.
extern const std::uint32_t blowfishInitialP[18];
extern const std::uint32_t blowfishInitialS[1024];
