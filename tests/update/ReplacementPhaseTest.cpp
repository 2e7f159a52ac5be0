#include "ReplacementPhase.h"

#include "FakeFileSystem.h"
#include "RecordingSurface.h"

#include <gtest/gtest.h>

namespace brelomat {
namespace {

using testing::FakeFileSystem;
using testing::Pattern;
using testing::RecordingSurface;
using Calls = std::vector<std::wstring>;
using Step = FakeFileSystem::Step;

const std::wstring ProgDir = L"C:\\Programmer\\KELVOR\\";
const std::wstring Target = ProgDir + L"Brelomat.exe";
const std::wstring Source = L"Brelomat.exe";  // in the working directory

const Calls MoveByHand{L"ShowMoveHint(yes)", L"SetStatus( 1 objekt er downloadet)",
                       L"Inform(Flyt objektet manuelt til programmappen)", L"FocusAfbryd()"};
const Calls Success{L"SetStatus( 3. Download er fuldført)", L"Inform(Download er fuldført)",
                    L"FocusAfbryd()"};

Calls Concat(Calls first, const Calls& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// A downloaded file in the working directory and an older installed copy in the program
// folder.
class ReplacementPhaseTest : public ::testing::Test {
protected:
    ReplacementPhaseTest()
    {
        files.Put(Source, Pattern(2500, 1));
        files.Put(Target, Pattern(700, 9));
    }

    void Run(const std::wstring& progDir = ProgDir) { RunReplacementPhase(progDir, files, surface); }

    FakeFileSystem files;
    RecordingSurface surface;
};

TEST_F(ReplacementPhaseTest, CopiesInBlocksOfAKilobyteAndRemovesTheDownload)
{
    Run();

    EXPECT_EQ(surface.Calls, Concat({L"SetStatus( 2. Opdatering af Brelomat)", L"SetProgressMax(2500)",
                                     L"SetProgressPos(1024)", L"SetProgressPos(2048)",
                                     L"SetProgressPos(2500)", L"SetProgressPos(2500)"},
                                    Success));
    EXPECT_EQ(files.Content(Target), Pattern(2500, 1));
    EXPECT_EQ(files.Paths(), Calls{L"C:\\PROGRAMMER\\KELVOR\\BRELOMAT.EXE"});
}

TEST_F(ReplacementPhaseTest, AnEmptyDownloadBecomesAnEmptyInstalledCopy)
{
    files.Put(Source, {});

    Run();

    EXPECT_EQ(surface.Calls, Concat({L"SetStatus( 2. Opdatering af Brelomat)", L"SetProgressMax(0)",
                                     L"SetProgressPos(0)"},
                                    Success));
    EXPECT_EQ(files.Content(Target), FakeFileSystem::Bytes{});
}

TEST_F(ReplacementPhaseTest, AFirstInstallationNeedsOnlyTheFolder)
{
    files.Delete(Target);
    files.MakeFolder(ProgDir);

    Run();

    EXPECT_EQ(files.Content(Target), Pattern(2500, 1));
    EXPECT_FALSE(files.Exists(Source));
    EXPECT_EQ(surface.Of(L"Inform"), Calls{L"Download er fuldført"});
}

TEST_F(ReplacementPhaseTest, WithoutAProgramFolderAsksForAMoveByHandBeforeTouchingAnything)
{
    Run(L"");

    EXPECT_EQ(surface.Calls, MoveByHand);
    EXPECT_EQ(files.Content(Source), Pattern(2500, 1));
    EXPECT_EQ(files.Content(Target), Pattern(700, 9));
}

TEST_F(ReplacementPhaseTest, AnInstalledCopyThatCannotBeDeletedIsLeftAsItIs)
{
    files.Lock(Target);

    Run();

    EXPECT_EQ(surface.Calls, Concat({L"SetStatus( 2. Opdatering af Brelomat)"}, MoveByHand));
    EXPECT_EQ(files.Content(Source), Pattern(2500, 1));
    EXPECT_EQ(files.Content(Target), Pattern(700, 9));
}

TEST_F(ReplacementPhaseTest, AMissingProgramFolderKeepsTheDownload)
{
    const std::wstring missing = L"C:\\Findes\\Ikke\\";

    Run(missing);

    EXPECT_EQ(surface.Calls, Concat({L"SetStatus( 2. Opdatering af Brelomat)"}, MoveByHand));
    EXPECT_EQ(files.Content(Source), Pattern(2500, 1));
    EXPECT_FALSE(files.Exists(missing + L"Brelomat.exe"));
}

TEST_F(ReplacementPhaseTest, AWorkingDirectoryThatIsTheProgramFolderKeepsTheDownloadInPlace)
{
    files.WorkingDirectory = L"c:\\programmer\\kelvor\\";  // spelled otherwise, the same folder
    files.Put(Source, Pattern(2500, 1));

    Run();

    EXPECT_EQ(surface.Calls, Concat({L"SetStatus( 2. Opdatering af Brelomat)", L"SetProgressMax(2500)",
                                     L"SetProgressPos(2500)"},
                                    Success));
    EXPECT_EQ(files.Content(Target), Pattern(2500, 1));
}

struct CopyFault {
    const char* name;
    Step step;
    std::wstring path;
};

void PrintTo(const CopyFault& c, std::ostream* os) { *os << c.name; }

class ReplacementFaultTest : public ReplacementPhaseTest,
                             public ::testing::WithParamInterface<CopyFault> {};

TEST_P(ReplacementFaultTest, EndsWithAMoveByHandAndNoHalfWrittenCopy)
{
    files.FailAt(GetParam().step, GetParam().path);

    Run();

    const Calls tail(surface.Calls.end() - 4, surface.Calls.end());
    EXPECT_EQ(tail, MoveByHand);
    EXPECT_EQ(files.Content(Source), Pattern(2500, 1));
    // The old copy was deleted before the copy began; nothing partial takes its place.
    EXPECT_EQ(files.Paths(), Calls{L"C:\\ARBEJDE\\BRELOMAT.EXE"});
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ReplacementFaultTest,
    ::testing::Values(CopyFault{"OpenSource", Step::OpenRead, Source},
                      CopyFault{"CreateTarget", Step::Create, L""},
                      CopyFault{"SourceSize", Step::Size, Source},
                      CopyFault{"Read", Step::Read, Source},
                      CopyFault{"Write", Step::Write, L""},
                      CopyFault{"CloseSource", Step::CloseRead, Source},
                      CopyFault{"CloseTarget", Step::CloseWritten, L""},
                      CopyFault{"Rename", Step::Rename, L""}),
    [](const ::testing::TestParamInfo<CopyFault>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace brelomat
