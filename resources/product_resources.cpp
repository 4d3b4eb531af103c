#include "engine/setup_resources.h"
#include "store/key_block_data.h"

DECLARE_RECORD(productDefaultTable);
DECLARE_RECORD(productConstantTable);
DECLARE_RECORD(productEnglishTable);
DECLARE_RECORD(productPolishTable);
DECLARE_RECORD(productAgreementEnglish);
DECLARE_RECORD(productAgreementPolish);
DECLARE_RECORD(productMainDocument);
DECLARE_RECORD(productExtraDocument);
DECLARE_RECORD(productLinkedDocument);

const SetupResources& ProductResources()
{
    // Built on first use: the length constants live in other units.
    static const SetupResources resources = {
        {keyBlockData, keyBlockDataLength},
        {productDefaultTable, productDefaultTableLength},
        {productConstantTable, productConstantTableLength},
        {{productEnglishTable, productEnglishTableLength}, {productPolishTable, productPolishTableLength}},
        {{productAgreementEnglish, productAgreementEnglishLength}, {productAgreementPolish, productAgreementPolishLength}},
        {productMainDocument, productMainDocumentLength},
        {productExtraDocument, productExtraDocumentLength},
        {productLinkedDocument, productLinkedDocumentLength},
    };
    return resources;
}
