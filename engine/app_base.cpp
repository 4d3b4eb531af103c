#include "engine/app_base.h"

AppBase::AppBase()
    : instanceHandle(nullptr), wizardStep(0), osVersionCode(0), languageSelector(0), is64BitWindows(0),
      processorArchitecture(0xFFFF)
{
}

AppBase::~AppBase()
{
    AppBase::ReleaseTables();
}

HWND AppBase::OwnerWindow()
{
    return nullptr;
}

int AppBase::Initialise(HINSTANCE instance)
{
    instanceHandle = instance;
    return 1;
}

void AppBase::ReleaseTables()
{
    defaultTable.Release();
    languageTables[0].Release();
    languageTables[1].Release();
    keyBlock.Release();
}

const std::uint8_t* AppBase::FindStringRecord(StringId id)
{
    if (const std::uint8_t* record = languageTables[languageSelector].Find(id))
        return record;
    return defaultTable.Find(id);
}

int AppBase::SetLanguage(std::uint32_t selector)
{
    if (selector > 1)
        return 0;
    languageSelector = selector;
    return 1;
}
