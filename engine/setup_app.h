#pragma once
#include <windows.h>

#include <cstdint>

#include "engine/app_base.h"
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

    WizardController* Controller() { return controller; }

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

    // Where Wine cannot take administrator rights away, tests answer the
    // question here: -1 asks the system.
    std::int32_t administratorOverride;

private:
    const SetupResources& resources;
    StringTable constantTable;
    WizardController* controller;

public:
    UniString layoutLanguageName;
    std::uint32_t sharedFilesVersion;
    std::uint32_t mainDocVersion;
    std::uint32_t mainDocUseCount;
    std::uint32_t previousVersion;
    std::uint32_t sharedInstallCount;
};
