#include "tests/resources/screenshot.h"

#include "tests/resources/page_window.h"

namespace {

std::wstring WindowsPath(const std::string& unixPath)
{
    return L"Z:" + std::wstring(unixPath.begin(), unixPath.end());
}

struct FileHandle {
    HANDLE handle;
    explicit FileHandle(HANDLE opened) : handle(opened) {}
    ~FileHandle()
    {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
};

bool ReadWholeFile(const std::string& unixPath, std::string& bytes)
{
    FileHandle file(CreateFileW(WindowsPath(unixPath).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    if (file.handle == INVALID_HANDLE_VALUE)
        return false;
    bytes.assign(std::size_t(GetFileSize(file.handle, nullptr)), '\0');
    DWORD read = 0;
    return bytes.empty() || (::ReadFile(file.handle, &bytes[0], DWORD(bytes.size()), &read, nullptr) &&
                             read == bytes.size());
}

}  // namespace

bool TakeScreenshot(HWND window, const std::string& unixPath, Screenshot& shot, std::string& error)
{
    RECT area{};
    GetWindowRect(window, &area);
    shot.width = area.right - area.left;
    shot.height = area.bottom - area.top;
    const std::string geometry = std::to_string(shot.width) + "x" + std::to_string(shot.height) + "+" +
                                 std::to_string(area.left) + "+" + std::to_string(area.top);
    // Runs beside other test runs that draw the same page: each writes
    // files of its own and renames the picture into place at the end.
    const std::string work = unixPath + "." + std::to_string(GetCurrentProcessId());
    const std::string script = "/usr/bin/import -window root -crop " + geometry + " +repage PNG24:" + work +
                               ".png && /usr/bin/convert " + work + ".png -depth 8 rgb:" + work + ".rgb && /bin/mv -f " + work +
                               ".png " + unixPath + "; echo $? > " + work + ".done";
    std::string commandLine = "/bin/sh -c \"" + script + "\"";
    std::wstring wide(commandLine.begin(), commandLine.end());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, &wide[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        error = "cannot start /bin/sh, error " + std::to_string(GetLastError());
        return false;
    }
    if (process.hProcess != nullptr)
        CloseHandle(process.hProcess);
    if (process.hThread != nullptr)
        CloseHandle(process.hThread);

    std::string status;
    for (int waited = 0; !ReadWholeFile(work + ".done", status) || status.empty(); waited += 100) {
        if (waited > 30000) {
            error = "import did not finish within 30 s";
            return false;
        }
        PumpMessages(100);
    }
    std::string pixels;
    const bool read = ReadWholeFile(work + ".rgb", pixels);
    DeleteFileW(WindowsPath(work + ".done").c_str());
    DeleteFileW(WindowsPath(work + ".rgb").c_str());
    if (status.compare(0, 1, "0") != 0 || !read) {
        error = "import or convert failed (status " + status.substr(0, status.find('\n')) + ")";
        return false;
    }
    if (pixels.size() != std::size_t(shot.width) * shot.height * 3) {
        error = "the picture has " + std::to_string(pixels.size()) + " bytes, not " + geometry;
        return false;
    }
    shot.rgb.assign(pixels.begin(), pixels.end());
    return true;
}
