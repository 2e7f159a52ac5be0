#include "Settings.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace brelomat {
namespace {

struct FolderCase {
    const wchar_t* stored;
    const wchar_t* folder;
};

class FolderPartTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(FolderPartTest, KeepsEverythingUpToTheLastDelimiter)
{
    EXPECT_EQ(FolderPart(GetParam().stored), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(
    StoredPaths, FolderPartTest,
    ::testing::Values(FolderCase{L"C:\\Programmer\\Foo\\Hoved.exe", L"C:\\Programmer\\Foo\\"},
                      FolderCase{L"C:\\Programmer\\Foo\\", L"C:\\Programmer\\Foo\\"},
                      FolderCase{L"C:\\Programmer\\Foo", L"C:\\Programmer\\"},
                      FolderCase{L"Hoved.exe", L""},
                      FolderCase{L"", L""},
                      FolderCase{L"C:Hoved.exe", L"C:"},
                      FolderCase{L"%ProgramFiles%\\Foo\\Hoved.exe", L"%ProgramFiles%\\Foo\\"},
                      FolderCase{L"\\\\server\\del\\Hoved.exe", L"\\\\server\\del\\"},
                      FolderCase{L"C:\\Program/Foo/Hoved.exe", L"C:\\"},  // "/" is no delimiter here
                      FolderCase{L"C:\\Prøgrammer\\Æble\\Hoved.exe", L"C:\\Prøgrammer\\Æble\\"}));

TEST(StartupSettingsTest, FillsAllThreeFromTheStoredPath)
{
    StartupSettings settings;
    FillStartupSettings(settings, L"dl.example:8080", [] { return std::wstring(L"C:\\P\\Hoved.exe"); });
    EXPECT_EQ(settings.ProgFile, L"C:\\P\\Hoved.exe");
    EXPECT_EQ(settings.ProgDir, L"C:\\P\\");
    EXPECT_EQ(settings.BaseURL, L"http://dl.example:8080/Downloads/");
}

TEST(StartupSettingsTest, MissingKeyLeavesTheFolderEmptyButSetsTheAddress)
{
    StartupSettings settings;
    FillStartupSettings(settings, L"dl.example", [] { return std::wstring(); });
    EXPECT_EQ(settings.ProgFile, L"");
    EXPECT_EQ(settings.ProgDir, L"");
    EXPECT_EQ(settings.BaseURL, L"http://dl.example/Downloads/");
}

TEST(StartupSettingsTest, AValueOfTheWrongTypeIsPassedOnWithTheAddressStillSet)
{
    StartupSettings settings;
    EXPECT_THROW(FillStartupSettings(settings, L"dl.example",
                                     []() -> std::wstring { throw std::runtime_error("type"); }),
                 std::runtime_error);
    EXPECT_EQ(settings.ProgFile, L"");
    EXPECT_EQ(settings.ProgDir, L"");
    EXPECT_EQ(settings.BaseURL, L"http://dl.example/Downloads/");
}

}  // namespace
}  // namespace brelomat
