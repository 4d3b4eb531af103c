// The product's layout drivers as the setup program carries them: decoded
// from their records, loaded into this process (each process loads the
// drivers of its own processor) and read through KbdLayerDescriptor, against
// what the layout source says. Also patched the way the setup program patches
// them, with the byte patterns of the product's constant table.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/setup_app.h"
#include "store/key_block.h"
#include "store/key_block_data.h"
#include "store/payload_catalogue.h"
#include "tests/drivers/expected_layouts.h"
#include "tests/drivers/loaded_driver.h"
#include "text/search.h"
#include "tools/layouts/layout_driver.h"

namespace {

// The catalogue slots whose drivers this process can load.
std::vector<int> SlotsOfThisProcessor()
{
    if (sizeof(void*) == 8)
        return {4, 7, 10, 12};
    return {0, 1, 2, 5, 8, 11};
}

struct DriverSlot {
    int set;
    int layout;
    int slot;
};

// Every driver record this processor loads: both sets, every layout.
std::vector<DriverSlot> DriversOfThisProcessor()
{
    std::vector<DriverSlot> drivers;
    for (int set = 0; set < driverSetCount; ++set)
        for (int layout = 0; layout < driverLayoutCount; ++layout)
            for (int slot : SlotsOfThisProcessor())
                drivers.push_back({set, layout, slot});
    return drivers;
}

std::vector<std::uint8_t> DecodeDriver(int set, int layout, int slot)
{
    KeyBlock keyBlock;
    if (!keyBlock.Load(keyBlockData, int(keyBlockDataLength)))
        return {};
    std::uint32_t length = driverRecordLengths[set][layout][slot];
    std::unique_ptr<std::uint8_t[]> image(keyBlock.DecodeRecord(driverRecords[set][layout][slot], length, nullptr));
    if (!image)
        return {};
    return std::vector<std::uint8_t>(image.get(), image.get() + length);
}

std::wstring FileName(int set, int layout, int slot, const wchar_t* kind)
{
    return L"wierzba-" + std::to_wstring(set) + L"-" + std::to_wstring(layout) + L"-" + std::to_wstring(slot) + L"-" +
           kind + L".dll";
}

// Every way a driver's tables can differ from the layout source, as failures.
void ExpectTablesOfSource(const DriverTables& tables, const ExpectedDriver& expected)
{
    ASSERT_TRUE(tables.read);
    const std::map<std::uint8_t, std::uint8_t> modifierKeys = {{VK_SHIFT, KBDSHIFT}, {VK_CONTROL, KBDCTRL},
                                                                {VK_MENU, KBDALT}};
    EXPECT_EQ(tables.modifierKeys, modifierKeys);
    EXPECT_EQ(tables.localeFlags, std::uint32_t(KBD_VERSION << 16 | KLLF_ALTGR)) << "AltGr is Ctrl+Alt";

    EXPECT_EQ(tables.rowCount, expected.keyCount) << "a key with characters the source does not give";
    EXPECT_EQ(int(tables.rows.size()), expected.keyCount);
    for (int k = 0; k < expected.keyCount; ++k) {
        const ExpectedKey& key = expected.keys[k];
        const auto row = tables.rows.find(key.vk);
        if (row == tables.rows.end()) {
            ADD_FAILURE() << "no characters for virtual key 0x" << std::hex << int(key.vk);
            continue;
        }
        EXPECT_EQ(row->second.attributes, key.attributes) << "Caps Lock of virtual key 0x" << std::hex << int(key.vk);
        for (int state = 0; state < expectedShiftStates; ++state) {
            const auto found = tables.Character(key.vk, expectedStateModifiers[state]);
            EXPECT_EQ(found.first, key.chars[state])
                << "virtual key 0x" << std::hex << int(key.vk) << ", shift state " << std::dec << state;
            EXPECT_EQ(found.second, (key.deadStates >> state & 1) != 0)
                << "dead key: virtual key 0x" << std::hex << int(key.vk) << ", shift state " << std::dec << state;
        }
    }
    // Shift with Ctrl, and Alt without Ctrl, type nothing.
    for (std::uint8_t bits : {KBDSHIFT | KBDCTRL, KBDALT, KBDSHIFT | KBDALT})
        EXPECT_EQ(tables.columns.at(bits), SHFT_INVALID) << int(bits);

    std::vector<DriverTables::Composition> compositions;
    for (int i = 0; i < expected.compositionCount; ++i) {
        const ExpectedComposition& c = expected.compositions[i];
        compositions.push_back({c.accent, c.next, c.composed, 0});
    }
    std::sort(compositions.begin(), compositions.end());
    EXPECT_EQ(tables.compositions, compositions);

    std::vector<std::uint16_t> plain(0x7F, 0xFF);
    std::vector<std::pair<std::uint8_t, std::uint16_t>> e0, e1;
    for (int i = 0; i < expected.scanCount; ++i) {
        const ExpectedScan& s = expected.scans[i];
        if (s.scanCode < 0x100)
            plain.at(s.scanCode) = s.vk;
        else
            (s.scanCode >> 8 == 0xE0 ? e0 : e1).emplace_back(std::uint8_t(s.scanCode), s.vk);
    }
    EXPECT_EQ(tables.plain, plain);
    EXPECT_EQ(tables.e0, e0);
    EXPECT_EQ(tables.e1, e1);

    std::map<std::uint16_t, std::wstring> names;
    for (int i = 0; i < expected.nameCount; ++i)
        names[expected.names[i].scanCode] = expected.names[i].name;
    EXPECT_EQ(tables.names, names);
    EXPECT_EQ(tables.deadKeyNames,
              std::vector<std::wstring>(expected.deadKeyNames, expected.deadKeyNames + expected.deadKeyNameCount));
}

TEST(LayoutDrivers, TablesHoldTheLayoutSource)
{
    for (const DriverSlot& driverSlot : DriversOfThisProcessor()) {
        const int set = driverSlot.set, layout = driverSlot.layout, slot = driverSlot.slot;
        SCOPED_TRACE(testing::Message() << "set " << set << ", layout " << layout << ", slot " << slot);
        const std::vector<std::uint8_t> image = DecodeDriver(set, layout, slot);
        ASSERT_FALSE(image.empty());
        const LoadedDriver driver(image, FileName(set, layout, slot, L"tables"));
        ASSERT_NE(driver.Module(), nullptr) << "error " << GetLastError();
        ExpectTablesOfSource(ReadDriverTables(driver.Module()), expectedDrivers[set][layout]);
    }
}

// Two copies of one driver cannot share its preferred address: the second is
// moved, and reads the same only if its relocations cover every pointer.
TEST(LayoutDrivers, MovedCopyReadsTheSame)
{
    for (int slot : SlotsOfThisProcessor()) {
        SCOPED_TRACE(testing::Message() << "slot " << slot);
        const std::vector<std::uint8_t> image = DecodeDriver(1, 2, slot);
        const LoadedDriver first(image, FileName(1, 2, slot, L"first"));
        const LoadedDriver second(image, FileName(1, 2, slot, L"second"));
        ASSERT_NE(first.Module(), nullptr);
        ASSERT_NE(second.Module(), nullptr);
        ASSERT_NE(first.Module(), second.Module());
        ExpectTablesOfSource(ReadDriverTables(second.Module()), expectedDrivers[1][2]);
        EXPECT_TRUE(ReadDriverTables(first.Module()) == ReadDriverTables(second.Module()));
    }
}

// The key assignment page offers each key's default virtual key, and the
// setup program drops an override equal to it: the QWERTY drivers must send
// exactly those.
TEST(LayoutDrivers, QwertySendsTheKeyTableDefaults)
{
    for (int set = 0; set < driverSetCount; ++set) {
        const int slot = SlotsOfThisProcessor().back();
        const LoadedDriver driver(DecodeDriver(set, 0, slot), FileName(set, 0, slot, L"defaults"));
        ASSERT_NE(driver.Module(), nullptr);
        const DriverTables tables = ReadDriverTables(driver.Module());
        ASSERT_TRUE(tables.read);
        for (const KeyRemapEntry& row : defaultKeyTable) {
            if (row.scanCode == 0 || row.scanCode == 0xFF)
                continue;
            SCOPED_TRACE(testing::Message() << "set " << set << ", scan code 0x" << std::hex << row.scanCode);
            std::uint16_t vk = 0;
            if (row.scanCode < 0x7F) {
                vk = tables.plain.at(row.scanCode);
            } else {
                const auto& records = (row.scanCode >> 8) == 0xE0 ? tables.e0 : tables.e1;
                for (const auto& record : records)
                    if (record.first == (row.scanCode & 0xFF))
                        vk = record.second;
            }
            EXPECT_EQ(vk, row.vkOverride);
        }
    }
}

TEST(LayoutDrivers, DisplayNameAndVersion)
{
    for (int set = 0; set < driverSetCount; ++set) {
        for (int layout = 0; layout < driverLayoutCount; ++layout) {
            const int slot = SlotsOfThisProcessor().front();
            SCOPED_TRACE(testing::Message() << "set " << set << ", layout " << layout);
            const LoadedDriver driver(DecodeDriver(set, layout, slot), FileName(set, layout, slot, L"version"));
            ASSERT_NE(driver.Module(), nullptr);
            wchar_t name[64] = {};
            EXPECT_EQ(LoadStringW(driver.Module(), expectedDisplayNameId, name, 64), int(wcslen(expectedProductName)));
            EXPECT_STREQ(name, expectedProductName);

            DWORD handle = 0;
            const DWORD size = GetFileVersionInfoSizeW(driver.Path().c_str(), &handle);
            ASSERT_NE(size, 0u);
            std::vector<std::uint8_t> block(size);
            ASSERT_TRUE(GetFileVersionInfoW(driver.Path().c_str(), 0, size, block.data()));
            VS_FIXEDFILEINFO* fixed = nullptr;
            UINT fixedSize = 0;
            ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize));
            EXPECT_EQ(fixed->dwFileVersionMS, DWORD(expectedVersionWords[0]) << 16 | expectedVersionWords[1]);
            EXPECT_EQ(fixed->dwFileVersionLS, DWORD(expectedVersionWords[2]) << 16 | expectedVersionWords[3]);
            EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
            EXPECT_EQ(fixed->dwFileType, DWORD(VFT_DLL));
            const struct {
                const wchar_t* name;
                const wchar_t* value;
            } values[] = {
                {L"CompanyName", expectedMaker},
                {L"ProductName", expectedProductName},
                {L"FileVersion", expectedVersion},
                {L"FileDescription", expectedDrivers[set][layout].description},
            };
            for (const auto& v : values) {
                wchar_t* text = nullptr;
                UINT length = 0;
                const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + v.name;
                ASSERT_TRUE(VerQueryValueW(block.data(), key.c_str(), reinterpret_cast<void**>(&text), &length))
                    << std::string(key.begin(), key.end());
                EXPECT_STREQ(text, v.value);
            }
        }
    }
}

// ---- Patching, as the setup program does it ----

std::vector<std::uint8_t> PatternOf(SetupApp& app, StringId id)
{
    UniString text;
    if (!app.GetString(id, text))
        return {};
    text.MakeNarrow(-1);
    const std::string hex(text.NarrowPtr(0), std::size_t(text.Length()));
    const std::string digits = "0123456789ABCDEF";
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        const std::size_t high = digits.find(hex[i]), low = digits.find(hex[i + 1]);
        if (high == std::string::npos || low == std::string::npos)
            return {};
        out.push_back(std::uint8_t(high * 16 + low));
    }
    return out;
}

int Find(const std::vector<std::uint8_t>& image, const std::vector<std::uint8_t>& pattern, int from = 0)
{
    return FindBytes(reinterpret_cast<const char*>(image.data()), reinterpret_cast<const char*>(pattern.data()),
                     int(image.size()), int(pattern.size()), from);
}

void Store16(std::vector<std::uint8_t>& image, int offset, std::uint16_t value)
{
    image.at(offset) = std::uint8_t(value);
    image.at(offset + 1) = std::uint8_t(value >> 8);
}

class PatchedDrivers : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(app.Initialise(GetModuleHandleW(nullptr)), 1); }

    // Finds a pattern once and only once; -1 (and a failure) otherwise.
    int FindOnce(const std::vector<std::uint8_t>& image, StringId id)
    {
        const std::vector<std::uint8_t> pattern = PatternOf(app, id);
        EXPECT_FALSE(pattern.empty()) << "pattern " << id;
        const int at = Find(image, pattern);
        EXPECT_GE(at, 0) << "pattern " << id;
        EXPECT_EQ(Find(image, pattern, at + 1), -1) << "pattern " << id << " found twice";
        return pattern.empty() ? -1 : at;
    }

    SetupApp app;
};

constexpr std::uint16_t capsLockScan = 0x3A, capsLockOverride = VK_LCONTROL;
constexpr std::uint8_t appsScan = 0x5D;
constexpr std::uint16_t appsOverride = VK_RWIN | KBDEXT;

TEST_F(PatchedDrivers, OverridesAndCommaLandWhereTheyBelongAndNowhereElse)
{
    for (const DriverSlot& driverSlot : DriversOfThisProcessor()) {
        const int set = driverSlot.set, layout = driverSlot.layout, slot = driverSlot.slot;
        SCOPED_TRACE(testing::Message() << "set " << set << ", layout " << layout << ", slot " << slot);
        const std::vector<std::uint8_t> image = DecodeDriver(set, layout, slot);
        ASSERT_FALSE(image.empty());
        for (int other = 0; other < driverLayoutCount; ++other) {
            if (other != layout) {
                EXPECT_EQ(Find(image, PatternOf(app, StringId(147 + other))), -1)
                    << "the table pattern of layout " << other;
            }
        }
        const int table = FindOnce(image, StringId(147 + layout));
        const int e0 = FindOnce(image, 150);
        const int e1 = FindOnce(image, 151);
        const int decimal = FindOnce(image, 146);
        ASSERT_TRUE(table >= 0 && e0 >= 0 && e1 >= 0 && decimal >= 0);

        std::vector<std::uint8_t> patched = image;
        std::vector<int> changed = {table + 2 * capsLockScan, table + 2 * capsLockScan + 1};
        Store16(patched, changed[0], capsLockOverride);
        int record = e0;
        while (patched.at(record) != 0 && patched.at(record) != appsScan)
            record += 4;
        ASSERT_EQ(patched.at(record), appsScan);
        Store16(patched, record + 2, appsOverride);
        changed.insert(changed.end(), {record + 2, record + 3});
        EXPECT_EQ(patched.at(e1), 0x1D) << "the E1 table starts with the Pause key";
        patched.at(decimal) = ',';
        patched.at(decimal + 2) = ',';
        changed.insert(changed.end(), {decimal, decimal + 2});
        for (std::size_t i = 0; i < image.size(); ++i) {
            if (image[i] != patched[i]) {
                EXPECT_NE(std::find(changed.begin(), changed.end(), int(i)), changed.end()) << i;
            }
        }

        const LoadedDriver original(image, FileName(set, layout, slot, L"original"));
        const LoadedDriver patchedDriver(patched, FileName(set, layout, slot, L"patched"));
        ASSERT_NE(original.Module(), nullptr);
        ASSERT_NE(patchedDriver.Module(), nullptr);
        DriverTables before = ReadDriverTables(original.Module());
        const DriverTables after = ReadDriverTables(patchedDriver.Module());
        ASSERT_TRUE(before.read && after.read);
        EXPECT_EQ(before.plain.at(capsLockScan), VK_CAPITAL);
        EXPECT_EQ(after.plain.at(capsLockScan), capsLockOverride);
        EXPECT_EQ(after.Character(VK_DECIMAL, 0).first, L',');
        EXPECT_EQ(after.Character(VK_DECIMAL, KBDSHIFT).first, L',');
        const auto apps = std::find_if(after.e0.begin(), after.e0.end(),
                                       [](const auto& r) { return r.first == appsScan; });
        ASSERT_NE(apps, after.e0.end());
        EXPECT_EQ(apps->second, appsOverride);

        // With the three changes made by hand, the tables read alike.
        before.plain.at(capsLockScan) = capsLockOverride;
        for (auto& r : before.e0)
            if (r.first == appsScan)
                r.second = appsOverride;
        before.rows.at(VK_DECIMAL).cells = {L',', L','};
        EXPECT_TRUE(before == after);
    }
}

}  // namespace
