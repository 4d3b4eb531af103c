// Compiles a string-table source into the binary table the program decodes,
// and writes its entry count beside it for the packer.
//
//   compile_table <source.txt> <table.bin> <count.txt>
//
// Source format, one entry per line (UTF-8; blank lines and lines starting
// with '#' are comments):
//
//   <id> [w] | <role> | <text>
//
// The role is a short note for translators and is not compiled. The text is
// stored as UTF-8, or as UTF-16 with `w`. Escapes in the text: \n \r \t,
// \\ for a backslash, \| for a bar and \uXXXX.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "store/byte_order.h"
#include "text/utf8.h"

namespace {

struct Entry {
    bool wide = false;
    std::string text;  // UTF-8
};

std::string Trim(const std::string& s)
{
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return "";
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

void AppendUtf8(std::string& out, unsigned unit)
{
    const WideChar u = WideChar(unit);
    char bytes[3];
    out.append(bytes, std::size_t(EncodeUtf8(&u, bytes, 1, 3)));
}

bool Unescape(const std::string& raw, std::string& out, std::string& error)
{
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\') {
            out += raw[i];
            continue;
        }
        if (++i == raw.size()) {
            error = "a backslash ends the text";
            return false;
        }
        switch (raw[i]) {
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case '\\': out += '\\'; break;
        case '|': out += '|'; break;
        case 'u': {
            const std::string hex = raw.substr(i + 1, 4);
            if (hex.size() != 4 || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
                error = "\\u needs four hexadecimal digits";
                return false;
            }
            AppendUtf8(out, unsigned(std::strtoul(hex.c_str(), nullptr, 16)));
            i += 4;
            break;
        }
        default:
            error = std::string("unknown escape \\") + raw[i];
            return false;
        }
    }
    return true;
}

// Splits on '|' that is not escaped.
std::vector<std::string> SplitFields(const std::string& line)
{
    std::vector<std::string> fields(1);
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            fields.back() += line.substr(i, 2);
            ++i;
        } else if (line[i] == '|' && fields.size() < 3) {
            fields.emplace_back();
        } else {
            fields.back() += line[i];
        }
    }
    return fields;
}

bool ParseSource(const char* path, std::map<std::uint32_t, Entry>& entries)
{
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "%s: cannot read\n", path);
        return false;
    }
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == '#')
            continue;
        const auto fail = [&](const std::string& why) {
            std::fprintf(stderr, "%s:%d: %s\n", path, number, why.c_str());
            return false;
        };
        const std::vector<std::string> fields = SplitFields(line);
        if (fields.size() != 3)
            return fail("expected <id> [w] | <role> | <text>");
        const std::string head = Trim(fields[0]);
        char* end = nullptr;
        const unsigned long long id = std::strtoull(head.c_str(), &end, 10);
        const std::string form = Trim(end);
        if (end == head.c_str() || id > 0xFFFFFFFFull || (form != "" && form != "w"))
            return fail("bad id or form '" + head + "'");
        if (Trim(fields[1]).empty())
            return fail("every entry needs a role");
        Entry entry;
        entry.wide = form == "w";
        std::string error;
        // One space after the bar belongs to the layout; the text keeps any
        // other leading spaces.
        std::string raw = fields[2];
        if (!raw.empty() && raw[0] == ' ')
            raw.erase(0, 1);
        if (!raw.empty() && raw.back() == '\r')
            raw.pop_back();
        if (!Unescape(raw, entry.text, error))
            return fail(error);
        if (!entries.emplace(std::uint32_t(id), entry).second)
            return fail("id " + std::to_string(id) + " appears twice");
    }
    return true;
}

std::vector<std::uint8_t> Compile(const std::map<std::uint32_t, Entry>& entries, bool& ok)
{
    std::vector<std::uint8_t> index, strings;
    ok = true;
    for (const auto& [id, entry] : entries) {
        std::uint8_t word[4];
        if (entry.wide && strings.size() % 2)
            strings.push_back(0);  // wide records start on an even offset
        WriteLittleEndian32(word, id);
        index.insert(index.end(), word, word + 4);
        WriteLittleEndian32(word, std::uint32_t(strings.size()));
        index.insert(index.end(), word, word + 4);

        if (entry.wide) {
            std::vector<WideChar> units(entry.text.size() + 1);
            const int count = DecodeUtf8(entry.text.data(), units.data(), int(entry.text.size()), int(units.size()));
            if (count < 0) {
                std::fprintf(stderr, "id %u: the text is not valid UTF-8\n", id);
                ok = false;
                continue;
            }
            WriteLittleEndian32(word, std::uint32_t(count));
            strings.insert(strings.end(), word, word + 4);
            for (int i = 0; i < count; ++i) {
                strings.push_back(std::uint8_t(units[std::size_t(i)]));
                strings.push_back(std::uint8_t(units[std::size_t(i)] >> 8));
            }
        } else {
            WriteLittleEndian32(word, 0x80000000u | std::uint32_t(entry.text.size()));
            strings.insert(strings.end(), word, word + 4);
            strings.insert(strings.end(), entry.text.begin(), entry.text.end());
        }
    }
    index.insert(index.end(), strings.begin(), strings.end());
    return index;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: compile_table <source.txt> <table.bin> <count.txt>\n");
        return 2;
    }
    std::map<std::uint32_t, Entry> entries;
    if (!ParseSource(argv[1], entries))
        return 1;
    if (entries.empty()) {
        std::fprintf(stderr, "%s: a table needs at least one entry\n", argv[1]);
        return 1;
    }
    bool ok = true;
    const std::vector<std::uint8_t> table = Compile(entries, ok);
    if (!ok)
        return 1;
    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char*>(table.data()), std::streamsize(table.size()));
    std::ofstream count(argv[3]);
    count << entries.size() << "\n";
    if (!out || !count) {
        std::fprintf(stderr, "cannot write %s or %s\n", argv[2], argv[3]);
        return 1;
    }
    return 0;
}
