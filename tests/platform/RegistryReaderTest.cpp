#include "Registry.h"

#include "PlatformError.h"
#include "Settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace brelomat {
namespace {

const std::wstring KelvorKey = L"Software\\KELVOR";
const std::wstring ProgramKeyPath(ProgramKey);
const std::wstring ValueName(ProgramValue);

bool KeyExists(const std::wstring& path)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

std::vector<BYTE> BytesOf(const std::wstring& text, bool withTerminatingZero)
{
    std::vector<BYTE> bytes((text.size() + (withTerminatingZero ? 1 : 0)) * sizeof(wchar_t));
    std::memcpy(bytes.data(), text.c_str(), bytes.size());
    return bytes;
}

// The test prefix's HKCU\Software\KELVOR\Program, as the program finds it. Each test starts
// without the key and leaves the registry as it found it.
class ProgramKeyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        kelvorExisted_ = KeyExists(KelvorKey);
        // Only tests write this key in the test prefix; one that was left behind is removed.
        ::RegDeleteTreeW(HKEY_CURRENT_USER, ProgramKeyPath.c_str());
        ASSERT_FALSE(KeyExists(ProgramKeyPath));
    }

    void TearDown() override
    {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, ProgramKeyPath.c_str());
        if (!kelvorExisted_)
            ::RegDeleteKeyW(HKEY_CURRENT_USER, KelvorKey.c_str());
    }

    static void Store(const std::wstring& name, DWORD type, const std::vector<BYTE>& data)
    {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, ProgramKeyPath.c_str(), 0, nullptr, 0,
                                    KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const auto status = ::RegSetValueExW(key, name.c_str(), 0, type, data.data(),
                                             static_cast<DWORD>(data.size()));
        ::RegCloseKey(key);
        ASSERT_EQ(status, ERROR_SUCCESS);
    }

    // What the program's start-up does: open without creating, read "Navn", close.
    static std::wstring ReadNavn()
    {
        RegistryReader registry;
        EXPECT_TRUE(registry.OpenKey(ProgramKey, false));
        auto text = registry.ReadString(ProgramValue);
        registry.CloseKey();
        return text;
    }

private:
    bool kelvorExisted_ = false;
};

struct StoredValue {
    const char* name;
    DWORD type;
    std::vector<BYTE> data;
    std::optional<std::wstring> text;  // none: ReadString must refuse the type
};

void PrintTo(const StoredValue& value, std::ostream* os) { *os << value.name; }

const std::wstring LongestText(32767, L'x');
const std::wstring StoredPath = L"C:\\Programmer\\KELVOR\\Hoved.exe";

std::vector<BYTE> OddCount()
{
    auto bytes = BytesOf(L"C:\\P\\Hoved.exe", false);
    bytes.push_back(0x41);
    return bytes;
}

const StoredValue StoredValues[] = {
    {"Text", REG_SZ, BytesOf(StoredPath, true), StoredPath},
    {"DanishLetters", REG_SZ, BytesOf(L"C:\\Programmer\\Kælvør\\Åben.exe", true),
     L"C:\\Programmer\\Kælvør\\Åben.exe"},
    {"ExpandableLeftUnexpanded", REG_EXPAND_SZ, BytesOf(L"%ProgramFiles%\\KELVOR\\Hoved.exe", true),
     L"%ProgramFiles%\\KELVOR\\Hoved.exe"},
    {"NoTerminatingZero", REG_SZ, BytesOf(StoredPath, false), StoredPath},
    {"OddByteCount", REG_SZ, OddCount(), L"C:\\P\\Hoved.exe"},
    {"OneStrayByte", REG_SZ, {0x41}, L""},
    {"TextEndsAtTheFirstZero", REG_SZ, BytesOf(std::wstring(L"C:\\A.exe\0C:\\B.exe", 17), true),
     L"C:\\A.exe"},
    {"NoData", REG_SZ, {}, L""},
    {"OnlyATerminatingZero", REG_SZ, BytesOf(L"", true), L""},
    {"LongerThanMaxPath", REG_SZ, BytesOf(LongestText, true), LongestText},
    {"LongerThanMaxPathWithoutZero", REG_EXPAND_SZ, BytesOf(LongestText, false), LongestText},
    {"Dword", REG_DWORD, {1, 0, 0, 0}, std::nullopt},
    {"Binary", REG_BINARY, BytesOf(StoredPath, true), std::nullopt},
    {"MultiString", REG_MULTI_SZ, BytesOf(std::wstring(L"C:\\A.exe\0", 9), true), std::nullopt},
    {"Qword", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, std::nullopt},
    // Nothing stored is nothing to read, whatever the type says.
    {"EmptyBinary", REG_BINARY, {}, L""},
};

class ReadStringTest : public ProgramKeyTest, public ::testing::WithParamInterface<StoredValue> {};

TEST_P(ReadStringTest, GivesTheStoredTextOrRefusesTheType)
{
    const auto& value = GetParam();
    Store(ValueName, value.type, value.data);

    if (value.text) {
        EXPECT_EQ(ReadNavn(), *value.text);
        return;
    }
    try {
        ReadNavn();
        ADD_FAILURE() << "a value of this type was read as text";
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.Message(), L"Invalid data type for 'Navn'");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, ReadStringTest, ::testing::ValuesIn(StoredValues),
    [](const ::testing::TestParamInfo<StoredValue>& param) { return std::string(param.param.name); });

TEST_F(ProgramKeyTest, AMissingValueReadsAsEmpty)
{
    Store(L"Andet", REG_SZ, BytesOf(StoredPath, true));

    EXPECT_EQ(ReadNavn(), L"");
}

TEST_F(ProgramKeyTest, AMissingKeyIsNotOpenedAndNotCreated)
{
    RegistryReader registry;

    EXPECT_FALSE(registry.OpenKey(ProgramKey, false));
    EXPECT_FALSE(KeyExists(ProgramKeyPath));
}

TEST_F(ProgramKeyTest, AKeyIsCreatedOnlyWhenAskedTo)
{
    RegistryReader registry;

    EXPECT_TRUE(registry.OpenKey(ProgramKey, true));
    registry.CloseKey();
    EXPECT_TRUE(KeyExists(ProgramKeyPath));
}

TEST_F(ProgramKeyTest, TheValueNameIsPartOfTheTypeError)
{
    Store(L"Andet", REG_DWORD, {1, 0, 0, 0});
    RegistryReader registry;
    ASSERT_TRUE(registry.OpenKey(ProgramKey, false));

    try {
        registry.ReadString(L"Andet");
        ADD_FAILURE() << "a DWORD was read as text";
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.Message(), L"Invalid data type for 'Andet'");
    }
}

}  // namespace
}  // namespace brelomat
