// Two real processes of the program: the second finds the first by its
// window class, brings it to the front and ends without a message.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "engine/setup_app.h"
#include "tests/engine/window_watch.h"

namespace {

struct Process {
    PROCESS_INFORMATION info{};
    ~Process()
    {
        if (info.hProcess != nullptr) {
            TerminateProcess(info.hProcess, 1);
            CloseHandle(info.hProcess);
            CloseHandle(info.hThread);
        }
    }
};

bool Start(const std::wstring& program, Process& process)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + program + L"\"";
    return CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process.info) != 0;
}

TEST(SecondInstance, BringsTheFirstToTheFrontAndEnds)
{
    const std::wstring program = SETUP_PROGRAM;
    SetupApp product;
    ASSERT_EQ(product.Initialise(GetModuleHandleW(nullptr)), 1);
    UniString windowClass;
    ASSERT_EQ(product.GetString(94, windowClass), 1);
    Process first, second;
    ASSERT_TRUE(Start(program, first));
    const HWND window = WaitForWindow(windowClass.WidePtr(0), L"", first.info.dwProcessId, 30000);
    ASSERT_NE(window, nullptr) << "the first start shows its wizard window";

    ASSERT_TRUE(Start(program, second));
    ASSERT_EQ(WaitForSingleObject(second.info.hProcess, 30000), WAIT_OBJECT_0) << "the second start ends";
    DWORD exitCode = 1;
    GetExitCodeProcess(second.info.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(WaitForWindow(L"#32770", L"", second.info.dwProcessId, 0), nullptr) << "no message";
    EXPECT_EQ(GetForegroundWindow(), window);
    EXPECT_EQ(WaitForSingleObject(first.info.hProcess, 0), DWORD(WAIT_TIMEOUT)) << "the first goes on";

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(first.info.hProcess, 30000), WAIT_OBJECT_0);
}

}  // namespace
