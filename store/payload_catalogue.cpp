#include "store/payload_catalogue.h"

namespace {

constexpr unsigned architectureX86 = 0;
constexpr unsigned architectureIa64 = 6;
constexpr unsigned architectureX64 = 9;

}  // namespace

int ChooseDriverSlots(int osVersionCode, unsigned architecture, int& firstSlot, int& secondSlot)
{
    firstSlot = -1;
    secondSlot = -1;
    switch (osVersionCode) {
    case 50:
        firstSlot = 0;
        return 1;
    case 51:
        firstSlot = 1;
        return 1;
    case 52: case 60: case 61: {
        const int base = osVersionCode == 52 ? 2 : osVersionCode == 60 ? 5 : 8;
        if (architecture == architectureIa64)
            secondSlot = base + 1;
        else if (architecture == architectureX64)
            secondSlot = base + 2;
        else if (architecture != architectureX86)
            return 0;
        firstSlot = base;
        return 1;
    }
    default:
        if (architecture == architectureX64)
            secondSlot = 12;
        else if (architecture != architectureX86)
            return 0;
        firstSlot = 11;
        return 1;
    }
}
