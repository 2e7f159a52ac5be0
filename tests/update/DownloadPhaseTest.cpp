#include "DownloadPhase.h"

#include "FakeFileSystem.h"
#include "FakeHttpGetter.h"
#include "FileReplacement.h"
#include "RecordingSurface.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>

namespace brelomat {
namespace {

using testing::FakeFileSystem;
using testing::FakeHttpGetter;
using testing::Pattern;
using testing::RecordingSurface;
using Calls = std::vector<std::wstring>;

const std::wstring BaseURL = L"http://dl.example/Downloads/";
const std::wstring SavedFile = L"Brelomat.exe";

// The download phase with the work events wired to the surface, as the window wires them.
class DownloadPhaseTest : public ::testing::Test {
protected:
    DownloadPhaseTest()
    {
        http.OnWorkBegin = [this](WorkMode, std::int64_t n) { OnDownloadWorkBegin(surface, n); };
        http.OnWork = [this](WorkMode, std::int64_t n) { OnDownloadWork(surface, n); };
    }

    bool Run() { return RunDownloadPhase(BaseURL, http, files, surface); }

    FakeHttpGetter http;
    FakeFileSystem files;
    RecordingSurface surface;
};

TEST_F(DownloadPhaseTest, SavesTheBodyAndReportsEveryStageInOrder)
{
    http.Body = Pattern(300000);
    http.ChunkSize = 120000;

    ASSERT_TRUE(Run());

    EXPECT_EQ(http.Urls, Calls{L"http://dl.example/Downloads/Brelomat.exe"});
    EXPECT_EQ(surface.Calls, (Calls{
                                 L"ShowMoveHint(no)",
                                 L"SetBusy(on)",
                                 L"SetStatus( 1. Download af Brelomat)",
                                 L"SetProgressMax(300000)",
                                 L"SetProgressPos(0)",
                                 L"ProcessPending()",
                                 L"SetProgressPos(120000)",
                                 L"ProcessPending()",
                                 L"SetProgressPos(240000)",
                                 L"ProcessPending()",
                                 L"SetProgressPos(300000)",
                                 L"ProcessPending()",
                                 L"SetBusy(off)",
                             }));
    EXPECT_EQ(files.Content(SavedFile), Pattern(300000));
    EXPECT_EQ(files.Paths(), Calls{L"C:\\ARBEJDE\\BRELOMAT.EXE"}) << "no temporary left behind";
}

TEST_F(DownloadPhaseTest, AnAnswerWithoutADeclaredLengthGivesTheBarNoMaximum)
{
    http.Body = Pattern(5000);
    http.DeclaredLength = 0;

    ASSERT_TRUE(Run());

    EXPECT_EQ(surface.Of(L"SetProgressMax"), Calls{L"0"});
    EXPECT_EQ(surface.Of(L"SetProgressPos"), (Calls{L"0", L"5000"}));
}

TEST_F(DownloadPhaseTest, AnEmptyBodyIsSavedAsAnEmptyFile)
{
    ASSERT_TRUE(Run());
    EXPECT_EQ(files.Content(SavedFile), FakeFileSystem::Bytes{});
}

TEST_F(DownloadPhaseTest, ALengthBeyond32BitsReachesTheSurfaceWhole)
{
    http.DeclaredLength = std::int64_t{5} << 30;
    http.Fails = FakeHttpGetter::Failure::AfterBody;

    Run();

    EXPECT_EQ(surface.Of(L"SetProgressMax"), Calls{std::to_wstring(std::int64_t{5} << 30)});
}

struct DownloadFailure {
    const char* name;
    std::function<void(FakeHttpGetter&, FakeFileSystem&)> arrange;
};

void PrintTo(const DownloadFailure& c, std::ostream* os) { *os << c.name; }

class DownloadFailureTest : public DownloadPhaseTest,
                            public ::testing::WithParamInterface<DownloadFailure> {};

TEST_P(DownloadFailureTest, EndsTheRunWithTheFixedTextAndKeepsTheEarlierFile)
{
    files.Put(SavedFile, Pattern(10, 3));  // left by an earlier run
    http.Body = Pattern(3000);
    GetParam().arrange(http, files);

    EXPECT_FALSE(Run());

    const Calls tail(surface.Calls.end() - 3, surface.Calls.end());
    EXPECT_EQ(tail, (Calls{L"SetBusy(off)", L"SetStatus(Downloadforbindelsen er afbrudt)",
                           L"FocusAfbryd()"}));
    EXPECT_EQ(surface.Of(L"SetBusy"), (Calls{L"on", L"off"}));
    EXPECT_EQ(surface.Of(L"ShowMoveHint"), Calls{L"no"});
    EXPECT_TRUE(surface.Of(L"Inform").empty());
    EXPECT_EQ(files.Content(SavedFile), Pattern(10, 3));
    EXPECT_EQ(files.Paths(), Calls{L"C:\\ARBEJDE\\BRELOMAT.EXE"}) << "no temporary left behind";
}

INSTANTIATE_TEST_SUITE_P(
    Failures, DownloadFailureTest,
    ::testing::Values(
        // Every refusal of the HTTP client looks alike to the phase: 404, 302, no server.
        DownloadFailure{"NoAnswer", [](FakeHttpGetter& h, FakeFileSystem&) {
                            h.Fails = FakeHttpGetter::Failure::BeforeBody;
                        }},
        DownloadFailure{"ShortBody", [](FakeHttpGetter& h, FakeFileSystem&) {
                            h.Fails = FakeHttpGetter::Failure::AfterBody;
                        }},
        DownloadFailure{"OutOfMemory", [](FakeHttpGetter& h, FakeFileSystem&) {
                            h.OnWork = [](WorkMode, std::int64_t) { throw std::bad_alloc(); };
                        }},
        DownloadFailure{"CannotCreate", [](FakeHttpGetter&, FakeFileSystem& f) {
                            f.FailAt(FakeFileSystem::Step::Create);
                        }},
        DownloadFailure{"CannotWrite", [](FakeHttpGetter&, FakeFileSystem& f) {
                            f.FailAt(FakeFileSystem::Step::Write);
                        }},
        DownloadFailure{"CannotClose", [](FakeHttpGetter&, FakeFileSystem& f) {
                            f.FailAt(FakeFileSystem::Step::CloseWritten);
                        }},
        DownloadFailure{"CannotRename", [](FakeHttpGetter&, FakeFileSystem& f) {
                            f.FailAt(FakeFileSystem::Step::Rename);
                        }}),
    [](const ::testing::TestParamInfo<DownloadFailure>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace brelomat
