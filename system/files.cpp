// Files and folders for the install and the uninstall.
#include <shlobj.h>

#include "engine/setup_app.h"

HANDLE SetupApp::CreateFileForWrite(const wchar_t* path)
{
    // No sharing: nobody reads a file while it is being written.
    const HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? nullptr : file;
}

int SetupApp::WriteBytes(HANDLE file, const void* data, DWORD count)
{
    if (file == nullptr || data == nullptr || count == 0)
        return 0;
    DWORD written = 0;
    return WriteFile(file, data, count, &written, nullptr) && written == count;
}

int SetupApp::WriteText(HANDLE file, UniString& text)
{
    if (file == nullptr || text.Length() == 0)
        return 0;
    text.MakeNarrow(-1);
    return WriteBytes(file, text.NarrowPtr(0), DWORD(text.Length()));
}

int SetupApp::GetSpecialFolder(int csidl, UniString& folder)
{
    folder.SetWide();
    folder.Clear();
    WideChar* buffer = folder.WideWriteBuffer(260);
    if (buffer == nullptr || !SHGetSpecialFolderPathW(OwnerWindow(), buffer, csidl, FALSE)) {
        folder.Clear();
        return 0;
    }
    folder.SetLength(-1);
    return 1;
}

int SetupApp::DeleteFileOrDefer(const wchar_t* path)
{
    if (path == nullptr || path[0] == 0)
        return 0;
    if (DeleteFileW(path) || GetLastError() == ERROR_FILE_NOT_FOUND)
        return 1;
    // In use, denied or in a missing folder: Windows deletes it at restart.
    return MoveFileExW(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) ? 1 : 0;
}

int SetupApp::DeleteFileOrDefer(UniString& path)
{
    if (path.Length() == 0 || path.MakeWide(-1) == nullptr)
        return 0;
    return DeleteFileOrDefer(path.WidePtr(0));
}

int SetupApp::RemoveFolder(UniString& path)
{
    if (path.Length() == 0 || path.MakeWide(-1) == nullptr)
        return 0;
    return RemoveDirectoryW(path.WidePtr(0)) ? 1 : 0;
}

int SetupApp::EnsureFolder(const wchar_t* path)
{
    return CreateDirectoryW(path, nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

int SetupApp::GetTempFolder(UniString& folder)
{
    folder.SetWide();
    folder.Clear();
    WideChar* buffer = folder.WideWriteBuffer(772);
    if (buffer == nullptr)
        return 0;
    const DWORD length = GetTempPathW(771, buffer);
    if (length == 0 || length >= 772) {
        folder.Clear();
        return 0;
    }
    folder.SetLength(int(length));
    return 1;
}

int SetupApp::MakeTempFileName(UniString& path, StringId prefix, const wchar_t* folder)
{
    if (prefix == 0)
        return 0;
    UniString prefixText, tempFolder;
    if (!GetString(prefix, prefixText))
        return 0;
    if (folder == nullptr) {
        if (!GetTempFolder(tempFolder))
            return 0;
        folder = tempFolder.WidePtr(0);
    }
    WideChar* buffer = path.WideWriteBuffer(261);
    if (buffer == nullptr || GetTempFileNameW(folder, prefixText.WidePtr(0), 0, buffer) == 0) {
        path.SetLength(-1);
        return 0;
    }
    path.SetLength(-1);
    return 1;
}
