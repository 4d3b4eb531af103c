// Decodes every record the program carries and checks what it holds: the
// tables attach and every text is valid, every id the code uses has a text in
// both languages, and the documents are what their names promise.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/setup_resources.h"
#include "store/byte_order.h"
#include "store/key_block.h"
#include "store/payload_catalogue.h"
#include "store/string_table.h"
#include "tests/content/product_texts.h"
#include "text/unistring.h"
#include "used_string_ids.h"

namespace {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        int extra = 0;
        unsigned value = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
            value = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            value = lead & 0x0Fu;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            value = lead & 0x07u;
        } else {
            return false;
        }
        if (i + std::size_t(extra) >= text.size())
            return false;
        for (int k = 1; k <= extra; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + std::size_t(k)]);
            if ((next & 0xC0) != 0x80)
                return false;
            value = (value << 6) | (next & 0x3Fu);
        }
        const unsigned smallest[] = {0, 0x80, 0x800, 0x10000};
        if (value < smallest[extra] || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF)
            return false;
        i += std::size_t(extra) + 1;
    }
    return true;
}

// UTF-16 with every surrogate in a pair.
bool IsValidUtf16(const std::uint8_t* units, std::uint32_t count)
{
    for (std::uint32_t i = 0; i < count; ++i) {
        const unsigned unit = ReadLittleEndian16(units + 2 * i);
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 1 == count)
                return false;
            const unsigned next = ReadLittleEndian16(units + 2 * (i + 1));
            if (next < 0xDC00 || next > 0xDFFF)
                return false;
            ++i;
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

class ProductRecords : public ProductTexts {};

TEST_F(ProductRecords, EveryTableHoldsSortedIdsAndValidTexts)
{
    const char* names[] = {"default", "constant", "English", "Polish"};
    for (int t = 0; t < tableCount; ++t) {
        SCOPED_TRACE(names[t]);
        const std::uint8_t* buffer = buffers[t];
        const std::uint32_t count = counts[t];
        ASSERT_GT(count, 0u);
        const std::uint8_t* area = buffer + count * 8;
        for (std::uint32_t e = 0; e < count; ++e) {
            const std::uint32_t id = ReadLittleEndian32(buffer + e * 8);
            if (e > 0) {
                EXPECT_LT(ReadLittleEndian32(buffer + (e - 1) * 8), id);
            }
            const std::uint8_t* record = area + ReadLittleEndian32(buffer + e * 8 + 4);
            ASSERT_LE(record + 4, buffer + lengths[t]) << "id " << id;
            const std::uint32_t word = ReadLittleEndian32(record);
            const std::uint32_t units = word & 0x1FFFFFFFu;
            const bool narrow = (word & 0x80000000u) != 0;
            ASSERT_LE(record + 4 + units * (narrow ? 1 : 2), buffer + lengths[t]) << "id " << id;
            if (narrow)
                EXPECT_TRUE(IsValidUtf8(std::string(reinterpret_cast<const char*>(record + 4), units))) << "id " << id;
            else
                EXPECT_TRUE(IsValidUtf16(record + 4, units)) << "id " << id;
        }
    }
}

TEST_F(ProductRecords, EveryIdTheCodeUsesHasATextInBothLanguages)
{
    for (const std::uint32_t id : usedStringIds) {
        for (int language = 0; language < 2; ++language)
            EXPECT_FALSE(Text(id, language).empty()) << "id " << id << ", language " << language;
    }
}

TEST_F(ProductRecords, AgreementsAreTextsWithWindowsLineBreaks)
{
    const char* headings[] = {"LICENCE AGREEMENT", "UMOWA LICENCYJNA"};
    for (int language = 0; language < 2; ++language) {
        const std::string text = Decode(ProductResources().agreements[language]);
        SCOPED_TRACE(headings[language]);
        EXPECT_TRUE(IsValidUtf8(text));
        EXPECT_NE(text.find(headings[language]), std::string::npos);
        // An edit control breaks lines only at CR LF.
        for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
            ASSERT_TRUE(at > 0 && text[at - 1] == '\r') << "bare line feed at byte " << at;
        EXPECT_EQ(text.find("\r\r"), std::string::npos);
    }
}

TEST_F(ProductRecords, DocumentsAreWebPagesInUtf8)
{
    const EmbeddedRecord documents[] = {ProductResources().mainDocument, ProductResources().extraDocument,
                                        ProductResources().linkedDocument};
    for (const EmbeddedRecord& document : documents) {
        const std::string text = Decode(document);
        ASSERT_FALSE(text.empty());
        EXPECT_TRUE(IsValidUtf8(text));
        EXPECT_EQ(text.rfind("<!DOCTYPE HTML", 0), 0u);
        EXPECT_NE(text.find("charset=utf-8"), std::string::npos);
        EXPECT_NE(text.find("</html>"), std::string::npos);
        // The build filled in the stylesheet and the charts.
        EXPECT_EQ(text.find("<!--style-->"), std::string::npos);
        EXPECT_EQ(text.find("<!--charts-->"), std::string::npos);
    }
}

TEST_F(ProductRecords, GuideAndChartsPageCarryEveryVariantsChart)
{
    for (const EmbeddedRecord& document : {ProductResources().mainDocument, ProductResources().linkedDocument}) {
        const std::string text = Decode(document);
        for (const char* chart : {"id=\"kbd-variant-0\"", "id=\"kbd-variant-1\"", "id=\"kbd-variant-2\"",
                                  "class=\"kbd-alternate\""})
            EXPECT_NE(text.find(chart), std::string::npos) << chart;
    }
}

TEST_F(ProductRecords, EveryDriverRecordDecodes)
{
    for (int set = 0; set < driverSetCount; ++set)
        for (int layout = 0; layout < driverLayoutCount; ++layout)
            for (int slot = 0; slot < driverSlotCount; ++slot) {
                std::uint32_t length = driverRecordLengths[set][layout][slot];
                std::unique_ptr<std::uint8_t[]> image(
                    keyBlock.DecodeRecord(driverRecords[set][layout][slot], length, nullptr));
                EXPECT_NE(image, nullptr) << "set " << set << ", layout " << layout << ", slot " << slot;
            }
}

}  // namespace
