// Fetching texts and documents from the string tables and records.
#include <memory>

#include "engine/setup_app.h"

int SetupApp::GetString(StringId id, UniString& out)
{
    out.Clear();
    const std::uint8_t* record = FindStringRecord(id);
    if (record == nullptr)
        return 0;
    if (!out.AssignRecord(record))
        return 0;
    return out.MakeWide(-1) != nullptr ? 1 : 0;
}

int SetupApp::GetDocumentText(const std::uint8_t* record, std::uint32_t length, UniString& out)
{
    if (record == nullptr || length == 0)
        return 0;
    std::unique_ptr<std::uint8_t[]> text(keyBlock.DecodeRecord(record, length, nullptr));
    if (text == nullptr)
        return 0;
    const std::uint8_t* start = text.get();
    if (length >= 3 && start[0] == 0xEF && start[1] == 0xBB && start[2] == 0xBF) {
        start += 3;
        length -= 3;
    }
    out.SetNarrow();
    out.Clear();
    return out.AssignNarrow(reinterpret_cast<const char*>(start), int(length), -1);
}
