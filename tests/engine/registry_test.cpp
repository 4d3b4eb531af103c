// Registry services against Wine's real registry, under a key of their own.
#include "engine/setup_app.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <memory>
#include <string>

#include "system/registry_key.h"
#include "tests/engine/test_resources.h"

namespace {

constexpr StringId testKey = 210, valueName = 211, valueText = 212, childKey = 213, missingKey = 214;

class Registry : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(app.Initialise(GetModuleHandleW(nullptr)), 1);
        SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\WierzbaSetupTests");
        key = app.RegCreateById(HKEY_CURRENT_USER, testKey, KEY_READ | KEY_WRITE);
        ASSERT_NE(key, nullptr);
    }
    void TearDown() override
    {
        RegCloseKey(key);
        SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\WierzbaSetupTests");
    }

    void SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD size)
    {
        ASSERT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    }

    std::wstring Text(const UniString& s) { return std::wstring(s.WidePtr(0), std::size_t(s.Length())); }

    SetupApp app{TestResources()};
    HKEY key = nullptr;
};

TEST_F(Registry, TextsRoundTripAndReadExactly)
{
    UniString narrow;
    narrow.AssignNarrow("Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87", -1, -1);
    ASSERT_EQ(app.RegSetString(key, L"narrow", narrow), 1);
    EXPECT_TRUE(narrow.IsWide()) << "made wide in place";
    UniString read;
    ASSERT_EQ(app.RegQueryString(key, L"narrow", read), 1);
    EXPECT_EQ(Text(read), L"Za\u017C\u00F3\u0142\u0107");

    ASSERT_EQ(app.RegSetStringByIds(key, valueName, valueText), 1);
    EXPECT_EQ(app.RegQueryStringById(key, valueName, read), 1);
    EXPECT_EQ(Text(read), L"Za\u017C\u00F3\u0142\u0107");
    DWORD type = 0, size = 0;
    RegQueryValueExW(key, L"Name", nullptr, &type, nullptr, &size);
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(size, 14u) << "six units and the terminating NUL";

    UniString same, other;
    same.AssignWide(L"Za\u017C\u00F3\u0142\u0107", -1);
    other.AssignWide(L"za\u017C\u00F3\u0142\u0107", -1);
    EXPECT_EQ(app.RegStringEqualsById(key, valueName, same), 1);
    EXPECT_EQ(app.RegStringEqualsById(key, valueName, other), 0) << "case matters";
    EXPECT_EQ(app.RegStringEquals(key, L"narrow", narrow), 1);
}

TEST_F(Registry, TextEdgeCases)
{
    const wchar_t unterminated[] = {'a', 'b', 'c'};
    SetRaw(L"unterminated", REG_SZ, unterminated, sizeof unterminated);
    SetRaw(L"empty", REG_SZ, nullptr, 0);
    SetRaw(L"expand", REG_EXPAND_SZ, L"%TEMP%", 14);

    UniString read;
    read.AssignNarrow("stale", -1, -1);
    EXPECT_EQ(app.RegQueryString(key, L"unterminated", read), 1);
    EXPECT_EQ(Text(read), L"ab") << "one character short without its NUL";
    EXPECT_EQ(app.RegQueryString(key, L"empty", read), 1);
    EXPECT_EQ(read.Length(), 0);
    EXPECT_TRUE(read.IsWide());
    EXPECT_EQ(app.RegQueryString(key, L"expand", read), 0);
    EXPECT_EQ(app.RegQueryString(key, L"missing", read), 0);
    EXPECT_EQ(app.RegQueryString(key, L"", read), 0);
    EXPECT_EQ(app.RegQueryString(nullptr, L"empty", read), 0);
    UniString text;
    text.AssignWide(L"x", -1);
    EXPECT_EQ(app.RegSetString(key, L"", text), 0);
}

TEST_F(Registry, NumbersAndBlocksCheckTypeAndSize)
{
    ASSERT_EQ(app.RegSetDwordById(key, valueName, 0xC0FFEE), 1);
    DWORD number = 7;
    EXPECT_EQ(app.RegQueryDwordById(key, valueName, &number), 1);
    EXPECT_EQ(number, 0xC0FFEEu);

    const unsigned long long wide = 5;
    SetRaw(L"dword8", REG_DWORD, &wide, 8);
    SetRaw(L"qword", REG_QWORD, &wide, 8);
    SetRaw(L"binary0", REG_BINARY, nullptr, 0);
    number = 7;
    EXPECT_EQ(app.RegQueryDword(key, L"dword8", &number), 0);
    EXPECT_EQ(app.RegQueryDword(key, L"qword", &number), 0);
    EXPECT_EQ(app.RegQueryDword(key, L"missing", &number), 0);
    EXPECT_EQ(number, 7u) << "untouched on failure";

    const std::uint8_t bytes[] = {1, 2, 3, 0, 255};
    ASSERT_EQ(app.RegSetBinary(key, L"block", bytes, sizeof bytes), 1);
    DWORD size = 99;
    std::unique_ptr<std::uint8_t[]> block(app.RegQueryBinary(key, L"block", &size));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(size, sizeof bytes);
    EXPECT_EQ(std::string(block.get(), block.get() + size), std::string(bytes, bytes + sizeof bytes));
    for (const wchar_t* name : {L"binary0", L"qword", L"missing"}) {
        size = 99;
        EXPECT_EQ(app.RegQueryBinary(key, name, &size), nullptr) << name;
        EXPECT_EQ(size, 0u);
    }
    EXPECT_EQ(app.RegSetDword(nullptr, L"x", 1), 0);
}

TEST_F(Registry, KeysAndDeletion)
{
    EXPECT_EQ(app.RegOpen(HKEY_CURRENT_USER, L"", KEY_READ), nullptr) << "never the parent itself";
    EXPECT_EQ(app.RegCreate(HKEY_CURRENT_USER, nullptr, KEY_READ), nullptr);
    EXPECT_EQ(app.RegOpen(nullptr, L"Software", KEY_READ), nullptr);
    EXPECT_EQ(app.RegOpenById(HKEY_CURRENT_USER, missingKey, KEY_READ), nullptr);
    EXPECT_EQ(app.RegOpenById(HKEY_CURRENT_USER, 9999, KEY_READ), nullptr) << "an id no table holds";

    const RegistryKey child(app.RegCreateById(HKEY_CURRENT_USER, childKey, KEY_WRITE));
    ASSERT_NE(child, nullptr);
    const RegistryKey grandchild(app.RegCreate(child, L"Grandchild", KEY_WRITE));
    ASSERT_NE(grandchild, nullptr);
    EXPECT_EQ(app.RegDeleteSubKeyById(HKEY_CURRENT_USER, testKey), 0) << "a key with subkeys stays";
    EXPECT_EQ(RegDeleteKeyW(child, L"Grandchild"), ERROR_SUCCESS);

    ASSERT_EQ(app.RegSetDwordById(key, valueName, 1), 1);
    app.RegDeleteValueById(key, valueName);
    DWORD number = 0;
    EXPECT_EQ(app.RegQueryDwordById(key, valueName, &number), 0);
    EXPECT_EQ(app.RegDeleteValue(key, L"Name"), 0) << "already gone";
}

TEST_F(Registry, MachineStringOpensWithoutCreating)
{
    EXPECT_EQ(app.RegSetMachineStringByIds(missingKey, valueName, valueText), 0);
    HKEY created = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\WierzbaSetupTests\\Missing", 0, KEY_READ, &created),
              ERROR_SUCCESS);

    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\WierzbaSetupTests", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &created, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(app.RegSetMachineStringByIds(testKey, valueName, valueText), 1);
    UniString expected;
    expected.AssignWide(L"Za\u017C\u00F3\u0142\u0107", -1);
    EXPECT_EQ(app.RegStringEquals(created, L"Name", expected), 1);
    RegCloseKey(created);
    SHDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\WierzbaSetupTests");
}

}  // namespace
