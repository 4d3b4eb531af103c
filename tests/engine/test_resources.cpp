#include "tests/engine/test_resources.h"

#include "store/key_block_data.h"

DECLARE_RECORD(testDefaultTable);
DECLARE_RECORD(testConstantTable);
DECLARE_RECORD(testEnglishTable);
DECLARE_RECORD(testPolishTable);
DECLARE_RECORD(testBadLanguageTable);
DECLARE_RECORD(testEmptyTable);
DECLARE_RECORD(documentWithBom);
DECLARE_RECORD(documentPlain);
DECLARE_RECORD(documentTwoBytes);

const SetupResources& TestResources()
{
    static const SetupResources resources = {
        {keyBlockData, keyBlockDataLength},
        {testDefaultTable, testDefaultTableLength},
        {testConstantTable, testConstantTableLength},
        {{testEnglishTable, testEnglishTableLength}, {testPolishTable, testPolishTableLength}},
        {{documentPlain, documentPlainLength}, {documentWithBom, documentWithBomLength}},
        {documentPlain, documentPlainLength},
        {documentWithBom, documentWithBomLength},
        {documentTwoBytes, documentTwoBytesLength},
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
