#include "tests/resources/dialog_template.h"

#include <cstring>

namespace {

// Reads the template's fields in order, never past its end.
class Reader {
public:
    Reader(const BYTE* data, DWORD size) : start(data), end(data + size), at(data) {}

    bool Ok() const { return ok; }

    template <typename T>
    T Read()
    {
        T value{};
        if (!Take(sizeof value))
            return value;
        std::memcpy(&value, at - sizeof value, sizeof value);
        return value;
    }

    // A name or ordinal field: 0x0000 for none, 0xFFFF and an ordinal, or a
    // NUL-terminated UTF-16 name.
    void NameOrOrdinal(WORD& ordinal, std::wstring& name)
    {
        ordinal = 0;
        name.clear();
        const WORD first = Read<WORD>();
        if (first == 0xFFFF) {
            ordinal = Read<WORD>();
            return;
        }
        for (WORD unit = first; ok && unit != 0; unit = Read<WORD>())
            name += wchar_t(unit);
    }

    std::wstring Text()
    {
        std::wstring text;
        for (WORD unit = Read<WORD>(); ok && unit != 0; unit = Read<WORD>())
            text += wchar_t(unit);
        return text;
    }

    void Skip(DWORD count) { Take(count); }

    void AlignToDword()
    {
        const DWORD offset = DWORD(at - start);
        Take((4 - offset % 4) % 4);
    }

private:
    bool Take(DWORD count)
    {
        if (!ok || DWORD(end - at) < count) {
            ok = false;
            return false;
        }
        at += count;
        return true;
    }

    const BYTE* start;
    const BYTE* end;
    const BYTE* at;
    bool ok = true;
};

}  // namespace

bool ReadDialogTemplate(HMODULE module, WORD id, DialogTemplate& dialog, std::string& error)
{
    const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), RT_DIALOG);
    const HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    const BYTE* data = loaded != nullptr ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    if (data == nullptr) {
        error = "no dialog resource " + std::to_string(id);
        return false;
    }
    Reader in(data, SizeofResource(module, resource));

    dialog = DialogTemplate{};
    dialog.version = in.Read<WORD>();
    dialog.signature = in.Read<WORD>();
    if (dialog.version != 1 || dialog.signature != 0xFFFF) {
        error = "not an extended dialog template";
        return false;
    }
    dialog.helpId = in.Read<DWORD>();
    dialog.exStyle = in.Read<DWORD>();
    dialog.style = in.Read<DWORD>();
    const WORD count = in.Read<WORD>();
    dialog.x = in.Read<short>();
    dialog.y = in.Read<short>();
    dialog.cx = in.Read<short>();
    dialog.cy = in.Read<short>();
    WORD ordinal = 0;
    in.NameOrOrdinal(ordinal, dialog.menu);
    if (ordinal != 0)
        dialog.menu = L"#" + std::to_wstring(ordinal);
    in.NameOrOrdinal(ordinal, dialog.windowClass);
    if (ordinal != 0)
        dialog.windowClass = L"#" + std::to_wstring(ordinal);
    dialog.title = in.Text();
    if (dialog.style & (DS_SETFONT | DS_SHELLFONT)) {
        dialog.pointSize = in.Read<WORD>();
        dialog.weight = in.Read<WORD>();
        dialog.italic = in.Read<BYTE>();
        dialog.charset = in.Read<BYTE>();
        dialog.typeface = in.Text();
    }

    for (WORD i = 0; i < count && in.Ok(); ++i) {
        in.AlignToDword();
        DialogItem item{};
        item.helpId = in.Read<DWORD>();
        item.exStyle = in.Read<DWORD>();
        item.style = in.Read<DWORD>();
        item.x = in.Read<short>();
        item.y = in.Read<short>();
        item.cx = in.Read<short>();
        item.cy = in.Read<short>();
        item.id = in.Read<std::int32_t>();
        in.NameOrOrdinal(item.classOrdinal, item.className);
        WORD titleOrdinal = 0;
        in.NameOrOrdinal(titleOrdinal, item.title);
        if (titleOrdinal != 0)
            item.title = L"#" + std::to_wstring(titleOrdinal);
        item.creationDataSize = in.Read<WORD>();
        in.Skip(item.creationDataSize);
        dialog.items.push_back(item);
    }
    if (!in.Ok()) {
        error = "template " + std::to_string(id) + " ends inside its fields";
        return false;
    }
    return true;
}
