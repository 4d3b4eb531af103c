#include "tests/drivers/loaded_driver.h"

#include <algorithm>
#include <tuple>

#include "tools/layouts/layout_driver.h"

LoadedDriver::LoadedDriver(const std::vector<std::uint8_t>& image, const std::wstring& name) : module(nullptr)
{
    wchar_t folder[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH)
        return;
    path = std::wstring(folder, length) + name;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, image.data(), DWORD(image.size()), &written, nullptr);
    CloseHandle(file);
    if (ok && written == image.size())
        module = LoadLibraryW(path.c_str());
}

LoadedDriver::~LoadedDriver()
{
    if (module != nullptr)
        FreeLibrary(module);
    if (!path.empty())
        DeleteFileW(path.c_str());
}

bool DriverTables::Composition::operator==(const Composition& o) const
{
    return std::tie(accent, next, composed, flags) == std::tie(o.accent, o.next, o.composed, o.flags);
}

bool DriverTables::Composition::operator<(const Composition& o) const
{
    return std::tie(accent, next, composed, flags) < std::tie(o.accent, o.next, o.composed, o.flags);
}

bool DriverTables::operator==(const DriverTables& o) const
{
    auto rowsEqual = [](const std::pair<const std::uint8_t, Row>& a, const std::pair<const std::uint8_t, Row>& b) {
        return a.first == b.first && a.second.attributes == b.second.attributes && a.second.cells == b.second.cells &&
               a.second.deadCells == b.second.deadCells;
    };
    return read == o.read && modifierKeys == o.modifierKeys && columns == o.columns && rows.size() == o.rows.size() &&
           std::equal(rows.begin(), rows.end(), o.rows.begin(), rowsEqual) && rowCount == o.rowCount &&
           compositions == o.compositions && plain == o.plain && e0 == o.e0 && e1 == o.e1 && names == o.names &&
           deadKeyNames == o.deadKeyNames && localeFlags == o.localeFlags && type == o.type;
}

std::pair<std::uint16_t, bool> DriverTables::Character(std::uint8_t vk, std::uint8_t modifiers) const
{
    const auto row = rows.find(vk);
    if (row == rows.end() || modifiers >= columns.size())
        return {0, false};
    const std::uint8_t column = columns[modifiers];
    if (column == SHFT_INVALID || column >= row->second.cells.size())
        return {0, false};
    const std::uint16_t cell = row->second.cells[column];
    if (cell == WCH_DEAD)
        return {column < row->second.deadCells.size() ? row->second.deadCells[column] : 0, true};
    return {cell == WCH_NONE ? 0 : cell, false};
}

namespace {

// Reads up to the terminating 0; names of a dozen characters at most.
std::wstring Text(const LAYOUT_WCHAR* text)
{
    std::wstring out;
    for (int i = 0; text != nullptr && text[i] != 0 && i < 64; ++i)
        out += wchar_t(text[i]);
    return out;
}

void ReadNames(const VSC_LPWSTR* names, std::uint16_t prefix, std::map<std::uint16_t, std::wstring>& out)
{
    for (; names != nullptr && names->vsc != 0; ++names)
        out[std::uint16_t(prefix | names->vsc)] = Text(names->pwsz);
}

std::vector<std::pair<std::uint8_t, std::uint16_t>> ReadScanRecords(const VSC_VK* records)
{
    std::vector<std::pair<std::uint8_t, std::uint16_t>> out;
    for (; records != nullptr && records->Vsc != 0; ++records)
        out.emplace_back(records->Vsc, records->Vk);
    return out;
}

}  // namespace

DriverTables ReadDriverTables(HMODULE module)
{
    DriverTables out;
    using Descriptor = KBDTABLES* (*)();
    const auto descriptor =
        reinterpret_cast<Descriptor>(reinterpret_cast<void*>(GetProcAddress(module, "KbdLayerDescriptor")));
    if (descriptor == nullptr)
        return out;
    const KBDTABLES* tables = descriptor();
    if (tables == nullptr || tables->pCharModifiers == nullptr || tables->pVkToWcharTable == nullptr)
        return out;

    for (const VK_TO_BIT* key = tables->pCharModifiers->pVkToBit; key->Vk != 0; ++key)
        out.modifierKeys[key->Vk] = key->ModBits;
    const int bits = tables->pCharModifiers->wMaxModBits;
    out.columns.assign(tables->pCharModifiers->ModNumber, tables->pCharModifiers->ModNumber + bits + 1);

    for (const VK_TO_WCHAR_TABLE* table = tables->pVkToWcharTable; table->pVkToWchars != nullptr; ++table) {
        const auto* row = reinterpret_cast<const std::uint8_t*>(table->pVkToWchars);
        DriverTables::Row* last = nullptr;
        for (; row[0] != 0; row += table->cbSize) {
            const auto* cells = reinterpret_cast<const LAYOUT_WCHAR*>(row + 2);
            std::vector<std::uint16_t> values(cells, cells + table->nModifications);
            if (row[0] == VK_DEAD_ROW && last != nullptr) {
                last->deadCells = values;
                continue;
            }
            ++out.rowCount;
            // The system takes the first row of a virtual key.
            if (out.rows.count(row[0]) != 0) {
                last = nullptr;
                continue;
            }
            last = &out.rows[row[0]];
            last->attributes = row[1];
            last->cells = values;
        }
    }

    for (const DEADKEY* dead = tables->pDeadKey; dead != nullptr && dead->dwBoth != 0; ++dead)
        out.compositions.push_back({std::uint16_t(dead->dwBoth >> 16), std::uint16_t(dead->dwBoth & 0xFFFF),
                                    dead->wchComposed, dead->uFlags});
    std::sort(out.compositions.begin(), out.compositions.end());

    out.plain.assign(tables->pusVSCtoVK, tables->pusVSCtoVK + tables->bMaxVSCtoVK);
    out.e0 = ReadScanRecords(tables->pVSCtoVK_E0);
    out.e1 = ReadScanRecords(tables->pVSCtoVK_E1);
    ReadNames(tables->pKeyNames, 0, out.names);
    ReadNames(tables->pKeyNamesExt, 0xE000, out.names);
    for (LAYOUT_WCHAR* const* name = tables->pKeyNamesDead; name != nullptr && *name != nullptr; ++name)
        out.deadKeyNames.push_back(Text(*name));
    out.localeFlags = tables->fLocaleFlags;
    out.type = tables->dwType;
    out.read = true;
    return out;
}
