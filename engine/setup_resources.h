#pragma once
#include "store/embedded_record.h"

// The records the application object starts from. The program uses the
// product's own; tests hand in tables of their own.
struct SetupResources {
    EmbeddedRecord keyBlock;
    EmbeddedRecord defaultTable;
    EmbeddedRecord constantTable;
    EmbeddedRecord languageTables[2];
};

const SetupResources& ProductResources();
