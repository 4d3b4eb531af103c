#pragma once
#include "store/embedded_record.h"

// The records the application object starts from. The program uses the
// product's own; tests hand in tables of their own.
struct SetupResources {
    EmbeddedRecord keyBlock;
    EmbeddedRecord defaultTable;
    EmbeddedRecord constantTable;
    EmbeddedRecord languageTables[2];
    // The agreement texts, one per interface language.
    EmbeddedRecord agreements[2];
    // The documents the install writes.
    EmbeddedRecord mainDocument;
    EmbeddedRecord extraDocument;
    EmbeddedRecord linkedDocument;
};

const SetupResources& ProductResources();
