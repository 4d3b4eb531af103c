// Packs one file into an enciphered resource record and writes it out as a
// C++ source: a byte array `<symbol>` and its length constant `<symbol>Length`.
//
//   pack_record [--items N | --items-file F] <input> <output.cpp> <symbol>
//
// --items gives a string table's entry count, stored in the record header;
// --items-file reads it from the file compile_table writes.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "store/key_block.h"
#include "store/key_block_data.h"
#include "store/record_builder.h"

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: pack_record [--items N | --items-file F] <input> <output.cpp> <symbol>\n");
    return 2;
}

bool ReadWhole(const char* path, std::vector<std::uint8_t>& data)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool ParseCount(const std::string& text, std::uint32_t& count)
{
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    while (*end == '\n' || *end == '\r' || *end == ' ')
        ++end;
    if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0])) || *end != '\0' || value > 0xFFFFFFFFull)
        return false;
    count = std::uint32_t(value);
    return true;
}

bool ValidSymbol(const std::string& symbol)
{
    if (symbol.empty() || std::isdigit(static_cast<unsigned char>(symbol[0])))
        return false;
    for (char c : symbol)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_')
            return false;
    return true;
}

bool WriteSource(const char* path, const std::string& symbol, const char* input,
                 const std::vector<std::uint8_t>& record)
{
    std::FILE* out = std::fopen(path, "w");
    if (out == nullptr)
        return false;
    std::fprintf(out, "// Packed from %s by pack_record. Do not edit.\n#include <cstdint>\n\n", input);
    std::fprintf(out, "extern const std::uint8_t %s[%zu] = {\n", symbol.c_str(), record.size());
    for (std::size_t i = 0; i < record.size(); ++i)
        std::fprintf(out, "%s0x%02X,%s", i % 16 ? " " : "    ", record[i], i % 16 == 15 ? "\n" : "");
    std::fprintf(out, "%s};\n\nextern const std::uint32_t %sLength = %zuu;\n", record.size() % 16 ? "\n" : "",
                 symbol.c_str(), record.size());
    return std::fclose(out) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::uint32_t items = 0;
    int arg = 1;
    if (arg + 1 < argc && std::strcmp(argv[arg], "--items") == 0) {
        if (!ParseCount(argv[arg + 1], items))
            return Usage();
        arg += 2;
    } else if (arg + 1 < argc && std::strcmp(argv[arg], "--items-file") == 0) {
        std::vector<std::uint8_t> text;
        if (!ReadWhole(argv[arg + 1], text) || !ParseCount(std::string(text.begin(), text.end()), items)) {
            std::fprintf(stderr, "pack_record: no entry count in %s\n", argv[arg + 1]);
            return 1;
        }
        arg += 2;
    }
    if (argc - arg != 3)
        return Usage();
    const char* input = argv[arg];
    const char* output = argv[arg + 1];
    const std::string symbol = argv[arg + 2];
    if (!ValidSymbol(symbol))
        return Usage();

    std::vector<std::uint8_t> data;
    if (!ReadWhole(input, data)) {
        std::fprintf(stderr, "pack_record: cannot read %s\n", input);
        return 1;
    }
    if (data.size() > 0x7FFFFFFFu) {
        std::fprintf(stderr, "pack_record: %s is too large for a record\n", input);
        return 1;
    }

    KeyBlock keyBlock;
    if (!keyBlock.Load(keyBlockData, int(keyBlockDataLength))) {
        std::fprintf(stderr, "pack_record: the key block does not load\n");
        return 1;
    }
    std::vector<std::uint8_t> record = BuildPlainRecord(data.data(), data.size(), items);
    EncipherRecord(keyBlock, record);

    if (!WriteSource(output, symbol, input, record)) {
        std::fprintf(stderr, "pack_record: cannot write %s\n", output);
        std::remove(output);
        return 1;
    }
    return 0;
}
