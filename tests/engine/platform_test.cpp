// Platform probes against the Windows version the test prefix is set to.
#include "engine/setup_app.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/engine/test_resources.h"

namespace {

class Platform : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(app.Initialise(GetModuleHandleW(nullptr)), 1); }
    SetupApp app{TestResources()};
};

// What Windows reports to a program whose manifest lists no supported OS:
// 8.1 and 10 say 6.2.
int ExpectedVersionCode(const std::string& version)
{
    if (version == "win2k")
        return 50;
    if (version == "winxp")
        return 51;
    if (version == "winxp64" || version == "win2003")
        return 52;
    if (version == "vista")
        return 60;
    if (version == "win7")
        return 61;
    if (version == "win8" || version == "win81" || version == "win10")
        return 62;
    return -1;
}

TEST_F(Platform, ProbeReadsTheVersionAndNativeArchitecture)
{
    const char* version = std::getenv("SETUP_TEST_WINDOWS_VERSION");
    const char* bits = std::getenv("SETUP_TEST_PREFIX_BITS");
    if (version == nullptr || bits == nullptr)
        GTEST_SKIP() << "run through wine-run.sh, which sets the prefix's Windows version";
    const int expected = ExpectedVersionCode(version);
    ASSERT_NE(expected, -1) << "no expectation for " << version;

    ASSERT_EQ(app.ProbePlatform(58, 144), 1);
    EXPECT_EQ(app.osVersionCode, expected) << version;
    const bool x64 = std::string(bits) == "64";
    EXPECT_EQ(app.processorArchitecture, x64 ? PROCESSOR_ARCHITECTURE_AMD64 : PROCESSOR_ARCHITECTURE_INTEL);
    EXPECT_EQ(app.is64BitWindows, x64 ? 1 : 0);
    // Windows 2000 and 32-bit XP never ran on x64.
    EXPECT_EQ(app.IsSupportedPlatform(), x64 && expected < 52 ? 0 : 1);
}

TEST_F(Platform, ProbeFallsBackWhenTheNativeCallIsMissing)
{
    SYSTEM_INFO own{};
    GetSystemInfo(&own);
    for (StringId library : {144u, 202u}) {
        ASSERT_EQ(app.ProbePlatform(201, library), 1) << library;
        EXPECT_GT(app.osVersionCode, 0);
        EXPECT_EQ(app.processorArchitecture, own.wProcessorArchitecture) << "what GetSystemInfo says";
    }
}

TEST_F(Platform, LibrariesAndEntryPointsById)
{
    HMODULE module = nullptr;
    EXPECT_NE(app.GetProcById(58, 144, module), nullptr);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(app.GetProcById(201, 144, module), nullptr) << "the module slot is reused";
    FreeLibrary(module);

    module = nullptr;
    EXPECT_EQ(app.GetProcById(58, 202, module), nullptr);
    EXPECT_EQ(module, nullptr);
    EXPECT_EQ(app.LoadLibraryById(202), nullptr);
    HMODULE kernel = app.LoadLibraryById(144);
    EXPECT_NE(kernel, nullptr);
    FreeLibrary(kernel);
}

TEST_F(Platform, WineRunsTestsAsAnAdministrator)
{
    EXPECT_EQ(app.IsAdministrator(), 1);
}

TEST(SupportedPlatform, EveryCodeAndArchitecture)
{
    SetupApp app(TestResources());
    const unsigned architectures[] = {0, 6, 9, 5, 12, 0xFFFF};
    for (int code = 0; code <= 110; ++code) {
        for (unsigned architecture : architectures) {
            app.osVersionCode = code;
            app.processorArchitecture = std::uint16_t(architecture);
            int expected = 0;
            if (code == 50 || code == 51)
                expected = architecture == 0;
            else if (code == 52 || code == 60 || code == 61 || code == 62 || code == 63 || code == 100)
                expected = architecture == 0 || architecture == 6 || architecture == 9;
            EXPECT_EQ(app.IsSupportedPlatform(), expected) << "code " << code << " architecture " << architecture;
        }
    }
}

}  // namespace
