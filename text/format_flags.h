#pragma once

// Options the format parser collects for one directive.
enum FormatFlags : unsigned {
    formatPlus = 0x0001,
    formatSpace = 0x0002,
    formatLeft = 0x0004,
    formatZero = 0x0008,
    formatLong = 0x0010,
    formatWide64 = 0x0020,
    formatShort = 0x0040,
    formatSigned = 0x0080,
    formatAlternate = 0x0100,
    formatEscape = 0x0200,
    formatPointer = 0x0400,
    formatHex = 0x0800,
    formatOctal = 0x1000,
    formatBinary = 0x2000,
    formatUpper = 0x4000,
    formatGroup = 0x8000,
};
