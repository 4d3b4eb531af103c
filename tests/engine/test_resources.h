#pragma once
#include "engine/setup_resources.h"

// String tables of the application tests, made by the build from
// tests/fixtures/tables.
const SetupResources& TestResources();
// The same with one table broken in the named way.
const SetupResources& TestResourcesWithoutConstantTable();
const SetupResources& TestResourcesWithEmptyTable();
const SetupResources& TestResourcesWithBadLanguageId();

DECLARE_RECORD(documentWithBom);
DECLARE_RECORD(documentPlain);
DECLARE_RECORD(documentTwoBytes);
