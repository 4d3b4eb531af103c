#pragma once
#include "engine/setup_resources.h"

// String tables of the application tests, made by the build from
// tests/fixtures/tables.
const SetupResources& TestResources();
// The same with one table broken in the named way.
const SetupResources& TestResourcesWithoutConstantTable();
const SetupResources& TestResourcesWithEmptyTable();
const SetupResources& TestResourcesWithBadLanguageId();

extern const std::uint8_t documentWithBom[];
extern const std::uint32_t documentWithBomLength;
extern const std::uint8_t documentPlain[];
extern const std::uint32_t documentPlainLength;
extern const std::uint8_t documentTwoBytes[];
extern const std::uint32_t documentTwoBytesLength;
