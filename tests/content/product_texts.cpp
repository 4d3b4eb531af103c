#include "tests/content/product_texts.h"

#include <memory>

#include "engine/setup_resources.h"
#include "text/unistring.h"

void ProductTexts::SetUp()
{
    const SetupResources& resources = ProductResources();
    ASSERT_EQ(keyBlock.Load(resources.keyBlock.data, int(resources.keyBlock.length)), 1);
    const EmbeddedRecord records[tableCount] = {resources.defaultTable, resources.constantTable,
                                                resources.languageTables[0], resources.languageTables[1]};
    for (int t = 0; t < tableCount; ++t) {
        lengths[t] = records[t].length;
        std::uint8_t* buffer = keyBlock.DecodeRecord(records[t].data, lengths[t], &counts[t]);
        ASSERT_NE(buffer, nullptr) << "table " << t;
        ASSERT_EQ(tables[t].Attach(buffer, counts[t]), 1) << "table " << t;
        buffers[t] = buffer;
    }
}

void ProductTexts::TearDown()
{
    for (StringTable& table : tables)
        table.Release();
    keyBlock.Release();
}

const std::uint8_t* ProductTexts::FindRecord(StringId id, int language) const
{
    const int order[] = {language == 0 ? englishTable : polishTable, defaultTable, constantTable};
    for (const int t : order) {
        if (const std::uint8_t* record = tables[t].Find(id))
            return record;
    }
    return nullptr;
}

std::u16string ProductTexts::WideText(StringId id, int language) const
{
    UniString text;
    if (text.AssignRecord(FindRecord(id, language)) == 0)
        return std::u16string();
    const WideChar* units = text.MakeWide(-1);
    return std::u16string(units, units + text.Length());
}

std::string ProductTexts::Text(StringId id, int language) const
{
    UniString text;
    if (text.AssignRecord(FindRecord(id, language)) == 0)
        return std::string();
    const char* bytes = text.MakeNarrow(-1);
    return std::string(bytes, std::size_t(text.Length()));
}

std::string ProductTexts::Decode(const EmbeddedRecord& record) const
{
    std::uint32_t length = record.length;
    std::unique_ptr<std::uint8_t[]> bytes(keyBlock.DecodeRecord(record.data, length, nullptr));
    if (!bytes)
        return std::string();
    return std::string(reinterpret_cast<const char*>(bytes.get()), length);
}
