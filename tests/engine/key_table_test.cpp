#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "engine/setup_app.h"
#include "system/registry_key.h"
#include "tests/engine/test_resources.h"

// Every new[] block of this program carries a mark, so that a block freed
// twice, or kept when it should have been freed, shows up in a test: mingw has
// no sanitizer, and Wine's heap forgives a great deal.
namespace {

constexpr std::uint64_t liveMark = 0x6B636F6C42657669ull;
constexpr std::uint64_t freedMark = 0x6B636F6C42646572ull;
constexpr std::size_t markSize = 16;

std::atomic<bool> watching{false};
std::atomic<long> outstandingBlocks{0};
std::atomic<long> badDeletes{0};

}  // namespace

void* operator new[](std::size_t size)
{
    auto* raw = static_cast<std::uint64_t*>(std::malloc(size + markSize));
    if (raw == nullptr)
        throw std::bad_alloc();
    const bool watched = watching.load();
    raw[0] = liveMark;
    raw[1] = watched ? 1 : 0;
    if (watched)
        ++outstandingBlocks;
    return reinterpret_cast<char*>(raw) + markSize;
}

void operator delete[](void* block) noexcept
{
    if (block == nullptr)
        return;
    auto* raw = reinterpret_cast<std::uint64_t*>(static_cast<char*>(block) - markSize);
    if (raw[0] != liveMark) {
        ++badDeletes;
        return;
    }
    if (raw[1] != 0) {
        // A watched block is never handed back, so that a second delete[]
        // still finds its mark.
        raw[0] = freedMark;
        --outstandingBlocks;
        return;
    }
    std::free(raw);
}

void operator delete[](void* block, std::size_t) noexcept
{
    operator delete[](block);
}

namespace {

// Counts the new[] blocks made while it lives that are still not freed.
struct AllocationWatch {
    AllocationWatch()
    {
        outstandingBlocks = 0;
        badDeletes = 0;
        watching = true;
    }
    ~AllocationWatch() { watching = false; }
    long Outstanding() const { return outstandingBlocks.load(); }
    long BadDeletes() const { return badDeletes.load(); }
};

const wchar_t mapKeyPath[] = L"SYSTEM\\CurrentControlSet\\Control\\Keyboard Layout";
const wchar_t mapValueName[] = L"Scancode Map";

constexpr int keyRowCount = 144;
constexpr std::uint16_t off = 255;

// The shared fixture tables use ids 5 and 6 for the lookup-order tests (an
// empty English text, "six"), which would hide the constant table's registry
// names. These tables hold neither id: the Polish table in both language
// slots, and a default table without them.
const SetupResources& KeyTableResources()
{
    static SetupResources resources = [] {
        SetupResources r = TestResourcesWithBadLanguageId();
        r.languageTables[0] = r.languageTables[1];
        return r;
    }();
    return resources;
}

std::vector<std::uint8_t> Bytes(std::initializer_list<unsigned> bytes)
{
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

// Little-endian 32-bit words; a map entry is (key << 16) | target.
std::vector<std::uint8_t> Words(std::initializer_list<std::uint32_t> words)
{
    std::vector<std::uint8_t> out;
    for (std::uint32_t w : words)
        for (int shift = 0; shift < 32; shift += 8)
            out.push_back(std::uint8_t(w >> shift));
    return out;
}

struct StoredValue {
    bool present = false;
    DWORD type = REG_NONE;
    std::vector<std::uint8_t> data;
    bool operator==(const StoredValue& o) const { return present == o.present && type == o.type && data == o.data; }
};

std::ostream& operator<<(std::ostream& os, const StoredValue& v)
{
    if (!v.present)
        return os << "<absent>";
    os << "type " << v.type << ":";
    for (std::uint8_t b : v.data)
        os << ' ' << std::hex << unsigned(b) << std::dec;
    return os;
}

HKEY OpenMapKey(REGSAM access)
{
    HKEY key = nullptr;
    return RegOpenKeyExW(HKEY_LOCAL_MACHINE, mapKeyPath, 0, access, &key) == ERROR_SUCCESS ? key : nullptr;
}

StoredValue ReadMapValue()
{
    StoredValue v;
    const RegistryKey key(OpenMapKey(KEY_READ));
    DWORD size = 0;
    if (key == nullptr || RegQueryValueExW(key, mapValueName, nullptr, &v.type, nullptr, &size) != ERROR_SUCCESS)
        return v;
    v.data.resize(size + 1);
    if (RegQueryValueExW(key, mapValueName, nullptr, &v.type, v.data.data(), &size) != ERROR_SUCCESS)
        return StoredValue();
    v.data.resize(size);
    v.present = true;
    return v;
}

StoredValue Binary(const std::vector<std::uint8_t>& data)
{
    StoredValue v;
    v.present = true;
    v.type = REG_BINARY;
    v.data = data;
    return v;
}

void WriteMapValue(DWORD type, const std::vector<std::uint8_t>& data)
{
    const RegistryKey key(OpenMapKey(KEY_SET_VALUE));
    ASSERT_NE(key, nullptr);
    ASSERT_EQ(RegSetValueExW(key, mapValueName, 0, type, data.data(), DWORD(data.size())), ERROR_SUCCESS);
}

void DeleteMapValue()
{
    const RegistryKey key(OpenMapKey(KEY_SET_VALUE));
    if (key != nullptr)
        RegDeleteValueW(key, mapValueName);
}

bool MapKeyExists()
{
    const RegistryKey key(OpenMapKey(KEY_READ));
    return key != nullptr;
}

int RowOf(std::uint16_t scanCode)
{
    for (int i = 0; i < keyRowCount; ++i)
        if (defaultKeyTable[i].scanCode == scanCode)
            return i;
    return -1;
}

// Rows whose map target or override is set, as (scan code, value) in table order.
using Settings = std::vector<std::pair<std::uint16_t, std::uint16_t>>;

Settings RowsWith(const SetupApp& app, std::uint16_t KeyRemapEntry::*field)
{
    Settings out;
    for (int i = 0; i < app.keyTableCount; ++i)
        if (app.keyTable[i].*field != 0)
            out.emplace_back(app.keyTable[i].scanCode, app.keyTable[i].*field);
    return out;
}

Settings MapTargets(const SetupApp& app)
{
    return RowsWith(app, &KeyRemapEntry::mapTarget);
}

Settings Overrides(const SetupApp& app)
{
    return RowsWith(app, &KeyRemapEntry::vkOverride);
}

// A copy of the block in new[] memory, as the override list is handed over.
std::uint8_t* NewBlock(const std::vector<std::uint8_t>& bytes)
{
    auto* block = new std::uint8_t[bytes.size()];
    std::copy(bytes.begin(), bytes.end(), block);
    return block;
}

std::wstring Text(SetupApp& app, StringId id)
{
    UniString text;
    if (!app.GetString(id, text))
        return L"<missing>";
    return std::wstring(text.WidePtr(0), text.WidePtr(0) + text.Length());
}

class KeyTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A Windows installation always has this key and the program only
        // opens it; a bare Wine prefix may lack it.
        HKEY created = nullptr;
        const LONG status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, mapKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                            &created, nullptr);
        const RegistryKey key(created);
        ASSERT_EQ(status, ERROR_SUCCESS);
        DeleteMapValue();
        ASSERT_EQ(app.Initialise(GetModuleHandleW(nullptr)), 1);
        // Guards against writing a map anywhere but the system's place.
        ASSERT_EQ(Text(app, 5), mapKeyPath);
        ASSERT_EQ(Text(app, 6), mapValueName);
    }

    void TearDown() override { DeleteMapValue(); }

    // A second application object, as the next start of the program.
    struct FreshApp {
        SetupApp app{KeyTableResources()};
        FreshApp() { EXPECT_EQ(app.Initialise(GetModuleHandleW(nullptr)), 1); }
    };

    SetupApp app{KeyTableResources()};
};

TEST(DefaultKeyTable, RowsEndMarkersAndSampleKeys)
{
    ASSERT_EQ(defaultKeyTableCount, 146);
    int keys = 0;
    while (keys < defaultKeyTableCount && defaultKeyTable[keys].scanCode != 0)
        ++keys;
    EXPECT_EQ(keys, keyRowCount);

    const KeyRemapEntry& labelOnly = defaultKeyTable[144];
    EXPECT_EQ(labelOnly.scanCode, 0);
    EXPECT_EQ(labelOnly.vkOverride, 0);
    EXPECT_EQ(labelOnly.labelId, 154);
    const KeyRemapEntry& last = defaultKeyTable[145];
    EXPECT_EQ(last.scanCode | last.vkOverride | last.labelId | last.mapTarget, 0);

    struct Row {
        int index;
        std::uint16_t scanCode, vk, label;
    } const rows[] = {
        {0, 0x01, 0x1B, 175},     {13, 0x0E, 0x08, 166},    {53, 0x36, 0x1A1, 281},  {70, 0x47, 0xC24, 180},
        {75, 0x4C, 0xC0C, 168},   {82, 0x53, 0xC2E, 190},   {83, 0x56, 0xE2, 317},   {86, 0x59, 0x0C, 168},
        {103, 0xFF, 0xFF, 326},   {104, 0xE010, 0x1B1, 298}, {106, 0xE01C, 0x10D, 286}, {119, 0xE047, 0x124, 180},
        {142, 0xE06D, 0x1B5, 302}, {143, 0xE11D, 0x13, 173},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.index);
        EXPECT_EQ(defaultKeyTable[r.index].scanCode, r.scanCode);
        EXPECT_EQ(defaultKeyTable[r.index].vkOverride, r.vk);
        EXPECT_EQ(defaultKeyTable[r.index].labelId, r.label);
    }

    for (int i = 0; i < defaultKeyTableCount; ++i) {
        EXPECT_EQ(defaultKeyTable[i].mapTarget, 0) << i;
        for (int j = 0; j < i && i < keyRowCount; ++j)
            EXPECT_NE(defaultKeyTable[i].scanCode, defaultKeyTable[j].scanCode) << i << " repeats " << j;
    }
}

TEST(DefaultKeyTable, TheApplicationStartsWithoutOverrides)
{
    SetupApp app(TestResources());
    ASSERT_EQ(app.keyTableCount, defaultKeyTableCount);
    for (int i = 0; i < defaultKeyTableCount; ++i) {
        EXPECT_EQ(app.keyTable[i].scanCode, defaultKeyTable[i].scanCode) << i;
        EXPECT_EQ(app.keyTable[i].labelId, defaultKeyTable[i].labelId) << i;
        EXPECT_EQ(app.keyTable[i].vkOverride, 0) << i;
        EXPECT_EQ(app.keyTable[i].mapTarget, 0) << i;
    }
}

TEST(FindKeyEntry, SearchesTheKeysOnly)
{
    SetupApp app(TestResources());
    struct Case {
        std::uint16_t scanCode;
        int row;
    } const cases[] = {
        {0x01, 0},    {0x1E, 29},    {0x53, 82},   {0x56, 83},   {0xFF, 103},   {0x47, 70},
        {0xE047, 119}, {0xE11D, 143}, {0x00, -1},   {0x54, -1},   {0xE0FF, -1},  {0xE147, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scanCode);
        EXPECT_EQ(app.FindKeyEntry(c.scanCode), c.row < 0 ? nullptr : &app.keyTable[c.row]);
        EXPECT_EQ(app.FindDefaultKeyEntry(c.scanCode), c.row < 0 ? nullptr : &defaultKeyTable[c.row]);
    }
    // A zero scan code ends the search even with keys behind it.
    app.keyTable[10].scanCode = 0;
    EXPECT_EQ(app.FindKeyEntry(0x0A), &app.keyTable[9]);
    EXPECT_EQ(app.FindKeyEntry(0x1E), nullptr);
    EXPECT_EQ(app.FindDefaultKeyEntry(0x1E), &defaultKeyTable[29]);
}

TEST_F(KeyTable, RemapsAreWrittenAndReadBack)
{
    app.keyTable[RowOf(0x1D)].mapTarget = 0x01;    // left Ctrl sends Esc
    app.keyTable[RowOf(0x3A)].mapTarget = 0xE01D;  // Caps Lock sends right Ctrl
    app.keyTable[RowOf(0xE05B)].mapTarget = off;   // left Windows key does nothing
    EXPECT_EQ(app.WriteScancodeMap(), 1);
    const auto written = Words({0, 0, 4, 0x001D0001, 0x003AE01D, 0xE05B0000, 0});
    EXPECT_EQ(ReadMapValue(), Binary(written));

    FreshApp next;
    next.app.ReadScancodeMap();
    EXPECT_EQ(next.app.scancodeMapPresent, 1);
    EXPECT_EQ(MapTargets(next.app), (Settings{{0x1D, 0x01}, {0x3A, 0xE01D}, {0xE05B, off}}));
    EXPECT_EQ(Overrides(next.app), Settings{});

    // Once the scratch text has its room, the map blocks are all the
    // reading and writing allocates, and they must all be freed.
    next.app.keyTable[RowOf(0x1D)].mapTarget = 0;
    AllocationWatch watch;
    EXPECT_EQ(next.app.WriteScancodeMap(), 1);
    next.app.ReadScancodeMap();
    EXPECT_EQ(watch.Outstanding(), 0);
    EXPECT_EQ(watch.BadDeletes(), 0);
    EXPECT_EQ(ReadMapValue(), Binary(Words({0, 0, 3, 0x003AE01D, 0xE05B0000, 0})));
}

TEST_F(KeyTable, NothingToWriteLeavesTheValueAlone)
{
    struct Case {
        const char* name;
        bool present;
        DWORD type;
        std::vector<std::uint8_t> data;
    } const cases[] = {
        {"no value", false, REG_NONE, {}},
        {"not binary", true, REG_DWORD, Words({0x12345678})},
        {"empty binary", true, REG_BINARY, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteMapValue();
        if (c.present)
            WriteMapValue(c.type, c.data);
        const StoredValue before = ReadMapValue();
        FreshApp start;
        start.app.ReadScancodeMap();
        EXPECT_EQ(start.app.scancodeMapPresent, 0);
        EXPECT_EQ(start.app.WriteScancodeMap(), 1);
        EXPECT_EQ(ReadMapValue(), before);
    }
}

TEST_F(KeyTable, TheKeyIsNeverCreated)
{
    ASSERT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, mapKeyPath), ERROR_SUCCESS);
    app.ReadScancodeMap();
    EXPECT_EQ(app.scancodeMapPresent, 0);
    app.keyTable[RowOf(0x3A)].mapTarget = 0x1D;
    EXPECT_EQ(app.WriteScancodeMap(), 0);
    app.keyTable[RowOf(0x3A)].mapTarget = 0;
    app.scancodeMapPresent = 1;
    EXPECT_EQ(app.WriteScancodeMap(), 0);
    EXPECT_FALSE(MapKeyExists());
}

// A map found at the start is read into the table and written back in the
// table's terms: only keys the table has, none mapped to itself, in table order.
TEST_F(KeyTable, AMapFoundIsWrittenBackInTableTerms)
{
    struct Case {
        const char* name;
        std::vector<std::uint8_t> found;
        Settings targets;
        std::vector<std::uint8_t> written;
    } const cases[] = {
        {"no entries", Words({0, 0, 1, 0}), {}, Words({0, 0, 1, 0})},
        {"count 0", Words({0, 0, 0, 0}), {}, Words({0, 0, 1, 0})},
        {"keys the table lacks", Words({0, 0, 3, 0x0054001D, 0xE0FF0001, 0}), {}, Words({0, 0, 1, 0})},
        {"keys mapped to themselves", Words({0, 0, 3, 0x003A003A, 0xE01DE01D, 0}), {}, Words({0, 0, 1, 0})},
        {"mixed", Words({0, 0, 5, 0x0054001D, 0x003A001D, 0xE01DE01D, 0x000E0000, 0}),
         {{0x0E, off}, {0x3A, 0x1D}}, Words({0, 0, 3, 0x000E0000, 0x003A001D, 0})},
        {"entries past the count", Words({0, 0, 2, 0x003A001D, 0x000E0000, 0}), {{0x3A, 0x1D}},
         Words({0, 0, 2, 0x003A001D, 0})},
        {"version, flags and extra bytes ignored", Words({1, 2, 2, 0xE11D0046, 0, 0xFFFFFFFF}), {{0xE11D, 0x46}},
         Words({0, 0, 2, 0xE11D0046, 0})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteMapValue(REG_BINARY, c.found);
        FreshApp start;
        start.app.ReadScancodeMap();
        EXPECT_EQ(start.app.scancodeMapPresent, 1);
        EXPECT_EQ(MapTargets(start.app), c.targets);
        EXPECT_EQ(start.app.WriteScancodeMap(), 1);
        EXPECT_EQ(ReadMapValue(), Binary(c.written));
    }
}

TEST_F(KeyTable, AMapThatCannotHoldItsEntriesIsReadAsEmpty)
{
    // Each would apply Caps Lock -> Ctrl if its count were believed.
    struct Case {
        const char* name;
        std::vector<std::uint8_t> found;
    } const cases[] = {
        {"count 2^32 - 1", Words({0, 0, 0xFFFFFFFF, 0x003A001D, 0})},
        {"count 2^30 + 1", Words({0, 0, 0x40000001, 0x003A001D, 0})},
        {"count one past the entries", Words({0, 0, 3, 0x003A001D, 0})},
        {"terminator missing", Words({0, 0, 3, 0x003A001D, 0x000E0000})},
        {"header only", Words({0, 0, 2})},
        {"entry without terminator", Words({0, 0, 2, 0x003A001D})},
        {"a byte short", Bytes({0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0x1D, 0, 0x3A})},
        {"four bytes", Words({0})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteMapValue(REG_BINARY, c.found);
        FreshApp start;
        start.app.ReadScancodeMap();
        EXPECT_EQ(start.app.scancodeMapPresent, 1);
        EXPECT_EQ(MapTargets(start.app), Settings{});
        EXPECT_EQ(ReadMapValue(), Binary(c.found));
    }
}

TEST_F(KeyTable, OverridesTravelAsALittleEndianList)
{
    app.keyTable[RowOf(0x3A)].vkOverride = 0xA2;
    app.keyTable[RowOf(0x47)].vkOverride = 0x24;  // Home without the keypad flags
    app.keyTable[RowOf(0xE11D)].vkOverride = 0x91;
    app.keyTable[144].vkOverride = 0x6E;  // the row after the keys is listed too
    std::uint32_t size = 0xDEAD;
    std::uint8_t* list = app.ExportKeyOverrides(&size);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(size, 16u);
    EXPECT_EQ(std::vector<std::uint8_t>(list, list + size),
              Bytes({0x3A, 0, 0xA2, 0, 0x47, 0, 0x24, 0, 0x1D, 0xE1, 0x91, 0, 0, 0, 0x6E, 0}));

    FreshApp next;
    AllocationWatch watch;
    EXPECT_EQ(next.app.ImportKeyOverrides(list, size), 1);
    EXPECT_EQ(watch.BadDeletes(), 0);
    EXPECT_EQ(Overrides(next.app), Overrides(app));
    EXPECT_EQ(Overrides(next.app), (Settings{{0x3A, 0xA2}, {0x47, 0x24}, {0xE11D, 0x91}, {0, 0x6E}}));
    EXPECT_EQ(MapTargets(next.app), Settings{});
}

TEST_F(KeyTable, OverridesEqualToTheDefaultAreNotExported)
{
    app.keyTable[RowOf(0x47)].vkOverride = 0xC24;  // flags included
    app.keyTable[RowOf(0x01)].vkOverride = 0x1B;
    app.keyTable[RowOf(0xE01C)].vkOverride = 0x10D;
    app.keyTable[RowOf(0x1E)].vkOverride = 0x42;
    std::uint32_t size = 0;
    std::uint8_t* list = app.ExportKeyOverrides(&size);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(std::vector<std::uint8_t>(list, list + size), Bytes({0x1E, 0, 0x42, 0}));
    delete[] list;
    EXPECT_EQ(Overrides(app), (Settings{{0x1E, 0x42}}));
}

TEST_F(KeyTable, NoOverridesExportAnEmptyBlock)
{
    AllocationWatch watch;
    std::uint32_t size = 0xDEAD;
    std::uint8_t* list = app.ExportKeyOverrides(&size);
    EXPECT_NE(list, nullptr);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(watch.Outstanding(), 1);
    delete[] list;
    EXPECT_EQ(watch.Outstanding(), 0);
    EXPECT_EQ(watch.BadDeletes(), 0);
}

// Every import starts from one override already set: Q gives A.
TEST_F(KeyTable, ImportReadsWholePairsOfKnownKeys)
{
    struct Case {
        const char* name;
        std::vector<std::uint8_t> list;
        int result;
        Settings overrides;
    } const cases[] = {
        {"one pair", Bytes({0x1E, 0, 0x42, 0}), 1, {{0x10, 0x41}, {0x1E, 0x42}}},
        {"a trailing fragment", Bytes({0x1E, 0, 0x42, 0, 0x30, 0, 0x41}), 1, {{0x10, 0x41}, {0x1E, 0x42}}},
        {"no whole pair", Bytes({0x1E, 0, 0x42}), 1, {{0x10, 0x41}}},
        {"unknown keys", Bytes({0x54, 0, 0x41, 0, 0xFF, 0xE0, 0x41, 0, 0x47, 0xE1, 0x41, 0}), 1, {{0x10, 0x41}}},
        {"virtual key 0 keeps the override", Bytes({0x10, 0, 0, 0}), 1, {{0x10, 0x41}}},
        {"the default virtual key clears it", Bytes({0x10, 0, 0x51, 0}), 1, {}},
        {"defaults with flags are no override", Bytes({0x47, 0, 0x24, 0x0C, 0xE0, 0x1C, 0x0D, 0x01}), 1,
         {{0x10, 0x41}}},
        {"the later pair wins", Bytes({0x1E, 0, 0x42, 0, 0x1E, 0, 0x43, 0}), 1, {{0x10, 0x41}, {0x1E, 0x43}}},
        {"E0 and E1 keys", Bytes({0x1D, 0xE0, 0xA2, 0, 0x1D, 0xE1, 0x91, 0}), 1,
         {{0x10, 0x41}, {0xE01D, 0xA2}, {0xE11D, 0x91}}},
        {"scan code 0 names the row after the keys", Bytes({0, 0, 0x6E, 0}), 1, {{0x10, 0x41}, {0, 0x6E}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FreshApp start;
        start.app.keyTable[RowOf(0x10)].vkOverride = 0x41;
        AllocationWatch watch;
        std::uint8_t* block = NewBlock(c.list);
        EXPECT_EQ(start.app.ImportKeyOverrides(block, std::uint32_t(c.list.size())), c.result);
        EXPECT_EQ(watch.Outstanding(), 0) << "the list is freed by the import";
        EXPECT_EQ(watch.BadDeletes(), 0);
        EXPECT_EQ(Overrides(start.app), c.overrides);
    }
}

TEST_F(KeyTable, ImportRefusesNothingAndStillFreesTheBlock)
{
    app.keyTable[RowOf(0x10)].vkOverride = 0x41;
    AllocationWatch watch;
    EXPECT_EQ(app.ImportKeyOverrides(nullptr, 4), 0);
    EXPECT_EQ(app.ImportKeyOverrides(nullptr, 0), 0);
    EXPECT_EQ(app.ImportKeyOverrides(NewBlock(Bytes({0x1E, 0, 0x42, 0})), 0), 0);
    EXPECT_EQ(app.ImportKeyOverrides(NewBlock({}), 0), 0);
    EXPECT_EQ(watch.Outstanding(), 0);
    EXPECT_EQ(watch.BadDeletes(), 0);
    EXPECT_EQ(Overrides(app), (Settings{{0x10, 0x41}}));
}

TEST_F(KeyTable, WithoutATableNothingHappens)
{
    WriteMapValue(REG_BINARY, Words({0, 0, 2, 0x003A0001, 0}));
    const StoredValue found = ReadMapValue();
    KeyRemapEntry* const table = app.keyTable;
    table[RowOf(0x3A)].mapTarget = 0x1D;
    struct Restore {
        SetupApp& app;
        KeyRemapEntry* table;
        ~Restore()
        {
            app.keyTable = table;
            app.keyTableCount = defaultKeyTableCount;
        }
    } restore{app, table};

    struct Case {
        const char* name;
        KeyRemapEntry* table;
        int count;
    } const cases[] = {{"no table", nullptr, defaultKeyTableCount}, {"no rows", table, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app.keyTable = c.table;
        app.keyTableCount = c.count;
        app.scancodeMapPresent = 0;
        app.ReadScancodeMap();
        EXPECT_EQ(app.scancodeMapPresent, 0);
        app.scancodeMapPresent = 1;
        EXPECT_EQ(app.WriteScancodeMap(), 0);
        EXPECT_EQ(ReadMapValue(), found);
        EXPECT_EQ(app.NormaliseKeyTable(), 0);
        EXPECT_EQ(app.FindKeyEntry(0x3A), nullptr);

        AllocationWatch watch;
        EXPECT_EQ(app.ImportKeyOverrides(NewBlock(Bytes({0x1E, 0, 0x42, 0})), 4), 0);
        std::uint32_t size = 0xDEAD;
        std::uint8_t* list = app.ExportKeyOverrides(&size);
        EXPECT_EQ(size, 0u);
        EXPECT_EQ(list == nullptr, c.table == nullptr) << "only a missing table exports nothing at all";
        delete[] list;
        EXPECT_EQ(watch.Outstanding(), 0);
        EXPECT_EQ(watch.BadDeletes(), 0);
    }
    EXPECT_EQ(table[RowOf(0x3A)].mapTarget, 0x1D);
    EXPECT_EQ(table[RowOf(0x1E)].vkOverride, 0);
}

}  // namespace
