#include "tests/engine/test_resources.h"

#include "store/key_block_data.h"

extern const std::uint8_t testDefaultTable[];
extern const std::uint32_t testDefaultTableLength;
extern const std::uint8_t testConstantTable[];
extern const std::uint32_t testConstantTableLength;
extern const std::uint8_t testEnglishTable[];
extern const std::uint32_t testEnglishTableLength;
extern const std::uint8_t testPolishTable[];
extern const std::uint32_t testPolishTableLength;
extern const std::uint8_t testBadLanguageTable[];
extern const std::uint32_t testBadLanguageTableLength;
extern const std::uint8_t testEmptyTable[];
extern const std::uint32_t testEmptyTableLength;

const SetupResources& TestResources()
{
    static const SetupResources resources = {
        {keyBlockData, keyBlockDataLength},
        {testDefaultTable, testDefaultTableLength},
        {testConstantTable, testConstantTableLength},
        {{testEnglishTable, testEnglishTableLength}, {testPolishTable, testPolishTableLength}},
    };
    return resources;
}

const SetupResources& TestResourcesWithoutConstantTable()
{
    static SetupResources resources = TestResources();
    resources.constantTable = {nullptr, 0};
    return resources;
}

const SetupResources& TestResourcesWithEmptyTable()
{
    static SetupResources resources = TestResources();
    resources.languageTables[1] = {testEmptyTable, testEmptyTableLength};
    return resources;
}

const SetupResources& TestResourcesWithBadLanguageId()
{
    static SetupResources resources = TestResources();
    resources.defaultTable = {testBadLanguageTable, testBadLanguageTableLength};
    return resources;
}
