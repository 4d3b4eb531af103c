#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "store/embedded_record.h"
#include "store/key_block.h"
#include "store/string_table.h"
#include "text/text_types.h"

// The product's four string tables, decoded with the product's key block and
// searched the way the program searches them.
class ProductTexts : public ::testing::Test {
protected:
    enum { defaultTable, constantTable, englishTable, polishTable, tableCount };

    void SetUp() override;
    void TearDown() override;

    // The text of `id` for an interface language (0 English, 1 Polish) as
    // UTF-8, searched in that language's table, then the default and the
    // constant table; empty when no table holds it.
    std::string Text(StringId id, int language) const;
    // The same as UTF-16 units, terminated.
    std::u16string WideText(StringId id, int language) const;
    // A record's decoded bytes; empty when it does not decode.
    std::string Decode(const EmbeddedRecord& record) const;

    // The string record of `id` in the search order of a language, or null.
    const std::uint8_t* FindRecord(StringId id, int language) const;

    KeyBlock keyBlock;
    StringTable tables[tableCount];
    const std::uint8_t* buffers[tableCount] = {};
    std::uint32_t counts[tableCount] = {};
    std::uint32_t lengths[tableCount] = {};
};
