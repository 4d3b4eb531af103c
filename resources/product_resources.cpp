#include "engine/setup_resources.h"
#include "store/key_block_data.h"

extern const std::uint8_t productDefaultTable[];
extern const std::uint32_t productDefaultTableLength;
extern const std::uint8_t productConstantTable[];
extern const std::uint32_t productConstantTableLength;
extern const std::uint8_t productEnglishTable[];
extern const std::uint32_t productEnglishTableLength;
extern const std::uint8_t productPolishTable[];
extern const std::uint32_t productPolishTableLength;

const SetupResources& ProductResources()
{
    // Built on first use: the length constants live in other units.
    static const SetupResources resources = {
        {keyBlockData, keyBlockDataLength},
        {productDefaultTable, productDefaultTableLength},
        {productConstantTable, productConstantTableLength},
        {{productEnglishTable, productEnglishTableLength}, {productPolishTable, productPolishTableLength}},
    };
    return resources;
}
