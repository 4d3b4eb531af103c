#include "text/upper_case.h"

#include <algorithm>

namespace {

// Most cased letters come in runs with a fixed distance to their capitals,
// so ranges cover them and the pair table stays small. Ranges with a delta
// of 0 are known to hold nothing that changes and spare the table search.
struct RangeRule {
    WideChar first;
    WideChar last;
    WideChar delta;
    bool oddUnitsOnly;  // alternating capital/small runs: the small ones are odd
};

// The first rule that covers a unit decides it; tools/gen_case_table.py
// keeps a copy of these to know which pairs the table must hold.
constexpr RangeRule rangeRules[] = {
    {0x0000, 0x0060, 0, false},
    {0x0061, 0x007A, 0x20, false},
    {0x007B, 0x00DF, 0, false},
    {0x00E0, 0x00F6, 0x20, false},
    {0x0430, 0x044F, 0x20, false},
    {0xFF41, 0xFF5A, 0x20, false},
    {0x0101, 0x012F, 1, true},
    {0x014B, 0x0177, 1, true},
    {0x01F9, 0x021F, 1, true},
    {0x048B, 0x04BF, 1, true},
    {0x04D1, 0x0525, 1, true},
    {0x1E01, 0x1E95, 1, true},
    {0x1EA1, 0x1EFF, 1, true},
    {0x2C81, 0x2CE3, 1, true},
    {0xA733, 0xA76F, 1, true},
    {0x0561, 0x0586, 0x30, false},
    {0x2C30, 0x2C5E, 0x30, false},
    {0x24D0, 0x24E9, 0x1A, false},
    {0x2D00, 0x2D25, 0x1C60, false},
    {0x04D0, 0x1D78, 0, false},
    {0x2185, 0x2C60, 0, false},
    {0x2CEF, 0xA640, 0, false},
    {0xA78D, 0xFFFF, 0, false},
};

}  // namespace

WideChar UpperCaseUnit(WideChar unit)
{
    for (const RangeRule& rule : rangeRules) {
        if (unit >= rule.first && unit <= rule.last && (!rule.oddUnitsOnly || (unit & 1) != 0))
            return WideChar(unit - rule.delta);
    }
    const WideChar(*end)[2] = casePairs + casePairCount;
    const WideChar(*pair)[2] = std::lower_bound(
        casePairs, end, unit, [](const WideChar(&entry)[2], WideChar lower) { return entry[0] < lower; });
    return pair != end && (*pair)[0] == unit ? (*pair)[1] : unit;
}
