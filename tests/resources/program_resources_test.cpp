// The frame's accelerator and icons, the version block and the manifest, as
// this test program carries them: it links the program's own resource
// objects.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

const BYTE* FindResourceData(WORD id, const wchar_t* type, DWORD& size)
{
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    const HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    size = resource != nullptr ? SizeofResource(module, resource) : 0;
    return loaded != nullptr ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
}

TEST(Accelerators, EscapeIsCancel)
{
    const HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(130));
    ASSERT_NE(table, nullptr);
    ACCEL entries[4] = {};
    ASSERT_EQ(CopyAcceleratorTableW(table, nullptr, 0), 1);
    ASSERT_EQ(CopyAcceleratorTableW(table, entries, 4), 1);
    EXPECT_EQ(entries[0].fVirt, FVIRTKEY | FNOINVERT);
    EXPECT_EQ(entries[0].key, VK_ESCAPE);
    EXPECT_EQ(entries[0].cmd, IDCANCEL);
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD iconId;
};
#pragma pack(pop)

// The alpha and mask bits of pixel (x, y), y counted from the top, of a
// 32-bit icon image.
struct IconPixel {
    BYTE alpha;
    bool masked;
};

IconPixel PixelOf(const BYTE* image, int size, int x, int y)
{
    const BYTE* pixels = image + sizeof(BITMAPINFOHEADER);
    const int row = size - 1 - y;
    const BYTE* mask = pixels + size * size * 4 + row * ((size + 31) / 32 * 4);
    return {pixels[(row * size + x) * 4 + 3], (mask[x / 8] & (0x80 >> (x % 8))) != 0};
}

class Icons : public testing::TestWithParam<WORD> {};

// Each size is drawn for itself, with an alpha channel and a mask that agree:
// the key cap's corners are clear, its middle is solid.
TEST_P(Icons, HoldSixteenThirtyTwoAndFortyEightPixelImages)
{
    DWORD size = 0;
    const BYTE* group = FindResourceData(GetParam(), RT_GROUP_ICON, size);
    ASSERT_NE(group, nullptr);
    ASSERT_GE(size, 6u);
    WORD header[3];
    std::memcpy(header, group, sizeof header);
    EXPECT_EQ(header[1], 1) << "an icon, not a cursor";
    ASSERT_EQ(size, 6 + header[2] * sizeof(GroupIconEntry));

    std::set<int> sizes;
    for (WORD i = 0; i < header[2]; ++i) {
        GroupIconEntry entry;
        std::memcpy(&entry, group + 6 + i * sizeof entry, sizeof entry);
        SCOPED_TRACE(testing::Message() << "image of " << int(entry.width) << " pixels");
        EXPECT_EQ(entry.width, entry.height);
        sizes.insert(entry.width);
        if (entry.bitCount != 32)
            continue;
        DWORD imageSize = 0;
        const BYTE* image = FindResourceData(entry.iconId, RT_ICON, imageSize);
        ASSERT_NE(image, nullptr);
        ASSERT_EQ(imageSize, entry.bytes);
        BITMAPINFOHEADER info;
        std::memcpy(&info, image, sizeof info);
        const int side = entry.width;
        EXPECT_EQ(info.biWidth, side);
        EXPECT_EQ(info.biHeight, 2 * side) << "colour rows and mask rows";
        ASSERT_EQ(imageSize, sizeof info + side * side * 4 + side * ((side + 31) / 32 * 4));
        for (const auto& corner : {std::make_pair(0, 0), std::make_pair(side - 1, 0), std::make_pair(0, side - 1),
                                   std::make_pair(side - 1, side - 1)}) {
            const IconPixel pixel = PixelOf(image, side, corner.first, corner.second);
            EXPECT_EQ(pixel.alpha, 0) << "corner " << corner.first << "," << corner.second;
            EXPECT_TRUE(pixel.masked);
        }
        const IconPixel middle = PixelOf(image, side, side / 2, side / 2);
        EXPECT_EQ(middle.alpha, 255);
        EXPECT_FALSE(middle.masked);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 32, 48}));

    // The system picks an image drawn for each size.
    for (int side : {16, 32, 48}) {
        const HICON icon = HICON(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(GetParam()), IMAGE_ICON, side,
                                            side, LR_DEFAULTCOLOR));
        ASSERT_NE(icon, nullptr) << side;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap{};
        GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, side);
        EXPECT_EQ(bitmap.bmHeight, side);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

INSTANTIATE_TEST_SUITE_P(HeaderAndProgram, Icons, testing::Values(WORD(128), WORD(129)));

class VersionBlock : public testing::Test {
protected:
    void SetUp() override
    {
        wchar_t path[MAX_PATH] = {};
        ASSERT_NE(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
        ASSERT_NE(size, 0u) << "no version block";
        block.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, block.data()));
    }

    // The value at `path`, or null with size 0.
    void* Query(const std::wstring& path, UINT& size)
    {
        void* value = nullptr;
        size = 0;
        if (!VerQueryValueW(block.data(), path.c_str(), &value, &size))
            return nullptr;
        return value;
    }

    std::wstring Text(const wchar_t* language, const wchar_t* name)
    {
        UINT size = 0;
        const wchar_t* text =
            static_cast<const wchar_t*>(Query(std::wstring(L"\\StringFileInfo\\") + language + L"\\" + name, size));
        return text != nullptr ? std::wstring(text) : L"(missing)";
    }

    std::vector<BYTE> block;
};

TEST_F(VersionBlock, GivesVersionOneNine)
{
    UINT size = 0;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(Query(L"\\", size));
    ASSERT_NE(fixed, nullptr);
    ASSERT_EQ(size, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010009u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010009u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_APP));
}

TEST_F(VersionBlock, ListsEnglishAndPolishInUnicode)
{
    UINT size = 0;
    const auto* translations = static_cast<const WORD*>(Query(L"\\VarFileInfo\\Translation", size));
    ASSERT_NE(translations, nullptr);
    ASSERT_EQ(size, 8u);
    EXPECT_EQ(translations[0], 0x0409);
    EXPECT_EQ(translations[1], 1200);
    EXPECT_EQ(translations[2], 0x0415);
    EXPECT_EQ(translations[3], 1200);
}

TEST_F(VersionBlock, NamesTheProductInBothLanguages)
{
    struct Row {
        const wchar_t* name;
        const wchar_t* english;
        const wchar_t* polish;
    };
    const Row rows[] = {
        {L"CompanyName", L"Wrzosowa Pracownia", L"Wrzosowa Pracownia"},
        {L"ProductName", L"Wierzba", L"Wierzba"},
        {L"FileDescription", L"Wierzba keyboard layout setup", L"Instalator uk\u0142adu klawiatury Wierzba"},
        {L"FileVersion", L"1.9.0.0", L"1.9.0.0"},
        {L"ProductVersion", L"1.9.0.0", L"1.9.0.0"},
        {L"LegalCopyright", L"\u00A9 2026 Wrzosowa Pracownia", L"\u00A9 2026 Wrzosowa Pracownia"},
        {L"OriginalFilename", L"setup.exe", L"setup.exe"},
        {L"InternalName", L"setup", L"setup"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Text(L"040904B0", row.name), row.english) << "English " << testing::PrintToString(row.name);
        EXPECT_EQ(Text(L"041504B0", row.name), row.polish) << "Polish " << testing::PrintToString(row.name);
    }
}

// The text of the first element named `element` whose text contains
// `marker`, from its '<' to its '>'.
std::string ElementWith(const std::string& xml, const std::string& element, const std::string& marker)
{
    for (std::size_t at = xml.find("<" + element); at != std::string::npos; at = xml.find("<" + element, at + 1)) {
        const std::size_t end = xml.find('>', at);
        if (end == std::string::npos)
            break;
        std::string text = xml.substr(at, end - at + 1);
        if (text.find(marker) != std::string::npos)
            return text;
    }
    return {};
}

std::string Attribute(const std::string& element, const std::string& name)
{
    const std::string key = " " + name + "=\"";
    std::size_t at = element.find(key);
    if (at == std::string::npos)
        return "(missing)";
    at += key.size();
    return element.substr(at, element.find('"', at) - at);
}

class Manifest : public testing::Test {
protected:
    void SetUp() override
    {
        DWORD size = 0;
        const BYTE* data = FindResourceData(1, RT_MANIFEST, size);
        ASSERT_NE(data, nullptr) << "no manifest resource 1";
        xml.assign(reinterpret_cast<const char*>(data), size);
        // Whitespace between attributes may be a line break.
        for (char& c : xml)
            if (c == '\n' || c == '\r' || c == '\t')
                c = ' ';
    }
    std::string xml;
};

TEST_F(Manifest, RunsAsInvokerWithoutUiAccess)
{
    const std::string level = ElementWith(xml, "requestedExecutionLevel", "");
    ASSERT_FALSE(level.empty());
    EXPECT_EQ(Attribute(level, "level"), "asInvoker");
    EXPECT_EQ(Attribute(level, "uiAccess"), "false");
}

TEST_F(Manifest, AsksForCommonControlsSix)
{
    const std::string controls = ElementWith(xml, "assemblyIdentity", "Microsoft.Windows.Common-Controls");
    ASSERT_FALSE(controls.empty());
    EXPECT_EQ(Attribute(controls, "type"), "win32");
    EXPECT_EQ(Attribute(controls, "name"), "Microsoft.Windows.Common-Controls");
    EXPECT_EQ(Attribute(controls, "version"), "6.0.0.0");
    EXPECT_EQ(Attribute(controls, "processorArchitecture"), "*");
    EXPECT_EQ(Attribute(controls, "publicKeyToken"), "6595b64144ccf1df");
    EXPECT_EQ(Attribute(controls, "language"), "*");
    EXPECT_NE(xml.find("<dependentAssembly>"), std::string::npos);
}

TEST_F(Manifest, DeclaresNoSupportedSystems)
{
    EXPECT_EQ(xml.find("compatibility"), std::string::npos);
    EXPECT_EQ(xml.find("supportedOS"), std::string::npos);
}

// The manifest is not only present but read by the loader: the common
// controls this process uses come from the side-by-side assembly of
// version 6, not from the system folder.
TEST_F(Manifest, BringsCommonControlsSixIntoTheProcess)
{
    InitCommonControls();
    const HMODULE controls = GetModuleHandleW(L"comctl32.dll");
    ASSERT_NE(controls, nullptr);
    wchar_t path[MAX_PATH] = {};
    ASSERT_NE(GetModuleFileNameW(controls, path, MAX_PATH), 0u);
    CharLowerW(path);
    const std::wstring loaded = path;
    const std::size_t assembly = loaded.find(L"microsoft.windows.common-controls_6595b64144ccf1df_6.");
    EXPECT_NE(assembly, std::wstring::npos) << "comctl32 loaded from " << testing::PrintToString(loaded);
}

}  // namespace
