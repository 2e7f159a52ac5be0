#include "ReplacementPhase.h"

#include "FakeFileSystem.h"
#include "Handles.h"
#include "RecordingSurface.h"
#include "RunningProgram.h"
#include "TemporaryFolder.h"
#include "Win32FileSystem.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>

namespace brelomat {
namespace {

using testing::Bytes;
using testing::NamesIn;
using testing::Pattern;
using testing::ReadWholeFile;
using testing::RecordingSurface;
using Calls = std::vector<std::wstring>;
using Names = std::vector<std::wstring>;

const Bytes DownloadBytes = Pattern(2500, 1);
const Bytes OldCopyBytes = Pattern(700, 9);

const Calls Replacing{L"SetStatus( 2. Opdatering af Brelomat)"};
const Calls CopiedInBlocks{L"SetProgressMax(2500)", L"SetProgressPos(1024)", L"SetProgressPos(2048)",
                           L"SetProgressPos(2500)", L"SetProgressPos(2500)"};
const Calls AlreadyInPlace{L"SetProgressMax(2500)", L"SetProgressPos(2500)"};
const Calls Success{L"SetStatus( 3. Download er fuldført)", L"Inform(Download er fuldført)", L"FocusAfbryd()"};
const Calls MoveByHand{L"ShowMoveHint(yes)", L"SetStatus( 1 objekt er downloadet)",
                       L"Inform(Flyt objektet manuelt til programmappen)", L"FocusAfbryd()"};

Calls Concat(std::initializer_list<Calls> parts)
{
    Calls all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// What is in the program folder before the run.
enum class Installed { Nothing, OldCopy, ReadOnlyCopy, RunningCopy, NoFolder };
// What a file holds afterwards.
enum class Holds { Nothing, Download, OldCopy, StandIn };

struct Scenario {
    const char* name;
    Installed installed;
    std::wstring workFolder;     // below the test's temporary folder
    std::wstring programFolder;  // the same name in any case: the working directory is the program folder
    Calls calls;
    Holds installedCopy;  // the program folder's Brelomat.exe afterwards
    Holds download;       // the working directory's Brelomat.exe afterwards
};

void PrintTo(const Scenario& scenario, std::ostream* os) { *os << scenario.name; }

// Files in a temporary folder as the download phase leaves them: "Brelomat.exe" in the
// working directory, which is set for the test and restored afterwards.
class ReplacementWithRealFilesTest : public ::testing::TestWithParam<Scenario> {
protected:
    void SetUp() override
    {
        const auto& scenario = GetParam();
        work = root.Path() + scenario.workFolder + L"\\";
        program = root.Path() + scenario.programFolder + L"\\";

        testing::MakeFolder(work);
        if (!OneFolder() && scenario.installed != Installed::NoFolder)
            testing::MakeFolder(program);
        testing::WriteWholeFile(work + L"Brelomat.exe", DownloadBytes);

        switch (scenario.installed) {
        case Installed::OldCopy:
            testing::WriteWholeFile(program + L"Brelomat.exe", OldCopyBytes);
            break;
        case Installed::ReadOnlyCopy:
            testing::WriteWholeFile(program + L"Brelomat.exe", OldCopyBytes);
            testing::SetReadOnly(program + L"Brelomat.exe", true);
            break;
        case Installed::RunningCopy:
            running = std::make_unique<testing::RunningProgram>(program + L"Brelomat.exe");
            ASSERT_TRUE(running->Started());
            break;
        case Installed::Nothing:
        case Installed::NoFolder:
            break;
        }

        workingDirectory.emplace(work);
    }

    void TearDown() override
    {
        workingDirectory.reset();
        running.reset();  // before the folder goes: a running image cannot be removed
    }

    bool OneFolder() const
    {
        return ::CompareStringOrdinal(work.c_str(), -1, program.c_str(), -1, TRUE) == CSTR_EQUAL;
    }

    std::optional<Bytes> Expected(Holds holds) const
    {
        switch (holds) {
        case Holds::Download: return DownloadBytes;
        case Holds::OldCopy: return OldCopyBytes;
        case Holds::StandIn: return ReadWholeFile(testing::RunningProgram::StandInPath());
        case Holds::Nothing: break;
        }
        return std::nullopt;
    }

    testing::TemporaryFolder root;
    std::wstring work;
    std::wstring program;
    std::optional<testing::ScopedWorkingDirectory> workingDirectory;
    std::unique_ptr<testing::RunningProgram> running;
    Win32FileSystem files;
    RecordingSurface surface;
};

TEST_P(ReplacementWithRealFilesTest, EndsWithTheFilesAndTextsTheUserExpects)
{
    const auto& scenario = GetParam();

    RunReplacementPhase(program, files, surface);

    EXPECT_EQ(surface.Calls, scenario.calls);
    EXPECT_EQ(ReadWholeFile(program + L"Brelomat.exe"), Expected(scenario.installedCopy));
    EXPECT_EQ(ReadWholeFile(work + L"Brelomat.exe"), Expected(scenario.download));
    // Nothing else anywhere: no temporary left behind, no folder made.
    const auto namesFor = [](Holds holds) { return holds == Holds::Nothing ? Names{} : Names{L"Brelomat.exe"}; };
    EXPECT_EQ(NamesIn(program), namesFor(scenario.installedCopy));
    EXPECT_EQ(NamesIn(work), namesFor(scenario.download));
    Names folders{scenario.workFolder};
    if (!OneFolder() && scenario.installed != Installed::NoFolder)
        folders.push_back(scenario.programFolder);
    std::sort(folders.begin(), folders.end());
    EXPECT_EQ(NamesIn(root.Path()), folders);
}

INSTANTIATE_TEST_SUITE_P(
    ProgramFolders, ReplacementWithRealFilesTest,
    ::testing::Values(
        Scenario{"OldCopyReplaced", Installed::OldCopy, L"Arbejde", L"Program",
                 Concat({Replacing, CopiedInBlocks, Success}), Holds::Download, Holds::Nothing},
        Scenario{"FirstInstallation", Installed::Nothing, L"Arbejde", L"Program",
                 Concat({Replacing, CopiedInBlocks, Success}), Holds::Download, Holds::Nothing},
        Scenario{"ReadOnlyCopyKept", Installed::ReadOnlyCopy, L"Arbejde", L"Program",
                 Concat({Replacing, MoveByHand}), Holds::OldCopy, Holds::Download},
        Scenario{"RunningCopyKept", Installed::RunningCopy, L"Arbejde", L"Program",
                 Concat({Replacing, MoveByHand}), Holds::StandIn, Holds::Download},
        Scenario{"MissingProgramFolder", Installed::NoFolder, L"Arbejde", L"Findes ikke",
                 Concat({Replacing, MoveByHand}), Holds::Nothing, Holds::Download},
        Scenario{"DanishLetters", Installed::OldCopy, L"Hentet på én gang æøå", L"Programmappe ÆØÅ",
                 Concat({Replacing, CopiedInBlocks, Success}), Holds::Download, Holds::Nothing},
        Scenario{"WorkingDirectoryIsTheProgramFolder", Installed::Nothing, L"Kælvør", L"KÆLVØR",
                 Concat({Replacing, AlreadyInPlace, Success}), Holds::Download, Holds::Download}),
    [](const ::testing::TestParamInfo<Scenario>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace brelomat

namespace brelomat {
namespace {

std::uint64_t Ticks(FILETIME time)
{
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// Copying the file whole (CopyFileW) would carry its attributes and times over to the
// installed copy; the copy in blocks writes a new file.
TEST(ReplacementCopyTest, TheInstalledCopyIsANewFileWithOnlyTheBytesOfTheDownload)
{
    testing::TemporaryFolder root;
    const auto work = root.Path() + L"Arbejde\\";
    const auto program = root.Path() + L"Program\\";
    testing::MakeFolder(work);
    testing::MakeFolder(program);
    testing::WriteWholeFile(work + L"Brelomat.exe", DownloadBytes);
    {
        const UniqueFile source(::CreateFileW((work + L"Brelomat.exe").c_str(), FILE_WRITE_ATTRIBUTES, 0,
                                              nullptr, OPEN_EXISTING, 0, nullptr));
        SYSTEMTIME longAgo{2001, 1, 1, 1, 12, 0, 0, 0};
        FILETIME written{};
        ASSERT_TRUE(::SystemTimeToFileTime(&longAgo, &written));
        ASSERT_TRUE(::SetFileTime(source.get(), &written, &written, &written));
    }
    testing::SetReadOnly(work + L"Brelomat.exe", true);
    FILETIME before{};
    ::GetSystemTimeAsFileTime(&before);
    Win32FileSystem files;
    RecordingSurface surface;

    {
        testing::ScopedWorkingDirectory inWork(work);
        RunReplacementPhase(program, files, surface);
    }

    EXPECT_EQ(surface.Of(L"Inform"), Calls{L"Download er fuldført"});
    EXPECT_EQ(ReadWholeFile(program + L"Brelomat.exe"), DownloadBytes);
    WIN32_FILE_ATTRIBUTE_DATA installed{};
    ASSERT_TRUE(::GetFileAttributesExW((program + L"Brelomat.exe").c_str(), GetFileExInfoStandard, &installed));
    EXPECT_EQ(installed.dwFileAttributes & FILE_ATTRIBUTE_READONLY, 0u);
    // Two seconds' allowance, in 100-ns units, for a file system's coarser clock.
    EXPECT_GE(Ticks(installed.ftLastWriteTime) + 20'000'000, Ticks(before));
}

}  // namespace
}  // namespace brelomat
