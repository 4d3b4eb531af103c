// File and folder services against Wine's real file system.
#include "engine/setup_app.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "system/registry_key.h"
#include "tests/engine/test_resources.h"

namespace {

constexpr StringId tempPrefix = 215;

// The system's list of files to move or delete at the next restart.
std::wstring PendingOperations()
{
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager", 0, KEY_READ,
                      &opened) != ERROR_SUCCESS)
        return L"";
    const RegistryKey session(opened);
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(session, L"PendingFileRenameOperations", nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return L"";
    std::wstring data(size / 2, L'\0');
    RegQueryValueExW(session, L"PendingFileRenameOperations", nullptr, &type, reinterpret_cast<BYTE*>(&data[0]),
                     &size);
    return data;
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Carries out what is pending, as a restart would.
void Restart()
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    wchar_t command[] = L"wineboot.exe -r";
    ASSERT_TRUE(CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    WaitForSingleObject(process.hProcess, 60000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
}

class Files : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(app.Initialise(GetModuleHandleW(nullptr)), 1);
        UniString temp;
        ASSERT_EQ(app.GetTempFolder(temp), 1);
        folder.assign(temp.WidePtr(0), std::size_t(temp.Length()));
        folder += L"wierzba-files-test";
        ASSERT_EQ(app.EnsureFolder(folder.c_str()), 1);
    }

    std::wstring Path(const wchar_t* name) { return folder + L"\\" + name; }

    SetupApp app{TestResources()};
    std::wstring folder;
};

TEST_F(Files, WriteBytesAndText)
{
    const std::wstring path = Path(L"text.txt");
    HANDLE file = app.CreateFileForWrite(path.c_str());
    ASSERT_NE(file, nullptr);
    UniString empty(L'x', 0), text;
    EXPECT_EQ(app.WriteText(file, empty), 0);
    text.AssignWide(L"\u0141\u00F3d\u017A\r\n", -1);
    EXPECT_EQ(app.WriteText(file, text), 1);
    EXPECT_EQ(app.WriteBytes(file, "!", 1), 1);
    EXPECT_EQ(app.WriteBytes(file, "!", 0), 0);
    CloseHandle(file);

    HANDLE read = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(read, INVALID_HANDLE_VALUE);
    char bytes[64] = {};
    DWORD got = 0;
    ReadFile(read, bytes, sizeof bytes, &got, nullptr);
    CloseHandle(read);
    EXPECT_EQ(std::string(bytes, got), "\xC5\x81\xC3\xB3" "d\xC5\xBA\r\n!") << "UTF-8, no mark, no conversion";

    EXPECT_EQ(app.CreateFileForWrite(Path(L"missing\\x.txt").c_str()), nullptr);
    EXPECT_EQ(app.WriteBytes(nullptr, "x", 1), 0);
}

TEST_F(Files, FoldersAndSpecialFolders)
{
    EXPECT_EQ(app.EnsureFolder(folder.c_str()), 1) << "an existing folder";
    EXPECT_EQ(app.EnsureFolder(Path(L"no-parent\\child").c_str()), 0);
    UniString sub;
    sub.AssignWide(Path(L"sub").c_str(), -1);
    ASSERT_EQ(app.EnsureFolder(sub.WidePtr(0)), 1);
    EXPECT_EQ(app.RemoveFolder(sub), 1);
    EXPECT_EQ(app.RemoveFolder(sub), 0);
    UniString none;
    EXPECT_EQ(app.RemoveFolder(none), 0);

    UniString programs;
    ASSERT_EQ(app.GetSpecialFolder(0x26, programs), 1);
    EXPECT_GT(programs.Length(), 3);
    EXPECT_NE(programs.WidePtr(0)[programs.Length() - 1], L'\\');
    EXPECT_EQ(app.GetSpecialFolder(0x7FFF, programs), 0);
    EXPECT_EQ(programs.Length(), 0);
}

TEST_F(Files, TemporaryFileNames)
{
    UniString temp;
    ASSERT_EQ(app.GetTempFolder(temp), 1);
    EXPECT_EQ(temp.WidePtr(0)[temp.Length() - 1], L'\\');

    UniString path;
    ASSERT_EQ(app.MakeTempFileName(path, tempPrefix, folder.c_str()), 1);
    const std::wstring made(path.WidePtr(0), std::size_t(path.Length()));
    EXPECT_EQ(made.compare(0, folder.size() + 4, folder + L"\\wzb"), 0) << "the prefix's first three characters";
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExW(made.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeLow, 0u) << "created empty";

    UniString inTemp;
    ASSERT_EQ(app.MakeTempFileName(inTemp, tempPrefix, nullptr), 1);
    EXPECT_EQ(std::wstring(inTemp.WidePtr(0), std::size_t(temp.Length())),
              std::wstring(temp.WidePtr(0), std::size_t(temp.Length())));
    DeleteFileW(inTemp.WidePtr(0));
    UniString none;
    EXPECT_EQ(app.MakeTempFileName(none, 0, nullptr), 0);
}

TEST_F(Files, DeleteNowOrAtRestart)
{
    const std::wstring before = PendingOperations();
    EXPECT_EQ(app.DeleteFileOrDefer(Path(L"never-there.txt").c_str()), 1);
    EXPECT_EQ(PendingOperations(), before) << "nothing scheduled for a missing file";

    const std::wstring plain = Path(L"plain.txt");
    CloseHandle(app.CreateFileForWrite(plain.c_str()));
    UniString plainPath;
    plainPath.AssignWide(plain.c_str(), -1);
    EXPECT_EQ(app.DeleteFileOrDefer(plainPath), 1);
    EXPECT_FALSE(Exists(plain));

    const std::wstring inMissingFolder = Path(L"gone\\file.txt");
    EXPECT_EQ(app.DeleteFileOrDefer(inMissingFolder.c_str()), 1);
    EXPECT_NE(PendingOperations().find(L"gone\\file.txt"), std::wstring::npos);

    const std::wstring held = Path(L"held.txt");
    HANDLE file = app.CreateFileForWrite(held.c_str());
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(app.DeleteFileOrDefer(held.c_str()), 1);
    EXPECT_NE(PendingOperations().find(L"held.txt"), std::wstring::npos);
    CloseHandle(file);
    ASSERT_TRUE(Exists(held)) << "still there until the restart";

    Restart();
    EXPECT_FALSE(Exists(held));
    EXPECT_EQ(PendingOperations().find(L"held.txt"), std::wstring::npos);

    UniString empty;
    EXPECT_EQ(app.DeleteFileOrDefer(empty), 0);
    EXPECT_EQ(app.DeleteFileOrDefer(static_cast<const wchar_t*>(nullptr)), 0);
}

}  // namespace
