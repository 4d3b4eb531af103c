// What the machine is: Windows release, native architecture, administrator
// rights, and whether a wizard is already open.
#include "engine/setup_app.h"

namespace {

constexpr WORD architectureX86 = 0;
constexpr WORD architectureIa64 = 6;
constexpr WORD architectureX64 = 9;

using NativeSystemInfoFunction = void(WINAPI*)(LPSYSTEM_INFO);

// Frees a library this probe loaded, on every way out.
struct LibraryGuard {
    HMODULE& module;
    ~LibraryGuard()
    {
        if (module != nullptr)
            FreeLibrary(module);
    }
};

}  // namespace

int SetupApp::ProbePlatform(StringId entryPointName, StringId libraryName)
{
    processorArchitecture = 0xFFFF;
    osVersionCode = 0;
    is64BitWindows = 0;

    OSVERSIONINFOEXW version{};
    version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXW);
    if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version))) {
        version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
        if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version)))
            return 0;
    }
    osVersionCode = int(version.dwMajorVersion * 10 + version.dwMinorVersion);

    HMODULE module = nullptr;
    LibraryGuard guard{module};
    SYSTEM_INFO info{};
    // The native call tells a 32-bit process on 64-bit Windows the truth;
    // without it the system looks like x86.
    const auto native = reinterpret_cast<NativeSystemInfoFunction>(
        reinterpret_cast<void*>(GetProcById(entryPointName, libraryName, module)));
    if (native != nullptr)
        native(&info);
    else
        GetSystemInfo(&info);

    processorArchitecture = info.wProcessorArchitecture;
    if (processorArchitecture == architectureX64 || processorArchitecture == architectureIa64)
        is64BitWindows = 1;
    return 1;
}

int SetupApp::IsSupportedPlatform()
{
    const WORD architecture = processorArchitecture;
    if ((osVersionCode == 50 || osVersionCode == 51) && architecture == architectureX86)
        return 1;
    switch (osVersionCode) {
    case 52: case 60: case 61: case 62: case 63: case 100:
        return architecture == architectureX86 || architecture == architectureIa64 ||
               architecture == architectureX64;
    default:
        return 0;
    }
}

int SetupApp::IsAdministrator()
{
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0,
                                  0, 0, &administrators))
        return 0;
    BOOL member = FALSE;
    const int answer = CheckTokenMembership(nullptr, administrators, &member) ? (member ? 1 : 0) : 0;
    FreeSid(administrators);
    return answer;
}

int SetupApp::CheckSingleInstance()
{
    GetString(94, scratchText);
    const HWND other = FindWindowW(scratchText.WidePtr(0), nullptr);
    if (other == nullptr)
        return 1;
    SetForegroundWindow(other);
    return 0;
}

HMODULE SetupApp::LoadLibraryById(StringId libraryName)
{
    GetString(libraryName, scratchText);
    return LoadLibraryW(scratchText.WidePtr(0));
}

FARPROC SetupApp::GetProcById(StringId entryPointName, StringId libraryName, HMODULE& module)
{
    if (module == nullptr)
        module = LoadLibraryById(libraryName);
    if (module == nullptr)
        return nullptr;
    GetString(entryPointName, scratchText);
    return GetProcAddress(module, scratchText.MakeNarrow(-1));
}
