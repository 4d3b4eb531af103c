// Install paths, the first settings, and what an earlier installation left.
#include "engine/setup_app.h"

#include <shellapi.h>

#include <memory>

#include "system/registry_key.h"

namespace {

constexpr int programFilesFolder = 38;   // CSIDL_PROGRAM_FILES
constexpr int commonProgramsFolder = 23; // CSIDL_COMMON_PROGRAMS
constexpr int commonDesktopFolder = 25;  // CSIDL_COMMON_DESKTOPDIRECTORY

// Frees what CommandLineToArgvW returned.
struct ArgumentList {
    LPWSTR* arguments;
    ~ArgumentList()
    {
        if (arguments != nullptr)
            LocalFree(arguments);
    }
};

}  // namespace

int SetupApp::BuildPaths()
{
    UniString programFiles, programs, desktop;
    GetSpecialFolder(programFilesFolder, programFiles);
    GetSpecialFolder(commonProgramsFolder, programs);
    GetSpecialFolder(commonDesktopFolder, desktop);

    UniString makerName, productName, displayFirst, displaySecond, extraDocName, documentSuffix, linkSuffix,
        textSuffix, webLinkSuffix, webLinkName, textFileName, linkedDocName, uninstallerFormat, layoutName;
    GetString(9, makerName);
    GetString(10, productName);
    GetString(22, displayFirst);
    GetString(23, displaySecond);
    GetString(30, extraDocName);
    GetString(42, documentSuffix);
    GetString(43, linkSuffix);
    GetString(44, textSuffix);
    GetString(46, webLinkSuffix);
    GetString(48, uninstallerFormat);
    GetString(70, webLinkName);
    GetString(71, textFileName);
    GetString(80, linkedDocName);
    GetString(81, layoutName);

    UniString displayName;
    displayName.Assign(displayFirst);
    displayName.AppendWide(WIDE(" ("), -1);
    displayName.Append(displaySecond);
    displayName.AppendWide(WIDE(")"), -1);

    // folder, then name (joined with one backslash), then suffix (appended).
    const auto build = [](UniString& path, const UniString& folder, const UniString& name, const UniString* suffix) {
        path.AssignAsWide(&folder);
        path.AppendPathWide(name.WidePtr(0), name.Length());
        if (suffix != nullptr)
            path.Append(*suffix);
    };
    build(makerFolder, programFiles, makerName, nullptr);
    build(productFolder, makerFolder, productName, nullptr);
    build(menuMakerFolder, programs, makerName, nullptr);
    build(menuProductFolder, menuMakerFolder, productName, nullptr);
    build(mainDocPath, productFolder, displayName, &documentSuffix);
    build(mainDocMenuLink, menuProductFolder, displayName, &linkSuffix);
    build(mainDocDesktopLink, desktop, displayName, &linkSuffix);
    build(extraDocPath, productFolder, extraDocName, &documentSuffix);
    build(extraDocMenuLink, menuProductFolder, extraDocName, &linkSuffix);
    build(extraDocDesktopLink, desktop, extraDocName, &linkSuffix);
    build(textFilePath, productFolder, textFileName, &textSuffix);
    build(textFileMenuLink, menuProductFolder, textFileName, &linkSuffix);
    build(textFileDesktopLink, desktop, textFileName, &linkSuffix);
    build(webLinkMenuFile, menuProductFolder, webLinkName, &webLinkSuffix);
    build(webLinkDesktopFile, desktop, webLinkName, &webLinkSuffix);
    build(linkedDocPath, productFolder, linkedDocName, nullptr);

    int count = 0;
    const ArgumentList arguments{CommandLineToArgvW(GetCommandLineW(), &count)};
    if (arguments.arguments == nullptr || count < 1)
        return 0;
    setupExePath.AssignWide(arguments.arguments[0], -1);

    UniString fileName;
    fileName.Assign(setupExePath);
    const int lastBackslash = fileName.FindLast(WIDE('\\'), 0);
    if (lastBackslash >= 0)
        fileName.DropFront(lastBackslash + 1);
    build(uninstallerPath, productFolder, fileName, nullptr);
    uninstallerLinkDescription.Format(uninstallerFormat.WidePtr(0), &layoutName);
    build(uninstallerLinkPath, menuProductFolder, uninstallerLinkDescription, &linkSuffix);
    return 1;
}

void SetupApp::ReadPreviousInstall()
{
    previousVersion = 0;
    [&] {
        const RegistryKey software(RegOpenById(HKEY_LOCAL_MACHINE, 7, KEY_READ));
        const RegistryKey maker(RegOpenById(software, 8, KEY_READ));
        const RegistryKey product(RegOpenById(maker, 10, KEY_READ));
        if (product == nullptr)
            return;

        // Required values end the reading when they cannot be read; what was
        // read before them stays.
        DWORD number = 0;
        if (!RegQueryStringById(product, 11, initialLayoutText))
            return;
        if (!RegQueryDwordById(product, 21, &number))
            return;
        sharedInstallCount = number;
        if (!RegQueryStringById(product, 72, prevTextFilePath))
            return;
        RegQueryStringById(product, 73, prevTextFileMenuLink);
        RegQueryStringById(product, 74, prevTextFileDesktopLink);
        if (!RegQueryStringById(product, 75, prevWebLinkMenuFile))
            return;
        RegQueryStringById(product, 76, prevWebLinkDesktopFile);
        if (!RegQueryStringById(product, 31, prevExtraDocPath) || !RegQueryStringById(product, 32, prevExtraDocMenuLink))
            return;
        RegQueryStringById(product, 33, prevExtraDocDesktopLink);
        if (!RegQueryStringById(product, 79, prevLinkedDocPath) || !RegQueryDwordById(product, 34, &number))
            return;
        sharedFilesVersion = number;

        {
            // The shared-document key may be absent; once open, its required
            // values end the reading like the product key's.
            const RegistryKey shared(RegOpenById(product, 24, KEY_READ));
            const RegistryKey document(RegOpenById(shared, 23, KEY_READ));
            if (document != nullptr) {
                if (!RegQueryStringById(document, 25, prevMainDocPath) ||
                    !RegQueryStringById(document, 26, prevMainDocMenuLink))
                    return;
                RegQueryStringById(document, 27, prevMainDocDesktopLink);
                if (!RegQueryDwordById(document, 28, &number))
                    return;
                mainDocVersion = number;
                if (!RegQueryDwordById(document, 29, &number))
                    return;
                mainDocUseCount = number;
            }
        }

        const RegistryKey layouts(RegOpenById(product, 36, KEY_READ));
        const RegistryKey layout(RegOpenById(layouts, 89, KEY_READ));
        if (layout == nullptr)
            return;
        if (!RegQueryStringById(layout, 37, prevUninstallerPath) ||
            !RegQueryStringById(layout, 38, prevUninstallerLinkPath) || !RegQueryDwordById(layout, 39, &number))
            return;
        previousVersion = number;

        DWORD size = 0;
        std::uint8_t* overrides = RegQueryBinaryById(layout, 157, &size);
        ImportKeyOverrides(overrides, size);
        if (RegQueryDwordById(layout, 158, &number) && number <= 2)
            layoutIndex = int(number);
        if (RegQueryDwordById(layout, 159, &number) && number <= 1)
            keepNumpadDecimal = int(number);
        if (RegQueryDwordById(layout, 155, &number) && number <= 1)
            storedDriverSetFlag = int(number);
        if (RegQueryDwordById(layout, 156, &number) && number <= 1)
            alternateDriverSet = int(number);
    }();

    if (previousVersion != 0)
        return;
    // The version before this one left only its layout registry key.
    const REGSAM access = osVersionCode > 50 ? KEY_READ | KEY_WOW64_64KEY : KEY_READ;
    const RegistryKey layoutsKey(RegOpenById(HKEY_LOCAL_MACHINE, 3, access));
    const RegistryKey layoutKey(RegOpenById(layoutsKey, 85, access));
    UniString expected;
    const auto equals = [&](StringId value, StringId text) {
        return GetString(text, expected) && RegStringEqualsById(layoutKey, value, expected);
    };
    if (layoutKey != nullptr && equals(17, 81) && equals(19, 84) && equals(18, 83))
        previousVersion = 130;
}

int SetupApp::GetLayoutIndex()
{
    if (layoutIndex >= 0)
        return layoutIndex;
    layoutIndex = 0;
    constexpr StringId variantNames[] = {113, 114, 115};
    UniString needle, list;
    GetString(88, needle);
    for (int index = 0; index < 3; ++index) {
        GetString(variantNames[index], list);
        if (list.FindWide(needle.WidePtr(0), 0, needle.Length()) >= 0) {
            layoutIndex = index;
            break;
        }
    }
    return layoutIndex;
}

int SetupApp::SetLayoutIndex(int value)
{
    if (value >= 0 && value <= 2)
        layoutIndex = value;
    return value;
}

int SetupApp::GetKeepNumpadDecimal()
{
    if (keepNumpadDecimal >= 0)
        return keepNumpadDecimal;
    const int size = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, nullptr, 0);
    if (size == 0)
        return -1;
    UniString separator(WIDE('x'), 0);
    WideChar* buffer = separator.WideWriteBuffer(size);
    if (buffer == nullptr || GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, size) == 0)
        return -1;
    separator.SetLength(-1);
    keepNumpadDecimal = separator.CompareWide(WIDE(","), 1) == 0 ? 0 : 1;
    return keepNumpadDecimal;
}

int SetupApp::SetKeepNumpadDecimal(int value)
{
    if (value == 0 || value == 1)
        keepNumpadDecimal = value;
    return value;
}
