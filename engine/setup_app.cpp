#include "engine/setup_app.h"

#include <cwchar>
#include <memory>

#include "wizard/wizard_controller.h"

namespace {

// Decodes one string-table record and hands it to its table. A table whose
// index would reach past its own buffer is refused like a damaged record.
int LoadTable(const KeyBlock& keyBlock, const EmbeddedRecord& record, StringTable& table)
{
    if (record.data == nullptr)
        return 0;
    std::uint32_t length = record.length, count = 0;
    std::unique_ptr<std::uint8_t[]> buffer(keyBlock.DecodeRecord(record.data, length, &count));
    if (buffer == nullptr || std::uint64_t(count) * 8 > length)
        return 0;
    if (!table.Attach(buffer.get(), count))
        return 0;
    buffer.release();
    return 1;
}

}  // namespace

SetupApp::SetupApp() : SetupApp(ProductResources()) {}

SetupApp::SetupApp(const SetupResources& resourceSet)
    : presetLanguageId(0), languageId(0), includeScriptFragment(1), associationProbe(0), isAdministrator(0),
      uninstallDone(0), installDone(0), restartRequested(0), agreementAccepted(0), setUserKeyboardValues(1),
      createDesktopShortcuts(1), mainDocDesktopLinkMade(0), extraDocDesktopLinkMade(0), textFileDesktopLinkMade(0),
      layoutIndex(-1), keepNumpadDecimal(-1), storedDriverSetFlag(0), alternateDriverSet(0), settingsOnly(0),
      scancodeMapPresent(0), keyTable(new KeyRemapEntry[defaultKeyTableCount]), keyTableCount(defaultKeyTableCount),
      administratorOverride(-1), resources(resourceSet), controller(nullptr),
      sharedFilesVersion(0), mainDocVersion(0), mainDocUseCount(0), previousVersion(0), sharedInstallCount(0)
{
    for (int i = 0; i < keyTableCount; ++i) {
        keyTable[i] = defaultKeyTable[i];
        keyTable[i].vkOverride = 0;
    }
}

SetupApp::~SetupApp()
{
    SetupApp::ReleaseTables();
    delete controller;
    controller = nullptr;
    delete[] keyTable;
}

HWND SetupApp::OwnerWindow()
{
    return controller != nullptr ? controller->MainWindowHandle() : nullptr;
}

void SetupApp::ReleaseTables()
{
    AppBase::ReleaseTables();
    constantTable.Release();
}

const std::uint8_t* SetupApp::FindStringRecord(StringId id)
{
    if (const std::uint8_t* record = AppBase::FindStringRecord(id))
        return record;
    return constantTable.Find(id);
}

int SetupApp::Initialise(HINSTANCE instance)
{
    AppBase::Initialise(instance);
    if (!keyBlock.Load(resources.keyBlock.data, int(resources.keyBlock.length)))
        return 0;
    if (!LoadTable(keyBlock, resources.defaultTable, defaultTable) ||
        !LoadTable(keyBlock, resources.constantTable, constantTable) ||
        !LoadTable(keyBlock, resources.languageTables[0], languageTables[0]) ||
        !LoadTable(keyBlock, resources.languageTables[1], languageTables[1]))
        return 0;

    controller = new WizardController(*this);
    if (!controller->Initialise(instance))
        return 0;

    // The keyboard language for systems before Vista, a hexadecimal id.
    GetString(86, scratchText);
    unsigned int parsed = 0;
    if (std::swscanf(scratchText.WidePtr(0), L"%X", &parsed) == 1)
        presetLanguageId = std::uint16_t(parsed);
    GetLayoutIndex();
    GetKeepNumpadDecimal();
    return 1;
}

int SetupApp::ShowMessage(StringId id, UINT type)
{
    return controller != nullptr ? controller->ShowMessage(id, type) : 0;
}

int SetupApp::Run()
{
    if (controller == nullptr)
        return 0;
    SetLanguage(GetUserDefaultLangID() == 0x0415 ? 1 : 0);
    ProbePlatform(58, 144);
    if (!IsSupportedPlatform()) {
        ShowMessage(124, MB_ICONEXCLAMATION);
        return 0;
    }
    languageId = osVersionCode >= 60 ? GetUserDefaultLangID() : presetLanguageId;
    if (osVersionCode < 51)
        includeScriptFragment = 0;
    if (!CheckSingleInstance())
        return 0;
    BuildPaths();
    isAdministrator = administratorOverride >= 0 ? administratorOverride : IsAdministrator();
    if (!isAdministrator) {
        ShowMessage(123, MB_OK);
        return 1;
    }
    ReadScancodeMap();
    ReadPreviousInstall();
    return controller->Run() != 0 ? 1 : 0;
}

void SetupApp::Shutdown()
{
    if (controller != nullptr) {
        controller->ReleaseAll();
        delete controller;
        controller = nullptr;
    }
    ReleaseTables();
}
