#include "Win32FileSystem.h"

#include "FakeFileSystem.h"
#include "PlatformError.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <functional>
#include <optional>

namespace brelomat {
namespace {

using testing::Bytes;
using testing::NamesIn;
using testing::Pattern;
using testing::ReadWholeFile;
using testing::WriteWholeFile;
using Names = std::vector<std::wstring>;

class Win32FileSystemTest : public ::testing::Test {
protected:
    std::wstring In(const std::wstring& name) const { return folder.Path() + name; }

    testing::TemporaryFolder folder;
    Win32FileSystem files;
};

TEST_F(Win32FileSystemTest, AReadOnlyFileSurvivesItsDeletion)
{
    const auto path = In(L"Brelomat.exe");
    WriteWholeFile(path, Pattern(10));
    testing::SetReadOnly(path, true);

    files.Delete(path);

    EXPECT_TRUE(files.Exists(path));
    EXPECT_EQ(ReadWholeFile(path), Pattern(10));
}

TEST_F(Win32FileSystemTest, DeletesAWritableFileAndIgnoresAMissingOne)
{
    const auto path = In(L"Brelomat.exe");
    WriteWholeFile(path, Pattern(10));

    files.Delete(path);
    files.Delete(path);

    EXPECT_FALSE(files.Exists(path));
}

TEST_F(Win32FileSystemTest, AFolderIsNoFile)
{
    EXPECT_FALSE(files.Exists(folder.Path()));
    EXPECT_FALSE(files.Exists(In(L"findes-ikke\\Brelomat.exe")));
}

TEST_F(Win32FileSystemTest, CreateTruncatesAnExistingFile)
{
    const auto path = In(L"Brelomat.exe");
    WriteWholeFile(path, Pattern(3000, 1));

    auto file = files.Create(path);
    file->Write(Pattern(10, 2));
    file->Close();

    EXPECT_EQ(ReadWholeFile(path), Pattern(10, 2));
}

TEST_F(Win32FileSystemTest, ReadsToTheEndInBlocksOfAKilobyte)
{
    const auto path = In(L"Brelomat.exe");
    WriteWholeFile(path, Pattern(2500, 3));
    auto file = files.OpenRead(path);
    EXPECT_EQ(file->Size(), 2500);

    Bytes read;
    std::vector<std::size_t> counts;
    std::array<std::byte, 1024> buffer{};
    while (!file->AtEnd()) {
        const auto n = file->Read(buffer);
        counts.push_back(n);
        read.insert(read.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(n));
    }
    file->Close();

    EXPECT_EQ(counts, (std::vector<std::size_t>{1024, 1024, 452}));
    EXPECT_EQ(read, Pattern(2500, 3));
}

TEST_F(Win32FileSystemTest, AnEmptyFileIsAtItsEndAtOnce)
{
    const auto path = In(L"Brelomat.exe");
    WriteWholeFile(path, {});
    auto file = files.OpenRead(path);

    EXPECT_EQ(file->Size(), 0);
    EXPECT_TRUE(file->AtEnd());
}

TEST_F(Win32FileSystemTest, RenameReplacesTheDestination)
{
    WriteWholeFile(In(L"Brelomat.exe.part"), Pattern(2500, 4));
    WriteWholeFile(In(L"Brelomat.exe"), Pattern(700, 5));

    files.Rename(In(L"Brelomat.exe.part"), In(L"Brelomat.exe"));

    EXPECT_EQ(ReadWholeFile(In(L"Brelomat.exe")), Pattern(2500, 4));
    EXPECT_EQ(NamesIn(folder.Path()), Names{L"Brelomat.exe"});
}

// The working directory is the program folder however the two are spelled; the run must
// then neither delete nor copy.
class SameFileTest : public Win32FileSystemTest {
protected:
    void SetUp() override
    {
        testing::MakeFolder(In(L"Program"));
        WriteWholeFile(In(L"Program\\Brelomat.exe"), Pattern(10));
        WriteWholeFile(In(L"Program\\Hoved.exe"), Pattern(10));
        WriteWholeFile(In(L"Program\\Et langt filnavn.exe"), Pattern(10));
        workingDirectory_.emplace(In(L"Program"));
    }
    void TearDown() override { workingDirectory_.reset(); }

    static std::wstring Upper(std::wstring text)
    {
        ::CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
        return text;
    }
    static std::wstring ShortName(const std::wstring& path)
    {
        std::wstring shortPath(MAX_PATH, L'\0');
        shortPath.resize(::GetShortPathNameW(path.c_str(), shortPath.data(), MAX_PATH));
        return shortPath;
    }

private:
    std::optional<testing::ScopedWorkingDirectory> workingDirectory_;
};

TEST_F(SameFileTest, TellsOneFileFromAnotherHoweverItIsSpelled)
{
    const auto program = In(L"Program\\");
    const struct {
        const char* name;
        std::wstring a, b;
        bool same;
    } cases[] = {
        {"identical", program + L"Brelomat.exe", program + L"Brelomat.exe", true},
        {"folder in another case", L"Brelomat.exe", Upper(program) + L"Brelomat.exe", true},
        {"relative and full", L"Brelomat.exe", program + L"Brelomat.exe", true},
        {"through a dot-dot", L"..\\Program\\Brelomat.exe", program + L"Brelomat.exe", true},
        {"short and long name", ShortName(program + L"Et langt filnavn.exe"), program + L"Et langt filnavn.exe", true},
        {"different files", L"Brelomat.exe", program + L"Hoved.exe", false},
        {"same name in another folder", L"Brelomat.exe", folder.Path() + L"Brelomat.exe", false},
        {"neither exists, same spelling", program + L"Ny.exe", L"ny.EXE", true},
        {"neither exists, different names", program + L"Ny.exe", program + L"Anden.exe", false},
        {"one missing", L"Brelomat.exe", program + L"Ny.exe", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(files.SameFile(c.a, c.b), c.same);
        EXPECT_EQ(files.SameFile(c.b, c.a), c.same);
    }
}

struct FailingOperation {
    const char* name;
    std::function<void(Win32FileSystem&, const std::wstring& folder)> run;
    DWORD code;
};

void PrintTo(const FailingOperation& operation, std::ostream* os) { *os << operation.name; }

class Win32FileSystemFailureTest : public Win32FileSystemTest,
                                   public ::testing::WithParamInterface<FailingOperation> {};

// The update run relies on every failure arriving as an exception, with the system's code.
TEST_P(Win32FileSystemFailureTest, RaisesAPlatformErrorWithTheSystemsCode)
{
    try {
        GetParam().run(files, folder.Path());
        ADD_FAILURE() << "no error raised";
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.Code(), GetParam().code);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Operations, Win32FileSystemFailureTest,
    ::testing::Values(
        FailingOperation{"OpenAMissingFile",
                         [](Win32FileSystem& f, const std::wstring& d) { f.OpenRead(d + L"findes-ikke.exe"); },
                         ERROR_FILE_NOT_FOUND},
        FailingOperation{"CreateInAMissingFolder",
                         [](Win32FileSystem& f, const std::wstring& d) { f.Create(d + L"findes-ikke\\Brelomat.exe"); },
                         ERROR_PATH_NOT_FOUND},
        FailingOperation{"RenameAMissingFile",
                         [](Win32FileSystem& f, const std::wstring& d) {
                             f.Rename(d + L"findes-ikke.exe", d + L"Brelomat.exe");
                         },
                         ERROR_FILE_NOT_FOUND}),
    [](const ::testing::TestParamInfo<FailingOperation>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace brelomat
