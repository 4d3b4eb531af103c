#pragma once
#include <windows.h>

#include <cstdint>

#include "engine/app_base.h"
#include "engine/key_remap_entry.h"
#include "engine/setup_resources.h"

class WizardController;

// The application object: exactly one lives on the entry point's stack and
// owns everything that outlives a wizard page.
class SetupApp : public AppBase {
public:
    SetupApp();
    explicit SetupApp(const SetupResources& resources);
    ~SetupApp() override;

    HWND OwnerWindow() override;
    int Initialise(HINSTANCE instance) override;
    void ReleaseTables() override;
    const std::uint8_t* FindStringRecord(StringId id) override;

    int Run();
    void Shutdown();
    int ShowMessage(StringId id, UINT type);

    // Strings and documents
    int GetString(StringId id, UniString& out);
    int GetDocumentText(const std::uint8_t* record, std::uint32_t length, UniString& out);

    // Platform probes
    int ProbePlatform(StringId entryPointName, StringId libraryName);
    int IsSupportedPlatform();
    int IsAdministrator();
    int CheckSingleInstance();
    HMODULE LoadLibraryById(StringId libraryName);
    FARPROC GetProcById(StringId entryPointName, StringId libraryName, HMODULE& module);

    // Payload catalogue
    int SelectDriverRecords(const std::uint8_t*& first, int& firstLength, const std::uint8_t*& second,
                            int& secondLength);

    // Registry, by text. A null key makes every operation fail.
    HKEY RegOpen(HKEY parent, const wchar_t* path, REGSAM access);
    HKEY RegCreate(HKEY parent, const wchar_t* path, REGSAM access);
    int RegSetBinary(HKEY key, const wchar_t* name, const void* data, DWORD size);
    // A new block the caller frees with delete[], or null (count 0).
    std::uint8_t* RegQueryBinary(HKEY key, const wchar_t* name, DWORD* size);
    int RegSetDword(HKEY key, const wchar_t* name, DWORD value);
    int RegQueryDword(HKEY key, const wchar_t* name, DWORD* value);
    int RegSetString(HKEY key, const wchar_t* name, UniString& text);
    int RegQueryString(HKEY key, const wchar_t* name, UniString& text);
    int RegStringEquals(HKEY key, const wchar_t* name, UniString& text);
    int RegDeleteValue(HKEY key, const wchar_t* name);

    // Registry, with the subkey path or value name fetched by id.
    HKEY RegOpenById(HKEY parent, StringId path, REGSAM access);
    HKEY RegCreateById(HKEY parent, StringId path, REGSAM access);
    int RegSetBinaryById(HKEY key, StringId name, const void* data, DWORD size);
    std::uint8_t* RegQueryBinaryById(HKEY key, StringId name, DWORD* size);
    int RegSetDwordById(HKEY key, StringId name, DWORD value);
    int RegQueryDwordById(HKEY key, StringId name, DWORD* value);
    int RegQueryStringById(HKEY key, StringId name, UniString& text);
    int RegSetStringById(HKEY key, StringId name, UniString& text);
    int RegSetStringByIds(HKEY key, StringId name, StringId text);
    int RegStringEqualsById(HKEY key, StringId name, UniString& text);
    void RegDeleteValueById(HKEY key, StringId name);
    int RegDeleteSubKeyById(HKEY key, StringId name);
    int RegSetMachineStringByIds(StringId path, StringId name, StringId text);

    // Files and folders. Paths are wide; a UniString path is made wide in place.
    HANDLE CreateFileForWrite(const wchar_t* path);
    int WriteBytes(HANDLE file, const void* data, DWORD count);
    int WriteText(HANDLE file, UniString& text);
    int GetSpecialFolder(int csidl, UniString& folder);
    int DeleteFileOrDefer(const wchar_t* path);
    int DeleteFileOrDefer(UniString& path);
    int RemoveFolder(UniString& path);
    int EnsureFolder(const wchar_t* path);
    int GetTempFolder(UniString& folder);
    int MakeTempFileName(UniString& path, StringId prefix, const wchar_t* folder);

    // Install paths and what an earlier installation left
    int BuildPaths();
    void ReadPreviousInstall();
    int GetLayoutIndex();
    int SetLayoutIndex(int value);
    int GetKeepNumpadDecimal();
    int SetKeepNumpadDecimal(int value);
    int AlternateDriverSet() const { return alternateDriverSet; }
    void SetAlternateDriverSet(int value) { alternateDriverSet = value; }

    // Key table and scan-code map
    void ReadScancodeMap();
    int WriteScancodeMap();
    std::uint8_t* ExportKeyOverrides(std::uint32_t* byteCount);
    int ImportKeyOverrides(std::uint8_t* block, std::uint32_t byteCount);
    int NormaliseKeyTable();
    KeyRemapEntry* FindKeyEntry(std::uint16_t scanCode);
    const KeyRemapEntry* FindDefaultKeyEntry(std::uint16_t scanCode);


    std::uint16_t presetLanguageId;
    std::uint16_t languageId;
    std::int32_t includeScriptFragment;
    std::int32_t associationProbe;
    std::int32_t isAdministrator;
    std::int32_t uninstallDone;
    std::int32_t installDone;
    std::int32_t restartRequested;
    std::int32_t agreementAccepted;
    std::int32_t setUserKeyboardValues;
    std::int32_t createDesktopShortcuts;
    std::int32_t mainDocDesktopLinkMade;
    std::int32_t extraDocDesktopLinkMade;
    std::int32_t textFileDesktopLinkMade;
    std::int32_t layoutIndex;
    std::int32_t keepNumpadDecimal;
    std::int32_t storedDriverSetFlag;
    std::int32_t alternateDriverSet;
    std::int32_t settingsOnly;
    std::int32_t scancodeMapPresent;
    KeyRemapEntry* keyTable;
    std::int32_t keyTableCount;

    // Where Wine cannot take administrator rights away, tests answer the
    // question here: -1 asks the system.
    std::int32_t administratorOverride;

private:
    const SetupResources& resources;
    StringTable constantTable;
    WizardController* controller;

public:
    UniString layoutLanguageName;

    // Where this version puts its files and shortcuts.
    UniString makerFolder;
    UniString productFolder;
    UniString menuMakerFolder;
    UniString menuProductFolder;
    UniString mainDocPath;
    UniString mainDocMenuLink;
    UniString mainDocDesktopLink;
    UniString extraDocPath;
    UniString extraDocMenuLink;
    UniString extraDocDesktopLink;
    UniString textFilePath;
    UniString textFileMenuLink;
    UniString textFileDesktopLink;
    UniString webLinkMenuFile;
    UniString webLinkDesktopFile;
    UniString linkedDocPath;
    UniString setupExePath;
    UniString uninstallerPath;
    UniString uninstallerLinkDescription;
    UniString uninstallerLinkPath;

    // What the previous installation recorded; empty when not found.
    UniString initialLayoutText;
    UniString prevTextFilePath;
    UniString prevTextFileMenuLink;
    UniString prevTextFileDesktopLink;
    UniString prevWebLinkMenuFile;
    UniString prevWebLinkDesktopFile;
    UniString prevExtraDocPath;
    UniString prevExtraDocMenuLink;
    UniString prevExtraDocDesktopLink;
    UniString prevLinkedDocPath;
    UniString prevMainDocPath;
    UniString prevMainDocMenuLink;
    UniString prevMainDocDesktopLink;
    UniString prevUninstallerPath;
    UniString prevUninstallerLinkPath;

    std::uint32_t sharedFilesVersion;
    std::uint32_t mainDocVersion;
    std::uint32_t mainDocUseCount;
    std::uint32_t previousVersion;
    std::uint32_t sharedInstallCount;
};
