// Install paths, first settings and the previous installation, against
// Wine's real registry, special folders and locale.
#include "engine/setup_app.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "system/registry_key.h"
#include "tests/engine/test_resources.h"

namespace {

const wchar_t productKey[] = L"Software\\Wierzba Test Maker\\Layout Test";
const wchar_t documentKey[] = L"Software\\Wierzba Test Maker\\Layout Test\\SharedDocuments\\Test";
const wchar_t layoutKey[] = L"Software\\Wierzba Test Maker\\Layout Test\\Layouts\\Variant";
const wchar_t oldLayoutKey[] = L"SYSTEM\\CurrentControlSet\\Control\\Keyboard Layouts\\d0010415";

std::wstring Text(const UniString& s)
{
    return std::wstring(s.WidePtr(0), std::size_t(s.Length()));
}

void ClearRegistry()
{
    SHDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\Wierzba Test Maker");
    SHDeleteKeyW(HKEY_LOCAL_MACHINE, oldLayoutKey);
}

HKEY Create(const wchar_t* path)
{
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    return key;
}

void SetText(const wchar_t* path, const wchar_t* name, const wchar_t* text)
{
    const RegistryKey key(Create(path));
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), DWORD(2 * (wcslen(text) + 1)));
}

void SetNumber(const wchar_t* path, const wchar_t* name, DWORD value)
{
    const RegistryKey key(Create(path));
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

// A complete record of this version, as its install writes it.
void WriteFullRecord()
{
    SetText(productKey, L"InitialLayout", L"00000415");
    SetNumber(productKey, L"SharedInstallCount", 2);
    SetText(productKey, L"TextFile", L"C:\\p\\Read Me.txt");
    SetText(productKey, L"TextFileMenuLink", L"C:\\m\\Read Me.lnk");
    SetText(productKey, L"TextFileDesktopLink", L"C:\\d\\Read Me.lnk");
    SetText(productKey, L"WebLinkMenu", L"C:\\m\\Web Page.url");
    SetText(productKey, L"WebLinkDesktop", L"C:\\d\\Web Page.url");
    SetText(productKey, L"ExtraDoc", L"C:\\p\\Extra Notes.rtf");
    SetText(productKey, L"ExtraDocMenuLink", L"C:\\m\\Extra Notes.lnk");
    SetText(productKey, L"ExtraDocDesktopLink", L"C:\\d\\Extra Notes.lnk");
    SetText(productKey, L"LinkedDoc", L"C:\\p\\linked.html");
    SetNumber(productKey, L"SharedFilesVersion", 190);
    SetText(documentKey, L"MainDoc", L"C:\\p\\Layout Guide (Test).rtf");
    SetText(documentKey, L"MainDocMenuLink", L"C:\\m\\Layout Guide (Test).lnk");
    SetText(documentKey, L"MainDocDesktopLink", L"C:\\d\\Layout Guide (Test).lnk");
    SetNumber(documentKey, L"MainDocVersion", 190);
    SetNumber(documentKey, L"MainDocUseCount", 1);
    SetText(layoutKey, L"Uninstaller", L"C:\\p\\setup.exe");
    SetText(layoutKey, L"UninstallerLink", L"C:\\m\\Remove.lnk");
    SetNumber(layoutKey, L"Version", 190);
    const std::uint8_t overrides[] = {0x3A, 0x00, 0x11, 0x00};  // Caps Lock gives Control
    const RegistryKey key(Create(layoutKey));
    RegSetValueExW(key, L"KeyOverrides", 0, REG_BINARY, overrides, sizeof overrides);
    SetNumber(layoutKey, L"LayoutIndex", 2);
    SetNumber(layoutKey, L"KeepNumpadDecimal", 1);
    SetNumber(layoutKey, L"StoredDriverSet", 1);
    SetNumber(layoutKey, L"AlternateDriverSet", 1);
}

void WriteOldLayoutKey(const wchar_t* layoutText)
{
    SetText(oldLayoutKey, L"Layout Text", layoutText);
    SetText(oldLayoutKey, L"Layout File", L"KBDTEST.DLL");
    SetText(oldLayoutKey, L"Layout Id", L"00d1");
}

class PreviousInstall : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearRegistry();
        ASSERT_EQ(app.Initialise(GetModuleHandleW(nullptr)), 1);
        app.osVersionCode = 100;
    }
    void TearDown() override { ClearRegistry(); }

    SetupApp app{TestResources()};
};

TEST_F(PreviousInstall, NothingInstalled)
{
    app.ReadPreviousInstall();
    EXPECT_EQ(app.previousVersion, 0u);
    EXPECT_EQ(app.initialLayoutText.Length() + app.prevTextFilePath.Length() + app.prevMainDocPath.Length() +
                  app.prevUninstallerPath.Length(),
              0);
    EXPECT_EQ(app.sharedInstallCount + app.sharedFilesVersion + app.mainDocVersion + app.mainDocUseCount, 0u);
    EXPECT_EQ(app.layoutIndex, 1) << "the first value from the strings stays";
}

TEST_F(PreviousInstall, FullRecord)
{
    WriteFullRecord();
    app.ReadPreviousInstall();
    EXPECT_EQ(app.previousVersion, 190u);
    EXPECT_EQ(Text(app.initialLayoutText), L"00000415");
    EXPECT_EQ(app.sharedInstallCount, 2u);
    EXPECT_EQ(Text(app.prevWebLinkDesktopFile), L"C:\\d\\Web Page.url");
    EXPECT_EQ(Text(app.prevLinkedDocPath), L"C:\\p\\linked.html");
    EXPECT_EQ(app.sharedFilesVersion, 190u);
    EXPECT_EQ(Text(app.prevMainDocDesktopLink), L"C:\\d\\Layout Guide (Test).lnk");
    EXPECT_EQ(app.mainDocVersion, 190u);
    EXPECT_EQ(app.mainDocUseCount, 1u);
    EXPECT_EQ(Text(app.prevUninstallerLinkPath), L"C:\\m\\Remove.lnk");
    EXPECT_EQ(app.layoutIndex, 2);
    EXPECT_EQ(app.keepNumpadDecimal, 1);
    EXPECT_EQ(app.storedDriverSetFlag, 1);
    EXPECT_EQ(app.AlternateDriverSet(), 1);
    const KeyRemapEntry* capsLock = app.FindKeyEntry(0x3A);
    ASSERT_NE(capsLock, nullptr);
    EXPECT_EQ(capsLock->vkOverride, 0x11) << "the stored override list is imported";
}

TEST_F(PreviousInstall, MissingRequiredValueStopsTheReading)
{
    WriteFullRecord();
    WriteOldLayoutKey(L"Test Layout Name");
    const RegistryKey key(Create(productKey));
    RegDeleteValueW(key, L"WebLinkMenu");
    app.ReadPreviousInstall();
    EXPECT_EQ(Text(app.initialLayoutText), L"00000415");
    EXPECT_EQ(app.sharedInstallCount, 2u);
    EXPECT_EQ(Text(app.prevTextFilePath), L"C:\\p\\Read Me.txt");
    EXPECT_EQ(Text(app.prevTextFileMenuLink), L"C:\\m\\Read Me.lnk");
    EXPECT_EQ(Text(app.prevTextFileDesktopLink), L"C:\\d\\Read Me.lnk");
    EXPECT_EQ(app.prevWebLinkDesktopFile.Length(), 0) << "nothing after the missing value";
    EXPECT_EQ(app.prevExtraDocPath.Length(), 0);
    EXPECT_EQ(app.prevMainDocPath.Length(), 0);
    EXPECT_EQ(app.layoutIndex, 1) << "the layout key is not read";
    EXPECT_EQ(app.previousVersion, 130u) << "from the older-version test";
}

TEST_F(PreviousInstall, SettingsOutOfRangeAreIgnored)
{
    struct Case {
        const wchar_t* name;
        DWORD value;
        int layoutIndex, keep, stored, alternate;
    } const cases[] = {
        {L"LayoutIndex", 3, 1, 1, 1, 1},
        {L"LayoutIndex", 0xFFFFFFFF, 1, 1, 1, 1},
        {L"KeepNumpadDecimal", 2, 2, -2, 1, 1},
        {L"StoredDriverSet", 2, 2, 1, 0, 1},
        {L"AlternateDriverSet", 7, 2, 1, 1, 0},
    };
    for (const Case& c : cases) {
        ClearRegistry();
        WriteFullRecord();
        SetNumber(layoutKey, c.name, c.value);
        SetupApp fresh(TestResources());
        ASSERT_EQ(fresh.Initialise(GetModuleHandleW(nullptr)), 1);
        const int keepBefore = fresh.keepNumpadDecimal;
        fresh.ReadPreviousInstall();
        SCOPED_TRACE(testing::Message() << "value " << c.value);
        EXPECT_EQ(fresh.layoutIndex, c.layoutIndex);
        EXPECT_EQ(fresh.keepNumpadDecimal, c.keep == -2 ? keepBefore : c.keep);
        EXPECT_EQ(fresh.storedDriverSetFlag, c.stored);
        EXPECT_EQ(fresh.alternateDriverSet, c.alternate);
    }
}

TEST_F(PreviousInstall, OnlyTheOldLayoutKey)
{
    struct Case {
        const wchar_t* layoutText;
        unsigned version;
    } const cases[] = {{L"Test Layout Name", 130}, {L"Another Layout", 0}, {L"test layout name", 0}};
    for (const Case& c : cases) {
        ClearRegistry();
        WriteOldLayoutKey(c.layoutText);
        app.ReadPreviousInstall();
        EXPECT_EQ(app.previousVersion, c.version) << c.layoutText;
    }
}

TEST(FirstSettings, LayoutIndexFromTheStringsAndItsSetter)
{
    SetupApp app(TestResources());
    ASSERT_EQ(app.Initialise(GetModuleHandleW(nullptr)), 1);
    EXPECT_EQ(app.layoutIndex, 1) << "the needle is in the second list";
    for (int value : {3, -1, 100}) {
        EXPECT_EQ(app.SetLayoutIndex(value), value);
        EXPECT_EQ(app.GetLayoutIndex(), 1);
    }
    EXPECT_EQ(app.SetLayoutIndex(2), 2);
    EXPECT_EQ(app.GetLayoutIndex(), 2);
    EXPECT_EQ(app.SetKeepNumpadDecimal(2), 2);
    EXPECT_EQ(app.SetKeepNumpadDecimal(0), 0);
    EXPECT_EQ(app.GetKeepNumpadDecimal(), 0);
}

TEST(FirstSettings, KeypadDecimalFollowsTheUsersSeparator)
{
    wchar_t original[16] = {};
    ASSERT_GT(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, original, 16), 0);
    struct Case {
        const wchar_t* separator;
        int keep;
    } const cases[] = {{L",", 0}, {L".", 1}, {L",,", 1}};
    for (const Case& c : cases) {
        ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, c.separator));
        SetupApp app(TestResources());
        ASSERT_EQ(app.Initialise(GetModuleHandleW(nullptr)), 1);
        EXPECT_EQ(app.keepNumpadDecimal, c.keep) << "separator " << c.separator[0];
    }
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, original);
}

TEST(BuildPaths, FromWinesSpecialFolders)
{
    SetupApp app(TestResources());
    ASSERT_EQ(app.Initialise(GetModuleHandleW(nullptr)), 1);
    ASSERT_EQ(app.BuildPaths(), 1);
    UniString programFiles, desktop;
    ASSERT_EQ(app.GetSpecialFolder(38, programFiles), 1);
    ASSERT_EQ(app.GetSpecialFolder(25, desktop), 1);
    const std::wstring product = Text(programFiles) + L"\\Wierzba Test Maker\\Layout Test";
    EXPECT_EQ(Text(app.productFolder), product);
    EXPECT_EQ(Text(app.mainDocPath), product + L"\\Layout Guide (Test).rtf");
    EXPECT_EQ(Text(app.textFilePath), product + L"\\Read Me.txt");
    EXPECT_EQ(Text(app.linkedDocPath), product + L"\\linked.html");
    EXPECT_EQ(Text(app.webLinkDesktopFile), Text(desktop) + L"\\Web Page.url");
    EXPECT_EQ(Text(app.uninstallerLinkDescription), L"Remove Test Layout Name");
    EXPECT_EQ(Text(app.uninstallerLinkPath), Text(app.menuProductFolder) + L"\\Remove Test Layout Name.lnk");

    wchar_t own[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    const std::wstring ownPath = own;
    EXPECT_EQ(Text(app.uninstallerPath), product + ownPath.substr(ownPath.rfind(L'\\')));
}

// Started again with a program path that has no backslash, the program
// reports the uninstaller path it builds.
TEST(BuildPaths, ProgramPathWithoutABackslash)
{
    wchar_t own[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    std::wstring commandLine = L"paths-probe.exe --print-uninstaller-path";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, &inherit, 0));
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(own, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process));
    CloseHandle(writeEnd);
    std::string output;
    char buffer[512];
    DWORD got = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0)
        output.append(buffer, got);
    WaitForSingleObject(process.hProcess, 30000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    CloseHandle(readEnd);

    SetupApp app(TestResources());
    ASSERT_EQ(app.Initialise(GetModuleHandleW(nullptr)), 1);
    app.BuildPaths();
    app.productFolder.MakeNarrow(-1);
    EXPECT_EQ(output, std::string(app.productFolder.NarrowPtr(0)) + "\\paths-probe.exe");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--print-uninstaller-path") == 0) {
        SetupApp app(TestResources());
        if (!app.Initialise(GetModuleHandleW(nullptr)) || !app.BuildPaths())
            return 1;
        app.uninstallerPath.MakeNarrow(-1);
        std::fputs(app.uninstallerPath.NarrowPtr(0), stdout);
        return 0;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
