// Choosing the layout drivers for the running system.
#include "engine/setup_app.h"
#include "store/payload_catalogue.h"

int SetupApp::SelectDriverRecords(const std::uint8_t*& first, int& firstLength, const std::uint8_t*& second,
                                  int& secondLength)
{
    first = nullptr;
    second = nullptr;
    firstLength = -1;
    secondLength = -1;
    int firstSlot, secondSlot;
    if (!ChooseDriverSlots(osVersionCode, processorArchitecture, firstSlot, secondSlot))
        return 0;
    // Outside 0-2 no layout has been chosen; nothing fits.
    if (layoutIndex < 0 || layoutIndex >= driverLayoutCount)
        return 0;
    const int set = (storedDriverSetFlag != 0 || alternateDriverSet != 0) ? 1 : 0;
    first = driverRecords[set][layoutIndex][firstSlot];
    firstLength = int(driverRecordLengths[set][layoutIndex][firstSlot]);
    if (secondSlot >= 0) {
        second = driverRecords[set][layoutIndex][secondSlot];
        secondLength = int(driverRecordLengths[set][layoutIndex][secondSlot]);
    }
    return 1;
}
